#include "gui/experiment/SeriesDlg.h"

#include <QApplication>
#include <QBuffer>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QSplitter>
#include <QTableWidget>
#include <QVBoxLayout>
#include <QtCharts/QBarCategoryAxis>
#include <QtCharts/QBarSeries>
#include <QtCharts/QBarSet>
#include <QtCharts/QCategoryAxis>
#include <QtCharts/QChart>
#include <QtCharts/QChartView>
#include <QtCharts/QLineSeries>
#include <QtCharts/QScatterSeries>
#include <QtCharts/QValueAxis>
#include <algorithm>
#include <cmath>
#include <limits>
#include <map>
#include <set>

#include "core/experiment/ParamTargets.h"
#include "core/model/Model.h"
#include "core/run/MessageQueue.h"
#include "core/sim/ModelCheck.h"
#include "gui/common/ChartPicture.h"
#include "gui/common/Dialogs.h"
#include "gui/common/TextConversion.h"
#include "gui/sim/ModelStartDlg.h"
#include "platform/SimulationThread.h"

namespace mardo {

namespace {

const char* const kTitle = "Серия прогонов";
const char* const kStartText = "&Старт";
const char* const kStopText = "&Стоп";
const char* const kSaveText = "Сохранить &как...";
const char* const kCloseText = "З&акрыть";
constexpr int kPollInterval = 200;  // ms

// A parameter's value as the list of values takes it: the list separates values by commas, so
// a value that is a list itself is written with slashes, as the batch runner's sweeps take it.
std::string InListForm(std::string strValue) {
    std::replace(strValue.begin(), strValue.end(), ',', '/');
    return strValue;
}

// The owner of parameters as the window names it: a block by its name, the model as "Модель".
QString OwnerTitle(const std::string& strOwner) {
    return strOwner == kModelOwner ? Text("Модель") : Text(strOwner);
}
constexpr std::size_t kMostPoints = 1000;

QTableWidgetItem* NumberItem(double d) {
    auto* pItem = new QTableWidgetItem;
    pItem->setData(Qt::DisplayRole, std::isfinite(d) ? QVariant(d) : QVariant(QString()));
    pItem->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return pItem;
}

// A value of the varied parameter sorts as a number when it is one.
QTableWidgetItem* ValueItem(const std::string& strValue) {
    bool bNumber = false;
    const double d = QString::fromStdString(strValue).toDouble(&bNumber);
    return bNumber ? NumberItem(d) : new QTableWidgetItem(Text(strValue));
}

// Widens the axis by a tenth of its span on each side (or by one around a single value), with
// bFloor not below zero when it starts at zero or above; rounds its ends and ticks and labels
// them without trailing zeros.
void WithMargin(QValueAxis& axis, bool bFloor) {
    const double dSpan = axis.max() - axis.min();
    const double dMargin = dSpan > 0.0 ? dSpan / 10.0 : std::max(1.0, std::abs(axis.min()) / 10.0);
    // A figure that is never negative (a count, a time) keeps its axis from zero up.
    const double dLow = bFloor && axis.min() >= 0.0 ? std::max(0.0, axis.min() - dMargin)
                                                    : axis.min() - dMargin;
    axis.setRange(dLow, axis.max() + dMargin);
    axis.applyNiceNumbers();
    axis.setLabelFormat(QStringLiteral("%g"));
}

}  // namespace

CSeriesDlg::CSeriesDlg(CModel& model, const QString& strModelFile, QWidget* pParent)
    : QDialog(pParent), m_model(model), m_strModelFile(strModelFile) {
    setWindowTitle(Text(kTitle));
    for (const SBlockParam& param : GetParamTargets(model)) {
        m_targets.push_back(
            {SplitTarget(param.strName)->first, param.strName, param.strTitle, param.strValue});
    }
    CreateControls();
    m_pollTimer.setInterval(kPollInterval);
    connect(&m_pollTimer, &QTimer::timeout, this, &CSeriesDlg::Poll);
}

CSeriesDlg::~CSeriesDlg() { StopAndWait(); }

void CSeriesDlg::CreateControls() {
    const auto spin = [this](int nMin, int nMax, int nValue) {
        auto* pSpin = new QSpinBox(this);
        pSpin->setRange(nMin, nMax);
        pSpin->setValue(nValue);
        return pSpin;
    };
    m_pReplications = spin(1, 1000, 10);
    m_pSeed = spin(1, std::numeric_limits<int>::max(), 1);
    m_pWarmup = spin(0, std::numeric_limits<int>::max(), 0);
    // Named for the tests and the scripts that drive the window.
    m_pReplications->setObjectName(QStringLiteral("replications"));
    m_pSeed->setObjectName(QStringLiteral("seed"));
    m_pWarmup->setObjectName(QStringLiteral("warmup"));
    auto* pSettings = new QFormLayout;
    pSettings->addRow(Text("Количество прогонов"), m_pReplications);
    pSettings->addRow(Text("Начальное значение генератора"), m_pSeed);
    pSettings->addRow(Text("Разогрев, тактов"), m_pWarmup);

    m_pVary = new QCheckBox(Text("&Изменять параметр"), this);
    m_pBlock = new QComboBox(this);
    m_pParam = new QComboBox(this);
    std::set<std::string> seen;
    for (const STarget& target : m_targets) {
        if (seen.insert(target.strOwner).second) {
            m_pBlock->addItem(OwnerTitle(target.strOwner), Text(target.strOwner));
        }
    }
    connect(m_pBlock, &QComboBox::currentIndexChanged, this, &CSeriesDlg::FillParameters);
    FillParameters();
    m_pByList = new QRadioButton(Text("Список"), this);
    m_pByList->setChecked(true);
    auto* pByRange = new QRadioButton(Text("От, до, шаг"), this);
    m_pList = new QLineEdit(this);
    m_pVary->setObjectName(QStringLiteral("vary"));
    m_pBlock->setObjectName(QStringLiteral("block"));
    m_pParam->setObjectName(QStringLiteral("param"));
    m_pList->setObjectName(QStringLiteral("values"));
    connect(m_pParam, &QComboBox::currentIndexChanged, this, &CSeriesDlg::ShowModelValue);
    ShowModelValue();
    m_pFrom = spin(std::numeric_limits<int>::min(), std::numeric_limits<int>::max(), 1);
    m_pTo = spin(std::numeric_limits<int>::min(), std::numeric_limits<int>::max(), 10);
    m_pStep = spin(1, std::numeric_limits<int>::max(), 1);
    auto* pVary = new QGridLayout;
    pVary->addWidget(m_pVary, 0, 0, 1, 4);
    // The parameters' titles are long: each choice has a row of its own.
    pVary->addWidget(new QLabel(Text("Блок"), this), 1, 0);
    pVary->addWidget(m_pBlock, 1, 1, 1, 3);
    pVary->addWidget(new QLabel(Text("Параметр"), this), 2, 0);
    pVary->addWidget(m_pParam, 2, 1, 1, 3);
    pVary->addWidget(m_pByList, 3, 0);
    pVary->addWidget(m_pList, 3, 1, 1, 3);
    pVary->addWidget(pByRange, 4, 0);
    auto* pRange = new QHBoxLayout;
    pRange->addWidget(m_pFrom);
    pRange->addWidget(m_pTo);
    pRange->addWidget(m_pStep);
    pVary->addLayout(pRange, 4, 1, 1, 3);
    const auto enable = [this, pByRange] {
        const bool bVary = m_pVary->isChecked();
        for (QWidget* pWidget : std::initializer_list<QWidget*>{m_pBlock, m_pParam, m_pByList,
                                                                pByRange}) {
            pWidget->setEnabled(bVary);
        }
        m_pList->setEnabled(bVary && m_pByList->isChecked());
        for (QSpinBox* pSpin : {m_pFrom, m_pTo, m_pStep}) {
            pSpin->setEnabled(bVary && !m_pByList->isChecked());
        }
    };
    connect(m_pVary, &QCheckBox::toggled, this, enable);
    connect(m_pByList, &QRadioButton::toggled, this, enable);
    enable();

    m_pStartButton = new QPushButton(Text(kStartText), this);
    m_pStartButton->setDefault(true);
    m_pSaveButton = new QPushButton(Text(kSaveText), this);
    m_pSaveButton->setEnabled(false);
    auto* pCloseButton = new QPushButton(Text(kCloseText), this);
    connect(m_pStartButton, &QPushButton::clicked, this, &CSeriesDlg::OnStartStop);
    connect(m_pSaveButton, &QPushButton::clicked, this, &CSeriesDlg::SaveAs);
    connect(pCloseButton, &QPushButton::clicked, this, &CSeriesDlg::reject);
    auto* pButtons = new QHBoxLayout;
    pButtons->addWidget(m_pStartButton);
    pButtons->addWidget(m_pSaveButton);
    pButtons->addStretch();
    pButtons->addWidget(pCloseButton);

    m_pProgress = new QProgressBar(this);
    m_pProgress->setFormat(QString());
    m_pLog = new QListWidget(this);
    // A long message wraps in the narrow log rather than hiding its end.
    m_pLog->setWordWrap(true);
    m_pLog->setResizeMode(QListView::Adjust);
    m_pLog->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

    auto* pLeft = new QVBoxLayout;
    pLeft->addLayout(pSettings);
    pLeft->addLayout(pVary);
    pLeft->addWidget(m_pProgress);
    pLeft->addWidget(m_pLog, 1);
    pLeft->addLayout(pButtons);

    m_pTable = new QTableWidget(this);
    m_pTable->setSelectionBehavior(QAbstractItemView::SelectItems);
    m_pTable->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_pTable->verticalHeader()->hide();
    m_pTable->installEventFilter(this);
    m_pFigure = new QComboBox(this);
    connect(m_pFigure, &QComboBox::currentIndexChanged, this, &CSeriesDlg::ShowChart);
    m_pChart = new QChartView(new QChart, this);
    m_pChart->setRenderHint(QPainter::Antialiasing);
    m_pChart->setMinimumHeight(220);
    auto* pRight = new QSplitter(Qt::Vertical, this);
    pRight->addWidget(m_pTable);
    auto* pChartBox = new QWidget(pRight);
    auto* pChartLayout = new QVBoxLayout(pChartBox);
    pChartLayout->setContentsMargins(0, 0, 0, 0);
    pChartLayout->addWidget(m_pFigure);
    pChartLayout->addWidget(m_pChart, 1);
    pRight->addWidget(pChartBox);

    auto* pLeftBox = new QWidget(this);
    pLeftBox->setLayout(pLeft);
    pLeft->setContentsMargins(0, 0, 0, 0);
    pLeftBox->setMaximumWidth(420);
    auto* pLayout = new QHBoxLayout(this);
    pLayout->addWidget(pLeftBox);
    pLayout->addWidget(pRight, 1);
    resize(1100, 640);
}

void CSeriesDlg::FillParameters() {
    const std::string strOwner = m_pBlock->currentData().toString().toStdString();
    m_pParam->clear();
    for (const STarget& target : m_targets) {
        if (target.strOwner == strOwner) {
            m_pParam->addItem(Text(target.strTitle), Text(target.strName));
            // The same parameter for the batch runner's --set and --sweep.
            m_pParam->setItemData(m_pParam->count() - 1, Text(target.strName), Qt::ToolTipRole);
        }
    }
}

void CSeriesDlg::ShowModelValue() {
    const std::string strName = m_pParam->currentData().toString().toStdString();
    const STarget* pTarget = FindTarget(strName);
    m_pList->setPlaceholderText(
        pTarget != nullptr ? Text("в модели: " + InListForm(pTarget->strValue)) : QString());
}

const CSeriesDlg::STarget* CSeriesDlg::FindTarget(const std::string& strName) const {
    const auto it = std::find_if(m_targets.begin(), m_targets.end(),
                                 [&](const STarget& target) { return target.strName == strName; });
    return it != m_targets.end() ? &*it : nullptr;
}

std::optional<SExperimentPlan> CSeriesDlg::MakePlan(QString& strError) const {
    SExperimentPlan plan;
    plan.nReplications = m_pReplications->value();
    plan.nSeed = static_cast<std::uint32_t>(m_pSeed->value());
    // Series compare points, so each point sees the same arrivals from the same streams.
    plan.generator = EGenerator::kStreams;
    plan.nWarmup = static_cast<std::uint32_t>(m_pWarmup->value());
    plan.nJobs = std::max(1u, std::thread::hardware_concurrency());
    if (!m_pVary->isChecked()) {
        return plan;
    }
    SSweep sweep;
    sweep.strTarget = m_pParam->currentData().toString().toStdString();
    if (sweep.strTarget.empty()) {
        strError = Text("У модели нет параметров, которые можно изменять");
        return std::nullopt;
    }
    if (m_pByList->isChecked()) {
        sweep.values = ListValues(m_pList->text().toStdString());
    } else if (auto values = RangeValues(m_pFrom->value(), m_pTo->value(), m_pStep->value(),
                                         kMostPoints)) {
        sweep.values = std::move(*values);
    } else {
        strError = Text("Значения «от», «до» и «шаг» не дают ни одного значения или дают "
                        "больше 1000");
        return std::nullopt;
    }
    if (sweep.values.empty()) {
        strError = Text("Не указано ни одного значения параметра");
        return std::nullopt;
    }
    // A value the parameter cannot take is named, with the form the model's value has.
    if (std::string strValue; !CheckSweep(m_model, sweep, &strValue).empty()) {
        const STarget& target = *FindTarget(sweep.strTarget);
        strError = Text("Значение «" + strValue + "» не подходит для параметра «" +
                        target.strTitle + "»; в модели: " + InListForm(target.strValue));
        return std::nullopt;
    }
    plan.points = SweepPoints({sweep});
    return plan;
}

void CSeriesDlg::Log(const QString& strLine) {
    m_pLog->addItem(strLine);
    m_pLog->scrollToBottom();
}

void CSeriesDlg::OnStartStop() {
    if (IsRunning()) {
        m_bStop = true;
        m_pStartButton->setEnabled(false);
        return;
    }
    QString strError;
    std::optional<SExperimentPlan> plan = MakePlan(strError);
    if (!plan) {
        Log(strError);
        return;
    }
    // The check's messages in the log, as the run window shows them.
    CMessageQueue queue(LocalTimeOfDay);
    const bool bPassed = CheckModel(m_model, queue);
    for (const CMessageQueue::SLine& line : queue.Take(SIZE_MAX)) {
        Log(Text(line.Format()));
    }
    if (!bPassed) {
        return;
    }
    m_nReplications = plan->nReplications;
    m_record = SExperimentRecord{};
    m_record.strModel = m_strModelFile.toStdString();
    m_record.nSeed = plan->nSeed;
    m_record.generator = plan->generator;
    m_record.nReplicationCount = plan->nReplications;
    m_record.nWarmup = plan->nWarmup;
    m_record.bSwept = !plan->points[0].empty();
    m_strVaried = plan->points[0].empty() ? "" : plan->points[0][0].strTarget;
    m_strVariedTitle.clear();
    if (const STarget* pTarget = FindTarget(m_strVaried)) {
        m_strVariedTitle = OwnerTitle(pTarget->strOwner).toStdString() + ": " + pTarget->strTitle;
    }
    m_nDone = 0;
    m_nTotal = plan->points.size() * static_cast<std::size_t>(plan->nReplications);
    m_bStop = false;
    m_bDone = false;
    plan->pStop = &m_bStop;
    plan->onProgress = [this](std::size_t nDone, std::size_t) { m_nDone = nDone; };
    m_pProgress->setRange(0, static_cast<int>(m_nTotal));
    m_pProgress->setValue(0);
    m_pProgress->setFormat(Text(ProgressText(0, m_nTotal, 0)));
    m_pStartButton->setText(Text(kStopText));
    m_pSaveButton->setEnabled(false);
    m_clock.start();
    m_worker = std::thread([this, plan = std::move(*plan)] {
        m_result = RunExperiment(m_model, plan, [] {
            return std::make_unique<platform::CSimulationThread>();
        });
        m_bDone = true;
    });
    m_pollTimer.start();
}

void CSeriesDlg::Poll() {
    const std::size_t nDone = m_nDone;
    m_pProgress->setValue(static_cast<int>(nDone));
    m_pProgress->setFormat(
        Text(ProgressText(nDone, m_nTotal, static_cast<double>(m_clock.elapsed()) / 1000.0)));
    if (m_bDone) {
        Finish();
    }
}

void CSeriesDlg::Finish() {
    m_pollTimer.stop();
    m_worker.join();
    m_pStartButton->setText(Text(kStartText));
    m_pStartButton->setEnabled(true);
    if (m_result.bStopped) {
        Log(Text("Серия остановлена"));
        return;
    }
    if (m_result.notStarted) {
        for (const CMessageQueue::SLine& line : m_result.lines) {
            Log(Text(line.Format()));
        }
        Log(Text("Серия не выполнена"));
        // Nothing was simulated, whatever the count of skipped runs says.
        m_pProgress->setValue(0);
        m_pProgress->setFormat(QString());
        return;
    }
    Log(Text("Серия закончена: " + std::to_string(m_nTotal) + " прогонов"));
    m_record.points = std::move(m_result.points);
    m_rows = SeriesRows(m_record.points, m_nReplications);
    ShowTable();
    m_pSaveButton->setEnabled(true);
}

void CSeriesDlg::ShowTable() {
    const bool bVaried = !m_strVaried.empty();
    m_pTable->setSortingEnabled(false);
    m_pTable->clear();
    QStringList headers;
    if (bVaried) {
        // The values are short, the parameter's title is not: the chart's axis and the
        // header's tooltip show it.
        headers << Text("Значение");
    }
    headers << Text("Объект") << Text("Показатель") << Text("Среднее") << Text("± 95%");
    m_pTable->setColumnCount(static_cast<int>(headers.size()));
    m_pTable->setHorizontalHeaderLabels(headers);
    m_pTable->setRowCount(static_cast<int>(m_rows.size()));
    for (std::size_t r = 0; r < m_rows.size(); ++r) {
        const SSeriesRow& row = m_rows[r];
        const int nRow = static_cast<int>(r);
        int c = 0;
        if (bVaried) {
            m_pTable->setItem(nRow, c++, ValueItem(row.strValue));
        }
        m_pTable->setItem(nRow, c++, new QTableWidgetItem(Text(row.strObject)));
        m_pTable->setItem(nRow, c++, new QTableWidgetItem(Text(row.strFigure)));
        m_pTable->setItem(nRow, c++, NumberItem(row.stat.dMean));
        // A share's interval is not symmetric: its bounds stand in the column instead.
        m_pTable->setItem(nRow, c++,
                          row.stat.bShare
                              ? new QTableWidgetItem(QStringLiteral("[%1; %2]")
                                                         .arg(row.stat.dCiLow, 0, 'f', 2)
                                                         .arg(row.stat.dCiHigh, 0, 'f', 2))
                              : NumberItem(row.stat.dCi95));
    }
    m_pTable->setSortingEnabled(true);
    m_pTable->resizeColumnsToContents();
    // A figure's title is long: its column takes the width the others leave, so that the mean
    // and the interval always show, and the cell keeps the whole title in its tooltip.
    const int nFigureColumn = bVaried ? 2 : 1;
    m_pTable->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    m_pTable->horizontalHeader()->setSectionResizeMode(nFigureColumn, QHeaderView::Stretch);
    if (bVaried) {
        m_pTable->horizontalHeaderItem(0)->setToolTip(Text(m_strVariedTitle));
    }
    for (int r = 0; r < m_pTable->rowCount(); ++r) {
        QTableWidgetItem* pItem = m_pTable->item(r, nFigureColumn);
        pItem->setToolTip(pItem->text());
    }

    // The chart's choice: every figure of the first point.
    const QString strChosen = m_pFigure->currentText();
    const QSignalBlocker blocker(m_pFigure);
    m_pFigure->clear();
    for (std::size_t r = 0; r < m_rows.size() && m_rows[r].nPoint == m_rows[0].nPoint; ++r) {
        m_pFigure->addItem(Text(m_rows[r].strObject + ": " + m_rows[r].strFigure),
                           static_cast<qulonglong>(r));
    }
    // Unless one was chosen before, the first figure that varies at all.
    int nChosen = m_pFigure->findText(strChosen);
    for (int i = 0; nChosen < 0 && i < m_pFigure->count(); ++i) {
        if (m_rows[static_cast<std::size_t>(i)].stat.dStdev > 0.0) {
            nChosen = i;
        }
    }
    m_pFigure->setCurrentIndex(std::max(0, nChosen));
    ShowChart();
}

void CSeriesDlg::ShowChart() {
    auto* pChart = new QChart;
    pChart->legend()->hide();
    if (m_pFigure->count() > 0) {
        const SSeriesRow& chosen = m_rows[m_pFigure->currentData().toULongLong()];
        pChart->setTitle(Text(chosen.strObject + ": " + chosen.strFigure));
        if (!m_strVaried.empty()) {
            // The mean at each value, each with a bar from mean - ci to mean + ci. Values that
            // are not all numbers (laws such as "2..4") stand at 1, 2, ... with their texts.
            std::vector<const SSeriesRow*> chosenRows;
            for (const SSeriesRow& row : m_rows) {
                if (row.nTable == chosen.nTable && row.nRow == chosen.nRow &&
                    row.nColumn == chosen.nColumn) {
                    chosenRows.push_back(&row);
                }
            }
            const bool bNumeric = std::all_of(chosenRows.begin(), chosenRows.end(), [](const SSeriesRow* p) {
                bool bNumber = false;
                QString::fromStdString(p->strValue).toDouble(&bNumber);
                return bNumber;
            });
            auto* pMeans = new QLineSeries;
            auto* pPoints = new QScatterSeries;
            pPoints->setMarkerSize(7);
            std::vector<double> xs;
            for (std::size_t i = 0; i < chosenRows.size(); ++i) {
                xs.push_back(bNumeric ? QString::fromStdString(chosenRows[i]->strValue).toDouble()
                                      : static_cast<double>(i + 1));
            }
            // An error bar has caps, so that a short one still shows beside its point's marker.
            const auto [itLeast, itMost] = std::minmax_element(xs.begin(), xs.end());
            const double dCap = bNumeric && *itMost > *itLeast ? (*itMost - *itLeast) / 40 : 0.08;
            std::vector<QLineSeries*> bars;
            auto* pCategories = new QCategoryAxis;
            pCategories->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
            for (std::size_t i = 0; i < chosenRows.size(); ++i) {
                const SSeriesRow& row = *chosenRows[i];
                const double x = xs[i];
                pCategories->append(Text(row.strValue), x);
                pMeans->append(x, row.stat.dMean);
                pPoints->append(x, row.stat.dMean);
                // The interval's bounds: a share's is not symmetric around its mean.
                if (std::isfinite(row.stat.dCiLow) && std::isfinite(row.stat.dCiHigh)) {
                    const double dLow = row.stat.dCiLow;
                    const double dHigh = row.stat.dCiHigh;
                    auto* pBar = new QLineSeries;
                    // One line: the lower cap, back to its middle, up, and the upper cap.
                    pBar->append({{x - dCap, dLow}, {x + dCap, dLow}, {x, dLow}, {x, dHigh},
                                  {x - dCap, dHigh}, {x + dCap, dHigh}});
                    bars.push_back(pBar);
                }
            }
            pChart->addSeries(pMeans);
            // The points in the line's colour, so that they stand out of the theme's light
            // border.
            pPoints->setColor(pMeans->color());
            pPoints->setBorderColor(pMeans->color());
            pChart->addSeries(pPoints);
            for (QLineSeries* pBar : bars) {
                pBar->setColor(Qt::darkRed);
                pChart->addSeries(pBar);
            }
            pChart->createDefaultAxes();
            // The axes fit the points tightly: a margin keeps the first and the last off the
            // plot's edges, where half of a marker and of an error bar would be cut.
            for (QAbstractAxis* pAxis : pChart->axes()) {
                if (auto* pValues = qobject_cast<QValueAxis*>(pAxis)) {
                    WithMargin(*pValues, pAxis->orientation() == Qt::Vertical);
                }
            }
            QAbstractAxis* pAxisX = pChart->axes(Qt::Horizontal).constFirst();
            if (!bNumeric) {
                pCategories->setRange(0.5, static_cast<double>(chosenRows.size()) + 0.5);
                pChart->removeAxis(pAxisX);
                pChart->addAxis(pCategories, Qt::AlignBottom);
                for (QAbstractSeries* pSeries : pChart->series()) {
                    pSeries->attachAxis(pCategories);
                }
                pAxisX = pCategories;
            } else {
                delete pCategories;
            }
            pAxisX->setTitleText(Text(m_strVariedTitle));
        } else {
            // How the figure spread over the replications: a histogram of up to ten bins.
            const std::vector<double> values = ReplicationValues(m_record.points[chosen.nPoint], chosen);
            const auto [itMin, itMax] = std::minmax_element(values.begin(), values.end());
            const double dMin = values.empty() ? 0.0 : *itMin;
            const double dMax = values.empty() ? 0.0 : *itMax;
            const int nBins = dMax > dMin ? std::min<int>(10, static_cast<int>(values.size())) : 1;
            const double dWidth = nBins > 1 ? (dMax - dMin) / nBins : 1.0;
            std::vector<int> counts(static_cast<std::size_t>(nBins), 0);
            for (const double d : values) {
                const int nBin = std::min(nBins - 1, static_cast<int>((d - dMin) / dWidth));
                ++counts[static_cast<std::size_t>(nBin)];
            }
            auto* pSet = new QBarSet(Text("Прогоны"));
            QStringList categories;
            for (int b = 0; b < nBins; ++b) {
                *pSet << counts[static_cast<std::size_t>(b)];
                // Each bin by its middle, with as many decimals as tell the bins apart.
                const int nDecimals =
                    std::max(0, -static_cast<int>(std::floor(std::log10(dWidth))));
                categories << QString::number(nBins > 1 ? dMin + dWidth * (b + 0.5) : dMin, 'f',
                                              nBins > 1 ? nDecimals : 6);
            }
            auto* pBars = new QBarSeries;
            pBars->append(pSet);
            pChart->addSeries(pBars);
            auto* pAxisX = new QBarCategoryAxis;
            pAxisX->append(categories);
            pAxisX->setTitleText(Text("Значение (середина интервала)"));
            pChart->addAxis(pAxisX, Qt::AlignBottom);
            pBars->attachAxis(pAxisX);
            auto* pAxisY = new QValueAxis;
            // Whole counts at every tick.
            const int nMost = *std::max_element(counts.begin(), counts.end());
            const int nTicks = std::max(1, std::min(nMost, 5));
            const int nStep = (nMost + nTicks - 1) / nTicks;
            pAxisY->setRange(0, nStep * nTicks);
            pAxisY->setTickCount(nTicks + 1);
            pAxisY->setLabelFormat(QStringLiteral("%d"));
            pAxisY->setTitleText(Text("Число прогонов"));
            pChart->addAxis(pAxisY, Qt::AlignLeft);
            pBars->attachAxis(pAxisY);
        }
    }
    QChart* pOld = m_pChart->chart();
    m_pChart->setChart(pChart);
    delete pOld;
}

bool CSeriesDlg::eventFilter(QObject* pWatched, QEvent* pEvent) {
    // The table would copy its current cell alone; the whole selection goes instead.
    if (pWatched == m_pTable && (pEvent->type() == QEvent::KeyPress ||
                                 pEvent->type() == QEvent::ShortcutOverride)) {
        if (static_cast<QKeyEvent*>(pEvent)->matches(QKeySequence::Copy)) {
            if (pEvent->type() == QEvent::KeyPress) {
                CopySelection();
            }
            pEvent->accept();
            return true;
        }
    }
    return QDialog::eventFilter(pWatched, pEvent);
}

void CSeriesDlg::CopySelection() const {
    const QModelIndexList selected = m_pTable->selectionModel()->selectedIndexes();
    if (selected.isEmpty()) {
        return;
    }
    // The selected cells in the order shown, one line per row, tabs between columns.
    std::map<int, std::map<int, QString>> cells;
    for (const QModelIndex& index : selected) {
        cells[index.row()][index.column()] = index.data(Qt::DisplayRole).toString();
    }
    QString strText;
    for (const auto& [nRow, columns] : cells) {
        QStringList line;
        for (const auto& [nColumn, strCell] : columns) {
            line << strCell;
        }
        strText += line.join('\t') + '\n';
    }
    QApplication::clipboard()->setText(strText);
}

void CSeriesDlg::SaveAs() {
    const QString strBase = QFileInfo(m_strModelFile).completeBaseName();
    const QString strPath = ShowFileDialog(
        this, {true, strBase + Text(" - серия.csv"),
               Text("Таблица CSV (*.csv);;Диаграмма PNG (*.png);;Диаграмма SVG (*.svg)"),
               QStringLiteral("csv"), QString()});
    if (strPath.isEmpty()) {
        return;
    }
    const QString strSuffix = QFileInfo(strPath).suffix().toLower();
    QString strFile = strPath;
    QString strReason;
    if (strSuffix == QStringLiteral("png") || strSuffix == QStringLiteral("svg")) {
        strReason = WriteChartPicture(*m_pChart, strPath);
    } else {
        strFile = WithSuffix(strPath, QStringLiteral("csv"));
        QFile file(strFile);
        const std::string strCsv = ExperimentCsv(m_record);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
            file.write(strCsv.data(), static_cast<qint64>(strCsv.size())) !=
                static_cast<qint64>(strCsv.size())) {
            strReason = file.errorString();
        }
    }
    if (!strReason.isEmpty()) {
        ShowMessage(this, Text("Не удалось записать файл %1: %2").arg(strFile, strReason),
                    EMessageIcon::kError);
    }
}

void CSeriesDlg::StopAndWait() {
    m_pollTimer.stop();
    if (IsRunning()) {
        m_bStop = true;
        m_worker.join();
    }
}

void CSeriesDlg::reject() {
    if (IsRunning()) {
        if (ShowMessage(this, Text(CModelStartDlg::kCloseQuestion), EMessageIcon::kExclamation,
                        EMessageButtons::kYesNo) != EMessageAnswer::kYes) {
            return;
        }
        QApplication::setOverrideCursor(Qt::WaitCursor);
        StopAndWait();
        QApplication::restoreOverrideCursor();
    }
    QDialog::reject();
}

}  // namespace mardo
