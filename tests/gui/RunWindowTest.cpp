// The run window driven as a person would: the start/stop button, the close button and the
// log's context menu, with the message box and the report window answered by the test.

#include <QCheckBox>
#include <QLineEdit>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableView>
#include <QTreeWidget>
#include <QtTest>
#include <chrono>
#include <new>
#include <vector>

#include "ChainModels.h"
#include "WindowTestKit.h"
#include "core/model/TerminateDlg.h"
#include "core/report/ReportTables.h"
#include "core/run/RunProgress.h"
#include "gui/common/Dialogs.h"
#include "gui/report/ReportDlg.h"
#include "gui/sim/ModelStartDlg.h"
#include "gui/sim/RunIcons.h"

using namespace mardo;
using namespace mardo::test;

namespace {

const QString kClock = QStringLiteral("[01:02:03] ");

std::chrono::seconds ClockTime() {
    return std::chrono::hours(1) + std::chrono::minutes(2) + std::chrono::seconds(3);
}

// The run window and its controls, found as a person finds them: by their texts.
class CRunWindow {
public:
    CRunWindow(CModel& model, QWidget* pMainWindow = nullptr)
        : m_dlg(model, QStringLiteral("Без имени.mrd"), pMainWindow) {
        m_dlg.SetClock(ClockTime);
        m_pList = m_dlg.findChild<QTreeWidget*>();
        const auto edits = m_dlg.findChildren<QLineEdit*>();
        m_pTime = edits.at(0);
        m_pDeparted = edits.at(1);
        m_pCheck = m_dlg.findChild<QCheckBox*>();
        m_pProgress = m_dlg.findChild<QProgressBar*>();
        m_pStart = FindButton(m_dlg, QStringLiteral("&Старт"));
        m_pReport = FindButton(m_dlg, QStringLiteral("&Отчет"));
        m_pClose = FindButton(m_dlg, QStringLiteral("З&акрыть"));
    }

    QStringList Lines() const {
        QStringList lines;
        for (int i = 0; i < m_pList->topLevelItemCount(); ++i) {
            lines << m_pList->topLevelItem(i)->text(0);
        }
        return lines;
    }

    // Presses Start without the report opening by itself and waits for the end.
    bool RunToEnd() {
        m_pCheck->setChecked(false);
        m_pStart->click();
        return WaitIdle();
    }

    bool WaitIdle() {
        return WaitUntil([this] { return m_dlg.IsIdle(); });
    }

    // Waits until the time field has passed nTicks.
    bool WaitTime(quint64 nTicks) {
        return WaitUntil([this, nTicks] { return m_pTime->text().toULongLong() >= nTicks; });
    }

    CModelStartDlg m_dlg;
    QTreeWidget* m_pList = nullptr;
    QLineEdit* m_pTime = nullptr;
    QLineEdit* m_pDeparted = nullptr;
    QCheckBox* m_pCheck = nullptr;
    QProgressBar* m_pProgress = nullptr;
    QPushButton* m_pStart = nullptr;
    QPushButton* m_pReport = nullptr;
    QPushButton* m_pClose = nullptr;
};

bool SameImage(const QIcon& a, const QIcon& b) {
    return a.pixmap(16, 16).toImage() == b.pixmap(16, 16).toImage();
}

// A simulation long enough to be caught in the middle: 30000 runs of 30000 ticks.
void MakeEndless(CModel& model) {
    SetExperiment(model, CExperimentParams::kByTime, 30000, 30000);
}

struct SMenuSeen {
    bool bShown = false;
    bool bDeleteEnabled = false;
};

// Asks the log for its context menu at a point and, if it opens, chooses an item (or closes it
// when the item is missing or unavailable); tells whether it opened and "Удалить" was available.
SMenuSeen ChooseFromMenu(QTreeWidget& list, const QPoint& ptPos, const QString& strChoice) {
    SMenuSeen seen;
    // The menu runs its own event loop, in which the timer answers it; a menu that does not
    // open returns at once, and the timer dies unfired with this frame.
    QTimer answer;
    answer.setSingleShot(true);
    QObject::connect(&answer, &QTimer::timeout, [&seen, strChoice] {
        auto* pMenu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (pMenu == nullptr) {
            return;
        }
        seen.bShown = true;
        QAction* pChosen = nullptr;
        for (QAction* pAction : pMenu->actions()) {
            if (pAction->text() == QStringLiteral("&Удалить")) {
                seen.bDeleteEnabled = pAction->isEnabled();
            }
            if (pAction->text() == strChoice && pAction->isEnabled()) {
                pChosen = pAction;
            }
        }
        if (pChosen != nullptr) {
            pMenu->setActiveAction(pChosen);
            QTest::keyClick(pMenu, Qt::Key_Return);
        } else {
            pMenu->close();
        }
    });
    answer.start(0);
    emit list.customContextMenuRequested(ptPos);
    return seen;
}

bool AllSignalsClear(const CRunWindow& window) {
    return window.m_dlg.GetSession().AreSignalsClear();
}

}  // namespace

class RunWindowTest : public QObject {
    Q_OBJECT

private slots:
    void failingCheckKeepsStart();
    void completedSimulationLogsItsRuns_data();
    void completedSimulationLogsItsRuns();
    void reportOpensMaximisedByItselfAndNormallyOnRequest();
    void stopEndsTheSimulationWithItsFigures();
    void closingAndAnsweringNoResumesWhereItPaused();
    void closingAndAnsweringYesAbandonsAndClearsTheModel();
    void outOfMemoryEndsLikeAStop();
    void deepChainsRunAndUnsafeModelsAreRefused();
    void logMenuOnlyWhileIdle();
    void progressBarShowsOnlyWhileRunning();
    void progressFollowsTheStopRule();
    void mainWindowMinimisedWhileShownAndIdleCloseAsksNothing();
};

void RunWindowTest::failingCheckKeepsStart() {
    CModel model;
    CRunWindow window(model);
    QVERIFY(window.m_pStart->isDefault() && window.m_pCheck->isChecked());
    QCOMPARE(window.m_pList->columnWidth(0), 437);
    window.m_pStart->click();
    QCOMPARE(window.Lines(), QStringList({kClock + QStringLiteral("Начало проверки модели"),
                                          QStringLiteral("В модели не существует блоков!")}));
    QVERIFY(SameImage(window.m_pList->topLevelItem(0)->icon(0), MessageIcon(0)));
    QVERIFY(SameImage(window.m_pList->topLevelItem(1)->icon(0), MessageIcon(2)));
    QCOMPARE(window.m_pStart->text(), QStringLiteral("&Старт"));
    QVERIFY(window.m_pStart->isEnabled());
    QVERIFY(!window.m_pReport->isEnabled());
    QVERIFY(window.m_dlg.IsIdle());
    QVERIFY(window.m_pProgress->isHidden());
}

void RunWindowTest::completedSimulationLogsItsRuns_data() {
    QTest::addColumn<int>("nRuns");
    QTest::addColumn<QString>("strTime");
    QTest::addColumn<QString>("strDeparted");
    QTest::addColumn<QStringList>("runLines");
    QTest::newRow("one run") << 1 << "12"
                             << "2" << QStringList{"Начало запуска", "Завершен запуск"};
    // The generator's countdown carries over from run to run.
    QTest::newRow("three runs") << 3 << "36"
                                << "7"
                                << QStringList{"Начало запуска №00001", "Завершен запуск №00001",
                                               "Начало запуска №00002", "Завершен запуск №00002",
                                               "Начало запуска №00003", "Завершен запуск №00003"};
}

void RunWindowTest::completedSimulationLogsItsRuns() {
    QFETCH(int, nRuns);
    QFETCH(QString, strTime);
    QFETCH(QString, strDeparted);
    QFETCH(QStringList, runLines);
    CModel model;
    BuildSourceSink(model, Deterministic(5));
    SetExperiment(model, CExperimentParams::kByTime, 12, nRuns);
    CRunWindow window(model);
    QVERIFY(window.RunToEnd());

    QStringList expected{kClock + "Начало проверки модели", kClock + "Закончена проверка модели"};
    for (const QString& strLine : runLines) {
        expected << kClock + strLine;
    }
    QCOMPARE(window.Lines(), expected);
    QCOMPARE(window.m_pTime->text(), strTime);
    QCOMPARE(window.m_pDeparted->text(), strDeparted);
    QCOMPARE(window.m_pStart->text(), QStringLiteral("&Старт"));
    QVERIFY(window.m_pStart->isEnabled());
    QVERIFY(window.m_pStart->hasFocus() || !window.m_dlg.isVisible());
    QVERIFY(window.m_pReport->isEnabled());
    QVERIFY(AllSignalsClear(window));
}

void RunWindowTest::reportOpensMaximisedByItselfAndNormallyOnRequest() {
    CModel model;
    BuildSourceSink(model, Deterministic(5));
    SetExperiment(model, CExperimentParams::kByTime, 12, 1);
    CRunWindow window(model);
    window.m_dlg.show();

    int nShown = 0;
    bool bMaximised = false;
    QString strRows;
    auto record = [&](CReportDlg& report) {
        ++nShown;
        bMaximised = report.isMaximized();
        const auto* pBlocks = report.findChild<QTableView*>();
        strRows = QString::number(pBlocks->model()->rowCount());
    };
    WhenShown<CReportDlg>(record);
    window.m_pStart->click();
    QVERIFY(test::WaitUntil([&] { return nShown >= 1; }));
    QCOMPARE(nShown, 1);
    QVERIFY(bMaximised);
    QCOMPARE(strRows, QStringLiteral("2"));
    QVERIFY(window.m_dlg.IsIdle());

    WhenShown<CReportDlg>(record);
    window.m_pReport->click();
    QCOMPARE(nShown, 2);
    QVERIFY(!bMaximised);
}

void RunWindowTest::stopEndsTheSimulationWithItsFigures() {
    CModel model;
    const SSingleChannel channel = BuildSingleChannel(model, Deterministic(3), Deterministic(4));
    MakeEndless(model);
    CRunWindow window(model);
    window.m_dlg.show();
    bool bReportShown = false;
    WhenShown<CReportDlg>([&](CReportDlg&) { bReportShown = true; });

    window.m_pStart->click();
    QCOMPARE(window.m_pStart->text(), QStringLiteral("&Стоп"));
    QVERIFY(!window.m_pReport->isEnabled());
    QVERIFY(window.WaitTime(10000));
    window.m_pStart->click();
    QVERIFY(!window.m_pStart->isEnabled());
    QVERIFY(window.WaitIdle());

    // The interrupted run has no end line.
    const QStringList lines = window.Lines();
    QCOMPARE(lines.last(), kClock + QStringLiteral("Моделирование прервано"));
    QVERIFY(SameImage(window.m_pList->topLevelItem(lines.size() - 1)->icon(0), MessageIcon(2)));
    QVERIFY(lines.at(lines.size() - 2).startsWith(kClock + QStringLiteral("Начало запуска №")));
    QVERIFY(!bReportShown);
    QVERIFY(window.m_pReport->isEnabled());
    QVERIFY(window.m_pStart->isEnabled());
    QCOMPARE(window.m_pStart->text(), QStringLiteral("&Старт"));
    QVERIFY(!HoldsTransacts(channel));
    // The figures were computed: the device served and its row says so.
    const CReportTables report(model.GetBlocks(), window.m_pTime->text().toUInt(),
                               window.m_pDeparted->text().toUInt());
    QVERIFY(report.GetDeviceRows().at(0).nLeft > 0);
    QCOMPARE(report.GetBlockRows().at(3).nEntered, window.m_pDeparted->text().toUInt());
    QVERIFY(AllSignalsClear(window));
}

void RunWindowTest::closingAndAnsweringNoResumesWhereItPaused() {
    // The reference: the same simulation left alone, in a window of its own; every simulation
    // draws the same sequence whatever thread runs it.
    CModel reference;
    BuildSingleChannel(reference, Uniform(1, 6), Uniform(1, 5));
    SetExperiment(reference, CExperimentParams::kByTime, 30000, 1000);
    CRunWindow undisturbed(reference);
    QVERIFY(undisturbed.RunToEnd());
    const CReportTables expected(reference.GetBlocks(), undisturbed.m_pTime->text().toUInt(),
                                 undisturbed.m_pDeparted->text().toUInt());

    CModel model;
    BuildSingleChannel(model, Uniform(1, 6), Uniform(1, 5));
    SetExperiment(model, CExperimentParams::kByTime, 30000, 1000);
    CRunWindow window(model);
    window.m_dlg.show();
    bool bHeld = false;
    CMessageRecorder recorder([&] {
        // While the question is open the simulation waits at a tick boundary, and the time
        // field comes to show that tick and stays there.
        const CRunSession& session = window.m_dlg.GetSession();
        if (!test::WaitUntil([&] { return session.IsHoldTaken(); })) {
            return EMessageAnswer::kNo;
        }
        const QString strHeld = QString::number(session.GetModelTime());
        bHeld = test::WaitUntil([&] { return window.m_pTime->text() == strHeld; }) &&
                session.IsHoldTaken() && !window.m_dlg.IsIdle();
        return EMessageAnswer::kNo;
    });
    window.m_pCheck->setChecked(false);
    window.m_pStart->click();
    QVERIFY(window.WaitTime(100000));
    window.m_pClose->click();

    QCOMPARE(recorder.m_texts,
             QStringList{QStringLiteral("Закрытие окна, прервет моделирование. Продолжить?")});
    QCOMPARE(recorder.m_nIcon, EMessageIcon::kExclamation);
    QCOMPARE(recorder.m_nButtons, EMessageButtons::kYesNo);
    QVERIFY(bHeld);
    QVERIFY(window.m_dlg.isVisible());
    QVERIFY(window.WaitIdle());

    QCOMPARE(window.m_pTime->text(), QStringLiteral("30000000"));
    QCOMPARE(window.Lines(), undisturbed.Lines());
    const CReportTables actual(model.GetBlocks(), window.m_pTime->text().toUInt(),
                               window.m_pDeparted->text().toUInt());
    for (int nTable = 0; nTable < CReportTables::kTableCount; ++nTable) {
        QCOMPARE(actual.GetCells(nTable), expected.GetCells(nTable));
    }
    QVERIFY(AllSignalsClear(window));
}

void RunWindowTest::closingAndAnsweringYesAbandonsAndClearsTheModel() {
    CModel model;
    const SSingleChannel channel = BuildSingleChannel(model, Deterministic(3), Deterministic(4));
    MakeEndless(model);
    QWidget mainWindow;
    CRunWindow window(model, &mainWindow);
    QSignalSpy rejected(&window.m_dlg, &QDialog::rejected);
    window.m_dlg.show();
    CMessageRecorder recorder([] { return EMessageAnswer::kYes; });
    window.m_pStart->click();
    QVERIFY(window.WaitTime(10000));
    const int nLinesBefore = window.m_pList->topLevelItemCount();
    window.m_pClose->click();

    // The window has closed only after the worker ended and cleared every transact.
    QCOMPARE(recorder.m_texts.size(), 1);
    QCOMPARE(rejected.count(), 1);
    QVERIFY(!window.m_dlg.isVisible());
    QVERIFY(window.m_dlg.IsIdle());
    QVERIFY(!HoldsTransacts(channel));
    QVERIFY(!mainWindow.isMinimized());
    QVERIFY(AllSignalsClear(window));
    // Abandoning writes nothing; no late call from the worker opens anything: the worker has
    // ended, so whatever it left is among the events now waiting.
    QCoreApplication::processEvents();
    QVERIFY(window.m_pList->topLevelItemCount() <= nLinesBefore + 1);
    for (const QString& strLine : window.Lines()) {
        QVERIFY(!strLine.contains(QStringLiteral("Моделирование прервано")));
    }
    QVERIFY(QApplication::activeModalWidget() == nullptr);
}

void RunWindowTest::deepChainsRunAndUnsafeModelsAreRefused() {
    // A transact goes down 100 000 blocks in its tick, that many calls deep on the worker.
    CModel chain;
    CBlockDlg& last = AddChain(chain, 100000, kForwardingKinds);
    last.SetOutLink(0, &chain.Add<CTerminateDlg>());
    chain.BlockAt(100001)->SetName("T");
    SetExperiment(chain, CExperimentParams::kByCount, 10, 1);
    CRunWindow deep(chain);
    QVERIFY(deep.RunToEnd());
    QCOMPARE(deep.m_pDeparted->text(), QStringLiteral("10"));
    QCOMPARE(deep.Lines().last(), kClock + QStringLiteral("Завершен запуск"));

    // Twenty copying blocks whose twenty outputs all lead to the next: 20^20 calls a tick.
    CModel ladder;
    AddLadder(ladder, 20, 20);
    CRunWindow refused(ladder);
    refused.m_pStart->click();
    QCOMPARE(refused.Lines(),
             QStringList({kClock + QStringLiteral("Начало проверки модели"),
                          kClock + QStringLiteral("Закончена проверка модели"),
                          kClock + QStringLiteral("Моделирование не запущено - выходы коммутирующих "
                                                  "и копирующих блоков образуют слишком много "
                                                  "путей")}));
    QVERIFY(SameImage(refused.m_pList->topLevelItem(2)->icon(0), MessageIcon(2)));
    QVERIFY(refused.m_dlg.IsIdle());
    QCOMPARE(refused.m_pStart->text(), QStringLiteral("&Старт"));
    QVERIFY(refused.m_pStart->isEnabled());
    QVERIFY(!refused.m_pReport->isEnabled());
    QVERIFY(AllSignalsClear(refused));
}

void RunWindowTest::outOfMemoryEndsLikeAStop() {
    CModel model;
    BuildSourceSink(model, Deterministic(5));
    SetExperiment(model, CExperimentParams::kByTime, 12, 1);
    CRunWindow window(model);
    // The worker's first line is the start of the run; its memory runs out there.
    int nCalls = 0;
    window.m_dlg.SetClock([&nCalls] {
        if (++nCalls == 3) {
            throw std::bad_alloc();
        }
        return ClockTime();
    });
    bool bReportShown = false;
    WhenShown<CReportDlg>([&](CReportDlg&) { bReportShown = true; });
    window.m_pStart->click();
    QVERIFY(window.WaitIdle());

    QCOMPARE(window.Lines().last(),
             kClock + QStringLiteral("Недостаточно памяти для моделирования: в модели 0 транзактов"));
    QVERIFY(
        SameImage(window.m_pList->topLevelItem(window.m_pList->topLevelItemCount() - 1)->icon(0),
                  MessageIcon(2)));
    QVERIFY(!bReportShown);
    QVERIFY(window.m_pReport->isEnabled());
    QCOMPARE(window.m_pStart->text(), QStringLiteral("&Старт"));
}

void RunWindowTest::logMenuOnlyWhileIdle() {
    CModel model;
    BuildSingleChannel(model, Deterministic(3), Deterministic(4));
    MakeEndless(model);
    CRunWindow window(model);
    window.m_dlg.show();
    QTreeWidget* pList = window.m_pList;
    const QPoint ptBelowLines(5, pList->viewport()->height() - 2);
    QVERIFY(!ChooseFromMenu(*pList, QPoint(5, 5), QString()).bShown);  // nothing to delete

    window.m_pStart->click();
    QVERIFY(window.WaitTime(1000));
    QVERIFY(
        !ChooseFromMenu(*pList, pList->visualItemRect(pList->topLevelItem(0)).center(), QString())
             .bShown);
    window.m_pStart->click();
    QVERIFY(window.WaitIdle());

    QStringList expected = window.Lines();
    expected.removeAt(1);
    const SMenuSeen onLine = ChooseFromMenu(
        *pList, pList->visualItemRect(pList->topLevelItem(1)).center(), QStringLiteral("&Удалить"));
    QVERIFY(onLine.bShown && onLine.bDeleteEnabled);
    QCOMPARE(window.Lines(), expected);

    const SMenuSeen belowLines = ChooseFromMenu(*pList, ptBelowLines, QStringLiteral("&Удалить"));
    QVERIFY(belowLines.bShown && !belowLines.bDeleteEnabled);
    QCOMPARE(window.Lines(), expected);

    QVERIFY(ChooseFromMenu(*pList, ptBelowLines, QStringLiteral("О&чистить все")).bShown);
    QVERIFY(window.Lines().isEmpty());
}

void RunWindowTest::progressBarShowsOnlyWhileRunning() {
    CModel model;
    BuildSourceSink(model, Deterministic(2));
    SetExperiment(model, CExperimentParams::kByTime, 30000, 30000);
    CRunWindow window(model);
    window.m_dlg.show();
    QVERIFY(!window.m_pProgress->isVisible());
    window.m_pStart->click();
    QVERIFY(window.m_pProgress->isVisible());
    // The time field and the bar are set together, so they agree whenever the time is read.
    QVERIFY(window.WaitTime(2000000));
    const int nValue = window.m_pProgress->value();
    const double dExpected = window.m_pTime->text().toDouble() / (30000.0 * 30000.0) * 1000;
    QVERIFY2(nValue >= static_cast<int>(dExpected) - 1 && nValue <= static_cast<int>(dExpected) + 1,
             qPrintable(QStringLiteral("%1 vs %2").arg(nValue).arg(dExpected)));
    window.m_pStart->click();
    QVERIFY(window.WaitIdle());
    QVERIFY(!window.m_pProgress->isVisible());
}

void RunWindowTest::progressFollowsTheStopRule() {
    CRunProgress timeProgress({CExperimentParams::kByTime, 100, 4});
    QCOMPARE(*timeProgress.Update(1, 0, 0), 0.0);
    QCOMPARE(*timeProgress.Update(2, 150, 9), 0.375);
    QCOMPARE(*timeProgress.Update(4, 400, 20), 1.0);

    // By departures: the runs done plus the share of the current run; the departures at a
    // run's start are those seen when the run first shows.
    CRunProgress countProgress({CExperimentParams::kByCount, 10, 4});
    QCOMPARE(*countProgress.Update(1, 7, 5), 0.125);
    QCOMPARE(*countProgress.Update(2, 30, 11), 0.25);
    QCOMPARE(*countProgress.Update(2, 40, 16), 0.375);
    QCOMPARE(*countProgress.Update(2, 50, 40), 0.5);  // a crowded last tick does not pass the run

    // No limit by time: nothing to measure against; a limit of 0 departures: a tick a run.
    QVERIFY(!CRunProgress({CExperimentParams::kByTime, 0, 3}).Update(1, 5, 0).has_value());
    QCOMPARE(*CRunProgress({CExperimentParams::kByCount, 0, 4}).Update(2, 2, 0), 0.5);
}

void RunWindowTest::mainWindowMinimisedWhileShownAndIdleCloseAsksNothing() {
    CModel model;
    QWidget mainWindow;
    mainWindow.showMaximized();
    CRunWindow window(model, &mainWindow);
    CMessageRecorder recorder;
    window.m_dlg.show();
    QVERIFY(mainWindow.isMinimized());
    QTest::keyClick(&window.m_dlg, Qt::Key_Escape);
    QVERIFY(recorder.m_texts.isEmpty());
    QVERIFY(!window.m_dlg.isVisible());
    QVERIFY(!mainWindow.isMinimized());
    QVERIFY(mainWindow.isMaximized());
}

QTEST_MAIN(RunWindowTest)
#include "RunWindowTest.moc"
