#include "gui/experiment/ResultsTableModel.h"

#include <cmath>
#include <limits>

namespace mardo {

CResultsTableModel::CResultsTableModel(QObject* pParent) : QAbstractTableModel(pParent) {}

void CResultsTableModel::Reset(const QStringList& headers, std::vector<std::vector<SCell>> rows,
                               const QStringList& headerTips) {
    beginResetModel();
    m_headers = headers;
    m_headerTips = headerTips;
    m_rows = std::move(rows);
    endResetModel();
}

int CResultsTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int CResultsTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_headers.size());
}

QVariant CResultsTableModel::data(const QModelIndex& index, int nRole) const {
    if (!index.isValid() || static_cast<std::size_t>(index.row()) >= m_rows.size()) {
        return {};
    }
    const std::vector<SCell>& row = m_rows[static_cast<std::size_t>(index.row())];
    if (static_cast<std::size_t>(index.column()) >= row.size()) {
        return {};
    }
    const SCell& cell = row[static_cast<std::size_t>(index.column())];
    switch (nRole) {
        case Qt::DisplayRole:
            return cell.strText;
        case Qt::ToolTipRole:
            // A long title wraps; its tooltip shows it on one line too.
            return cell.bNumber ? QVariant() : QVariant(cell.strText);
        case Qt::TextAlignmentRole:
            return cell.bNumber ? QVariant(Qt::AlignRight | Qt::AlignVCenter)
                                : QVariant(Qt::AlignLeft | Qt::AlignVCenter);
        case kSortRole:
            return cell.sortValue.isValid() ? cell.sortValue : QVariant(cell.strText);
        default:
            return {};
    }
}

QVariant CResultsTableModel::headerData(int nSection, Qt::Orientation orientation,
                                        int nRole) const {
    if (orientation != Qt::Horizontal || nSection < 0 || nSection >= m_headers.size()) {
        return QAbstractTableModel::headerData(nSection, orientation, nRole);
    }
    if (nRole == Qt::DisplayRole) {
        return m_headers[nSection];
    }
    if (nRole == Qt::ToolTipRole && nSection < m_headerTips.size() &&
        !m_headerTips[nSection].isEmpty()) {
        return m_headerTips[nSection];
    }
    return {};
}

CResultsTableModel::SCell CResultsTableModel::Number(const QString& strText, double dValue) {
    return {strText, std::isfinite(dValue) ? dValue : -std::numeric_limits<double>::infinity(),
            true};
}

}  // namespace mardo
