#include "gui/experiment/SeriesDlg.h"

#include <QApplication>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>
#include <algorithm>

#include "core/experiment/ParamTargets.h"
#include "core/experiment/Series.h"
#include "core/model/Model.h"
#include "core/persist/ModelFile.h"
#include "core/report/Plural.h"
#include "core/run/MessageQueue.h"
#include "core/run/TimeStamp.h"
#include "core/sim/ModelCheck.h"
#include "gui/common/Dialogs.h"
#include "gui/common/TextConversion.h"
#include "gui/experiment/ExperimentResultsView.h"
#include "gui/experiment/StudySettings.h"
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

// "1 прогон", "3 прогона", "5 прогонов".
std::string Replications(std::size_t n) {
    return CountText(static_cast<std::int64_t>(n), "прогон", "прогона", "прогонов");
}

std::string PercentText(double dShare) {
    return QString::number(100.0 * dShare, 'f', 2).toStdString() + "%";
}

// What a precision goal came to, in the log's words.
QStringList PrecisionLines(const SPrecisionGoal& goal, const SPrecisionOutcome& outcome) {
    const std::string strGoal = "Точность " + PercentText(goal.dPercent / 100.0);
    if (!outcome.strUnknown.empty()) {
        return {Text("Показателя " + outcome.strUnknown + " нет в модели: точность не проверена")};
    }
    if (outcome.check.bMet) {
        return {Text(strGoal + " достигнута за " + Replications(outcome.nReplications) +
                     "; решил показатель " + outcome.check.strDeciding + " (" +
                     PercentText(outcome.check.dWorst) + ")")};
    }
    QStringList lines{Text(strGoal + " не достигнута за " + Replications(outcome.nReplications) +
                           "; не хватило:")};
    for (const auto& [strFigure, dShare] : outcome.check.shortfalls) {
        lines << Text("  " + strFigure + ": " + PercentText(dShare) + " вместо " +
                      PercentText(goal.dPercent / 100.0));
    }
    return lines;
}

std::size_t ReplicationsMade(const SExperimentRecord& record) {
    std::size_t n = 0;
    for (const SPointRecord& point : record.points) {
        n += point.replications.size();
    }
    return n;
}

}  // namespace

CSeriesDlg::CSeriesDlg(CModel& model, const QString& strModelFile, QWidget* pParent,
                       SSeriesMemory* pMemory)
    : QDialog(pParent),
      m_model(model),
      m_strModelFile(strModelFile),
      m_pMemory(pMemory),
      m_session([] { return std::make_unique<platform::CSimulationThread>(); }) {
    setWindowTitle(Text(kTitle));
    m_rerun = [](CModel& copy, const QString& strFile, const CRandomContext& random,
                 std::uint32_t nWarmup) {
        CModelStartDlg dialog(copy, strFile);
        dialog.SetReplication(random, nWarmup);
        dialog.exec();
    };
    CreateControls();
    m_pollTimer.setInterval(kPollInterval);
    connect(&m_pollTimer, &QTimer::timeout, this, &CSeriesDlg::Poll);
    connect(m_pResults, &CExperimentResultsView::RerunRequested, this, &CSeriesDlg::Rerun);
    Recall();
}

CSeriesDlg::~CSeriesDlg() {
    // A series under way when the window goes is stopped, its results dropped.
    StopAndWait();
    Remember();
}

void CSeriesDlg::CreateControls() {
    m_pSettings = new CStudySettings(m_model, this);
    auto* pScroll = new QScrollArea(this);
    pScroll->setWidget(m_pSettings);
    pScroll->setWidgetResizable(true);
    pScroll->setFrameShape(QFrame::NoFrame);
    pScroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

    m_pStartButton = new QPushButton(Text(kStartText), this);
    m_pStartButton->setDefault(true);
    m_pSaveButton = new QPushButton(Text(kSaveText), this);
    m_pSaveButton->setEnabled(false);
    auto* pCloseButton = new QPushButton(Text(kCloseText), this);
    connect(m_pStartButton, &QPushButton::clicked, this, &CSeriesDlg::OnStartStop);
    connect(m_pSaveButton, &QPushButton::clicked, this,
            [this] { m_pResults->SaveAs(QFileInfo(m_strModelFile).completeBaseName()); });
    connect(pCloseButton, &QPushButton::clicked, this, &CSeriesDlg::reject);
    auto* pButtons = new QHBoxLayout;
    pButtons->addWidget(m_pStartButton);
    pButtons->addWidget(m_pSaveButton);
    pButtons->addStretch();
    pButtons->addWidget(pCloseButton);

    m_pProgress = new QProgressBar(this);
    m_pProgress->setFormat(QString());
    m_pLog = new QListWidget(this);
    m_pLog->setObjectName(QStringLiteral("log"));
    // A long message wraps in the narrow log rather than hiding its end.
    m_pLog->setWordWrap(true);
    m_pLog->setResizeMode(QListView::Adjust);
    m_pLog->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_pLog->setMinimumHeight(80);

    auto* pLeftBox = new QWidget(this);
    auto* pLeft = new QVBoxLayout(pLeftBox);
    pLeft->setContentsMargins(0, 0, 0, 0);
    // The settings show whole, without scrolling, from 1100×640 up; the log takes the height
    // left, the results the width.
    const int nWidth = std::max(440, m_pSettings->minimumSizeHint().width() +
                                         pScroll->verticalScrollBar()->sizeHint().width());
    pScroll->setMinimumSize(nWidth, m_pSettings->sizeHint().height());
    pLeft->addWidget(pScroll);
    pLeft->addWidget(m_pProgress);
    pLeft->addWidget(m_pLog, 1);
    pLeft->addLayout(pButtons);

    m_pResults = new CExperimentResultsView(this);
    auto* pLayout = new QHBoxLayout(this);
    pLeftBox->setFixedWidth(nWidth);
    pLayout->addWidget(pLeftBox);
    pLayout->addWidget(m_pResults, 1);
    // The results' tables have long figure titles and several numbers a row: the window takes
    // what the screen offers, up to a size where they read without wrapping much.
    QSize size(1440, 860);
    if (const QScreen* pScreen = screen()) {
        size = size.boundedTo(pScreen->availableGeometry().size() * 0.95);
    }
    resize(size.expandedTo(QSize(1100, 640)));
}

void CSeriesDlg::Log(const QString& strLine) {
    m_pLog->addItem(strLine);
    m_pLog->scrollToBottom();
}

void CSeriesDlg::ClearResults() {
    m_pOutcome.reset();
    m_pResults->Clear();
    m_pSaveButton->setEnabled(false);
    m_pLog->clear();
    m_pProgress->setValue(0);
    m_pProgress->setFormat(QString());
}

void CSeriesDlg::OnStartStop() {
    if (IsRunning()) {
        m_session.Stop();
        m_pStartButton->setEnabled(false);
        return;
    }
    ClearResults();
    QString strError;
    std::optional<SStudy> study = m_pSettings->MakeStudy(strError);
    if (!study) {
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
    m_nPlanned = study->plan.points.size() * (1 + study->alternatives.size()) *
                 static_cast<std::size_t>(study->plan.nReplications);
    m_dConfidence = study->dConfidence;
    m_goal = study->precision;
    m_strVaried = m_pSettings->VariedTitle(*study);
    if (!m_session.Start(m_model, QFileInfo(m_strModelFile).fileName().toStdString(),
                         std::move(*study))) {
        return;
    }
    m_pSettings->setEnabled(false);
    m_pStartButton->setText(Text(kStopText));
    m_clock.start();
    m_pollTimer.start();
    Poll();
}

void CSeriesDlg::Poll() {
    const SStudyProgress progress = m_session.GetProgress();
    m_pProgress->setRange(0, static_cast<int>(std::max<std::size_t>(1, progress.nTotal)));
    m_pProgress->setValue(static_cast<int>(std::min(progress.nDone, progress.nTotal)));
    const std::string strStage = progress.strStage.empty() ? "" : progress.strStage + ": ";
    m_pProgress->setFormat(
        Text(strStage + ProgressText(progress.nDone, progress.nTotal,
                                     static_cast<double>(m_clock.elapsed()) / 1000.0)));
    if (m_session.IsFinished()) {
        Finish();
    }
}

void CSeriesDlg::Finish() {
    m_pollTimer.stop();
    SStudyOutcome outcome = m_session.TakeOutcome();
    m_pStartButton->setText(Text(kStartText));
    m_pStartButton->setEnabled(true);
    m_pSettings->setEnabled(true);
    for (const CMessageQueue::SLine& line : outcome.lines) {
        Log(Text(line.Format()));
    }
    std::size_t nMade = ReplicationsMade(outcome.record);
    for (const SExperimentRecord& record : outcome.alternatives) {
        nMade += ReplicationsMade(record);
    }
    if (outcome.bStopped) {
        // The replications that ended are summarized; the log says how many there are.
        Log(Text("Серия остановлена: выполнено " + Replications(nMade) + " из " +
                 std::to_string(m_nPlanned)));
        // No time is left to estimate any more.
        m_pProgress->setFormat(Text("Серия остановлена"));
    } else if (outcome.notStarted) {
        Log(Text("Серия не выполнена"));
        // Nothing was simulated, whatever the count of skipped runs says.
        m_pProgress->setValue(0);
        m_pProgress->setFormat(QString());
        return;
    } else {
        Log(Text("Серия закончена: " + Replications(nMade)));
    }
    if (outcome.warmup) {
        for (const QString& strLine :
             Text(WarmupText(*outcome.warmup)).split('\n', Qt::SkipEmptyParts)) {
            Log(strLine);
        }
    }
    if (outcome.precision && m_goal) {
        for (const QString& strLine : PrecisionLines(*m_goal, *outcome.precision)) {
            Log(strLine);
        }
    }
    if (nMade > 0) {
        ShowOutcome(std::make_shared<const SStudyOutcome>(std::move(outcome)));
    }
}

void CSeriesDlg::ShowOutcome(std::shared_ptr<const SStudyOutcome> pOutcome) {
    m_pOutcome = std::move(pOutcome);
    m_pResults->Show(*m_pOutcome, m_dConfidence, m_strVaried);
    m_pSaveButton->setEnabled(true);
}

void CSeriesDlg::Rerun(std::size_t nPoint, std::int32_t nIndex) {
    if (!m_pOutcome || nPoint >= m_pOutcome->record.points.size()) {
        return;
    }
    const SExperimentRecord& record = m_pOutcome->record;
    const SPointRecord& point = record.points[nPoint];
    const auto it = std::find_if(point.replications.begin(), point.replications.end(),
                                 [&](const SReplication& r) { return r.nIndex == nIndex; });
    CModel copy;
    if (it == point.replications.end() || !CopyModel(m_model, copy)) {
        return;
    }
    for (const SSetting& setting : point.settings) {
        ApplySetting(copy, setting);
    }
    // The replication's own numbers, as the experiment drew them.
    const CRandomContext random =
        record.generator == EGenerator::kExact
            ? CRandomContext::Exact(it->nSeed)
            : CRandomContext::Streams(record.nSeed, static_cast<std::uint32_t>(nIndex));
    m_rerun(copy, QFileInfo(m_strModelFile).fileName(), random, record.nWarmup);
}

void CSeriesDlg::Remember() const {
    if (m_pMemory == nullptr) {
        return;
    }
    m_pMemory->fields = m_pSettings->GetFields();
    m_pMemory->pOutcome = m_pOutcome;
    m_pMemory->dConfidence = m_dConfidence;
    m_pMemory->strVaried = m_strVaried;
    m_pMemory->log.clear();
    for (int i = 0; i < m_pLog->count(); ++i) {
        m_pMemory->log << m_pLog->item(i)->text();
    }
}

void CSeriesDlg::Recall() {
    if (m_pMemory == nullptr) {
        return;
    }
    m_pSettings->SetFields(m_pMemory->fields);
    m_pLog->addItems(m_pMemory->log);
    if (m_pMemory->pOutcome) {
        m_dConfidence = m_pMemory->dConfidence;
        m_strVaried = m_pMemory->strVaried;
        ShowOutcome(m_pMemory->pOutcome);
    }
}

void CSeriesDlg::StopAndWait() {
    m_pollTimer.stop();
    if (IsRunning()) {
        // The replications under way are abandoned within a fraction of a second; taking the
        // outcome waits for that.
        m_session.Stop();
        m_session.TakeOutcome();
    }
}

void CSeriesDlg::reject() {
    if (IsRunning() && !m_session.IsFinished()) {
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
