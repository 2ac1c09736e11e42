#include "core/run/RunProgress.h"

#include <algorithm>

namespace mardo {

std::optional<double> CRunProgress::Update(std::int32_t nRun, std::uint32_t nModelTime,
                                           std::uint32_t nDeparted) {
    if (nRun != m_nRun) {
        m_nRunStartDepartures = nRun <= 1 ? 0 : nDeparted;
        m_nRun = nRun;
    }
    const double dRuns = m_experiment.nRuns;
    const double dStopValue = static_cast<std::uint32_t>(m_experiment.nStopValue);
    if (m_experiment.nRuns < 1) {
        return 1.0;
    }
    if (m_experiment.nStopRule == CExperimentParams::kByTime) {
        if (dStopValue == 0) {
            return std::nullopt;  // runs end only on an empty system or by the user
        }
        return std::min(1.0, nModelTime / (dRuns * dStopValue));
    }
    // Every run ends after its first tick with a limit of 0.
    const double dRunShare =
        dStopValue == 0 ? 1.0 : std::min(1.0, (nDeparted - m_nRunStartDepartures) / dStopValue);
    const double dRunsDone = std::max(0, nRun - 1);
    return std::min(1.0, (dRunsDone + dRunShare) / dRuns);
}

}  // namespace mardo
