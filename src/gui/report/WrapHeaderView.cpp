#include "gui/report/WrapHeaderView.h"

#include <QFontMetrics>
#include <QStyle>
#include <algorithm>

namespace mardo {

namespace {

// Headers take their text flags through the alignment.
constexpr int kLabelFlags = Qt::AlignCenter | Qt::TextWordWrap;
// Room above and below the tallest title, beside the style's own margin: without it a title of
// eight lines touches the header's edges.
constexpr int kTitlePadding = 4;

}  // namespace

CWrapHeaderView::CWrapHeaderView(QWidget* pParent) : QHeaderView(Qt::Horizontal, pParent) {
    setDefaultAlignment(Qt::Alignment::fromInt(kLabelFlags));
    setTextElideMode(Qt::ElideNone);
    // A column dragged narrower or wider wraps its title afresh.
    connect(this, &QHeaderView::sectionResized, this, [this](int nLogicalIndex) {
        headerDataChanged(orientation(), nLogicalIndex, nLogicalIndex);
    });
}

int CWrapHeaderView::LabelWidth(int nLogicalIndex) const {
    const int nMargin = style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, this);
    return std::max(1, sectionSize(nLogicalIndex) - 2 * nMargin);
}

QSize CWrapHeaderView::sectionSizeFromContents(int nLogicalIndex) const {
    QSize size = QHeaderView::sectionSizeFromContents(nLogicalIndex);
    if (model() == nullptr) {
        return size;
    }
    const QString strTitle =
        model()->headerData(nLogicalIndex, orientation(), Qt::DisplayRole).toString();
    const QRect rcText = QFontMetrics(font()).boundingRect(
        QRect(0, 0, LabelWidth(nLogicalIndex), 100000), kLabelFlags, strTitle);
    const int nMargin = style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, this);
    size.setHeight(std::max(size.height(), rcText.height() + 2 * (nMargin + kTitlePadding)));
    return size;
}

}  // namespace mardo
