#pragma once

#include <QAbstractTableModel>
#include <QString>
#include <QStringList>
#include <vector>

namespace mardo {

class CReportTables;

// One of the report's tables as Qt's views read it: the core's formatted cells and column
// titles, read-only, taken once when the model is made.
class CReportTableModel : public QAbstractTableModel {
    Q_OBJECT

public:
    CReportTableModel(const CReportTables& tables, int nTable, QObject* pParent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int nRole = Qt::DisplayRole) const override;
    QVariant headerData(int nSection, Qt::Orientation orientation,
                        int nRole = Qt::DisplayRole) const override;

    const QString& GetCell(int nRow, int nColumn) const;

private:
    QStringList m_titles;
    std::vector<QStringList> m_rows;
};

}  // namespace mardo
