// The experiment's results as the window shows them, on an experiment the core made: a shipped
// model swept over two service times, three replications each, the second point compared with
// the first.

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QtTest>
#include <cmath>

#include "GuiTestDoubles.h"
#include "core/experiment/Comparison.h"
#include "core/experiment/Experiment.h"
#include "core/experiment/Series.h"
#include "core/model/Model.h"
#include "core/persist/ModelFile.h"
#include "core/report/ReportTables.h"
#include "gui/experiment/ExperimentResultsView.h"
#include "platform/SimulationThread.h"

using namespace mardo;
using namespace mardo::test;

namespace {

const QString kModelPath = QStringLiteral(MARDO_SOURCE_DIR "/examples/two-phases.mrd");
constexpr double kConfidence = 0.90;

SStudyOutcome MakeOutcome() {
    CModel model;
    if (!LoadModel(model, kModelPath.toStdString()).IsLoaded()) {
        return {};
    }
    SExperimentPlan plan;
    plan.nReplications = 3;
    plan.bRecordWaits = true;
    plan.waitOver = {5};
    plan.points = SweepPoints({{"D1.service", {"2..4", "3..5"}}});
    SStudyOutcome outcome;
    SExperimentResult result =
        RunExperiment(model, plan, [] { return std::make_unique<platform::CSimulationThread>(); });
    outcome.record.strModel = "two-phases.mrd";
    outcome.record.nReplicationCount = plan.nReplications;
    outcome.record.generator = plan.generator;
    outcome.record.bSwept = true;
    outcome.record.points = std::move(result.points);
    // Two comparisons share the confidence, so the intervals are Bonferroni's.
    SComparison comparison = ComparePoints(outcome.record.points[0], outcome.record.points[1], 2);
    comparison.strModel = "1";
    comparison.strAgainst = "0";
    comparison.bPoints = true;
    outcome.comparisons.push_back(comparison);
    return outcome;
}

QStringList HeaderTexts(const QTableView& table) {
    QStringList headers;
    for (int c = 0; c < table.model()->columnCount(); ++c) {
        headers << table.model()->headerData(c, Qt::Horizontal).toString();
    }
    return headers;
}

QString RowText(const QTableView& table, int nRow) {
    QStringList cells;
    for (int c = 0; c < table.model()->columnCount(); ++c) {
        cells << table.model()->index(nRow, c).data().toString();
    }
    return cells.join('\t');
}

void ClickCell(QTableView& table, int nRow, int nColumn, Qt::KeyboardModifiers modifiers = {}) {
    const QRect rect = table.visualRect(table.model()->index(nRow, nColumn));
    QTest::mouseClick(table.viewport(), Qt::LeftButton, modifiers, rect.center());
}

// The fields of a CSV without quoted fields.
std::vector<QStringList> CsvLines(const QString& strText, QChar separator) {
    std::vector<QStringList> lines;
    for (const QString& strLine : strText.split('\n', Qt::SkipEmptyParts)) {
        lines.push_back(strLine.split(separator));
    }
    return lines;
}

}  // namespace

class ExperimentResultsViewTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void SummaryAtTheConfidenceAndRowsCopiedWhole();
    void ReplicationsDifferencesAndRerun();
    void RussianCsvRoundTripsTheNumbers();

private:
    SStudyOutcome m_outcome;
    std::unique_ptr<CExperimentResultsView> m_pView;
};

void ExperimentResultsViewTest::initTestCase() {
    m_outcome = MakeOutcome();
    QCOMPARE(m_outcome.record.points.size(), std::size_t{2});
    QVERIFY(!m_outcome.comparisons[0].differences.empty());
    m_pView = std::make_unique<CExperimentResultsView>();
    m_pView->resize(680, 600);
    m_pView->show();
    QVERIFY(m_pView->IsEmpty());
    m_pView->Show(m_outcome, kConfidence, QStringLiteral("D1: Время обслуживания"));
    QVERIFY(!m_pView->IsEmpty());
}

void ExperimentResultsViewTest::SummaryAtTheConfidenceAndRowsCopiedWhole() {
    QTableView& table = m_pView->GetSummaryTable();
    const QStringList headers = HeaderTexts(table);
    QCOMPARE(headers, (QStringList{"Значение", "Объект", "Показатель", "Среднее", "± 90%"}));
    const std::vector<SSeriesRow> rows = SeriesRows(m_outcome.record.points, 3, kConfidence);
    QCOMPARE(table.model()->rowCount(), static_cast<int>(rows.size()));
    // Every figure's interval is Student's at 90% (a share's Wilson's bounds), as the report
    // formats numbers; the waiting times are among the figures.
    bool bWaits = false;
    for (int r = 0; r < table.model()->rowCount(); ++r) {
        const SSeriesRow& row = rows[static_cast<std::size_t>(r)];
        const std::vector<double> values =
            ReplicationValues(m_outcome.record.points[row.nPoint], row);
        const QString strShown = table.model()->index(r, 4).data().toString();
        if (row.stat.bShare) {
            QVERIFY2(strShown.startsWith('[') && strShown.endsWith(']'), qPrintable(strShown));
        } else {
            const SInterval interval = MeanInterval(values, kConfidence);
            QCOMPARE(strShown,
                     QString::fromStdString(CReportTables::FormatFixed(interval.dHalfWidth, 3)));
            QCOMPARE(table.model()->index(r, 3).data().toString(),
                     QString::fromStdString(CReportTables::FormatFixed(interval.dMean, 3)));
        }
        bWaits = bWaits || table.model()->index(r, 2).data().toString() == "Ожидание, 95%";
    }
    QVERIFY(bWaits);
    // A long title wraps: its row is taller than a row of one line.
    int nTallest = 0;
    for (int r = 0; r < table.model()->rowCount(); ++r) {
        nTallest = std::max(nTallest, table.rowHeight(r));
    }
    QVERIFY(nTallest > table.fontMetrics().height() * 3 / 2);

    // A click selects the whole row, a shift-click extends it; Ctrl+C copies them with the
    // header line first.
    table.setFocus();
    ClickCell(table, 1, 2);
    ClickCell(table, 3, 0, Qt::ShiftModifier);
    QTest::keyClick(&table, Qt::Key_C, Qt::ControlModifier);
    const QStringList lines = QApplication::clipboard()->text().split('\n', Qt::SkipEmptyParts);
    QCOMPARE(lines, (QStringList{headers.join('\t'), RowText(table, 1), RowText(table, 2),
                                 RowText(table, 3)}));
}

void ExperimentResultsViewTest::ReplicationsDifferencesAndRerun() {
    // The differences, with the note that Bonferroni widened them.
    const QTableView& differences = m_pView->GetDifferencesTable();
    QCOMPARE(differences.model()->rowCount(),
             static_cast<int>(m_outcome.comparisons[0].differences.size()));
    QCOMPARE(HeaderTexts(differences).at(4), QStringLiteral("Вывод"));
    const QString strVerdict = differences.model()->index(0, 4).data().toString();
    QVERIFY(strVerdict == "значимо" || strVerdict == "не значимо");
    bool bNoted = false;
    for (const QLabel* pLabel : m_pView->findChildren<QLabel*>()) {
        bNoted = bNoted || pLabel->text().contains("Бонферрони на 2 сравнения");
    }
    QVERIFY(bNoted);

    // Choosing a summary row shows its figure in every replication of both points, numbered
    // as the documents number them; a replication is asked to be run again.
    QTableView& summary = m_pView->GetSummaryTable();
    ClickCell(summary, 0, 1);
    QTableView& replications = m_pView->GetReplicationsTable();
    m_pView->findChild<QTabWidget*>()->setCurrentWidget(replications.parentWidget());
    QCOMPARE(replications.model()->rowCount(), 6);
    QVERIFY(replications.model()
                ->headerData(3, Qt::Horizontal, Qt::ToolTipRole)
                .toString()
                .endsWith(summary.model()->index(0, 2).data().toString()));
    QCOMPARE(replications.model()->index(4, 1).data().toString(), QStringLiteral("1"));
    QSignalSpy rerun(m_pView.get(), &CExperimentResultsView::RerunRequested);
    ClickCell(replications, 4, 0);
    QPushButton* pRerun = nullptr;
    for (QPushButton* pButton : m_pView->findChildren<QPushButton*>()) {
        pRerun = pButton->text().contains("Повторить") ? pButton : pRerun;
    }
    QVERIFY(pRerun != nullptr && pRerun->isEnabled());
    pRerun->click();
    QCOMPARE(rerun.size(), 1);
    QCOMPARE(rerun[0][0].value<std::size_t>(), std::size_t{1});
    QCOMPARE(rerun[0][1].value<std::int32_t>(), 1);
}

void ExperimentResultsViewTest::RussianCsvRoundTripsTheNumbers() {
    QTemporaryDir dir;
    const QString strPath = dir.filePath(QStringLiteral("ru.csv"));
    QString strChosen;
    const CFileDialogFunction previous =
        SetFileDialogFunction([&](QWidget*, const SFileDialogRequest& request) {
            const QStringList filters = request.strFilter.split(QStringLiteral(";;"));
            *request.pChosenFilter = filters.filter(QStringLiteral("русской")).value(0);
            strChosen = *request.pChosenFilter;
            return strPath;
        });
    m_pView->SaveAs(QStringLiteral("two-phases"));
    SetFileDialogFunction(previous);
    QVERIFY(!strChosen.isEmpty());
    QFile file(strPath);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    QVERIFY(bytes.startsWith("\xEF\xBB\xBF"));
    const std::vector<QStringList> russian = CsvLines(QString::fromUtf8(bytes.mid(3)), ';');
    const std::vector<QStringList> plain = CsvLines(
        QString::fromStdString(ExperimentCsv(m_outcome.record, m_outcome.comparisons)), ',');
    // The same lines and fields; every number with a decimal comma reads back as the plain
    // one's; the comparisons' lines are there.
    QCOMPARE(russian.size(), plain.size());
    int nDecimals = 0;
    for (std::size_t i = 0; i < plain.size(); ++i) {
        QCOMPARE(russian[i].size(), plain[i].size());
        for (qsizetype f = 0; f < plain[i].size(); ++f) {
            bool bNumber = false;
            const double d = plain[i][f].toDouble(&bNumber);
            if (!bNumber || !plain[i][f].contains('.')) {
                QCOMPARE(russian[i][f], plain[i][f]);
                continue;
            }
            ++nDecimals;
            QVERIFY(!russian[i][f].contains('.'));
            QCOMPARE(QString(russian[i][f]).replace(',', '.').toDouble(), d);
        }
    }
    QVERIFY(nDecimals > 0);
    QVERIFY(bytes.contains(";difference;"));

    // A file that cannot be written says why.
    CMessageRecorder messages;
    CFileDialogRecorder files;
    files.Answer(dir.filePath(QStringLiteral("no/such/folder/ru.csv")));
    m_pView->SaveAs(QStringLiteral("two-phases"));
    QCOMPARE(messages.Messages().size(), std::size_t{1});
    QVERIFY(messages.Messages()[0].nIcon == EMessageIcon::kError);
}

QTEST_MAIN(ExperimentResultsViewTest)
#include "ExperimentResultsViewTest.moc"
