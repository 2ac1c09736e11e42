#pragma once

#include <QAbstractTableModel>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <vector>

namespace mardo {

// A table of results as the experiment window shows it: texts already formatted as the report
// formats figures, each cell with the value it sorts by (a number sorts as one) and numbers
// aligned to the right. The summary, the replications and the differences are all such tables.
class CResultsTableModel : public QAbstractTableModel {
    Q_OBJECT

public:
    static constexpr int kSortRole = Qt::UserRole;

    struct SCell {
        QString strText;
        QVariant sortValue;  // the text itself when not set
        bool bNumber = false;
    };

    explicit CResultsTableModel(QObject* pParent = nullptr);

    // Replaces the whole table; headerTips are the headers' tooltips (may be shorter).
    void Reset(const QStringList& headers, std::vector<std::vector<SCell>> rows,
               const QStringList& headerTips = {});

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int nRole = Qt::DisplayRole) const override;
    QVariant headerData(int nSection, Qt::Orientation orientation,
                        int nRole = Qt::DisplayRole) const override;

    static SCell Text(const QString& strText) { return {strText, {}, false}; }
    // A number shown as formatted, sorted by its value (not a number sorts first).
    static SCell Number(const QString& strText, double dValue);

private:
    QStringList m_headers;
    QStringList m_headerTips;
    std::vector<std::vector<SCell>> m_rows;
};

}  // namespace mardo
