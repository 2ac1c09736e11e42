#include "gui/common/TableCopy.h"

#include <QApplication>
#include <QClipboard>
#include <QEvent>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QStringList>
#include <QTableView>
#include <algorithm>
#include <vector>

namespace mardo {

namespace {

// The view would copy its current cell alone; the whole rows go instead.
class CRowCopyFilter : public QObject {
public:
    explicit CRowCopyFilter(QTableView& view) : QObject(&view), m_view(view) {}

protected:
    bool eventFilter(QObject* pWatched, QEvent* pEvent) override {
        if (pEvent->type() != QEvent::KeyPress && pEvent->type() != QEvent::ShortcutOverride) {
            return QObject::eventFilter(pWatched, pEvent);
        }
        if (!static_cast<QKeyEvent*>(pEvent)->matches(QKeySequence::Copy)) {
            return QObject::eventFilter(pWatched, pEvent);
        }
        if (pEvent->type() == QEvent::KeyPress) {
            if (const QString strText = SelectedRowsText(m_view); !strText.isEmpty()) {
                QApplication::clipboard()->setText(strText);
            }
        }
        pEvent->accept();
        return true;
    }

private:
    QTableView& m_view;
};

// The texts of a line: the header's, or a row's, in the columns' visual order.
QString LineText(const QTableView& view, int nRow) {
    const QAbstractItemModel& model = *view.model();
    const QHeaderView& header = *view.horizontalHeader();
    QStringList cells;
    for (int v = 0; v < header.count(); ++v) {
        const int nColumn = header.logicalIndex(v);
        if (view.isColumnHidden(nColumn)) {
            continue;
        }
        const QVariant text = nRow < 0 ? model.headerData(nColumn, Qt::Horizontal, Qt::DisplayRole)
                                       : model.index(nRow, nColumn).data(Qt::DisplayRole);
        // A tab or a line break inside a cell would split it in the spreadsheet.
        cells << text.toString()
                     .replace(QLatin1Char('\t'), QLatin1Char(' '))
                     .replace(QLatin1Char('\n'), QLatin1Char(' '));
    }
    return cells.join(QLatin1Char('\t'));
}

}  // namespace

void EnableRowCopy(QTableView& view) {
    view.setSelectionBehavior(QAbstractItemView::SelectRows);
    view.setSelectionMode(QAbstractItemView::ExtendedSelection);
    view.installEventFilter(new CRowCopyFilter(view));
}

QString SelectedRowsText(const QTableView& view) {
    if (view.model() == nullptr || view.selectionModel() == nullptr) {
        return {};
    }
    std::vector<int> rows;
    for (const QModelIndex& index : view.selectionModel()->selectedIndexes()) {
        rows.push_back(index.row());
    }
    if (rows.empty()) {
        return {};
    }
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    QString strText = LineText(view, -1) + QLatin1Char('\n');
    for (const int nRow : rows) {
        strText += LineText(view, nRow) + QLatin1Char('\n');
    }
    return strText;
}

}  // namespace mardo
