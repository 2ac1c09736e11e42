#pragma once

#include <cstdint>

namespace mardo {

// The model's experiment conditions: how a run ends and how many runs one simulation makes.
struct CExperimentParams {
    enum EStopRule : std::int32_t { kByTime = 0, kByCount = 1 };
    static constexpr std::int32_t kMaxValue = 30000;

    std::int32_t nStopRule = kByTime;  // 0 "По времени", 1 "По числу транзактов"
    std::int32_t nStopValue = 1;       // ticks per run, or departures per run
    std::int32_t nRuns = 1;            // "Количество запусков модели"

    friend bool operator==(const CExperimentParams&, const CExperimentParams&) = default;
};

}  // namespace mardo
