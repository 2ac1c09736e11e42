#include "gui/experiment/ExperimentResultsView.h"

#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QSplitter>
#include <QStyledItemDelegate>
#include <QTabWidget>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>
#include <QtCharts/QChart>
#include <QtCharts/QChartView>
#include <algorithm>
#include <cmath>

#include "core/experiment/Series.h"
#include "core/report/Plural.h"
#include "core/report/ReportTables.h"
#include "gui/common/ChartPicture.h"
#include "gui/common/Dialogs.h"
#include "gui/common/TableCopy.h"
#include "gui/common/TextConversion.h"
#include "gui/experiment/ExperimentChart.h"
#include "gui/experiment/ResultsTableModel.h"

namespace mardo {

namespace {

using SCell = CResultsTableModel::SCell;

const char* const kPlainCsvFilter = "Таблица CSV (*.csv)";
const char* const kRussianCsvFilter =
    "Таблица CSV для русской версии электронных таблиц: «;» и десятичная запятая (*.csv)";
const char* const kPngFilter = "Диаграмма PNG (*.png)";
const char* const kSvgFilter = "Диаграмма SVG (*.svg)";
constexpr int kRowsDelay = 150;  // ms after a table's columns last changed

// The charts the view offers, as the chart's choice lists them.
enum class EChart { kMeans, kDifferences, kWarmup };

QString ConfidenceText(double dConfidence) {
    return QStringLiteral("%1%").arg(std::round(dConfidence * 1000.0) / 10.0);
}

QString FixedText(double d) {
    return std::isfinite(d) ? Text(CReportTables::FormatFixed(d, 3)) : QString();
}

// Measures a wrapped text a little narrower than its column: the view paints it inside the
// cell's margins and grid line, and a text measured at the full width would lose its last line
// to an ellipsis.
class CWrappingDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QStyleOptionViewItem narrower(option);
        narrower.rect.setWidth(std::max(1, option.rect.width() - kCellMargins));
        return QStyledItemDelegate::sizeHint(narrower, index);
    }

private:
    static constexpr int kCellMargins = 8;
};

// A table of results: read-only, sortable, whole rows selected and copied, long texts wrapped
// over as many lines as they need.
// The least width of a column whose texts wrap: two or three words a line.
constexpr int kLeastWideColumn = 200;

QTableView* NewResultsTable(QWidget* pParent, CResultsTableModel* pModel) {
    auto* pProxy = new QSortFilterProxyModel(pParent);
    pProxy->setSourceModel(pModel);
    pProxy->setSortRole(CResultsTableModel::kSortRole);
    auto* pTable = new QTableView(pParent);
    pTable->setModel(pProxy);
    pTable->setEditTriggers(QAbstractItemView::NoEditTriggers);
    pTable->setSortingEnabled(true);
    pTable->sortByColumn(-1, Qt::AscendingOrder);
    pTable->verticalHeader()->hide();
    pTable->setWordWrap(true);
    pTable->setTextElideMode(Qt::ElideNone);
    pTable->setItemDelegate(new CWrappingDelegate(pTable));
    pTable->horizontalHeader()->setStretchLastSection(false);
    EnableRowCopy(*pTable);
    // A column's width decides how many lines a wrapped text takes. Columns resize in bursts
    // (the wide one at every step of dragging the window's edge), and measuring the rows of a
    // long sweep (9 000 rows) takes a fifth of a second: they are measured once the burst ends.
    auto* pRowsTimer = new QTimer(pTable);
    pRowsTimer->setSingleShot(true);
    pRowsTimer->setInterval(kRowsDelay);
    QObject::connect(pRowsTimer, &QTimer::timeout, pTable,
                     [pTable] { pTable->resizeRowsToContents(); });
    QObject::connect(pTable->horizontalHeader(), &QHeaderView::sectionResized, pRowsTimer,
                     qOverload<>(&QTimer::start));
    return pTable;
}

// Fits the columns to their texts, except the wide one, which takes the width the others
// leave (its texts wrap), but never less than a readable width: the table scrolls sideways
// instead. Then every row takes the lines its texts need.
void FitColumns(QTableView& table, int nWideColumn) {
    QHeaderView& header = *table.horizontalHeader();
    int nOthers = 0;
    for (int c = 0; c < header.count(); ++c) {
        if (c != nWideColumn) {
            header.setSectionResizeMode(c, QHeaderView::ResizeToContents);
            nOthers += header.sectionSize(c);
        }
    }
    const int nLeft = table.viewport()->width() - nOthers;
    if (nWideColumn >= 0 && nWideColumn < header.count()) {
        if (nLeft >= kLeastWideColumn) {
            header.setSectionResizeMode(nWideColumn, QHeaderView::Stretch);
        } else {
            header.setSectionResizeMode(nWideColumn, QHeaderView::Interactive);
            header.resizeSection(nWideColumn, kLeastWideColumn);
        }
    }
    table.resizeRowsToContents();
}

// The row of the model behind the row shown, or -1.
int SourceRow(const QTableView& table, int nShownRow) {
    const auto* pProxy = qobject_cast<const QSortFilterProxyModel*>(table.model());
    if (pProxy == nullptr || nShownRow < 0) {
        return -1;
    }
    return pProxy->mapToSource(pProxy->index(nShownRow, 0)).row();
}

}  // namespace

struct CExperimentResultsView::SImpl {
    // A row of the summary: its figure at a point of the base (record 0) or of an alternative.
    struct SSummaryRow {
        SSeriesRow row;
        std::size_t nRecord = 0;
        SFigureName name;
    };
    // A row of the replications' table: where the replication is.
    struct SReplicationRow {
        std::size_t nRecord = 0;
        std::size_t nPoint = 0;
        std::int32_t nIndex = 0;
    };

    QTabWidget* pTabs = nullptr;
    QTableView* pSummary = nullptr;
    QTableView* pReplications = nullptr;
    QTableView* pDifferences = nullptr;
    QWidget* pDifferencesPage = nullptr;
    QLabel* pDifferencesNote = nullptr;
    QPushButton* pRerun = nullptr;
    QComboBox* pFigure = nullptr;
    QComboBox* pChartKind = nullptr;
    QChartView* pChart = nullptr;
    CResultsTableModel* pSummaryModel = nullptr;
    CResultsTableModel* pReplicationsModel = nullptr;
    CResultsTableModel* pDifferencesModel = nullptr;

    bool bEmpty = true;
    SStudyOutcome outcome;
    double dConfidence = 0.95;
    QString strVaried;
    std::vector<SSummaryRow> rows;
    // The figures the chart and the replications may show, in the summary's order, each with
    // its first summary row.
    std::vector<std::size_t> figures;
    std::vector<SReplicationRow> replicationRows;

    const SExperimentRecord& Record(std::size_t nRecord) const {
        return nRecord == 0 ? outcome.record : outcome.alternatives.at(nRecord - 1);
    }
    bool HasAlternatives() const { return !outcome.alternatives.empty(); }
    bool IsSwept() const { return !strVaried.isEmpty(); }
    // The text the first column shows for a row's point: the swept value, or the model's name.
    QString PointText(std::size_t nRecord, std::size_t nPoint) const;
    // A comparison's side as the differences name it: a model, or a point of the sweep (after
    // "против", bGenitive, "точки").
    QString SideText(const SComparison& comparison, const std::string& strSide,
                     bool bGenitive = false) const;
    const SSummaryRow* ChosenRow() const;

    void FillSummary();
    void FillFigures();
    void FillReplications();
    void FillDifferences();
    void FillChartKinds();
    void ShowChart();
    void SetChart(QChart* pNew);
};

QString CExperimentResultsView::SImpl::PointText(std::size_t nRecord, std::size_t nPoint) const {
    const SExperimentRecord& record = Record(nRecord);
    if (IsSwept() && nPoint < record.points.size() && !record.points[nPoint].settings.empty()) {
        return Text(record.points[nPoint].settings[0].strValue);
    }
    return Text(record.strModel);
}

QString CExperimentResultsView::SImpl::SideText(const SComparison& comparison,
                                                const std::string& strSide, bool bGenitive) const {
    if (!comparison.bPoints) {
        return Text(strSide);
    }
    const std::size_t nPoint = std::stoul(strSide);
    return Text(bGenitive ? "точки %1 (%2)" : "Точка %1 (%2)")
        .arg(nPoint)
        .arg(PointText(0, nPoint));
}

const CExperimentResultsView::SImpl::SSummaryRow* CExperimentResultsView::SImpl::ChosenRow() const {
    const int nChosen = pFigure->currentIndex();
    if (nChosen < 0 || static_cast<std::size_t>(nChosen) >= figures.size()) {
        return nullptr;
    }
    return &rows[figures[static_cast<std::size_t>(nChosen)]];
}

void CExperimentResultsView::SImpl::FillSummary() {
    const bool bFirstColumn = IsSwept() || HasAlternatives();
    QStringList headers;
    QStringList tips;
    if (bFirstColumn) {
        // The values are short, the parameter's title is not: the chart's axis and the
        // header's tooltip show it.
        headers << (IsSwept() ? Text("Значение") : Text("Вариант"));
        tips << strVaried;
    }
    const QString strConfidence = Text("± ") + ConfidenceText(dConfidence);
    headers << Text("Объект") << Text("Показатель") << Text("Среднее") << strConfidence;
    tips << QString() << QString() << QString()
         << Text(
                "Полуширина доверительного интервала среднего; для доли — границы интервала "
                "Уилсона");
    std::vector<std::vector<SCell>> cells;
    for (const SSummaryRow& summaryRow : rows) {
        const SSeriesRow& row = summaryRow.row;
        std::vector<SCell>& line = cells.emplace_back();
        if (bFirstColumn) {
            const QString strPoint = PointText(summaryRow.nRecord, row.nPoint);
            bool bNumber = false;
            const double dValue = strPoint.toDouble(&bNumber);
            // A value sorts as a number when it is one.
            line.push_back(bNumber && IsSwept() ? CResultsTableModel::Number(strPoint, dValue)
                                                : CResultsTableModel::Text(strPoint));
        }
        line.push_back(CResultsTableModel::Text(Text(row.strObject)));
        line.push_back(CResultsTableModel::Text(Text(row.strFigure)));
        line.push_back(CResultsTableModel::Number(Text(StatMeanText(row.stat)), row.stat.dMean));
        line.push_back(CResultsTableModel::Number(
            Text(StatIntervalText(row.stat)),
            row.stat.bShare ? row.stat.dCiHigh - row.stat.dCiLow : row.stat.dCi95));
    }
    pSummaryModel->Reset(headers, std::move(cells), tips);
    pSummary->sortByColumn(-1, Qt::AscendingOrder);
    FitColumns(*pSummary, bFirstColumn ? 2 : 1);
}

void CExperimentResultsView::SImpl::FillFigures() {
    figures.clear();
    for (std::size_t r = 0; r < rows.size(); ++r) {
        const bool bSeen = std::any_of(figures.begin(), figures.end(), [&](std::size_t f) {
            return rows[f].name == rows[r].name;
        });
        if (!bSeen) {
            figures.push_back(r);
        }
    }
    const QString strChosen = pFigure->currentText();
    const QSignalBlocker blocker(pFigure);
    pFigure->clear();
    for (const std::size_t r : figures) {
        pFigure->addItem(Text(rows[r].row.strObject + ": " + rows[r].row.strFigure));
    }
    // Unless one was chosen before, the first figure that varies at all.
    int nChosen = pFigure->findText(strChosen);
    for (std::size_t f = 0; nChosen < 0 && f < figures.size(); ++f) {
        if (rows[figures[f]].row.stat.dStdev > 0.0) {
            nChosen = static_cast<int>(f);
        }
    }
    pFigure->setCurrentIndex(std::max(0, nChosen));
}

void CExperimentResultsView::SImpl::FillReplications() {
    replicationRows.clear();
    const SSummaryRow* pChosen = ChosenRow();
    const bool bFirstColumn = IsSwept() || HasAlternatives();
    const bool bExact = outcome.record.generator == EGenerator::kExact;
    QStringList headers;
    if (bFirstColumn) {
        headers << (IsSwept() ? Text("Значение") : Text("Вариант"));
    }
    // Numbered as the documents and the batch runner's --replication number them.
    headers << Text("Прогон")
            << (bExact ? Text("Состояние генератора") : Text("Начальное значение"))
            << Text("Значение показателя");
    // The figure's title is long for a header: the chart's choice shows it, the tooltip too.
    QStringList tips(headers.size() - 1);
    tips << (pChosen != nullptr ? Text(pChosen->row.strObject + ": " + pChosen->row.strFigure)
                                : QString());
    std::vector<std::vector<SCell>> cells;
    for (std::size_t n = 0; pChosen != nullptr && n <= outcome.alternatives.size(); ++n) {
        const SExperimentRecord& record = Record(n);
        for (std::size_t p = 0; p < record.points.size(); ++p) {
            const SPointRecord& point = record.points[p];
            if (point.replications.empty()) {
                continue;
            }
            // The figure by its name: an alternative's tables may hold other blocks.
            const std::vector<SFigureRef> refs = FigureRefs(point.replications[0]);
            const auto itRef = std::find_if(refs.begin(), refs.end(), [&](const SFigureRef& ref) {
                return NameOf(point.replications[0], ref) == pChosen->name;
            });
            if (itRef == refs.end()) {
                continue;
            }
            for (const SReplication& replication : point.replications) {
                std::vector<SCell>& line = cells.emplace_back();
                if (bFirstColumn) {
                    line.push_back(CResultsTableModel::Text(PointText(n, p)));
                }
                const SFigure figure = FigureOf(replication, *itRef);
                line.push_back(CResultsTableModel::Number(QString::number(replication.nIndex),
                                                          replication.nIndex));
                line.push_back(CResultsTableModel::Number(QString::number(replication.nSeed),
                                                          replication.nSeed));
                line.push_back(CResultsTableModel::Number(Text(FigureCellText(*itRef, figure)),
                                                          AsNumber(figure)));
                replicationRows.push_back({n, p, replication.nIndex});
            }
        }
    }
    pReplicationsModel->Reset(headers, std::move(cells), tips);
    pReplications->sortByColumn(-1, Qt::AscendingOrder);
    FitColumns(*pReplications, static_cast<int>(headers.size()) - 1);
    pRerun->setEnabled(false);
}

void CExperimentResultsView::SImpl::FillDifferences() {
    const std::vector<SComparison>& comparisons = outcome.comparisons;
    const bool bSeveral = comparisons.size() > 1;
    QStringList headers;
    if (bSeveral) {
        headers << Text("Сравнение");
    }
    // The answer first: the difference, its interval and whether it is significant; the two
    // means after them, where a narrow window may scroll them out of sight.
    headers << Text("Объект") << Text("Показатель") << Text("Разность")
            << Text("± ") + ConfidenceText(dConfidence) << Text("Вывод") << Text("Базовый")
            << Text("Вариант");
    std::vector<std::vector<SCell>> cells;
    QString strNote;
    for (const SComparison& comparison : comparisons) {
        const QString strOther = SideText(comparison, comparison.strModel);
        strNote +=
            Text("%1 против %2. ").arg(strOther, SideText(comparison, comparison.strAgainst, true));
        for (const SDifference& difference : comparison.differences) {
            std::vector<SCell>& line = cells.emplace_back();
            if (bSeveral) {
                line.push_back(CResultsTableModel::Text(strOther));
            }
            const SInterval& interval = difference.interval;
            line.push_back(CResultsTableModel::Text(Text(FigureObject(difference.name))));
            line.push_back(CResultsTableModel::Text(Text(FigureTitle(difference.name))));
            line.push_back(CResultsTableModel::Number(FixedText(interval.dMean), interval.dMean));
            line.push_back(
                CResultsTableModel::Number(FixedText(interval.dHalfWidth), interval.dHalfWidth));
            line.push_back(CResultsTableModel::Text(interval.ExcludesZero() ? Text("значимо")
                                                                            : Text("не значимо")));
            line.push_back(
                CResultsTableModel::Number(FixedText(difference.dBase), difference.dBase));
            line.push_back(
                CResultsTableModel::Number(FixedText(difference.dOther), difference.dOther));
        }
    }
    strNote += Text(
                   "«Базовый» и «Вариант» — средние в них; разность — вариант минус базовый, по "
                   "парам прогонов с общими "
                   "случайными числами: среднее и полуширина %1 доверительного интервала")
                   .arg(ConfidenceText(dConfidence));
    const int nComparisons = comparisons.empty() ? 1 : comparisons[0].nComparisons;
    if (nComparisons > 1) {
        strNote += Text(", расширенного по Бонферрони на %1")
                       .arg(Text(CountText(nComparisons, "сравнение", "сравнения", "сравнений")));
    }
    pDifferencesNote->setText(strNote + QLatin1Char('.'));
    pDifferencesModel->Reset(headers, std::move(cells));
    pDifferences->sortByColumn(-1, Qt::AscendingOrder);
    FitColumns(*pDifferences, bSeveral ? 2 : 1);
    const int nTab = pTabs->indexOf(pDifferencesPage);
    pTabs->setTabVisible(nTab, !comparisons.empty());
}

void CExperimentResultsView::SImpl::FillChartKinds() {
    const QSignalBlocker blocker(pChartKind);
    pChartKind->clear();
    pChartKind->addItem(
        IsSwept() ? Text("Средние по значениям параметра") : Text("Распределение по прогонам"),
        static_cast<int>(EChart::kMeans));
    if (!outcome.comparisons.empty()) {
        pChartKind->addItem(Text("Разности с базовым вариантом"),
                            static_cast<int>(EChart::kDifferences));
    }
    if (outcome.warmup) {
        pChartKind->addItem(Text("Разогрев"), static_cast<int>(EChart::kWarmup));
    }
    pChartKind->setVisible(pChartKind->count() > 1);
}

void CExperimentResultsView::SImpl::SetChart(QChart* pNew) {
    QChart* pOld = pChart->chart();
    pChart->setChart(pNew);
    delete pOld;
}

void CExperimentResultsView::SImpl::ShowChart() {
    const SSummaryRow* pChosen = ChosenRow();
    const auto eChart = static_cast<EChart>(pChartKind->currentData().toInt());
    pFigure->setEnabled(eChart != EChart::kWarmup);
    if (eChart == EChart::kWarmup && outcome.warmup) {
        SetChart(experiment_chart::Warmup(*outcome.warmup));
        return;
    }
    if (pChosen == nullptr) {
        SetChart(experiment_chart::Empty());
        return;
    }
    const QString strTitle = Text(pChosen->row.strObject + ": " + pChosen->row.strFigure);
    if (eChart == EChart::kDifferences) {
        std::vector<experiment_chart::SMeanPoint> points;
        for (const SComparison& comparison : outcome.comparisons) {
            for (const SDifference& difference : comparison.differences) {
                if (difference.name == pChosen->name) {
                    const SInterval& interval = difference.interval;
                    points.push_back({SideText(comparison, comparison.strModel), interval.dMean,
                                      interval.dMean - interval.dHalfWidth,
                                      interval.dMean + interval.dHalfWidth});
                }
            }
        }
        SetChart(experiment_chart::Means(Text("Разность с базовым вариантом: ") + strTitle, points,
                                         Text("Вариант"), true));
        return;
    }
    if (IsSwept()) {
        std::vector<experiment_chart::SMeanPoint> points;
        for (const SSummaryRow& row : rows) {
            if (row.nRecord == 0 && row.name == pChosen->name) {
                points.push_back({Text(row.row.strValue), row.row.stat.dMean, row.row.stat.dCiLow,
                                  row.row.stat.dCiHigh});
            }
        }
        SetChart(experiment_chart::Means(strTitle, points, strVaried, false));
        return;
    }
    const SExperimentRecord& record = Record(pChosen->nRecord);
    SetChart(experiment_chart::Histogram(
        strTitle, ReplicationValues(record.points.at(pChosen->row.nPoint), pChosen->row)));
}

CExperimentResultsView::CExperimentResultsView(QWidget* pParent)
    : QWidget(pParent), m_pImpl(new SImpl) {
    SImpl& impl = *m_pImpl;
    impl.pSummaryModel = new CResultsTableModel(this);
    impl.pReplicationsModel = new CResultsTableModel(this);
    impl.pDifferencesModel = new CResultsTableModel(this);
    impl.pTabs = new QTabWidget(this);
    impl.pSummary = NewResultsTable(impl.pTabs, impl.pSummaryModel);
    impl.pTabs->addTab(impl.pSummary, Text("Сводка"));

    auto* pReplicationsPage = new QWidget(impl.pTabs);
    impl.pReplications = NewResultsTable(pReplicationsPage, impl.pReplicationsModel);
    impl.pReplications->setContextMenuPolicy(Qt::CustomContextMenu);
    impl.pRerun =
        new QPushButton(Text("&Повторить прогон в окне моделирования"), pReplicationsPage);
    impl.pRerun->setEnabled(false);
    auto* pReplicationsLayout = new QVBoxLayout(pReplicationsPage);
    pReplicationsLayout->setContentsMargins(0, 0, 0, 0);
    pReplicationsLayout->addWidget(impl.pReplications, 1);
    auto* pRerunLayout = new QHBoxLayout;
    pRerunLayout->addWidget(impl.pRerun);
    pRerunLayout->addStretch();
    pReplicationsLayout->addLayout(pRerunLayout);
    impl.pTabs->addTab(pReplicationsPage, Text("Прогоны"));

    impl.pDifferencesPage = new QWidget(impl.pTabs);
    impl.pDifferences = NewResultsTable(impl.pDifferencesPage, impl.pDifferencesModel);
    impl.pDifferencesNote = new QLabel(impl.pDifferencesPage);
    impl.pDifferencesNote->setWordWrap(true);
    auto* pDifferencesLayout = new QVBoxLayout(impl.pDifferencesPage);
    pDifferencesLayout->setContentsMargins(0, 0, 0, 0);
    pDifferencesLayout->addWidget(impl.pDifferencesNote);
    pDifferencesLayout->addWidget(impl.pDifferences, 1);
    impl.pTabs->addTab(impl.pDifferencesPage, Text("Разности"));
    impl.pTabs->setTabVisible(impl.pTabs->indexOf(impl.pDifferencesPage), false);

    impl.pFigure = new QComboBox(this);
    impl.pChartKind = new QComboBox(this);
    impl.pChartKind->setVisible(false);
    // The figures' titles are long: the choice may be narrower than its longest item.
    impl.pFigure->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    impl.pFigure->setMinimumContentsLength(20);
    impl.pChart = new QChartView(experiment_chart::Empty(), this);
    impl.pChart->setRenderHint(QPainter::Antialiasing);
    impl.pChart->setMinimumHeight(220);
    auto* pChartBox = new QWidget(this);
    auto* pChoices = new QHBoxLayout;
    pChoices->addWidget(impl.pFigure, 1);
    pChoices->addWidget(impl.pChartKind);
    auto* pChartLayout = new QVBoxLayout(pChartBox);
    pChartLayout->setContentsMargins(0, 0, 0, 0);
    pChartLayout->addLayout(pChoices);
    pChartLayout->addWidget(impl.pChart, 1);

    auto* pSplitter = new QSplitter(Qt::Vertical, this);
    pSplitter->addWidget(impl.pTabs);
    pSplitter->addWidget(pChartBox);
    pSplitter->setChildrenCollapsible(false);
    auto* pLayout = new QVBoxLayout(this);
    pLayout->setContentsMargins(0, 0, 0, 0);
    pLayout->addWidget(pSplitter);

    connect(impl.pFigure, &QComboBox::currentIndexChanged, this, [&impl] {
        impl.FillReplications();
        impl.ShowChart();
    });
    connect(impl.pChartKind, &QComboBox::currentIndexChanged, this, [&impl] { impl.ShowChart(); });
    // Selecting a row of the summary chooses its figure for the chart and the replications.
    connect(impl.pSummary->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [&impl](const QModelIndex& current) {
                const int nRow = SourceRow(*impl.pSummary, current.row());
                if (nRow < 0 || static_cast<std::size_t>(nRow) >= impl.rows.size()) {
                    return;
                }
                for (std::size_t f = 0; f < impl.figures.size(); ++f) {
                    if (impl.rows[impl.figures[f]].name ==
                        impl.rows[static_cast<std::size_t>(nRow)].name) {
                        impl.pFigure->setCurrentIndex(static_cast<int>(f));
                    }
                }
            });
    // The run window simulates the base model: an alternative's replication is not for it.
    const auto rerunRow = [&impl]() -> const SImpl::SReplicationRow* {
        const QModelIndex current = impl.pReplications->selectionModel()->currentIndex();
        const int nRow = SourceRow(*impl.pReplications, current.isValid() ? current.row() : -1);
        if (nRow < 0 || static_cast<std::size_t>(nRow) >= impl.replicationRows.size()) {
            return nullptr;
        }
        const SImpl::SReplicationRow& row = impl.replicationRows[static_cast<std::size_t>(nRow)];
        return row.nRecord == 0 ? &row : nullptr;
    };
    const auto rerun = [this, rerunRow] {
        if (const SImpl::SReplicationRow* pRow = rerunRow()) {
            emit RerunRequested(pRow->nPoint, pRow->nIndex);
        }
    };
    connect(impl.pReplications->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [&impl, rerunRow] { impl.pRerun->setEnabled(rerunRow() != nullptr); });
    connect(impl.pRerun, &QPushButton::clicked, this, rerun);
    connect(impl.pReplications, &QTableView::doubleClicked, this, rerun);
    connect(impl.pReplications, &QWidget::customContextMenuRequested, this,
            [this, &impl, rerunRow, rerun](const QPoint& pt) {
                if (rerunRow() == nullptr) {
                    return;
                }
                QMenu menu(this);
                connect(menu.addAction(impl.pRerun->text()), &QAction::triggered, this, rerun);
                menu.exec(impl.pReplications->viewport()->mapToGlobal(pt));
            });
}

CExperimentResultsView::~CExperimentResultsView() {
    // The children go after this body and may signal as they go (a selection cleared with its
    // model); what they would call lives in the impl, which goes now.
    SImpl& impl = *m_pImpl;
    for (QObject* pSender : std::initializer_list<QObject*>{impl.pFigure, impl.pChartKind,
                                                            impl.pSummary->selectionModel(),
                                                            impl.pReplications->selectionModel()}) {
        pSender->disconnect(this);
    }
    delete m_pImpl;
}

void CExperimentResultsView::Show(const SStudyOutcome& outcome, double dConfidence,
                                  const QString& strVaried) {
    SImpl& impl = *m_pImpl;
    impl.outcome = outcome;
    impl.dConfidence = dConfidence;
    impl.strVaried = strVaried;
    impl.rows.clear();
    for (std::size_t n = 0; n <= outcome.alternatives.size(); ++n) {
        const SExperimentRecord& record = impl.Record(n);
        for (SSeriesRow& row : SeriesRows(record.points, record.nReplicationCount, dConfidence)) {
            const SReplication& first = record.points[row.nPoint].replications.at(0);
            const SFigureName name = NameOf(first, {row.nTable, row.nRow, row.nColumn});
            impl.rows.push_back({std::move(row), n, name});
        }
    }
    impl.bEmpty = false;
    impl.FillSummary();
    impl.FillDifferences();
    impl.FillChartKinds();
    impl.FillFigures();
    impl.FillReplications();
    impl.ShowChart();
}

void CExperimentResultsView::Clear() {
    SImpl& impl = *m_pImpl;
    impl.outcome = {};
    impl.rows.clear();
    impl.bEmpty = true;
    impl.FillSummary();
    impl.FillDifferences();
    impl.FillChartKinds();
    impl.FillFigures();
    impl.FillReplications();
    impl.SetChart(experiment_chart::Empty());
}

bool CExperimentResultsView::IsEmpty() const { return m_pImpl->bEmpty; }

void CExperimentResultsView::SaveAs(const QString& strBaseName) {
    if (IsEmpty()) {
        return;
    }
    const SImpl& impl = *m_pImpl;
    QString strChosenFilter;
    const QString strPath =
        ShowFileDialog(this, {true, strBaseName + Text(" - серия.csv"),
                              QStringList{Text(kPlainCsvFilter), Text(kRussianCsvFilter),
                                          Text(kPngFilter), Text(kSvgFilter)}
                                  .join(QStringLiteral(";;")),
                              QStringLiteral("csv"), QString(), &strChosenFilter});
    if (strPath.isEmpty()) {
        return;
    }
    // The suffix typed decides; without one of a picture's, the filter chosen.
    QString strSuffix = QFileInfo(strPath).suffix().toLower();
    if (strSuffix != QStringLiteral("png") && strSuffix != QStringLiteral("svg")) {
        strSuffix = strChosenFilter == Text(kPngFilter)   ? QStringLiteral("png")
                    : strChosenFilter == Text(kSvgFilter) ? QStringLiteral("svg")
                                                          : QStringLiteral("csv");
    }
    const QString strFile = WithSuffix(strPath, strSuffix);
    QString strReason;
    if (strSuffix != QStringLiteral("csv")) {
        strReason = WriteChartPicture(*impl.pChart, strFile);
    } else {
        const ECsvDialect dialect = strChosenFilter == Text(kRussianCsvFilter)
                                        ? ECsvDialect::kRussian
                                        : ECsvDialect::kPlain;
        const std::string strCsv =
            ExperimentCsv(impl.outcome.record, impl.outcome.comparisons, dialect);
        QFile file(strFile);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
            file.write(strCsv.data(), static_cast<qint64>(strCsv.size())) !=
                static_cast<qint64>(strCsv.size()) ||
            !file.flush()) {
            strReason = file.errorString();
        }
    }
    if (!strReason.isEmpty()) {
        ShowMessage(this, Text("Не удалось записать файл %1: %2").arg(strFile, strReason),
                    EMessageIcon::kError);
    }
}

QTableView& CExperimentResultsView::GetSummaryTable() const { return *m_pImpl->pSummary; }
QTableView& CExperimentResultsView::GetReplicationsTable() const {
    return *m_pImpl->pReplications;
}
QTableView& CExperimentResultsView::GetDifferencesTable() const { return *m_pImpl->pDifferences; }
QChartView& CExperimentResultsView::GetChart() const { return *m_pImpl->pChart; }

}  // namespace mardo
