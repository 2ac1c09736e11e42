#pragma once

#include <QDateTime>
#include <QString>
#include <vector>

#include "core/report/ReportTables.h"
#include "core/sim/Trace.h"

namespace mardo {

// What the desktop program keeps of a simulation that computed its figures: the report's tables
// and the figures followed over model time, both independent of the model from then on.
struct SRunReport {
    CReportTables tables;
    std::vector<CTrace::SFollowed> followed;
    // Which simulation it was: when it ended, and the model's file then.
    QDateTime finished = QDateTime::currentDateTime();
    QString strModelFile{};
};

}  // namespace mardo
