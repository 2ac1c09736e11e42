#include "gui/model/BlockImages.h"

#include <QPainter>
#include <QPolygon>
#include <array>

namespace mardo {

namespace {

// The images are drawn rather than loaded, so they stay crisp at this tiny size and need no
// resource files.
QPixmap Blank(int nSize) {
    QPixmap pixmap(nSize, nSize);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

QPixmap NameImage(const QColor& fill) {
    QPixmap pixmap = Blank(CBlockImages::kSize);
    QPainter painter(&pixmap);
    painter.setPen(QColor(40, 40, 40));
    painter.setBrush(fill);
    painter.drawRect(2, 2, 10, 10);
    painter.setPen(Qt::white);
    painter.drawLine(4, 5, 10, 5);
    painter.drawLine(4, 8, 8, 8);
    return pixmap;
}

// An arrow pointing right, drawn either leaving a bar (output) or entering one (input).
QPixmap ArrowImage(bool bOutput) {
    QPixmap pixmap = Blank(CBlockImages::kSize);
    QPainter painter(&pixmap);
    const QColor color = bOutput ? QColor(0, 110, 0) : QColor(0, 70, 170);
    painter.setPen(color);
    painter.setBrush(color);
    const int nBar = bOutput ? 2 : 12;
    painter.drawLine(nBar, 2, nBar, 12);
    painter.drawLine(bOutput ? 3 : 1, 7, bOutput ? 9 : 7, 7);
    const int nTip = bOutput ? 13 : 11;
    painter.drawPolygon(QPolygon({QPoint(nTip, 7), QPoint(nTip - 4, 3), QPoint(nTip - 4, 11)}));
    return pixmap;
}

QPixmap NoBlockImage() {
    QPixmap pixmap = Blank(CBlockImages::kSize);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(190, 0, 0), 2));
    painter.drawLine(3, 3, 11, 11);
    painter.drawLine(11, 3, 3, 11);
    return pixmap;
}

QPixmap BlockPicture(int nSize) {
    QPixmap pixmap = Blank(nSize);
    QPainter painter(&pixmap);
    const int nUnit = nSize / 8;
    painter.setPen(QPen(QColor(30, 30, 30), 1));
    painter.setBrush(QColor(10, 36, 106));
    painter.drawRect(nUnit, nUnit, nSize - 2 * nUnit - 1, 2 * nUnit);
    painter.setBrush(Qt::white);
    painter.drawRect(nUnit, 3 * nUnit, nSize - 2 * nUnit - 1, nSize - 4 * nUnit - 1);
    painter.setPen(QColor(120, 120, 120));
    for (int y = 5 * nUnit; y < nSize - nUnit; y += 2 * nUnit) {
        painter.drawLine(nUnit + 1, y, nSize - nUnit - 2, y);
    }
    return pixmap;
}

}  // namespace

const QPixmap& CBlockImages::Get(EImage nImage) {
    static const std::array<QPixmap, 5> images = {
        NameImage(QColor(150, 150, 150)), NameImage(QColor(10, 36, 106)), ArrowImage(true),
        ArrowImage(false), NoBlockImage()};
    return images[static_cast<std::size_t>(nImage)];
}

const QPixmap& CBlockImages::PaletteEntry() {
    static const QPixmap picture = BlockPicture(32);
    return picture;
}

}  // namespace mardo
