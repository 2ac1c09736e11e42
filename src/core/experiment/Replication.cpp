#include "core/experiment/Replication.h"

namespace mardo {

std::vector<SFigureTable> ReportFigures(const CReportTables* pReport) {
    std::vector<SFigureTable> tables;
    for (int t = 0; t < CReportTables::kDataTableCount; ++t) {
        SFigureTable& table = tables.emplace_back();
        table.strKey = CReportTables::GetKey(t);
        for (const SReportColumn& column : CReportTables::GetColumns(t)) {
            table.columns.emplace_back(column.pszKey);
        }
        table.nNameColumns = CReportTables::GetNameColumnCount(t);
        if (pReport != nullptr) {
            table.rows = pReport->GetFigures(t);
        }
    }
    return tables;
}

}  // namespace mardo
