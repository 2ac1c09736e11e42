#include "gui/props/ReportList.h"

#include <QHeaderView>
#include <algorithm>

namespace mardo {

CReportList::CReportList(QWidget* pParent) : QTreeWidget(pParent) {
    setRootIsDecorated(false);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setItemsExpandable(false);
    header()->setStretchLastSection(false);
    header()->setSectionsMovable(false);
    // Long headers over narrow columns wrap at their spaces rather than being cut short.
    header()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter |
                                  Qt::Alignment::fromInt(Qt::TextWordWrap));
    connect(this, &QTreeWidget::itemDoubleClicked, this, [this] { emit rowDoubleClicked(); });
}

void CReportList::SetColumn(int nColumn, const QString& strHeader, int nWidth) {
    if (columnCount() <= nColumn) {
        setColumnCount(nColumn + 1);
    }
    headerItem()->setText(nColumn, strHeader);
    const QFontMetrics metrics = header()->fontMetrics();
    // The header's own margins around the text, as the style draws them.
    const int nMargin = style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, header());
    int nWord = 0;
    for (const QString& strWord : strHeader.split(u' ', Qt::SkipEmptyParts)) {
        nWord = std::max(nWord, metrics.horizontalAdvance(strWord));
    }
    const int nSection = std::max(nWidth, nWord + 2 * nMargin + 4);
    header()->resizeSection(nColumn, nSection);
    const QRect text = metrics.boundingRect(QRect(0, 0, nSection - 2 * nMargin - 4, 1000),
                                            Qt::TextWordWrap, strHeader);
    header()->setMinimumHeight(std::max(header()->minimumHeight(), text.height() + 2 * nMargin));
    // Every column in view, with room for a vertical scroll bar.
    int nTotal = 2 * frameWidth() + style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    for (int i = 0; i < columnCount(); ++i) {
        nTotal += header()->sectionSize(i);
    }
    setMinimumWidth(nTotal);
}

int CReportList::AddRow(const QStringList& cells) {
    auto* pItem = new QTreeWidgetItem(this, cells);
    return indexOfTopLevelItem(pItem);
}

void CReportList::SetCell(int nRow, int nColumn, const QString& strText) {
    if (QTreeWidgetItem* pItem = topLevelItem(nRow)) {
        pItem->setText(nColumn, strText);
    }
}

QString CReportList::GetCell(int nRow, int nColumn) const {
    const QTreeWidgetItem* pItem = topLevelItem(nRow);
    return pItem != nullptr ? pItem->text(nColumn) : QString();
}

void CReportList::RemoveRow(int nRow) {
    delete takeTopLevelItem(nRow);
}

int CReportList::GetMarkedRow() const {
    QTreeWidgetItem* pItem = currentItem();
    return pItem != nullptr ? indexOfTopLevelItem(pItem) : -1;
}

void CReportList::MarkRow(int nRow) {
    if (QTreeWidgetItem* pItem = topLevelItem(nRow)) {
        setCurrentItem(pItem);
    }
}

}  // namespace mardo
