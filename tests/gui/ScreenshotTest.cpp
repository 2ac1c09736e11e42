// Renders the run window after a simulation, the report window and the flow test to PNG
// files (in MARDO_SCREENSHOT_DIR, or "screenshots" in the build folder) so that a person can
// look at them, and checks what the pictures must show: no column title or cell of the report
// is cut off.

#include <QDir>
#include <QHeaderView>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QtTest>

#include "WindowTestKit.h"
#include "gui/report/ReportDlg.h"
#include "gui/sim/ModelStartDlg.h"
#include "gui/sim/TestFlowDlg.h"

using namespace mardo;
using namespace mardo::test;

namespace {

QString ShotDir() {
    const QString strDir = qEnvironmentVariableIsSet("MARDO_SCREENSHOT_DIR")
                               ? qEnvironmentVariable("MARDO_SCREENSHOT_DIR")
                               : QStringLiteral(QT_TESTCASE_BUILDDIR "/screenshots");
    QDir().mkpath(strDir);
    return strDir;
}

bool Save(QWidget& widget, const QString& strName) {
    return widget.grab().save(ShotDir() + QLatin1Char('/') + strName);
}

// Two ticket offices with their own queues, sharing one exit, and a stray unnamed queue.
void BuildTwoOffices(CModel& model) {
    auto& arrivals1 = AddNamed<CGenerateDlg>(model, "Поток заявок 1");
    arrivals1.m_law = Uniform(1, 6);
    auto& arrivals2 = AddNamed<CGenerateDlg>(model, "Поток заявок 2");
    arrivals2.m_law = Uniform(2, 8);
    auto& queue1 = AddNamed<CQueueDlg>(model, "Очередь к кассе 1");
    auto& queue2 = AddNamed<CQueueDlg>(model, "Очередь к кассе 2");
    queue2.m_params.m_bLimit = 1;
    queue2.m_params.m_nLimit = 3;
    auto& office1 = AddNamed<CDeviceDlg>(model, "Касса 1");
    office1.m_law = Uniform(2, 5);
    auto& office2 = AddNamed<CDeviceDlg>(model, "Касса 2");
    office2.m_law = Uniform(4, 9);
    auto& exit = AddNamed<CTerminateDlg>(model, "Выход");
    model.Add<CQueueDlg>();
    arrivals1.SetOutLink(0, &queue1);
    arrivals2.SetOutLink(0, &queue2);
    queue1.SetOutLink(0, &office1);
    queue2.SetOutLink(0, &office2);
    office1.SetOutLink(0, &exit);
    office2.SetOutLink(0, &exit);
    SetExperiment(model, CExperimentParams::kByTime, 1000, 3);
}

// Whether every column title and every cell of a list can be read in full.
void VerifyReadable(QTableView& list) {
    QHeaderView* pHeader = list.horizontalHeader();
    const QFontMetrics headerMetrics(pHeader->font());
    const QAbstractItemModel& table = *list.model();
    for (int nColumn = 0; nColumn < table.columnCount(); ++nColumn) {
        const QString strTitle = table.headerData(nColumn, Qt::Horizontal).toString();
        const int nWidth =
            pHeader->sectionSize(nColumn) -
            2 * pHeader->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, pHeader);
        const QRect rcTitle = headerMetrics.boundingRect(
            QRect(0, 0, nWidth, 10000), Qt::AlignCenter | Qt::TextWordWrap, strTitle);
        QVERIFY2(rcTitle.width() <= nWidth && rcTitle.height() <= pHeader->height(),
                 qPrintable(QStringLiteral("%1: %2x%3 in %4x%5")
                                .arg(strTitle)
                                .arg(rcTitle.width())
                                .arg(rcTitle.height())
                                .arg(nWidth)
                                .arg(pHeader->height())));
        const QFontMetrics cellMetrics(list.font());
        for (int nRow = 0; nRow < table.rowCount(); ++nRow) {
            const QString strCell = table.index(nRow, nColumn).data().toString();
            QVERIFY2(cellMetrics.horizontalAdvance(strCell) + 6 <= list.columnWidth(nColumn),
                     qPrintable(strCell));
        }
    }
}

}  // namespace

class ScreenshotTest : public QObject {
    Q_OBJECT

private slots:
    void runAndReportWindows();
    void runWindowWhileRunning();
    void flowTests();
};

void ScreenshotTest::runAndReportWindows() {
    CModel model;
    BuildTwoOffices(model);
    CModelStartDlg dlg(model, QStringLiteral("Две кассы.mrd"));
    dlg.show();
    int nReports = 0;
    WhenShown<CReportDlg>([&](CReportDlg& report) {
        ++nReports;
        const auto lists = report.findChildren<QTableView*>();
        auto* pTabs = report.findChild<QTabWidget*>();
        const char* const names[] = {"report-blocks.png", "report-devices.png",
                                     "report-queues.png"};
        for (int nTab = 0; nTab < 3; ++nTab) {
            pTabs->setCurrentIndex(nTab);
            VerifyReadable(*lists.at(nTab));
            QVERIFY(Save(report, QString::fromLatin1(names[nTab])));
        }
        pTabs->setCurrentIndex(3);
        QVERIFY(Save(report, QStringLiteral("report-charts.png")));
        report.setWindowState(Qt::WindowNoState);
        report.resize(640, 460);
        pTabs->setCurrentIndex(1);
        QVERIFY(Save(report, QStringLiteral("report-small.png")));
    });
    FindButton(dlg, QStringLiteral("&Старт"))->click();
    QVERIFY(test::WaitUntil([&] { return nReports >= 1; }));
    QCOMPARE(nReports, 1);
    QVERIFY(Save(dlg, QStringLiteral("run-window.png")));
}

void ScreenshotTest::runWindowWhileRunning() {
    CModel model;
    BuildTwoOffices(model);
    SetExperiment(model, CExperimentParams::kByTime, 30000, 30000);
    CModelStartDlg dlg(model, QStringLiteral("Две кассы.mrd"));
    dlg.show();
    CMessageRecorder answers;
    QPushButton* pStart = FindButton(dlg, QStringLiteral("&Старт"));
    pStart->click();
    // A few percent on the bar, which 9·10^8 ticks leave far from the end on any machine.
    auto* pProgress = dlg.findChild<QProgressBar*>();
    QVERIFY(test::WaitUntil([&] { return pProgress->value() * 50 > pProgress->maximum(); }));
    QVERIFY(Save(dlg, QStringLiteral("run-window-running.png")));
    QCOMPARE(pStart->text(), QStringLiteral("&Стоп"));
    pStart->click();
    QVERIFY(test::WaitUntil([&] { return dlg.IsIdle(); }));
}

void ScreenshotTest::flowTests() {
    CFlowLaw special(CFlowLaw::kSpecial, 1, 1);
    special.AddInterval(1, 10, 900);
    special.AddInterval(91, 100, 100);
    const std::pair<CFlowLaw, const char*> laws[] = {{Uniform(1, 100), "flow-uniform.png"},
                                                     {special, "flow-special.png"},
                                                     {Deterministic(7), "flow-deterministic.png"}};
    for (const auto& [law, pszName] : laws) {
        CTestFlowDlg dlg(law);
        dlg.show();
        QVERIFY(Save(dlg, QString::fromLatin1(pszName)));
    }
}

QTEST_MAIN(ScreenshotTest)
#include "ScreenshotTest.moc"
