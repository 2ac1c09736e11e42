#pragma once

#include <QStringList>
#include <QTreeWidget>

namespace mardo {

// A report-style list of the pages: rows of cells under column headers, selected as whole rows.
// The row with the selection mark is the current row, which the page's buttons act on.
class CReportList final : public QTreeWidget {
    Q_OBJECT

public:
    explicit CReportList(QWidget* pParent = nullptr);

    // Gives a column its header and width; the width grows to fit the longest word of the
    // header, whose words wrap onto lines of their own.
    void SetColumn(int nColumn, const QString& strHeader, int nWidth);
    int AddRow(const QStringList& cells);
    void SetCell(int nRow, int nColumn, const QString& strText);
    QString GetCell(int nRow, int nColumn) const;
    void RemoveRow(int nRow);
    int GetRowCount() const { return topLevelItemCount(); }
    // The row with the selection mark, or -1.
    int GetMarkedRow() const;
    void MarkRow(int nRow);

signals:
    // A double click on a row, after the row received the selection mark.
    void rowDoubleClicked();
};

}  // namespace mardo
