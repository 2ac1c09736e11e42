// The flow test: its counts against samples drawn independently from the same point of the
// window thread's sequence, its bar boundaries, and the chart's pixels.

#include <QImage>
#include <QtTest>
#include <array>
#include <functional>

#include "WindowTestKit.h"
#include "core/sim/FlowLaw.h"
#include "core/sim/Rand.h"
#include "gui/sim/TestFlowDlg.h"

using namespace mardo;
using namespace mardo::test;

namespace {

using CBarFunction = std::function<int(int)>;

// The counts the window must show: the same 10000 samples, each put in its bar by the rule
// the test states for the law.
std::array<int, 10> ExpectedCounts(const CFlowLaw& law, const CBarFunction& barOf) {
    std::array<int, 10> counts{};
    for (int i = 0; i < CTestFlowDlg::kSamples; ++i) {
        ++counts.at(static_cast<std::size_t>(barOf(law.Sample())));
    }
    return counts;
}

void VerifyCounts(const CFlowLaw& law, int nBars, const CBarFunction& barOf) {
    ResetRand();
    const std::array<int, 10> expected = ExpectedCounts(law, barOf);
    ResetRand();
    const CTestFlowDlg dlg(law);
    QCOMPARE(dlg.GetBarCount(), nBars);
    for (int nBar = 0; nBar < 10; ++nBar) {
        QCOMPARE(dlg.GetCount(nBar), expected[static_cast<std::size_t>(nBar)]);
    }
}

QColor PixelAt(const QImage& image, int x, int y) {
    return image.pixelColor(x, y);
}

}  // namespace

class FlowTestWindowTest : public QObject {
    Q_OBJECT

private slots:
    void countsFollowTheBars_data();
    void countsFollowTheBars();
    void barsOfUnevenWidth();
    void sequenceContinuesFromTestToTest();
    void deterministicLawIsOneFullBarAtItsCoordinates();
};

void FlowTestWindowTest::countsFollowTheBars_data() {
    QTest::addColumn<CFlowLaw>("law");
    QTest::addColumn<int>("nBars");
    QTest::addColumn<CBarFunction>("barOf");
    QTest::newRow("uniform 1..3") << Uniform(1, 3) << 3
                                  << CBarFunction([](int x) { return x - 1; });
    QTest::newRow("uniform 1..100")
        << Uniform(1, 100) << 10 << CBarFunction([](int x) { return (x - 1) / 10; });
    CFlowLaw special(CFlowLaw::kSpecial, 1, 1);
    special.AddInterval(1, 10, 900);
    special.AddInterval(91, 100, 100);
    QTest::newRow("special") << special << 10 << CBarFunction([](int x) { return (x - 1) / 10; });
}

void FlowTestWindowTest::countsFollowTheBars() {
    QFETCH(CFlowLaw, law);
    QFETCH(int, nBars);
    QFETCH(CBarFunction, barOf);
    VerifyCounts(law, nBars, barOf);

    ResetRand();
    const CTestFlowDlg dlg(law);
    QCOMPARE(dlg.GetMinText(), QStringLiteral("min=1"));
    QCOMPARE(dlg.GetMaxText(),
             QStringLiteral("max=%1").arg(law.m_nKind == CFlowLaw::kUniform ? law.m_nMax : 100));
    int nTotal = 0;
    for (int nBar = 0; nBar < 10; ++nBar) {
        nTotal += dlg.GetCount(nBar);
    }
    QCOMPARE(nTotal, 10000);
}

void FlowTestWindowTest::barsOfUnevenWidth() {
    // 15 values in ten bars of 1.5: walking down from 15 the bounds fall at 13.5, 12, 10.5, ...
    // so the bars hold two and one values by turns, the lowest bar the single value 1.
    const std::array<int, 16> expectedBar = {-1, 0, 1, 1, 2, 3, 3, 4, 5, 5, 6, 7, 7, 8, 9, 9};
    for (int x = 1; x <= 15; ++x) {
        QCOMPARE(CTestFlowDlg::BarOf(x, 1, 15, 10), expectedBar[static_cast<std::size_t>(x)]);
    }
    // A width that is not exact in binary still puts the extremes in the end bars.
    QCOMPARE(CTestFlowDlg::BarOf(1, 1, 11, 10), 0);
    QCOMPARE(CTestFlowDlg::BarOf(11, 1, 11, 10), 9);
    QCOMPARE(CTestFlowDlg::BarOf(5, 5, 5, 1), 0);
    QCOMPARE(CTestFlowDlg::BarOf(0, 1, 15, 10), -1);
    VerifyCounts(Uniform(1, 15), 10,
                 [&expectedBar](int x) { return expectedBar[static_cast<std::size_t>(x)]; });
}

void FlowTestWindowTest::sequenceContinuesFromTestToTest() {
    const CFlowLaw law = Uniform(1, 100);
    const CTestFlowDlg first(law);
    const CTestFlowDlg second(law);
    bool bDiffers = false;
    for (int nBar = 0; nBar < 10; ++nBar) {
        bDiffers = bDiffers || first.GetCount(nBar) != second.GetCount(nBar);
    }
    QVERIFY(bDiffers);
}

void FlowTestWindowTest::deterministicLawIsOneFullBarAtItsCoordinates() {
    CTestFlowDlg dlg(Deterministic(7));
    QCOMPARE(dlg.GetBarCount(), 1);
    QCOMPARE(dlg.GetCount(0), 10000);
    QCOMPARE(dlg.GetMinText(), QStringLiteral("min=7"));
    QCOMPARE(dlg.GetMaxText(), QStringLiteral("max=7"));
    dlg.show();
    const QImage image = dlg.grab().toImage();
    QCOMPARE(PixelAt(image, 300, 100), QColor(255, 251, 240));  // the plot area
    QCOMPARE(PixelAt(image, 200, 15), QColor(128, 128, 128));   // its frame
    QCOMPARE(PixelAt(image, 441, 100), QColor(128, 128, 128));
    QCOMPARE(PixelAt(image, 240, 248), QColor(128, 128, 128));  // the floor
    // The one bar: 10000 samples are 200 pixels, from 50 down to the base at 250.
    QCOMPARE(PixelAt(image, 72, 51), QColor(255, 0, 255));
    QCOMPARE(PixelAt(image, 72, 249), QColor(255, 0, 255));
    QVERIFY(PixelAt(image, 72, 250) != QColor(255, 0, 255));
    QCOMPARE(PixelAt(image, 73, 48), QColor(128, 0, 128));  // its top face
    QCOMPARE(PixelAt(image, 86, 150), QColor(0, 0, 0));     // its side face
    QCOMPARE(PixelAt(image, 76, 40), QColor(0, 0, 0));      // the line up to the count
}

QTEST_MAIN(FlowTestWindowTest)
#include "FlowTestWindowTest.moc"
