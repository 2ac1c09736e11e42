#include "gui/editor/LinkPath.h"

#include <QLineF>
#include <QPainter>
#include <QPen>
#include <algorithm>
#include <cmath>

namespace mardo {

namespace {

constexpr double kHitDistance = 2.5;

QPen SolidPen(int nWidth) {
    QPen pen(Qt::black, nWidth, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin);
    if (nWidth == 1) {
        pen.setCapStyle(Qt::FlatCap);
    }
    return pen;
}

}  // namespace

SLinkPath SLinkPath::Between(const SRowAnchors& output, const SRowAnchors& input) {
    SLinkPath path;
    path.bRightward = output.ptLeft.x() <= input.ptLeft.x();
    const int nDirection = path.bRightward ? 1 : -1;
    path.ptStart = path.bRightward ? output.ptRight : output.ptLeft;
    path.ptEnd = path.bRightward ? input.ptLeft : input.ptRight;
    path.ptSlantFrom = path.ptStart + QPoint(nDirection * kLead, 0);
    path.ptSlantTo = path.ptEnd - QPoint(nDirection * kLead, 0);
    return path;
}

bool SLinkPath::Hits(QPointF pt) const {
    const double d1 = QLineF(pt, ptSlantFrom).length();
    const double d2 = QLineF(pt, ptSlantTo).length();
    const double dLength = QLineF(ptSlantFrom, ptSlantTo).length();
    if (!(dLength > d1 && dLength > d2)) {
        return false;
    }
    // Twice the triangle's area (Heron) over its base is the distance to the line.
    const double s = (d1 + d2 + dLength) / 2;
    const double dArea = std::sqrt(std::max(0.0, s * (s - d1) * (s - d2) * (s - dLength)));
    return 2 * dArea / dLength < kHitDistance;
}

void SLinkPath::Draw(QPainter& painter, bool bSelected) const {
    if (bSelected) {
        painter.setPen(SolidPen(2));
        painter.drawPolyline(QPolygon({ptStart, ptSlantFrom, ptSlantTo, ptEnd}));
        return;
    }
    const int nDirection = bRightward ? 1 : -1;
    // The thick marks: one pixel past the output's side, two pixels before the input's side.
    const QPoint ptMarkOut = ptStart + QPoint(nDirection * (bRightward ? 1 : 2), 0);
    const QPoint ptMarkIn = ptEnd - QPoint(nDirection * (bRightward ? 2 : 1), 0);
    painter.setPen(SolidPen(3));
    painter.drawLine(ptStart, ptMarkOut);
    painter.drawLine(ptMarkIn, ptEnd);
    painter.setPen(SolidPen(1));
    painter.drawPolyline(QPolygon({ptMarkOut, ptStart + QPoint(nDirection * 15, 0), ptSlantTo,
                                   ptMarkIn}));
}

}  // namespace mardo
