#include "core/model/QueueDlg.h"

#include <algorithm>
#include <type_traits>

#include "core/model/Statistics.h"
#include "core/model/TransactMoves.h"
#include "core/persist/FileModel.h"
#include "core/sim/RandomContext.h"

namespace mardo {

CQueueDlg::CQueueDlg(CPoint ptPos) : CBlockOf(EBlockKind::kQueue, "Очередь", {.bHasState = true}, 1, ptPos) {}

CQueueDlg::CQueueDlg(const CQueueDlg& other)
    : CBlockOf(other), m_params(other.m_params), m_priority(other.m_priority) {}

void CQueueDlg::Save(CFileModel& file) const {
    file.WriteInt(GetKindCode())
        .WriteInt(m_params.m_nDiscipline)
        .WriteInt(m_params.m_bLimit)
        .WriteInt(m_params.m_nLimit);
    m_priority.Save(file);
    CBlockDlg::Save(file);
}

void CQueueDlg::Load(CFileModel& file) {
    file.ReadIntInRange(m_params.m_nDiscipline, CQueueParams::kFifo, CQueueParams::kPriority)
        .ReadInt(m_params.m_bLimit)
        .ReadIntInRange(m_params.m_nLimit, 1, CQueueParams::kMaxLimit);
    m_priority.Load(file);
    CBlockDlg::Load(file);
}

void CQueueDlg::TakeRandomSources(CRandomContext& random) {
    m_pPlaces = &random.Source(GetName(), CRandomContext::ERole::kPlacement);
}

void CQueueDlg::PrepareRun() {
    CBlockDlg::PrepareRun();
    m_nZeroEntries = 0;
    m_nMaxContent = 0;
    m_nWaiting = 0;
    m_nLastTick = 0;
    m_nFirstTick = 0;
    m_nCarried = 0;
    m_nEntries = 0;
    m_nContentTime = 0;
}

void CQueueDlg::ResetStatistics(std::uint32_t nTime) {
    if (!m_bActive) {
        return;
    }
    CBlockDlg::ResetStatistics(nTime);
    // What the queue holds entered with the figures, so that every tick a transact spends in
    // it afterwards belongs to an entry.
    m_nEntries = GetCount();
    m_nMaxContent = GetCount();
    m_nZeroEntries = 0;
    m_nContentTime = 0;
    m_nFirstTick = nTime;
}

std::vector<SBlockParam> CQueueDlg::GetParams() {
    return {ChoiceParam("discipline", "Дисциплина очереди", m_params.m_nDiscipline,
                        {"fifo", "lifo", "random", "priority"},
                        {"Раньше поступил - раньше обслужился",
                         "Последний поступил - первый обслужился", "Выбор из очереди случайный",
                         "Выбор из очереди по приоритету"}),
            SwitchedIntParam("limit", "Ограничение длины очереди", m_params.m_bLimit,
                             m_params.m_nLimit, 1, CQueueParams::kMaxLimit)};
}

void CQueueDlg::ClearTransacts() {
    m_inputs.Clear();
    m_queue.DeleteAll();
    CBlockDlg::ClearTransacts();
}

void CQueueDlg::RaiseMaxContent() { m_nMaxContent = std::max(m_nMaxContent, GetCount()); }

// The accounting of a new tick: the content carried into it adds to the content-time sum.
void CQueueDlg::StartTick(std::uint32_t nTime) {
    m_bZeroFlag = 0;
    m_nLastTick = nTime;
    m_nContentTime += m_nCarried;
    RaiseMaxContent();
}

// Moves transacts from the head of pIn into the queue by its discipline: all of them, or up
// to the room left when the length is limited. The discipline chooses the move that places them;
// given places, a move that does not append notes there where each transact went.
template <typename... TPlaces>
void CQueueDlg::Admit(CTransactList* pIn, TPlaces&... places) {
    const auto nRoom = static_cast<std::uint32_t>(m_params.m_nLimit) - GetCount();
    const bool bLimited = m_params.m_bLimit != 0;
    switch (m_params.m_nDiscipline) {
        case CQueueParams::kLifo:
            TakeLifo(m_queue, pIn, nRoom, bLimited, &m_priority, places...);
            break;
        case CQueueParams::kRandom:
            TakeRandom(m_queue, pIn, nRoom, bLimited, &m_priority, *m_pPlaces, places...);
            break;
        case CQueueParams::kPriority:
            TakeByPriority(m_queue, pIn, nRoom, bLimited, &m_priority, places...);
            break;
        default:
            TakeFifo(m_queue, pIn, nRoom, bLimited, &m_priority);
            break;
    }
}

template <EPass P, typename TWaits>
void CQueueDlg::Move(CTransactList* pIn, std::uint32_t nTime, TWaits waits) {
    if (!m_bActive) {
        return;
    }
    if (pIn != nullptr) {
        m_inputs.Add(pIn);
    }
    if (CatchesUp()) {
        // The new-tick accounting of this tick belongs to the arrival pass.
        CatchUpTo(P == EPass::kArrival ? nTime - 1 : nTime);
    }
    if constexpr (P == EPass::kArrival) {
        if (m_nLastTick < nTime) {
            StartTick(nTime);
        }
    }
    CBlockDlg* pNext = Destination(0);
    for (;;) {
        const bool bNothingOffered = pIn == nullptr || pIn->IsEmpty();
        if (bNothingOffered && m_queue.IsEmpty()) {
            CallPass<P>(pNext, &m_queue, nTime);
            return;
        }
        // A device fed by this queue and by another block may have emptied it during the other
        // block's call while the queue still held itself full; such a round admits nothing, but
        // finds the room again and so repeats.
        const bool bWasFree = m_bFree != 0;
        std::uint32_t nAdmitted = 0;
        // With nothing offered the queue (not empty here) admits nothing, and its largest
        // content already covers what it holds.
        if (m_bFree && !bNothingOffered) {
            if (m_queue.IsEmpty()) {
                m_bZeroFlag = 1;
            }
            const std::uint32_t nBefore = GetCount();
            // A block fed by this queue and another may have taken from it meanwhile.
            waits.LeftDownTo(nBefore, nTime);
            if constexpr (std::is_same_v<TWaits, SNoWaits>) {
                Admit(pIn);
            } else {
                Admit(pIn, waits.Places());
            }
            nAdmitted = GetCount() - nBefore;
            waits.Entered(nTime, nAdmitted, m_params.m_nDiscipline == CQueueParams::kFifo);
            m_nEntries += nAdmitted;
            if (!m_bZeroFlag) {
                RaiseMaxContent();
            }
        }
        const std::uint32_t nOffered = GetCount();
        CallPass<P>(pNext, &m_queue, nTime);
        waits.LeftDownTo(GetCount(), nTime);
        m_bFree = !m_params.m_bLimit || GetCount() != static_cast<std::uint32_t>(m_params.m_nLimit);
        m_nCarried = GetCount();
        if (!m_bFree) {
            return;
        }
        const std::uint32_t nTaken = nOffered - GetCount();
        m_nLeft += nTaken;
        if (m_bZeroFlag) {
            m_nZeroEntries += nTaken;
        }
        if (pIn == nullptr || pIn->IsEmpty()) {
            return;
        }
        // A round that found room and still neither admitted nor released anything would repeat
        // forever. With a limit the model file allows it cannot happen, since a queue with room
        // admits at least one; only a limit of 0 held in memory could bring it about.
        if (bWasFree && nAdmitted == 0 && nTaken == 0) {
            return;
        }
    }
}

void CQueueDlg::CatchUpTo(std::uint32_t nTime) {
    if (nTime <= m_nLastTick) {
        return;
    }
    m_nContentTime += std::uint64_t{m_nCarried} * (nTime - m_nLastTick);
    m_bZeroFlag = 0;
    m_nLastTick = nTime;
    RaiseMaxContent();
}

void CQueueDlg::CatchUp(std::uint32_t nTime) {
    if (m_bActive && CatchesUp() && m_nLastTick != 0) {
        CatchUpTo(nTime);
    }
}

CTransactList* CQueueDlg::GetOutputList(std::int32_t /*k*/) { return &m_queue; }

SQuietTicks CQueueDlg::QuietUntil(std::uint32_t nTime) { return Quiet(nTime, SNoWaits{}); }

template <typename TWaits>
SQuietTicks CQueueDlg::Quiet(std::uint32_t nTime, const TWaits& waits) {
    if (!m_bActive) {
        return kForever;
    }
    const bool bFull =
        m_params.m_bLimit != 0 && GetCount() == static_cast<std::uint32_t>(m_params.m_nLimit);
    // A queue that offers its content sets its state afresh from it.
    if (!m_queue.IsEmpty() && (m_nCarried != GetCount() || (m_bFree != 0) == bFull)) {
        return nTime;
    }
    // Waiting transacts are admitted unless the queue is full and knows it.
    if ((m_bFree || !bFull) && m_inputs.HasTransacts()) {
        return nTime;
    }
    // A block fed by this queue and another may have taken from it: the waits note it now.
    if (waits.LagsBehind(GetCount())) {
        return nTime;
    }
    if (m_inputs.GetListCount() < GetInputListCount()) {
        return nTime;  // an input is not registered yet
    }
    // The new-tick accounting of its arrival pass raises the largest content to what it holds,
    // which must come before a device reached by another way takes from it.
    return {kForever, GetCount() > m_nMaxContent ? nTime : kForever};
}

int CQueueDlg::HasTransacts() { return m_bActive && !m_queue.IsEmpty(); }

void CQueueDlg::ComputeStatistics() {
    if (!m_bActive) {
        return;
    }
    RaiseMaxContent();
    m_nRemaining = GetCount();
    m_nWaiting = static_cast<std::uint32_t>(m_inputs.GetTotalCount());
    m_nEntered = m_nEntries;
    if (m_nContentTime == 0) {
        m_dAvgContent = m_dAvgTimeAll = m_dAvgTimeNonZero = 0.0;
        return;
    }
    m_dAvgContent = ReportQuotient(m_nContentTime, m_nLastTick - m_nFirstTick);
    m_dAvgTimeAll = ReportQuotient(m_nContentTime, m_nEntries);
    m_dAvgTimeNonZero = ReportQuotient(m_nContentTime, m_nEntries - m_nZeroEntries);
}

// The three passes of a plain queue, through the shared trampolines, and of a recording one.
template void CQueueDlg::Move<EPass::kArrival, SNoWaits>(CTransactList*, std::uint32_t, SNoWaits);
template void CQueueDlg::Move<EPass::kService, SNoWaits>(CTransactList*, std::uint32_t, SNoWaits);
template void CQueueDlg::Move<EPass::kFinal, SNoWaits>(CTransactList*, std::uint32_t, SNoWaits);
template void CQueueDlg::Move<EPass::kArrival, CWaitRecorder&>(CTransactList*, std::uint32_t,
                                                               CWaitRecorder&);
template void CQueueDlg::Move<EPass::kService, CWaitRecorder&>(CTransactList*, std::uint32_t,
                                                               CWaitRecorder&);
template void CQueueDlg::Move<EPass::kFinal, CWaitRecorder&>(CTransactList*, std::uint32_t,
                                                             CWaitRecorder&);
template SQuietTicks CQueueDlg::Quiet(std::uint32_t, const CWaitRecorder&);

void CQueueDlg::FillSnapshot(SBlockSnapshot& snapshot, std::uint32_t /*nTime*/,
                            bool bHeld) const {
    snapshot.eCount = SBlockSnapshot::ECount::kContent;
    snapshot.nCount = GetCount();
    // The largest content is raised lazily, at the accounting of the next tick.
    snapshot.nMaxContent = std::max(m_nMaxContent, GetCount());
    snapshot.nEntered = m_nEntries;
    if (bHeld) {
        snapshot.AddHeld(m_queue);
    }
}

}  // namespace mardo
