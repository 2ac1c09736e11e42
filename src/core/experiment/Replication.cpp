#include "core/experiment/Replication.h"

#include "core/report/ReportTables.h"

namespace mardo {

std::vector<SFigureTable> ReportFigures(const CReportTables* pReport) {
    std::vector<SFigureTable> tables{
        {"blocks", {"number", "name", "kind", "entered", "left", "remaining"}, 3, {}},
        {"devices", {"number", "name", "left", "utilization", "avgTime", "free", "waiting"}, 2, {}},
        {"queues",
         {"number", "name", "entered", "zeroEntries", "maxContent", "remaining", "avgContent",
          "avgTimeAll", "avgTimeNonZero", "free", "waiting"},
         2,
         {}}};
    if (pReport == nullptr) {
        return tables;
    }
    for (const auto& row : pReport->GetBlockRows()) {
        tables[0].rows.push_back({std::int64_t{row.nNumber}, row.strName, row.strKind,
                                  std::int64_t{row.nEntered}, std::int64_t{row.nLeft},
                                  std::int64_t{row.nRemaining}});
    }
    for (const auto& row : pReport->GetDeviceRows()) {
        tables[1].rows.push_back({std::int64_t{row.nNumber}, row.strName, std::int64_t{row.nLeft},
                                  row.dUtilization, row.dAvgTime, row.bFree,
                                  std::int64_t{row.nWaiting}});
    }
    for (const auto& row : pReport->GetQueueRows()) {
        tables[2].rows.push_back({std::int64_t{row.nNumber}, row.strName,
                                  std::int64_t{row.nEntered}, std::int64_t{row.nZeroEntries},
                                  std::int64_t{row.nMaxContent}, std::int64_t{row.nRemaining},
                                  row.dAvgContent, row.dAvgTimeAll, row.dAvgTimeNonZero,
                                  row.bFree, std::int64_t{row.nWaiting}});
    }
    return tables;
}

}  // namespace mardo
