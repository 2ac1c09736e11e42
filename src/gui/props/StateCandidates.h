#pragma once

#include <vector>

#include "core/model/BlockEditor.h"

namespace mardo {

class CTransferRule;

// A block that one output of a switching block may be conditioned on, with the states it may
// be given there.
struct SStateCandidate {
    enum EStates { kFreeOnly = 0, kBusyOnly = 1, kBoth = 2 };

    CBlockDlg* pBlock = nullptr;
    int nStates = kBoth;

    friend bool operator==(const SStateCandidate&, const SStateCandidate&) = default;
};

// The blocks, in model order, that output nRow of the rule may name: no two outputs may name the
// same block with the same state, so a block whose two states are both taken by other outputs is
// left out, and one with a single state taken is offered with the other one only.
std::vector<SStateCandidate> FindStateCandidates(const CBlockList& blocks,
                                                 const CTransferRule& rule, int nRow);

}  // namespace mardo
