// How links run between rows and which clicks hit them.

#include <QtTest>

#include "gui/editor/LinkPath.h"

using namespace mardo;

class LinkPathTest : public QObject {
    Q_OBJECT

private slots:
    void runsOutOfTheSideFacingTheDestination();
    void hitsOnlyNearTheSlantedSegment();
};

void LinkPathTest::runsOutOfTheSideFacingTheDestination() {
    const SRowAnchors output{QPoint(100, 50), QPoint(217, 50)};
    // To the right: from the output's right end into the input's left end.
    SLinkPath path = SLinkPath::Between(output, {QPoint(400, 90), QPoint(517, 90)});
    QVERIFY(path.bRightward);
    QCOMPARE(path.ptStart, QPoint(217, 50));
    QCOMPARE(path.ptSlantFrom, QPoint(234, 50));
    QCOMPARE(path.ptSlantTo, QPoint(383, 90));
    QCOMPARE(path.ptEnd, QPoint(400, 90));
    // Left ends at the same x count as lying to the right.
    QVERIFY(SLinkPath::Between(output, {QPoint(100, 200), QPoint(217, 200)}).bRightward);
    // To the left: from the output's left end into the input's right end.
    path = SLinkPath::Between(output, {QPoint(10, 90), QPoint(60, 90)});
    QVERIFY(!path.bRightward);
    QCOMPARE(path.ptStart, QPoint(100, 50));
    QCOMPARE(path.ptSlantFrom, QPoint(83, 50));
    QCOMPARE(path.ptSlantTo, QPoint(77, 90));
    QCOMPARE(path.ptEnd, QPoint(60, 90));
}

void LinkPathTest::hitsOnlyNearTheSlantedSegment() {
    // A horizontal slanted segment from (117, 50) to (283, 50).
    const SLinkPath path = SLinkPath::Between({QPoint(0, 50), QPoint(100, 50)},
                                              {QPoint(300, 50), QPoint(400, 50)});
    QVERIFY(path.Hits(QPointF(200, 52)));
    QVERIFY(path.Hits(QPointF(200, 48)));
    QVERIFY(!path.Hits(QPointF(200, 53)));
    QVERIFY(!path.Hits(QPointF(200, 47)));
    // The leads are never hit, even on their own line.
    QVERIFY(!path.Hits(QPointF(108, 50)));
    QVERIFY(!path.Hits(QPointF(292, 50)));
    // Within 2 pixels of the line but beyond an end.
    QVERIFY(!path.Hits(QPointF(112, 51)));

    // A slanted segment: 2 pixels off it along its normal hits, 3 do not.
    const SLinkPath slant = SLinkPath::Between({QPoint(0, 0), QPoint(100, 0)},
                                               {QPoint(297, 120), QPoint(400, 120)});
    const QPointF a = slant.ptSlantFrom;
    const QPointF b = slant.ptSlantTo;
    const QPointF middle = (a + b) / 2;
    const QPointF along = (b - a) / QLineF(a, b).length();
    const QPointF normal(-along.y(), along.x());
    QVERIFY(slant.Hits(middle + 2 * normal));
    QVERIFY(slant.Hits(middle - 2 * normal));
    QVERIFY(!slant.Hits(middle + 3 * normal));
    QVERIFY(!slant.Hits(middle - 3 * normal));
}

QTEST_MAIN(LinkPathTest)
#include "LinkPathTest.moc"
