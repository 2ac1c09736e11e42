#pragma once

#include "sim/AutoResetEvent.h"

namespace mardo {

// The four signals between the run window and a running simulation.
struct CRunSignals {
    CAutoResetEvent m_evStop;     // stop the simulation, keeping its results
    CAutoResetEvent m_evPause;    // wait for m_evResume (the window asks whether to close)
    CAutoResetEvent m_evResume;   // the paused simulation may go on
    CAutoResetEvent m_evAbandon;  // quit at once (tested after a pause)
};

// The process-wide signals the run window and its simulations share.
CRunSignals& GetRunSignals();

}  // namespace mardo
