#include "core/run/TimeStamp.h"

#include <ctime>

#include "core/report/HtmlReport.h"

namespace mardo {

std::chrono::seconds LocalTimeOfDay() {
    const std::tm now = ReportClock(false);
    return std::chrono::hours(now.tm_hour) + std::chrono::minutes(now.tm_min) +
           std::chrono::seconds(now.tm_sec);
}

std::string TimeStamp(std::chrono::seconds timeOfDay) {
    const std::chrono::hh_mm_ss<std::chrono::seconds> parts(timeOfDay % std::chrono::days(1));
    std::tm time{};
    time.tm_hour = static_cast<int>(parts.hours().count());
    time.tm_min = static_cast<int>(parts.minutes().count());
    time.tm_sec = static_cast<int>(parts.seconds().count());
    char szStamp[32];
    std::strftime(szStamp, sizeof szStamp, "[%H:%M:%S] ", &time);
    return szStamp;
}

}  // namespace mardo
