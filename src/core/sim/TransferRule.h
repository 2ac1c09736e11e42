#pragma once

#include <cstdint>
#include <vector>

#include "core/sim/RandomSource.h"

namespace mardo {

class CBlockDlg;
class CFileModel;

// The switching block's rule for choosing the output of the next transact: equally likely,
// by given probabilities (thousandths), or by the states of other blocks. Entry i of each
// per-output list belongs to output i.
class CTransferRule {
public:
    enum EKind : std::int32_t { kEqual = 0, kByProbability = 1, kByState = 2 };
    enum EState : std::int32_t { kFree = 0, kBusy = 1 };
    static constexpr std::int32_t kMaxOutputs = 20;
    static constexpr std::int32_t kWhole = 1000;  // all the probability there is, in thousandths

    CTransferRule() = default;
    explicit CTransferRule(std::int32_t nOutputs) { SetOutputCount(nOutputs); }
    virtual ~CTransferRule() = default;
    CTransferRule(const CTransferRule&) = default;
    CTransferRule& operator=(const CTransferRule&) = default;

    // Brings every per-output list to n entries: the equal weights are rebuilt, the other
    // lists are cut or extended with probability 0, no condition block and state 0.
    void SetOutputCount(std::int32_t n);
    std::int32_t GetOutputCount() const { return static_cast<std::int32_t>(m_weights.size()); }
    // The 0-based output for the next transact; a chance is drawn from the source as a
    // thousandth.
    std::int32_t ChooseOutput(CRandomSource& draws = CRandomSource::Exact()) const;

    // Kind, the number of outputs and per output its probability and condition state; the
    // condition blocks are stored by the model file with the links. Loading refuses a kind
    // outside 0..2, a count outside 1..20, a probability outside 0..1000 or a sum above
    // 1000, and leaves every output without a condition block.
    void Save(CFileModel& file) const;
    void Load(CFileModel& file);

    std::int32_t m_nKind = kEqual;
    std::vector<std::int32_t> m_weights;        // 1000 / n each; rebuilt, never edited
    std::vector<std::int32_t> m_probabilities;  // thousandths
    std::vector<CBlockDlg*> m_conditionBlocks;  // not owned; null: no block
    std::vector<std::int32_t> m_conditionStates;

private:
    std::int32_t ChooseByWeights(const std::vector<std::int32_t>& weights,
                                 CRandomSource& draws) const;
    std::int32_t ChooseByState() const;
};

}  // namespace mardo
