#include "core/model/BlockDlg.h"

#include <algorithm>
#include <utility>

#include "core/persist/Error.h"
#include "core/persist/FileModel.h"
#include "core/sim/TransactList.h"

namespace mardo {

CBlockDlg::CBlockDlg(EBlockKind nKind, std::string strKind, SBlockTraits traits,
                     std::int32_t nOutputs, CPoint ptPos)
    : m_ptPos(ptPos),
      m_nOutputs(nOutputs),
      m_outLinks(static_cast<std::size_t>(nOutputs), nullptr),
      m_strKind(std::move(strKind)),
      m_nKind(nKind),
      m_traits(traits) {}

CBlockDlg::CBlockDlg(const CBlockDlg& other)
    : m_ptPos(other.m_ptPos),
      m_nOutputs(other.m_nOutputs),
      m_outLinks(static_cast<std::size_t>(other.m_nOutputs), nullptr),
      m_strKind(other.m_strKind),
      m_nKind(other.m_nKind),
      m_traits(other.m_traits) {}

void CBlockDlg::Select() {
    m_bSelected = 1;
    if (m_pView != nullptr) {
        m_pView->OnSelected();
    }
}

void CBlockDlg::Deselect() {
    m_bSelected = 0;
    if (m_pView != nullptr) {
        m_pView->OnDeselected();
    }
}

void CBlockDlg::UpdateContextMenu(IBlockContextMenu& /*menu*/) {}

void CBlockDlg::RemoveLinksTo(const CBlockDlg* pBlock) {
    for (CBlockDlg*& pLink : m_outLinks) {
        if (pLink == pBlock) {
            pLink = nullptr;
        }
    }
}

void CBlockDlg::Save(CFileModel& file) const { file.WriteString(m_strName).WritePoint(m_ptPos); }

void CBlockDlg::Load(CFileModel& file) {
    file.ReadString(m_strName).ReadPoint(m_ptPos);
    if (m_ptPos.x > kMaxX || m_ptPos.y > kMaxY) {
        throw CError();
    }
}

void CBlockDlg::PrepareRun() {
    m_bCatchesUp = false;
    m_inputLists.clear();
    m_nEntered = 0;
    m_nLeft = 0;
    m_nRemaining = 0;
    m_bActive = 1;
    m_bFree = 1;
}

void CBlockDlg::EndRun() {}

void CBlockDlg::ClearTransacts() { m_bActive = 0; }

void CBlockDlg::ArrivalPass(CTransactList* /*pIn*/, std::uint32_t /*nTime*/) {}

void CBlockDlg::ServicePass(CTransactList* /*pIn*/, std::uint32_t /*nTime*/) {}

void CBlockDlg::FinalPass(CTransactList* /*pIn*/, std::uint32_t /*nTime*/) {}

int CBlockDlg::HasTransacts() { return 0; }

void CBlockDlg::ComputeStatistics() {}

void CBlockDlg::ResetStatistics(std::uint32_t /*nTime*/) {
    m_nEntered = 0;
    m_nLeft = 0;
}

CTransactList* CBlockDlg::GetOutputList(std::int32_t /*k*/) { return nullptr; }

void CBlockDlg::CatchUp(std::uint32_t /*nTime*/) {}

SQuietTicks CBlockDlg::QuietUntil(std::uint32_t nTime) {
    // A block that was not prepared ignores every pass.
    return m_bActive ? nTime : kForever;
}

void CBlockDlg::SetName(const std::string& strName) {
    m_strName = strName;
    if (m_pView != nullptr) {
        m_pView->OnRenamed();
    }
}

CBlockDlg* CBlockDlg::GetOutLink(std::int32_t k) const {
    if (k < 0 || k >= m_nOutputs) {
        return nullptr;
    }
    return m_outLinks[static_cast<std::size_t>(k)];
}

void CBlockDlg::SetOutLink(std::int32_t k, CBlockDlg* pBlock) {
    if (k >= 0 && k < m_nOutputs) {
        m_outLinks[static_cast<std::size_t>(k)] = pBlock;
    }
}

void CBlockDlg::SetOutputCount(std::int32_t n) {
    if (n < 0 || n == m_nOutputs) {
        return;
    }
    m_outLinks.resize(static_cast<std::size_t>(n), nullptr);
    m_nOutputs = n;
    FitOutputValues();
    if (m_pView != nullptr) {
        m_pView->OnOutputCountChanged();
    }
}

bool CBlockDlg::LinksTo(const CBlockDlg* pBlock) const {
    return pBlock != nullptr &&
           std::find(m_outLinks.begin(), m_outLinks.end(), pBlock) != m_outLinks.end();
}

SBlockSnapshot CBlockDlg::TakeSnapshot(std::uint32_t nTime, bool bHeld) const {
    SBlockSnapshot snapshot;
    snapshot.nEntered = m_nEntered;
    if (m_bActive != 0) {
        FillSnapshot(snapshot, nTime, bHeld);
    }
    return snapshot;
}

}  // namespace mardo
