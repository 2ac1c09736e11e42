// The report window: its tabs and lists as the core's report tables give them, its layout,
// and saving the page through the replaced file dialog.

#include <QFile>
#include <QHeaderView>
#include <QMenuBar>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QtTest>

#include "WindowTestKit.h"
#include "core/report/HtmlReport.h"
#include "core/report/ReportTables.h"
#include "core/sim/SimulationLoop.h"
#include "gui/common/Dialogs.h"
#include "gui/report/ReportDlg.h"

using namespace mardo;
using namespace mardo::test;

namespace {

// Generator, an unnamed stray queue, queue, device, terminator: the device is the fourth
// block and the first device, and the stray queue has no row and uses no number.
struct SReportModel {
    CModel model;
    std::uint32_t nModelTime = 0;
    std::uint32_t nDeparted = 0;

    SReportModel() {
        auto& generator = AddNamed<CGenerateDlg>(model, "G1");
        generator.m_law = Uniform(1, 4);
        model.Add<CQueueDlg>();
        auto& queue = AddNamed<CQueueDlg>(model, "Q1");
        auto& device = AddNamed<CDeviceDlg>(model, "D1");
        device.m_law = Uniform(2, 5);
        auto& terminator = AddNamed<CTerminateDlg>(model, "T<&>");
        generator.SetOutLink(0, &queue);
        queue.SetOutLink(0, &device);
        device.SetOutLink(0, &terminator);
        SetExperiment(model, CExperimentParams::kByTime, 200, 1);
        CSilentLog log;
        CRunSignals runSignals;
        CSimulationLoop loop(model, log, runSignals);
        loop.Run();
        nModelTime = loop.GetModelTime();
        nDeparted = loop.GetDeparted();
    }

    CReportTables Tables() const { return CReportTables(model.GetBlocks(), nModelTime, nDeparted); }
};

QStringList Row(const QTableView& list, int nRow) {
    QStringList cells;
    for (int nColumn = 0; nColumn < list.model()->columnCount(); ++nColumn) {
        cells << list.model()->index(nRow, nColumn).data().toString();
    }
    return cells;
}

QStringList Titles(const QTableView& list) {
    QStringList titles;
    for (int nColumn = 0; nColumn < list.model()->columnCount(); ++nColumn) {
        titles << list.model()->headerData(nColumn, Qt::Horizontal).toString();
    }
    return titles;
}

QStringList ToQt(const std::vector<std::string>& texts) {
    QStringList list;
    for (const std::string& str : texts) {
        list << QString::fromStdString(str);
    }
    return list;
}

// Answers the file dialog with a path and records the request.
class CFileDialogRecorder {
public:
    explicit CFileDialogRecorder(QString strAnswer)
        : m_previous(
              SetFileDialogFunction([this, strAnswer](QWidget*, const SFileDialogRequest& request) {
                  m_requests.push_back(request);
                  return strAnswer;
              })) {}
    ~CFileDialogRecorder() { SetFileDialogFunction(m_previous); }

    std::vector<SFileDialogRequest> m_requests;

private:
    CFileDialogFunction m_previous;
};

std::tm FixedMoment() {
    std::tm moment{};
    moment.tm_year = 2026 - 1900;
    moment.tm_mon = 11;
    moment.tm_mday = 7;
    moment.tm_hour = 21;
    moment.tm_min = 8;
    moment.tm_sec = 5;
    return moment;
}

QByteArray ReadAll(const QString& strPath) {
    QFile file(strPath);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace

class ReportWindowTest : public QObject {
    Q_OBJECT

private slots:
    void tabsAndColumns();
    void rowsSkipUnnamedBlocksAndNumberEachTable();
    void tabChangeShowsOneList();
    void layoutKeepsItsMarginsAtAnySize();
    void opensMaximisedOnlyWhenAsked();
    void savesTheCorePageUnderTheProposedName();
    void pageIsProposedBesideTheModelAndNamedAsAPage();
    void saveFailureIsReported();
    void exitCloses();
};

void ReportWindowTest::tabsAndColumns() {
    SReportModel data;
    CReportDlg dlg(data.model.GetBlocks(), data.nModelTime, data.nDeparted, "m.mrd", false);
    const auto* pTabs = dlg.findChild<QTabWidget*>();
    QCOMPARE(pTabs->count(), 3);
    QCOMPARE(pTabs->tabText(1), QStringLiteral("Устройства обслуживания"));
    const auto lists = dlg.findChildren<QTableView*>();
    QCOMPARE(lists.size(), 3);
    QCOMPARE(Titles(*lists[1]).at(3), QStringLiteral("Коэффициент использования устройства"));
    QCOMPARE(Titles(*lists[2]).at(8),
             QStringLiteral(
                 "Среднее время, проведенное в очереди без учета “нулевых” входов в очередь"));
    for (int nTable = 0; nTable < 3; ++nTable) {
        QCOMPARE(Titles(*lists[nTable]), ToQt(CReportTables::GetColumnTitles(nTable)));
        for (int nColumn = 0; nColumn < lists[nTable]->model()->columnCount(); ++nColumn) {
            QVERIFY(lists[nTable]->columnWidth(nColumn) >= 100);
        }
    }
}

void ReportWindowTest::rowsSkipUnnamedBlocksAndNumberEachTable() {
    SReportModel data;
    CReportDlg dlg(data.model.GetBlocks(), data.nModelTime, data.nDeparted, "m.mrd", false);
    const auto lists = dlg.findChildren<QTableView*>();
    const CReportTables tables = data.Tables();
    QCOMPARE(lists[0]->model()->rowCount(), 4);
    QCOMPARE(lists[1]->model()->rowCount(), 1);
    QCOMPARE(lists[2]->model()->rowCount(), 1);
    for (int nTable = 0; nTable < 3; ++nTable) {
        const auto cells = tables.GetCells(nTable);
        for (int nRow = 0; nRow < lists[nTable]->model()->rowCount(); ++nRow) {
            QCOMPARE(Row(*lists[nTable], nRow), ToQt(cells.at(static_cast<std::size_t>(nRow))));
        }
    }
    QCOMPARE(Row(*lists[0], 1).mid(0, 3), QStringList({"2", "Q1", "Очередь"}));
    QCOMPARE(Row(*lists[0], 3).mid(0, 3), QStringList({"4", "T<&>", "Терминатор"}));
    QCOMPARE(Row(*lists[0], 3).at(3), QString::number(data.nDeparted));
    QCOMPARE(Row(*lists[1], 0).mid(0, 2), QStringList({"1", "D1"}));
    QVERIFY(Row(*lists[1], 0).at(3).contains(QRegularExpression("^0\\.\\d{3}$")));
    QCOMPARE(Row(*lists[2], 0).mid(0, 2), QStringList({"1", "Q1"}));
}

void ReportWindowTest::tabChangeShowsOneList() {
    SReportModel data;
    CReportDlg dlg(data.model.GetBlocks(), data.nModelTime, data.nDeparted, "m.mrd", false);
    dlg.show();
    auto* pTabs = dlg.findChild<QTabWidget*>();
    const auto lists = dlg.findChildren<QTableView*>();
    QCOMPARE(dlg.GetShownTab(), 0);
    QVERIFY(lists[0]->isVisible() && !lists[1]->isVisible() && !lists[2]->isVisible());
    for (const int nTab : {2, 1, 0}) {
        pTabs->setCurrentIndex(nTab);
        QCOMPARE(dlg.GetShownTab(), nTab);
        for (int nList = 0; nList < 3; ++nList) {
            QCOMPARE(lists[nList]->isVisible(), nList == nTab);
        }
        QVERIFY(lists[nTab]->hasFocus() || !dlg.isActiveWindow());
    }
    // Ctrl+Tab turns the tabs from a list that has the focus, which keeps the key otherwise.
    dlg.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&dlg));
    lists[0]->setFocus();
    QTest::keyClick(lists[0], Qt::Key_Tab, Qt::ControlModifier);
    QCOMPARE(dlg.GetShownTab(), 1);
}

void ReportWindowTest::layoutKeepsItsMarginsAtAnySize() {
    SReportModel data;
    CReportDlg dlg(data.model.GetBlocks(), data.nModelTime, data.nDeparted, "m.mrd", false);
    dlg.show();
    const auto* pTabs = dlg.findChild<QTabWidget*>();
    const auto lists = dlg.findChildren<QTableView*>();
    const int nMenu = dlg.findChild<QMenuBar*>()->height();
    for (const QSize size : {QSize(640, 460), QSize(300, 200), QSize(1000, 700)}) {
        dlg.resize(size);
        const int nWidth = dlg.width();
        const int nHeight = dlg.height() - nMenu;
        QCOMPARE(pTabs->geometry(), QRect(10, nMenu + 10, nWidth - 20, nHeight - 20));
        for (const QTableView* pList : lists) {
            QCOMPARE(pList->geometry(), QRect(20, nMenu + 40, nWidth - 40, nHeight - 60));
        }
    }
}

void ReportWindowTest::opensMaximisedOnlyWhenAsked() {
    SReportModel data;
    CReportDlg maximised(data.model.GetBlocks(), 1, 1, "m.mrd", true);
    maximised.show();
    QVERIFY(maximised.isMaximized());
    QVERIFY(maximised.windowFlags() & Qt::WindowMaximizeButtonHint);
    CReportDlg normal(data.model.GetBlocks(), 1, 1, "m.mrd", false);
    normal.show();
    QVERIFY(!normal.isMaximized());
}

void ReportWindowTest::savesTheCorePageUnderTheProposedName() {
    SReportModel data;
    QTemporaryDir dir;
    const QString strPath = dir.filePath("отчет.html");
    QFile existing(strPath);
    QVERIFY(existing.open(QIODevice::WriteOnly));
    existing.write("an older report that is longer than nothing at all");
    existing.close();

    CReportDlg dlg(data.model.GetBlocks(), data.nModelTime, data.nDeparted,
                   QStringLiteral("a.b.mrd"), false);
    dlg.SetClock(FixedMoment);
    CFileDialogRecorder dialog(strPath);
    CMessageRecorder messages;
    dlg.SaveAs();

    QCOMPARE(dialog.m_requests.size(), std::size_t{1});
    const SFileDialogRequest& request = dialog.m_requests[0];
    QVERIFY(request.bSave);
    QCOMPARE(request.strProposed, QStringLiteral("a.b"));
    QCOMPARE(request.strFilter, QStringLiteral("Файлы \"html\" (*.html)"));
    QCOMPARE(request.strDefaultSuffix, QStringLiteral("html"));
    // Replaced without a question, byte for byte the core's page.
    QVERIFY(messages.m_texts.isEmpty());
    const std::string strPage = BuildHtmlReport(data.Tables(), "a.b.mrd", FixedMoment());
    QCOMPARE(ReadAll(strPath), QByteArray::fromStdString(strPage));
    QVERIFY(strPage.find("T&lt;&amp;&gt;") != std::string::npos);

    // A name without a dot proposes nothing; cancelling writes nothing.
    CFileDialogRecorder cancelled{QString()};
    CReportDlg plain(data.model.GetBlocks(), 1, 1, QStringLiteral("model"), false);
    plain.SaveAs();
    QCOMPARE(cancelled.m_requests.at(0).strProposed, QString());
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("отчет.html")});
    QVERIFY(messages.m_texts.isEmpty());
}

void ReportWindowTest::pageIsProposedBesideTheModelAndNamedAsAPage() {
    SReportModel data;
    QTemporaryDir dir;
    CReportDlg dlg(data.model.GetBlocks(), 1, 1, dir.filePath("v1.2.mrd"), false);
    dlg.SetClock(FixedMoment);
    CMessageRecorder messages;
    {
        // The dialog took "v1.2" as a name with an extension of its own.
        CFileDialogRecorder dialog(dir.filePath("v1.2"));
        dlg.SaveAs();
        QCOMPARE(dialog.m_requests.at(0).strProposed, dir.filePath("v1.2"));
    }
    {
        CFileDialogRecorder dialog(dir.filePath("старый.HTM"));
        dlg.SaveAs();
    }
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files, QDir::Name),
             (QStringList{"v1.2.html", "старый.HTM"}));
    QCOMPARE(ReadAll(dir.filePath("v1.2.html")),
             QByteArray::fromStdString(BuildHtmlReport(CReportTables(data.model.GetBlocks(), 1, 1),
                                                       "v1.2.mrd", FixedMoment())));
    QVERIFY(messages.m_texts.isEmpty());
}

void ReportWindowTest::saveFailureIsReported() {
    SReportModel data;
    QTemporaryDir dir;
    CReportDlg dlg(data.model.GetBlocks(), 1, 1, "m.mrd", false);
    dlg.show();
    CFileDialogRecorder dialog(dir.filePath("no such folder/r.html"));
    CMessageRecorder messages;
    dlg.SaveAs();
    QCOMPARE(messages.m_texts, QStringList{QStringLiteral("Ошибка при сохранении протокола.")});
    QCOMPARE(messages.m_nIcon, EMessageIcon::kError);
    QVERIFY(dlg.isVisible());
}

void ReportWindowTest::exitCloses() {
    SReportModel data;
    CReportDlg dlg(data.model.GetBlocks(), 1, 1, "m.mrd", false);
    dlg.show();
    const QList<QAction*> items = dlg.findChild<QMenuBar*>()->actions().at(0)->menu()->actions();
    QCOMPARE(items.at(1)->text(), QStringLiteral("&Выход"));
    items.at(1)->trigger();
    QVERIFY(!dlg.isVisible());
}

QTEST_MAIN(ReportWindowTest)
#include "ReportWindowTest.moc"
