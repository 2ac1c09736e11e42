// The series window driven as a person would: a swept series of a shipped model, its table
// against the batch runner's summary for the same seeds, copying, saving, stopping and closing
// while it runs.

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QListWidget>
#include <QProcess>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>

#include "GuiTestDoubles.h"
#include "core/experiment/Replication.h"
#include "core/model/Model.h"
#include "core/persist/ModelFile.h"
#include "gui/experiment/SeriesDlg.h"

using namespace mardo;
using namespace mardo::test;

namespace {

const QString kModelPath = QStringLiteral(MARDO_SOURCE_DIR "/examples/two-phases.mrd");

QPushButton* Button(QWidget& window, const QString& strText) {
    for (QPushButton* pButton : window.findChildren<QPushButton*>()) {
        if (pButton->text() == strText) {
            return pButton;
        }
    }
    return nullptr;
}

// Five replications of the model at two service times of D1.
void SetUpSweep(CSeriesDlg& dlg, int nReplications) {
    dlg.findChild<QSpinBox*>(QStringLiteral("replications"))->setValue(nReplications);
    dlg.findChild<QCheckBox*>(QStringLiteral("vary"))->setChecked(true);
    auto* pBlock = dlg.findChild<QComboBox*>(QStringLiteral("block"));
    pBlock->setCurrentIndex(pBlock->findText(QStringLiteral("D1")));
    auto* pParam = dlg.findChild<QComboBox*>(QStringLiteral("param"));
    pParam->setCurrentIndex(pParam->findData(QStringLiteral("D1.service")));
    dlg.findChild<QLineEdit*>(QStringLiteral("values"))->setText(QStringLiteral("2..4, 3..5"));
}

QJsonObject BatchRunnerSummary() {
    QProcess run;
    run.start(QStringLiteral(MARDO_RUN_PATH),
              {"--json", "--replications", "5", "--sweep", "D1.service=2..4,3..5", kModelPath});
    run.waitForFinished(60000);
    return QJsonDocument::fromJson(run.readAllStandardOutput()).object();
}

}  // namespace

class SeriesWindowTest : public QObject {
    Q_OBJECT

private slots:
    void SweptSeriesMatchesTheBatchRunner();
    void StopAndCloseDuringASeries();
};

void SeriesWindowTest::SweptSeriesMatchesTheBatchRunner() {
    CModel model;
    QVERIFY(LoadModel(model, kModelPath.toStdString()).IsLoaded());
    CSeriesDlg dlg(model, QStringLiteral("two-phases.mrd"));
    dlg.show();
    SetUpSweep(dlg, 5);
    QTest::mouseClick(Button(dlg, QStringLiteral("&Старт")), Qt::LeftButton);
    QVERIFY(test::WaitUntil([&] { return !dlg.IsRunning(); }));

    const QJsonArray points = BatchRunnerSummary()[QStringLiteral("points")].toArray();
    QCOMPARE(points.size(), 2);
    const std::vector<SFigureTable> shapes = ReportFigures(nullptr);
    const std::vector<SSeriesRow>& rows = dlg.GetRows();
    QVERIFY(rows.size() > 10);
    QCOMPARE(dlg.GetTable().rowCount(), static_cast<int>(rows.size()));
    for (const SSeriesRow& row : rows) {
        const QJsonObject summary =
            points[static_cast<int>(row.nPoint)].toObject()[QStringLiteral("summary")].toObject();
        QJsonObject stat;
        if (row.nTable == kModelTable) {
            stat = summary[row.nColumn == 0 ? "modelTime" : "departed"].toObject();
        } else {
            const SFigureTable& shape = shapes[row.nTable];
            stat = summary[QString::fromStdString(shape.strKey)]
                       .toArray()[static_cast<int>(row.nRow)]
                       .toObject()[QString::fromStdString(shape.columns[row.nColumn])]
                       .toObject();
        }
        QVERIFY2(qAbs(stat["mean"].toDouble() - row.stat.dMean) <= 1e-9 * (1 + qAbs(row.stat.dMean)),
                 row.strFigure.c_str());
        // A share's interval is given by its bounds, any other's by its half-width.
        if (row.stat.bShare) {
            QVERIFY(qAbs(stat["ciLow"].toDouble() - row.stat.dCiLow) <= 1e-9);
            QVERIFY(qAbs(stat["ciHigh"].toDouble() - row.stat.dCiHigh) <= 1e-9);
        } else {
            QVERIFY(qAbs(stat["ci95"].toDouble() - row.stat.dCi95) <= 1e-9 * (1 + row.stat.dCi95));
        }
    }

    // Ctrl+C: every selected row on its own line, its cells between tabs.
    QTableWidget& table = dlg.GetTable();
    table.setFocus();
    table.selectAll();
    QTest::keyClick(&table, Qt::Key_C, Qt::ControlModifier);
    const QStringList lines = QApplication::clipboard()->text().split('\n', Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), table.rowCount());
    QCOMPARE(lines[0].count('\t'), table.columnCount() - 1);

    // Saving: the table as CSV, the chart as SVG and PNG.
    CFileDialogRecorder files;
    QTemporaryDir dir;
    const QString strCsv = dir.filePath(QStringLiteral("series.csv"));
    const QString strSvg = dir.filePath(QStringLiteral("series.svg"));
    const QString strPng = dir.filePath(QStringLiteral("series.png"));
    for (const QString& strPath : {strCsv, strSvg, strPng}) {
        files.Answer(strPath);
        QTest::mouseClick(Button(dlg, QStringLiteral("Сохранить &как...")), Qt::LeftButton);
    }
    QFile csv(strCsv);
    QVERIFY(csv.open(QIODevice::ReadOnly));
    const QString strText = QString::fromUtf8(csv.readAll());
    // The batch runner's tidy layout: a line per point, replication and figure, and the
    // summary's lines: five replications to every summary line.
    QVERIFY(strText.startsWith(QStringLiteral("D1.service,generator,baseSeed,warmup,R,replication,")));
    QCOMPARE(strText.count('\n') - 1, 6 * strText.count(QStringLiteral(",summary,")));
    QFile svg(strSvg);
    QVERIFY(svg.open(QIODevice::ReadOnly) && svg.readAll().contains("<svg"));
    QVERIFY(QImage(strPng).width() > 100);
}

void SeriesWindowTest::StopAndCloseDuringASeries() {
    CModel model;
    QVERIFY(LoadModel(model, kModelPath.toStdString()).IsLoaded());
    // A name may hold a dot: the block still offers its own parameter, by its title.
    model.FindBlock("D1")->SetName("D.1");
    // No replication can end before the test stops it, however fast the machine.
    model.m_experiment = {CExperimentParams::kByTime, CExperimentParams::kMaxValue,
                          CExperimentParams::kMaxValue};
    CSeriesDlg dlg(model, QStringLiteral("two-phases.mrd"));
    dlg.show();
    auto* pBlock = dlg.findChild<QComboBox*>(QStringLiteral("block"));
    pBlock->setCurrentIndex(pBlock->findData(QStringLiteral("D.1")));
    auto* pParam = dlg.findChild<QComboBox*>(QStringLiteral("param"));
    QCOMPARE(pParam->count(), 1);
    QCOMPARE(pParam->currentText(), QStringLiteral("Время обслуживания"));
    QCOMPARE(pParam->currentData().toString(), QStringLiteral("D.1.service"));
    dlg.findChild<QSpinBox*>(QStringLiteral("replications"))->setValue(1000);
    QPushButton* pStart = Button(dlg, QStringLiteral("&Старт"));
    QTest::mouseClick(pStart, Qt::LeftButton);
    QVERIFY(dlg.IsRunning());
    QCOMPARE(pStart->text(), QStringLiteral("&Стоп"));
    QTest::mouseClick(pStart, Qt::LeftButton);
    QVERIFY(test::WaitUntil([&] { return !dlg.IsRunning(); }));
    auto* pLog = dlg.findChild<QListWidget*>();
    QCOMPARE(pLog->item(pLog->count() - 1)->text(), QStringLiteral("Серия остановлена"));
    QCOMPARE(dlg.GetTable().rowCount(), 0);

    // Closing asks; "No" keeps the series running, "Yes" ends it with the window.
    CMessageRecorder messages;
    QTest::mouseClick(pStart, Qt::LeftButton);
    messages.Answer(EMessageAnswer::kNo);
    QTest::mouseClick(Button(dlg, QStringLiteral("З&акрыть")), Qt::LeftButton);
    QVERIFY(dlg.IsRunning() && dlg.isVisible());
    messages.Answer(EMessageAnswer::kYes);
    QTest::mouseClick(Button(dlg, QStringLiteral("З&акрыть")), Qt::LeftButton);
    QVERIFY(!dlg.IsRunning() && !dlg.isVisible());
    QCOMPARE(messages.Texts().size(), 2);
}

QTEST_MAIN(SeriesWindowTest)
#include "SeriesWindowTest.moc"
