#pragma once

#include <QPoint>
#include <QPointF>

#include "gui/model/RowAnchors.h"

class QPainter;

namespace mardo {

// The way a link runs on the diagram: a horizontal lead of 17 pixels out of the output row's
// side, a straight slanted segment, and a lead of 17 pixels into the input row's side. A
// destination that lies to the right is entered from its left; one to the left from its right.
struct SLinkPath {
    static constexpr int kLead = 17;

    bool bRightward = true;
    QPoint ptStart;      // at the output row
    QPoint ptSlantFrom;  // the slanted segment's ends
    QPoint ptSlantTo;
    QPoint ptEnd;        // at the input row

    static SLinkPath Between(const SRowAnchors& output, const SRowAnchors& input);
    // Whether a point lies within 2.5 pixels of the slanted segment, between its ends (the
    // leads cannot be hit).
    bool Hits(QPointF pt) const;
    // Draws the link: the selected one as a 2-pixel line, any other as a thin line with short
    // thick marks at both ends.
    void Draw(QPainter& painter, bool bSelected) const;
};

}  // namespace mardo
