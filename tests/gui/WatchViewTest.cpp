// Watching a model on its diagram from the main window: nothing can be edited meanwhile, the
// keys step and run it, and leaving gives back the model and its history as they were, with the
// report a plain simulation of the model gives.
#include <QTemporaryDir>
#include <QtTest>

#include "EditorFixture.h"
#include "WaitUntil.h"
#include "core/persist/ModelFile.h"
#include "core/report/ReportTables.h"
#include "core/sim/SimulationLoop.h"
#include "gui/editor/BlocksPaletteDlg.h"
#include "gui/watch/ModelWatch.h"
#include "gui/watch/WatchBar.h"

using namespace mardo;
using namespace mardo::test;

namespace {

class CNoLog final : public IMessageLog {
public:
    void AddMessage(const std::string&, int, bool) override {}
};

QByteArray Saved(const CModel& model, const QString& strPath) {
    if (!SaveModel(model, strPath.toStdString())) {
        return {};
    }
    QFile file(strPath);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Every cell of the report of a plain simulation of the model saved in the file.
std::vector<std::vector<std::string>> PlainReport(const QString& strPath) {
    CModel model;
    if (!LoadModel(model, strPath.toStdString()).IsLoaded()) {
        return {};
    }
    CNoLog log;
    CRunSignals runSignals;
    CSimulationLoop loop(model, log, runSignals);
    loop.Run();
    std::vector<std::vector<std::string>> cells;
    const CReportTables report(model.GetBlocks(), loop.GetModelTime(), loop.GetDeparted());
    for (int nTable = 0; nTable < CReportTables::kTableCount; ++nTable) {
        for (const auto& row : report.GetCells(nTable)) {
            cells.push_back(row);
        }
    }
    return cells;
}

}  // namespace

class WatchViewTest : public QObject {
    Q_OBJECT

private slots:
    void watchingLeavesModelAndHistoryAndReportsAsAPlainRun();
};

void WatchViewTest::watchingLeavesModelAndHistoryAndReportsAsAPlainRun() {
    SEditorFixture f;
    CModelEditorDlg& editor = f.Editor();
    CBlockDlg& generator = f.Add(0, {20, 20}, "G");
    CBlockDlg& queue = f.Add(3, {220, 20}, "Q");
    CBlockDlg& device = f.Add(2, {420, 20}, "D");
    CBlockDlg& terminator = f.Add(1, {620, 20}, "T");
    editor.MakeLink(generator, 0, queue);
    editor.MakeLink(queue, 0, device);
    editor.MakeLink(device, 0, terminator);
    QTemporaryDir dir;
    const QByteArray before = Saved(editor.GetModel(), dir.filePath(QStringLiteral("before.mrd")));
    QVERIFY(!before.isEmpty());
    const int nSteps = editor.GetHistory().count();
    const QString strUndo = editor.GetHistory().undoText();

    editor.GetAction(CModelEditorDlg::kWatch).trigger();
    QVERIFY(editor.GetWatch() != nullptr);
    for (const CModelEditorDlg::ECommand nCommand :
         {CModelEditorDlg::kUndo, CModelEditorDlg::kNew, CModelEditorDlg::kWatch,
          CModelEditorDlg::kModelProperties}) {
        QVERIFY(!editor.GetAction(nCommand).isEnabled());
    }
    QVERIFY(!editor.GetPalette().isEnabled());
    // → steps one tick from the pause before the first.
    QVERIFY(test::WaitUntil([&] { return editor.windowTitle().endsWith(QStringLiteral("такт 0]")); }));
    QTest::keyClick(&editor, Qt::Key_Right);
    QVERIFY(test::WaitUntil([&] { return editor.windowTitle().endsWith(QStringLiteral("такт 1]")); }));
    // As fast as possible, to the end.
    editor.GetWatch()->GetBar().StepSpeed(100);
    QTest::keyClick(&editor, Qt::Key_Space);
    QVERIFY(test::WaitUntil([&] { return editor.GetWatch() == nullptr; }));

    QCOMPARE(editor.GetHistory().count(), nSteps);
    QCOMPARE(editor.GetHistory().undoText(), strUndo);
    QVERIFY(editor.GetAction(CModelEditorDlg::kUndo).isEnabled());
    QVERIFY(editor.GetAction(CModelEditorDlg::kNew).isEnabled());
    QVERIFY(editor.GetPalette().isEnabled());
    QCOMPARE(Saved(editor.GetModel(), dir.filePath(QStringLiteral("after.mrd"))), before);
    QVERIFY(editor.GetLastReport() != nullptr);
    std::vector<std::vector<std::string>> watched;
    for (int nTable = 0; nTable < CReportTables::kTableCount; ++nTable) {
        for (const auto& row : editor.GetLastReport()->tables.GetCells(nTable)) {
            watched.push_back(row);
        }
    }
    QVERIFY(watched == PlainReport(dir.filePath(QStringLiteral("before.mrd"))));
}

QTEST_MAIN(WatchViewTest)
#include "WatchViewTest.moc"
