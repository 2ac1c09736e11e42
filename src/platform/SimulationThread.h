#pragma once

#include <chrono>
#include <cstddef>
#include <functional>
#include <optional>
#include <string>

#include "core/run/RunThread.h"
#include "platform/LargeStackThread.h"

namespace mardo {
class CModel;
struct SPassShape;
}  // namespace mardo

namespace mardo::platform {

// The thread one simulation runs on. Its stack is sized from the model: every block on the
// longest chain of linked blocks adds a level of nested pass calls. A model that could not be
// simulated safely is refused with a message instead: one whose chain needs more stack than the
// system gives (rather than overflow it), or one whose outputs fan out and meet again so often
// that a single tick would outlast any stop or close request, which is heeded between ticks.
class CSimulationThread final : public IRunThread {
public:
    std::optional<std::string> Start(const CModel& model, std::function<void()> work) override;
    void Join() override { m_thread.Join(); }
    bool WaitFor(std::chrono::milliseconds timeout) { return m_thread.WaitFor(timeout); }

    // The stack for a chain of nChain blocks, or nothing when no stack that large is to be
    // had: more than half the machine's memory would leave too little for the transacts.
    static std::optional<std::size_t> StackBytesFor(std::size_t nChain);
    // Why a model of that shape cannot be simulated, or nothing when it can.
    static std::optional<std::string> Refusal(const SPassShape& shape);

    // The stack one level of nested pass calls takes at most, in this build (the tests measure
    // it for every kind of block), and the stack below the first level.
    static const std::size_t kBytesPerLevel;
    static constexpr std::size_t kBaseBytes = std::size_t{8} << 20;

private:
    CLargeStackThread m_thread;
};

}  // namespace mardo::platform
