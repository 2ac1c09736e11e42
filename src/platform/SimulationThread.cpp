#include "platform/SimulationThread.h"

#include <cstdint>
#include <utility>

#include "core/sim/PassShape.h"
#include "platform/MachineMemory.h"

namespace mardo::platform {

namespace {

// Measured levels (see the platform tests; at most 80 bytes optimised, 288 under the
// sanitizers) with room to spare: sanitizers pad every frame, and an unoptimised build keeps
// every local in its frame.
#if defined(__OPTIMIZE__) && !defined(MARDO_SANITIZED)
constexpr std::size_t kMeasuredBytesPerLevel = 512;
#else
constexpr std::size_t kMeasuredBytesPerLevel = 1024;
#endif

std::string StackMessage(std::size_t nChain) {
    return "Моделирование не запущено - не удалось выделить стек для цепочки из " +
           std::to_string(nChain) + " блоков";
}

}  // namespace

const std::size_t CSimulationThread::kBytesPerLevel = kMeasuredBytesPerLevel;

std::optional<std::size_t> CSimulationThread::StackBytesFor(std::size_t nChain) {
    const std::size_t nLimit = CMachineMemory::Physical() / 2;
    if (nLimit < kBaseBytes || nChain > (nLimit - kBaseBytes) / kBytesPerLevel) {
        return std::nullopt;
    }
    return kBaseBytes + nChain * kBytesPerLevel;
}

std::optional<std::string> CSimulationThread::Refusal(const SPassShape& shape) {
    if (shape.nCallsPerPass > SPassShape::kMostCallsPerPass) {
        return "Моделирование не запущено - выходы коммутирующих и копирующих блоков образуют "
               "слишком много путей";
    }
    if (!StackBytesFor(shape.nLongestChain)) {
        return StackMessage(shape.nLongestChain);
    }
    return std::nullopt;
}

std::optional<std::string> CSimulationThread::Start(const CModel& model,
                                                    std::function<void()> work) {
    const SPassShape shape = MeasurePasses(model);
    if (std::optional<std::string> refusal = Refusal(shape)) {
        return refusal;
    }
    CMachineMemory::LimitTransacts();
    if (!m_thread.Start(std::move(work), *StackBytesFor(shape.nLongestChain))) {
        return StackMessage(shape.nLongestChain);
    }
    return std::nullopt;
}

}  // namespace mardo::platform
