#pragma once

#include <cstdint>
#include <optional>

#include "core/model/ExperimentParams.h"

namespace mardo {

// How far a simulation has got, for the run window's progress bar, worked out from what the
// loop publishes. By time it is the model time over all the ticks of all runs. By number of
// transacts it is the runs done plus the current run's share of its departures; the
// departures at the start of a run are not published, so they are taken when a new run is
// first seen, which is exact for the first run and close enough for a display afterwards.
class CRunProgress {
public:
    explicit CRunProgress(const CExperimentParams& experiment) : m_experiment(experiment) {}

    // The share done, 0..1, or nothing when the stop rule gives no end to measure against.
    std::optional<double> Update(std::int32_t nRun, std::uint32_t nModelTime,
                                 std::uint32_t nDeparted);

private:
    const CExperimentParams m_experiment;
    std::int32_t m_nRun = 0;
    std::uint32_t m_nRunStartDepartures = 0;
};

}  // namespace mardo
