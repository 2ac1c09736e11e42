#pragma once

#include "core/sim/AutoResetEvent.h"

namespace mardo {

// The signals between the client of a simulation (the run window, the batch runner) and the
// loop. The client asks on its own thread, one request at a time; the loop takes the requests
// at tick boundaries. A hold keeps the loop waiting until it is resumed or abandoned, which is
// what a close question needs: the simulation must not change the model while it is asked.
class CRunSignals {
public:
    enum class ERequest { kGoOn, kStop, kAbandon };

    // The client's side.
    // Stops the simulation at its next tick boundary; its figures are computed.
    void Stop() { m_evStop.Set(); }
    // Holds the simulation at its next tick boundary until Resume() or Abandon().
    void Hold();
    // Lets a held simulation go on. A hold the loop has not taken yet is withdrawn instead:
    // a resume left over would let it run straight through the next hold.
    void Resume();
    // Makes the simulation quit at its next tick boundary without figures, held or not.
    void Abandon();
    // Whether the loop has taken the hold asked for and waits.
    bool IsHeld() const { return m_bHoldAsked && !m_evPause.IsSet(); }
    // Whether no request is left for the loop to take.
    bool IsClear() const;
    // Forgets every request; for when no simulation runs.
    void Clear();

    // The loop's side: takes the requests at a tick boundary, waiting while held. Inline:
    // the loop asks after every tick.
    ERequest Take() {
        if (m_evPause.TryConsume()) {
            m_evResume.Wait();
            if (m_evAbandon.TryConsume()) {
                return ERequest::kAbandon;
            }
        }
        return m_evStop.TryConsume() ? ERequest::kStop : ERequest::kGoOn;
    }

private:
    CAutoResetEvent m_evStop;
    CAutoResetEvent m_evPause;
    CAutoResetEvent m_evResume;
    CAutoResetEvent m_evAbandon;
    bool m_bHoldAsked = false;  // the client's own record, read on its thread only
};

}  // namespace mardo
