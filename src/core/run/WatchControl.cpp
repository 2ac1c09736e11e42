#include "core/run/WatchControl.h"

#include <algorithm>
#include <utility>

#include "core/model/Model.h"

namespace mardo {

namespace {

// Whether anything moved between two states of a block: a transact entered, a count changed,
// a device took or ended a service, a switching block chose anew. A service running down is
// not a move.
bool Differs(const SBlockSnapshot& before, const SBlockSnapshot& after) {
    return before.nEntered != after.nEntered || before.nCount != after.nCount ||
           before.bBusy != after.bBusy || before.nLastOutput != after.nLastOutput;
}

}  // namespace

CWatchControl::CWatchControl(const CModel& model) : m_model(model) {}

void CWatchControl::Command(EMode eMode, std::uint32_t nUntil) {
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        m_eMode = eMode;
        m_nUntil = nUntil;
        m_nCommands.fetch_add(1, std::memory_order_release);
    }
    m_wake.notify_all();
}

void CWatchControl::Pause() {
    Command(EMode::kPaused);
}

void CWatchControl::Step() {
    Command(EMode::kStep);
}

void CWatchControl::StepToEvent() {
    Command(EMode::kStepToEvent);
}

void CWatchControl::Run(std::uint32_t nUntil) {
    Command(EMode::kRun, nUntil);
}

void CWatchControl::SetPace(std::uint32_t nTicksPerSecond) {
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        m_nPace = nTicksPerSecond;
        m_nCommands.fetch_add(1, std::memory_order_release);
    }
    m_wake.notify_all();
}

void CWatchControl::SetConditions(std::vector<SPauseCondition> conditions) {
    std::vector<SCondition> resolved;
    const CBlockList& blocks = m_model.GetBlocks();
    for (SPauseCondition& condition : conditions) {
        SCondition entry{std::move(condition)};
        entry.nBlock = blocks.size();
        for (std::size_t i = 0; i < blocks.size(); ++i) {
            if (blocks[i]->IsNamed() && blocks[i]->GetName() == entry.condition.strBlock) {
                entry.nBlock = i;
            }
        }
        resolved.push_back(std::move(entry));
    }
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        m_conditions = std::move(resolved);
        m_nCommands.fetch_add(1, std::memory_order_release);
    }
    m_wake.notify_all();
}

void CWatchControl::Release() {
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        m_bReleased = true;
    }
    m_wake.notify_all();
}

bool CWatchControl::IsPaused() const {
    const std::lock_guard<std::mutex> lock(m_mutex);
    return m_bWaiting && m_eMode == EMode::kPaused;
}

std::vector<std::size_t> CWatchControl::GetMetConditions() const {
    const std::lock_guard<std::mutex> lock(m_mutex);
    return m_met;
}

void CWatchControl::WantSnapshot() {
    m_bSnapshotWanted.store(true, std::memory_order_relaxed);
}

std::optional<SModelSnapshot> CWatchControl::TakeSnapshot() {
    const std::lock_guard<std::mutex> lock(m_mutex);
    return std::exchange(m_snapshot, std::nullopt);
}

std::uint32_t CWatchControl::AtBoundary(std::uint32_t nTime, std::uint32_t nDeparted) {
    if (m_bFree && nTime < m_nFreeUntil && !m_bSnapshotWanted.load(std::memory_order_relaxed) &&
        m_nCommands.load(std::memory_order_acquire) == m_nCommandsSeen) {
        return m_nFreeUntil;
    }
    std::unique_lock<std::mutex> lock(m_mutex);
    if (m_bReleased) {
        return kNoEnd;
    }
    m_nTime = nTime;
    TakeCommands(nTime, nDeparted);
    const bool bPause = ShouldPause(nTime, nDeparted);
    if (bPause) {
        m_eMode = EMode::kPaused;
    }
    if (bPause || m_bSnapshotWanted.load(std::memory_order_relaxed) || IsPaced()) {
        Publish(nTime, nDeparted, bPause);
    }
    const auto commanded = [this] {
        return m_bReleased || m_nCommands.load(std::memory_order_relaxed) != m_nCommandsSeen;
    };
    while (!m_bReleased) {
        if (m_eMode == EMode::kPaused) {
            m_bWaiting = true;
            m_wake.wait(lock, commanded);
            m_bWaiting = false;
            TakeCommands(nTime, nDeparted);
            continue;
        }
        if (IsPaced()) {
            const auto now = std::chrono::steady_clock::now();
            if (m_due > now && m_wake.wait_until(lock, m_due, commanded)) {
                TakeCommands(nTime, nDeparted);
                continue;
            }
            m_due = std::max(m_due, now) + std::chrono::nanoseconds(1'000'000'000) / m_nPace;
        }
        break;
    }
    m_bFree = !m_bReleased && m_eMode == EMode::kRun && m_nPace == 0 && m_conditions.empty();
    m_nFreeUntil = m_nUntil;
    return m_bReleased ? kNoEnd : SkipLimit(nTime);
}

void CWatchControl::TakeCommands(std::uint32_t nTime, std::uint32_t nDeparted) {
    const std::uint64_t nCommands = m_nCommands.load(std::memory_order_relaxed);
    if (nCommands == m_nCommandsSeen) {
        return;
    }
    m_nCommandsSeen = nCommands;
    for (SCondition& entry : m_conditions) {
        if (!entry.bKnown) {
            const SBlockSnapshot block =
                entry.nBlock < m_model.GetBlocks().size()
                    ? m_model.GetBlocks()[entry.nBlock]->TakeSnapshot(nTime, false)
                    : SBlockSnapshot{};
            entry.bHeld = entry.condition.Holds(entry.condition.NamesBlock() ? &block : nullptr,
                                                nTime, nDeparted);
            entry.bKnown = true;
        }
    }
    if (m_eMode == EMode::kStepToEvent) {
        m_lastState = Snap(nTime, false);
    }
}

bool CWatchControl::ShouldPause(std::uint32_t nTime, std::uint32_t nDeparted) {
    const bool bMet = ConditionsMet(nTime, nDeparted);
    switch (m_eMode) {
        case EMode::kPaused:
        case EMode::kStep:
            return true;
        case EMode::kStepToEvent:
            return Moved(nTime) || bMet;
        case EMode::kRun:
            break;
    }
    return bMet || nTime >= m_nUntil;
}

bool CWatchControl::ConditionsMet(std::uint32_t nTime, std::uint32_t nDeparted) {
    m_met.clear();
    const CBlockList& blocks = m_model.GetBlocks();
    for (std::size_t i = 0; i < m_conditions.size(); ++i) {
        SCondition& entry = m_conditions[i];
        std::optional<SBlockSnapshot> block;
        if (entry.condition.NamesBlock() && entry.nBlock < blocks.size()) {
            block = blocks[entry.nBlock]->TakeSnapshot(nTime, false);
        }
        const bool bHolds = entry.condition.Holds(block ? &*block : nullptr, nTime, nDeparted);
        if (bHolds && entry.bKnown && !entry.bHeld) {
            m_met.push_back(i);
        }
        entry.bHeld = bHolds;
        entry.bKnown = true;
    }
    return !m_met.empty();
}

bool CWatchControl::Moved(std::uint32_t nTime) {
    std::vector<SBlockSnapshot> state = Snap(nTime, false);
    bool bMoved = state.size() != m_lastState.size();
    for (std::size_t i = 0; !bMoved && i < state.size(); ++i) {
        bMoved = Differs(m_lastState[i], state[i]);
    }
    m_lastState = std::move(state);
    return bMoved;
}

std::vector<SBlockSnapshot> CWatchControl::Snap(std::uint32_t nTime, bool bHeld) const {
    std::vector<SBlockSnapshot> blocks;
    blocks.reserve(m_model.GetBlocks().size());
    for (const auto& pBlock : m_model.GetBlocks()) {
        blocks.push_back(pBlock->TakeSnapshot(nTime, bHeld));
    }
    return blocks;
}

void CWatchControl::Publish(std::uint32_t nTime, std::uint32_t nDeparted, bool bHeld) {
    m_snapshot = SModelSnapshot{nTime, nDeparted, bHeld, Snap(nTime, bHeld)};
    m_bSnapshotWanted.store(false, std::memory_order_relaxed);
}

std::uint32_t CWatchControl::SkipLimit(std::uint32_t nTime) const {
    if (m_eMode == EMode::kRun && m_nPace == 0 && m_conditions.empty()) {
        return std::max(nTime, m_nUntil);
    }
    return nTime;
}

}  // namespace mardo
