#include "core/sim/RunSignals.h"

namespace mardo {

void CRunSignals::Hold() {
    m_bHoldAsked = true;
    m_evPause.Set();
}

void CRunSignals::Resume() {
    m_bHoldAsked = false;
    if (!m_evPause.TryConsume()) {
        m_evResume.Set();
    }
}

void CRunSignals::Abandon() {
    // The loop looks for the abandon request only after a hold; the order makes sure it finds
    // it set once it has taken the hold, whenever that happens. A hold already asked for is
    // not asked again: a second one would be left over after the loop has quit.
    m_evAbandon.Set();
    if (!m_bHoldAsked) {
        m_evPause.Set();
    }
    m_bHoldAsked = false;
    m_evResume.Set();
}

bool CRunSignals::IsClear() const {
    return !m_evStop.IsSet() && !m_evPause.IsSet() && !m_evResume.IsSet() && !m_evAbandon.IsSet();
}

void CRunSignals::Clear() {
    m_evStop.Reset();
    m_evPause.Reset();
    m_evResume.Reset();
    m_evAbandon.Reset();
    m_bHoldAsked = false;
}

}  // namespace mardo
