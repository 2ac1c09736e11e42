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

// A block window in small, its caption bar and a white body, with what the body shows drawn
// by drawBody (handed the painter and the picture's unit, an eighth of its side).
template <typename TDrawBody>
QPixmap FramedPicture(int nSize, TDrawBody drawBody) {
    QPixmap pixmap = Blank(nSize);
    QPainter painter(&pixmap);
    const int nUnit = nSize / 8;
    painter.setPen(QPen(QColor(30, 30, 30), 1));
    painter.setBrush(QColor(10, 36, 106));
    painter.drawRect(nUnit, nUnit, nSize - 2 * nUnit - 1, 2 * nUnit);
    painter.setBrush(Qt::white);
    painter.drawRect(nUnit, 3 * nUnit, nSize - 2 * nUnit - 1, nSize - 4 * nUnit - 1);
    drawBody(painter, nUnit);
    return pixmap;
}

// The block window with the rows of its body.
QPixmap BlockPicture(int nSize) {
    return FramedPicture(nSize, [nSize](QPainter& painter, int nUnit) {
        painter.setPen(QColor(120, 120, 120));
        for (int y = 5 * nUnit; y < nSize - nUnit; y += 2 * nUnit) {
            painter.drawLine(nUnit + 1, y, nSize - nUnit - 2, y);
        }
    });
}

// The block window with three servers side by side: one line, several channels.
QPixmap ChannelsPicture(int nSize) {
    return FramedPicture(nSize, [](QPainter& painter, int nUnit) {
        painter.setPen(QColor(120, 120, 120));
        painter.drawLine(nUnit + 2, 5 * nUnit, 2 * nUnit + 1, 5 * nUnit);
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(0, 110, 0));
        for (int i = 0; i < 3; ++i) {
            painter.drawRect(3 * nUnit - 1, 3 * nUnit + 2 + i * (nUnit + 1), 3 * nUnit, nUnit - 1);
        }
    });
}

}  // namespace

const QPixmap& CBlockImages::Get(EImage nImage) {
    static const std::array<QPixmap, 5> images = {
        NameImage(QColor(150, 150, 150)), NameImage(QColor(10, 36, 106)), ArrowImage(true),
        ArrowImage(false), NoBlockImage()};
    return images[static_cast<std::size_t>(nImage)];
}

const QPixmap& CBlockImages::PaletteEntry(EKindPicture nPicture) {
    static const QPixmap block = BlockPicture(32);
    static const QPixmap channels = ChannelsPicture(32);
    return nPicture == EKindPicture::kChannels ? channels : block;
}

}  // namespace mardo
