#include "core/sim/PassShape.h"

#include <algorithm>
#include <limits>
#include <optional>
#include <unordered_map>
#include <vector>

#include "core/model/BlockDlg.h"
#include "core/model/Model.h"

namespace mardo {

namespace {

std::uint64_t SaturatingAdd(std::uint64_t a, std::uint64_t b) {
    return a > SPassShape::kUnbounded - b ? SPassShape::kUnbounded : a + b;
}

// The blocks of a model as numbered nodes, and for each the nodes it calls a pass on. Only a
// named block was prepared for the simulation; any other ignores the pass it is handed.
class CCallGraph {
public:
    explicit CCallGraph(const CModel& model) : m_calls(model.GetBlockCount()) {
        std::unordered_map<const CBlockDlg*, std::size_t> numbers;
        for (std::size_t i = 0; i < model.GetBlockCount(); ++i) {
            numbers.emplace(model.GetBlocks()[i].get(), i);
        }
        for (std::size_t i = 0; i < model.GetBlockCount(); ++i) {
            const CBlockDlg& block = *model.GetBlocks()[i];
            if (!block.IsNamed()) {
                continue;
            }
            if (block.IsSource()) {
                m_roots.push_back(i);
            }
            for (std::int32_t k = 0; k < block.GetOutputCount(); ++k) {
                const auto it = numbers.find(block.GetOutLink(k));
                if (it != numbers.end()) {
                    m_calls[i].push_back(it->second);
                }
            }
        }
    }

    // The blocks reached from the generators, every block after all the blocks it calls, or
    // nothing when a path runs in a circle. The walk keeps its own stack: a chain may be as
    // long as a file can hold.
    std::optional<std::vector<std::size_t>> PostOrder() const {
        enum class EState : unsigned char { kNew, kOnPath, kDone };
        std::vector<EState> states(m_calls.size(), EState::kNew);
        std::vector<std::size_t> order;
        struct SFrame {
            std::size_t nNode;
            std::size_t nNextCall;
        };
        std::vector<SFrame> path;
        for (const std::size_t nRoot : m_roots) {
            if (states[nRoot] != EState::kNew) {
                continue;
            }
            states[nRoot] = EState::kOnPath;
            path.push_back({nRoot, 0});
            while (!path.empty()) {
                SFrame& frame = path.back();
                if (frame.nNextCall == m_calls[frame.nNode].size()) {
                    states[frame.nNode] = EState::kDone;
                    order.push_back(frame.nNode);
                    path.pop_back();
                    continue;
                }
                const std::size_t nNext = m_calls[frame.nNode][frame.nNextCall++];
                if (states[nNext] == EState::kOnPath) {
                    return std::nullopt;
                }
                if (states[nNext] == EState::kNew) {
                    states[nNext] = EState::kOnPath;
                    path.push_back({nNext, 0});
                }
            }
        }
        return order;
    }

    const std::vector<std::size_t>& CallsOf(std::size_t nNode) const { return m_calls[nNode]; }
    const std::vector<std::size_t>& Roots() const { return m_roots; }
    std::size_t Size() const { return m_calls.size(); }

private:
    std::vector<std::vector<std::size_t>> m_calls;
    std::vector<std::size_t> m_roots;  // the named generators, which the loop calls itself
};

}  // namespace

SPassShape MeasurePasses(const CModel& model) {
    const CCallGraph graph(model);
    const std::optional<std::vector<std::size_t>> order = graph.PostOrder();
    if (!order) {
        return {std::numeric_limits<std::size_t>::max(), SPassShape::kUnbounded};
    }
    SPassShape shape;
    // Callees come first in the order, so each block's chain is known when its callers need it.
    std::vector<std::size_t> chains(graph.Size(), 0);
    for (const std::size_t nNode : *order) {
        std::size_t nLongest = 0;
        for (const std::size_t nCalled : graph.CallsOf(nNode)) {
            nLongest = std::max(nLongest, chains[nCalled]);
        }
        chains[nNode] = nLongest + 1;
        shape.nLongestChain = std::max(shape.nLongestChain, chains[nNode]);
    }
    // Callers first: a block is called once for every call of every block that links to it.
    std::vector<std::uint64_t> calls(graph.Size(), 0);
    for (const std::size_t nRoot : graph.Roots()) {
        calls[nRoot] = SaturatingAdd(calls[nRoot], 1);
    }
    for (auto it = order->rbegin(); it != order->rend(); ++it) {
        for (const std::size_t nCalled : graph.CallsOf(*it)) {
            calls[nCalled] = SaturatingAdd(calls[nCalled], calls[*it]);
        }
        shape.nCallsPerPass = SaturatingAdd(shape.nCallsPerPass, calls[*it]);
    }
    return shape;
}

}  // namespace mardo
