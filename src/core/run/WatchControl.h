#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <optional>
#include <vector>

#include "core/run/ModelSnapshot.h"
#include "core/run/PauseCondition.h"
#include "core/sim/TickObserver.h"

namespace mardo {

class CModel;

// Drives a watched simulation tick by tick for a view on another thread: the view asks for a
// step, a step to the next tick in which anything moves, a run (up to a tick, at a pace) or a
// pause, and takes snapshots of the blocks that the simulation's thread copies out at tick
// boundaries, so the view never touches the blocks. The simulation starts paused before its
// first tick. Watching changes nothing in the simulation: the blocks are only read, and quiet
// ticks are left out only when running as fast as possible with no pause condition.
class CWatchControl final : public ITickObserver {
public:
    static constexpr std::uint32_t kNoEnd = 0xFFFFFFFFu;

    // The blocks must stay as they are while a simulation of the model is watched.
    explicit CWatchControl(const CModel& model);

    // The view's side.
    void Pause();
    // One tick, then a pause.
    void Step();
    // Up to the next tick in which a transact moves or a block changes its state, then a pause.
    void StepToEvent();
    // Runs at the pace, up to the end of tick nUntil (then pauses) or to the end.
    void Run(std::uint32_t nUntil = kNoEnd);
    // Ticks per second; 0: as fast as possible.
    void SetPace(std::uint32_t nTicksPerSecond);
    // The conditions that pause the watch; each starts from the state at the boundary where the
    // simulation takes it up.
    void SetConditions(std::vector<SPauseCondition> conditions);
    // Lets the simulation go on unwatched and never wait again (a stop or an abandon).
    void Release();
    // Whether the simulation waits at a boundary, paused.
    bool IsPaused() const;
    // The conditions that paused it last (indices into those set), empty for a pause by request.
    std::vector<std::size_t> GetMetConditions() const;
    // Asks for a snapshot at the next boundary even when running as fast as possible.
    void WantSnapshot();
    // The newest snapshot not taken yet. While paused, the one of the pause, with what the
    // blocks hold.
    std::optional<SModelSnapshot> TakeSnapshot();

    // The simulation's side.
    std::uint32_t AtBoundary(std::uint32_t nTime, std::uint32_t nDeparted) override;

private:
    enum class EMode { kPaused, kStep, kStepToEvent, kRun };

    struct SCondition {
        SPauseCondition condition;
        std::size_t nBlock = 0;  // the named block's index in the model
        bool bKnown = false;     // whether bHeld has been seen at a boundary yet
        bool bHeld = false;      // at the last boundary
    };

    void Command(EMode eMode, std::uint32_t nUntil = kNoEnd);
    // Takes up the commands given since the last look, at the boundary after tick nTime.
    void TakeCommands(std::uint32_t nTime, std::uint32_t nDeparted);
    // Whether the boundary after tick nTime is where the watch pauses.
    bool ShouldPause(std::uint32_t nTime, std::uint32_t nDeparted);
    bool ConditionsMet(std::uint32_t nTime, std::uint32_t nDeparted);
    bool Moved(std::uint32_t nTime);
    std::vector<SBlockSnapshot> Snap(std::uint32_t nTime, bool bHeld) const;
    void Publish(std::uint32_t nTime, std::uint32_t nDeparted, bool bHeld);
    bool IsPaced() const { return m_eMode == EMode::kRun && m_nPace != 0; }
    std::uint32_t SkipLimit(std::uint32_t nTime) const;

    const CModel& m_model;
    mutable std::mutex m_mutex;
    std::condition_variable m_wake;
    EMode m_eMode = EMode::kPaused;
    std::uint32_t m_nUntil = kNoEnd;
    std::uint32_t m_nPace = 0;
    // Given by the view, counted after each under the mutex; read without it, so that a
    // boundary with nothing to do costs the simulation two loads.
    std::atomic<std::uint64_t> m_nCommands{0};
    std::atomic<bool> m_bSnapshotWanted{false};
    bool m_bReleased = false;
    bool m_bWaiting = false;
    // The simulation's own: the commands it has taken up, and whether it runs free (as fast as
    // possible, no condition) up to the end of tick m_nFreeUntil.
    std::uint64_t m_nCommandsSeen = 0;
    bool m_bFree = false;
    std::uint32_t m_nFreeUntil = 0;
    std::vector<SCondition> m_conditions;
    std::vector<std::size_t> m_met;
    std::optional<SModelSnapshot> m_snapshot;
    std::vector<SBlockSnapshot> m_lastState;  // for a step to the next event
    std::uint32_t m_nTime = 0;
    std::chrono::steady_clock::time_point m_due;  // of the next tick, when paced
};

}  // namespace mardo
