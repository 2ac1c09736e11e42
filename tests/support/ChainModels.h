#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/model/BlockKind.h"

namespace mardo {
class CBlockDlg;
class CModel;
}  // namespace mardo

namespace mardo::test {

// The kinds of block a transact passes through within the tick it enters them, and every kind
// with an output.
inline const std::vector<EBlockKind> kForwardingKinds = {EBlockKind::kQueue, EBlockKind::kGather,
                                                         EBlockKind::kAssemble, EBlockKind::kSplit,
                                                         EBlockKind::kTransfer};
inline const std::vector<EBlockKind> kKindsWithOutputs = {
    EBlockKind::kGenerate, EBlockKind::kDevice,   EBlockKind::kQueue, EBlockKind::kTransfer,
    EBlockKind::kSplit,    EBlockKind::kAssemble, EBlockKind::kGather};

// Appends a named generator that makes a transact every tick and, behind it, a chain of nBlocks
// named blocks of the given kinds in turn, each with a single output linked to the next, so
// that a pass goes down the chain as nested calls, one level per block. Answers the last block;
// its output is left for the caller to link.
CBlockDlg& AddChain(CModel& model, std::size_t nBlocks, const std::vector<EBlockKind>& kinds);

// Appends a chain of nSteps copying blocks with nOutputs outputs each, all of which lead to the
// next, then a named terminator: each pass calls the terminator nOutputs^nSteps times.
void AddLadder(CModel& model, std::int32_t nSteps, std::int32_t nOutputs);

}  // namespace mardo::test
