#include "core/model/GenerateDlg.h"

#include <algorithm>

#include "core/persist/FileModel.h"
#include "core/sim/RandomContext.h"

namespace mardo {

CGenerateDlg::CGenerateDlg(CPoint ptPos)
    : CBlockOf(EBlockKind::kGenerate, "Генератор", {.bHasInput = false, .bSource = true}, 1,
                ptPos) {}

CGenerateDlg::CGenerateDlg(const CGenerateDlg& other)
    : CBlockOf(other), m_params(other.m_params), m_law(other.m_law) {}

void CGenerateDlg::Save(CFileModel& file) const {
    file.WriteInt(GetKindCode())
        .WriteInt(m_params.m_bDelay)
        .WriteInt(m_params.m_bLimit)
        .WriteInt(m_params.m_bPriority)
        .WriteInt(m_params.m_nDelay)
        .WriteInt(m_params.m_nLimit)
        .WriteInt(m_params.m_nPriority);
    m_law.Save(file);
    CBlockDlg::Save(file);
}

void CGenerateDlg::Load(CFileModel& file) {
    file.ReadInt(m_params.m_bDelay)
        .ReadInt(m_params.m_bLimit)
        .ReadInt(m_params.m_bPriority)
        .ReadIntInRange(m_params.m_nDelay, 0, CGenerateParams::kMaxDelay)
        .ReadIntInRange(m_params.m_nLimit, 1, CGenerateParams::kMaxLimit)
        .ReadIntInRange(m_params.m_nPriority, 0, CTransact::kMaxPriority);
    m_law.Load(file);
    CBlockDlg::Load(file);
}

void CGenerateDlg::TakeRandomSources(CRandomContext& random) {
    m_pIntervals = &random.Source(GetName(), CRandomContext::ERole::kArrivals);
}

void CGenerateDlg::PrepareRun() {
    CBlockDlg::PrepareRun();
    m_nCountdown = (m_params.m_bDelay ? m_params.m_nDelay : 0) + m_law.Sample(*m_pIntervals);
    m_nLastArrival = 0;
    m_nRunCount = 0;
    m_nTotalCount = 0;
}

void CGenerateDlg::EndRun() {
    if (m_bActive) {
        m_nRunCount = 0;
    }
}

void CGenerateDlg::ClearTransacts() {
    m_outList.DeleteAll();
    CBlockDlg::ClearTransacts();
}

void CGenerateDlg::ArrivalPass(CTransactList* /*pIn*/, std::uint32_t nTime) {
    if (!m_bActive) {
        return;
    }
    if (CatchesUp() && m_nLastArrival + 1 < nTime) {
        // The ticks slept through counted down too; none of them reached an arrival.
        m_nCountdown -= static_cast<std::int32_t>(nTime - 1 - m_nLastArrival);
    }
    m_nLastArrival = nTime;
    if (--m_nCountdown == 0) {
        m_nCountdown = m_law.Sample(*m_pIntervals);
        if (!m_params.m_bLimit || m_nRunCount < static_cast<std::uint32_t>(m_params.m_nLimit)) {
            const std::int32_t nPriority = m_params.m_bPriority ? m_params.m_nPriority : 0;
            m_outList.PushBack(CTransact(this, static_cast<std::int32_t>(m_nRunCount), nPriority));
            ++m_nRunCount;
            ++m_nTotalCount;
        }
    }
    CallPass<EPass::kArrival>(Destination(0), &m_outList, nTime);
}

template <EPass P>
void CGenerateDlg::Forward(std::uint32_t nTime) {
    if (m_bActive) {
            CallPass<P>(Destination(0), &m_outList, nTime);
    }
}

void CGenerateDlg::ServicePass(CTransactList* /*pIn*/, std::uint32_t nTime) {
    Forward<EPass::kService>(nTime);
}

void CGenerateDlg::FinalPass(CTransactList* /*pIn*/, std::uint32_t nTime) {
    Forward<EPass::kFinal>(nTime);
}

CTransactList* CGenerateDlg::GetOutputList(std::int32_t /*k*/) { return &m_outList; }

SQuietTicks CGenerateDlg::QuietUntil(std::uint32_t nTime) {
    if (!m_bActive) {
        return kForever;
    }
    // The countdown reaches zero, and a new interval is drawn, in this tick.
    const std::uint32_t nArrival = m_nLastArrival + static_cast<std::uint32_t>(m_nCountdown);
    return std::max(nArrival, nTime);
}

int CGenerateDlg::HasTransacts() {
    return m_bActive &&
           (!m_params.m_bLimit || m_nRunCount < static_cast<std::uint32_t>(m_params.m_nLimit));
}

void CGenerateDlg::ResetStatistics(std::uint32_t nTime) {
    if (!m_bActive) {
        return;
    }
    CBlockDlg::ResetStatistics(nTime);
    m_nTotalCount = static_cast<std::uint32_t>(m_outList.GetCount());
}

std::vector<SBlockParam> CGenerateDlg::GetParams() {
    return {LawParam("interval", "Интервал между поступлениями", m_law),
            SwitchedIntParam("delay", "Задержка первого транзакта", m_params.m_bDelay,
                             m_params.m_nDelay, 0, CGenerateParams::kMaxDelay),
            SwitchedIntParam("limit", "Ограничение числа транзактов", m_params.m_bLimit,
                             m_params.m_nLimit, 1, CGenerateParams::kMaxLimit),
            SwitchedIntParam("priority", "Приоритет", m_params.m_bPriority, m_params.m_nPriority, 0,
                             CTransact::kMaxPriority)};
}

void CGenerateDlg::ComputeStatistics() {
    if (m_bActive) {
        m_nRemaining = static_cast<std::uint32_t>(m_outList.GetCount());
        m_nLeft = m_nTotalCount - m_nRemaining;
    }
}

void CGenerateDlg::FillSnapshot(SBlockSnapshot& snapshot, std::uint32_t /*nTime*/,
                               bool bHeld) const {
    snapshot.eCount = SBlockSnapshot::ECount::kCreated;
    snapshot.nCount = m_nRunCount;
    snapshot.nEntered = m_nRunCount;
    if (bHeld) {
        snapshot.AddHeld(m_outList);  // made, but the next block could not take them yet
    }
}

}  // namespace mardo
