#include "gui/report/ReportTableModel.h"

#include "core/report/ReportTables.h"
#include "gui/common/TextConversion.h"

namespace mardo {

CReportTableModel::CReportTableModel(const CReportTables& tables, int nTable, QObject* pParent)
    : QAbstractTableModel(pParent) {
    for (const std::string& strTitle : CReportTables::GetColumnTitles(nTable)) {
        m_titles << Text(strTitle);
    }
    for (const std::vector<std::string>& cells : tables.GetCells(nTable)) {
        QStringList& row = m_rows.emplace_back();
        for (const std::string& strCell : cells) {
            row << Text(strCell);
        }
    }
}

int CReportTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int CReportTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_titles.size());
}

const QString& CReportTableModel::GetCell(int nRow, int nColumn) const {
    return m_rows[static_cast<std::size_t>(nRow)][nColumn];
}

QVariant CReportTableModel::data(const QModelIndex& index, int nRole) const {
    if (nRole != Qt::DisplayRole || !index.isValid() || index.row() >= rowCount() ||
        index.column() >= columnCount()) {
        return {};
    }
    return GetCell(index.row(), index.column());
}

QVariant CReportTableModel::headerData(int nSection, Qt::Orientation orientation,
                                       int nRole) const {
    if (nRole != Qt::DisplayRole || orientation != Qt::Horizontal || nSection < 0 ||
        nSection >= columnCount()) {
        return {};
    }
    return m_titles[nSection];
}

}  // namespace mardo
