#include "core/model/Model.h"

#include <algorithm>

#include "core/model/AssembleDlg.h"
#include "core/model/DeviceDlg.h"
#include "core/model/GatherDlg.h"
#include "core/model/GenerateDlg.h"
#include "core/model/QueueDlg.h"
#include "core/model/SplitDlg.h"
#include "core/model/TerminateDlg.h"
#include "core/model/TransferDlg.h"

namespace mardo {

CBlockDlg& CModel::AddBlock(std::unique_ptr<CBlockDlg> pBlock) {
    m_blocks.push_back(std::move(pBlock));
    return *m_blocks.back();
}

void CModel::DeleteBlock(const CBlockDlg* pBlock) {
    const auto it = std::find_if(m_blocks.begin(), m_blocks.end(),
                                 [pBlock](const auto& p) { return p.get() == pBlock; });
    if (it == m_blocks.end()) {
        return;
    }
    for (const auto& pOther : m_blocks) {
        if (pOther.get() != pBlock) {
            pOther->RemoveLinksTo(pBlock);
        }
    }
    m_blocks.erase(it);
}

std::int32_t CModel::IndexOfBlock(const CBlockDlg* pBlock) const {
    if (pBlock == nullptr) {
        return -1;
    }
    for (std::size_t i = 0; i < m_blocks.size(); ++i) {
        if (m_blocks[i].get() == pBlock) {
            return static_cast<std::int32_t>(i);
        }
    }
    return -1;
}

CBlockDlg* CModel::BlockAt(std::int32_t nIndex) const {
    if (nIndex < 0 || static_cast<std::size_t>(nIndex) >= m_blocks.size()) {
        return nullptr;
    }
    return m_blocks[static_cast<std::size_t>(nIndex)].get();
}

CBlockDlg* CModel::FindBlock(const std::string& strName) const {
    if (strName.empty()) {
        return nullptr;
    }
    for (const auto& pBlock : m_blocks) {
        if (pBlock->GetName() == strName) {
            return pBlock.get();
        }
    }
    return nullptr;
}

void CModel::Clear() {
    m_blocks.clear();
    m_experiment = CExperimentParams{};
}

std::unique_ptr<CBlockDlg> CreateBlock(std::int32_t nKindCode, CPoint ptPos) {
    switch (static_cast<EBlockKind>(nKindCode)) {
        case EBlockKind::kGenerate:
            return std::make_unique<CGenerateDlg>(ptPos);
        case EBlockKind::kTerminate:
            return std::make_unique<CTerminateDlg>(ptPos);
        case EBlockKind::kDevice:
            return std::make_unique<CDeviceDlg>(ptPos);
        case EBlockKind::kQueue:
            return std::make_unique<CQueueDlg>(ptPos);
        case EBlockKind::kTransfer:
            return std::make_unique<CTransferDlg>(ptPos);
        case EBlockKind::kSplit:
            return std::make_unique<CSplitDlg>(ptPos);
        case EBlockKind::kAssemble:
            return std::make_unique<CAssembleDlg>(ptPos);
        case EBlockKind::kGather:
            return std::make_unique<CGatherDlg>(ptPos);
    }
    return nullptr;
}

}  // namespace mardo
