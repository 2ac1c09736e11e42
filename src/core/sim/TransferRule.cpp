#include "core/sim/TransferRule.h"

#include "core/model/BlockDlg.h"
#include "core/persist/FileModel.h"

namespace mardo {

void CTransferRule::SetOutputCount(std::int32_t n) {
    if (n < 1 || n == GetOutputCount()) {
        return;
    }
    const auto nSize = static_cast<std::size_t>(n);
    m_weights.assign(nSize, 1000 / n);
    m_probabilities.resize(nSize, 0);
    m_conditionBlocks.resize(nSize, nullptr);
    m_conditionStates.resize(nSize, kFree);
}

std::int32_t CTransferRule::ChooseOutput(CRandomSource& draws) const {
    switch (m_nKind) {
        case kEqual:
            return ChooseByWeights(m_weights, draws);
        case kByProbability:
            return ChooseByWeights(m_probabilities, draws);
        default:
            return ChooseByState();
    }
}

std::int32_t CTransferRule::ChooseByWeights(const std::vector<std::int32_t>& weights,
                                            CRandomSource& draws) const {
    const std::int32_t nDraw = draws.Thousandth();
    std::int32_t nSum = 0;
    for (std::size_t i = 0; i < weights.size(); ++i) {
        nSum += weights[i];
        if (nDraw < nSum) {
            return static_cast<std::int32_t>(i);
        }
    }
    return GetOutputCount() - 1;
}

std::int32_t CTransferRule::ChooseByState() const {
    for (std::size_t i = 0; i < m_conditionBlocks.size(); ++i) {
        const CBlockDlg* pBlock = m_conditionBlocks[i];
        if (pBlock == nullptr) {
            continue;
        }
        const bool bFree = pBlock->IsFree();
        if ((bFree && m_conditionStates[i] == kFree) || (!bFree && m_conditionStates[i] == kBusy)) {
            return static_cast<std::int32_t>(i);
        }
    }
    return GetOutputCount() - 1;
}

void CTransferRule::Save(CFileModel& file) const {
    file.WriteInt(m_nKind).WriteInt(GetOutputCount());
    for (std::size_t i = 0; i < m_weights.size(); ++i) {
        file.WriteInt(m_probabilities[i]).WriteInt(m_conditionStates[i]);
    }
}

void CTransferRule::Load(CFileModel& file) {
    std::int32_t nCount = 0;
    file.ReadIntInRange(m_nKind, kEqual, kByState).ReadIntInRange(nCount, 1, kMaxOutputs);
    const auto nSize = static_cast<std::size_t>(nCount);
    m_weights.assign(nSize, 1000 / nCount);
    m_probabilities.assign(nSize, 0);
    m_conditionBlocks.assign(nSize, nullptr);
    m_conditionStates.assign(nSize, kFree);
    std::int32_t nSum = 0;
    for (std::size_t i = 0; i < nSize; ++i) {
        file.ReadIntInRange(m_probabilities[i], 0, kWhole - nSum).ReadInt(m_conditionStates[i]);
        nSum += m_probabilities[i];
    }
}

}  // namespace mardo
