#include "gui/sim/ModelStartDlg.h"

#include <QApplication>
#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QShowEvent>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <cstdint>
#include <memory>
#include <optional>
#include <utility>

#include "core/model/Model.h"
#include "gui/common/Dialogs.h"
#include "gui/common/TextConversion.h"
#include "gui/report/ReportDlg.h"
#include "gui/sim/RunIcons.h"
#include "platform/SimulationThread.h"

namespace mardo {

namespace {

const char* const kTitle = "Запуск модели";
const char* const kStartText = "&Старт";
const char* const kStopText = "&Стоп";
const char* const kCloseText = "З&акрыть";
const char* const kShowReportText = "Показать отчет о запуске после моделирования";
const char* const kReportText = "&Отчет";
const char* const kTimeLabel = "Текущее время моделирования";
const char* const kDepartedLabel = "Количество вышедших из системы транзактов";
const char* const kMessagesColumn = "Сообщения";
const char* const kDeleteText = "&Удалить";
const char* const kClearAllText = "О&чистить все";

constexpr int kMessageColumnWidth = 437;
constexpr int kProgressInterval = 200;            // ms: a few times a second is enough for the eye
constexpr std::size_t kMostLinesPerDrain = 2000;  // keeps one drain short whatever the flood
constexpr int kProgressSteps = 1000;

}  // namespace

CModelStartDlg::CModelStartDlg(CModel& model, const QString& strModelFile, QWidget* pMainWindow)
    : m_model(model),
      m_strModelFile(strModelFile),
      m_pMainWindow(pMainWindow),
      m_session(model, std::make_unique<platform::CSimulationThread>(), [this] {
          QMetaObject::invokeMethod(this, &CModelStartDlg::DrainMessages, Qt::QueuedConnection);
      }) {
    m_session.SetTracing(true);  // for the report's charts
    setWindowTitle(Text(kTitle));
    setWindowIcon(RunWindowIcon());
    for (std::size_t nKind = 0; nKind < m_messageIcons.size(); ++nKind) {
        m_messageIcons[nKind] = MessageIcon(static_cast<int>(nKind));
    }
    CreateControls();

    m_progressTimer.setInterval(kProgressInterval);
    connect(&m_progressTimer, &QTimer::timeout, this, [this] {
        ShowProgress();
        DrainMessages();
    });
    m_drainTimer.setSingleShot(true);
    m_drainTimer.setInterval(0);
    connect(&m_drainTimer, &QTimer::timeout, this, &CModelStartDlg::DrainMessages);
}

CModelStartDlg::~CModelStartDlg() {
    m_progressTimer.stop();
    m_drainTimer.stop();
    m_session.Abandon();  // and waits for its thread, if a simulation runs
}

void CModelStartDlg::CreateControls() {
    m_pTimeEdit = new QLineEdit(QStringLiteral("0"), this);
    m_pDepartedEdit = new QLineEdit(QStringLiteral("0"), this);
    for (QLineEdit* pEdit : {m_pTimeEdit, m_pDepartedEdit}) {
        pEdit->setReadOnly(true);
        pEdit->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    }
    auto* pFields = new QGridLayout;
    pFields->addWidget(new QLabel(Text(kTimeLabel), this), 0, 0);
    pFields->addWidget(new QLabel(Text(kDepartedLabel), this), 0, 1);
    pFields->addWidget(m_pTimeEdit, 1, 0);
    pFields->addWidget(m_pDepartedEdit, 1, 1);

    m_pProgressBar = new QProgressBar(this);
    m_pProgressBar->setRange(0, kProgressSteps);
    m_pProgressBar->setTextVisible(false);
    m_pProgressBar->setFixedHeight(6);
    m_pProgressBar->hide();

    m_pMessageList = new QTreeWidget(this);
    m_pMessageList->setColumnCount(1);
    m_pMessageList->setHeaderLabels({Text(kMessagesColumn)});
    m_pMessageList->setRootIsDecorated(false);
    m_pMessageList->setUniformRowHeights(true);
    m_pMessageList->setSelectionMode(QAbstractItemView::SingleSelection);
    m_pMessageList->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_pMessageList->setIconSize(QSize(16, 16));
    m_pMessageList->header()->setStretchLastSection(false);
    m_pMessageList->header()->setSectionsClickable(false);
    m_pMessageList->setColumnWidth(0, kMessageColumnWidth);
    m_pMessageList->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_pMessageList, &QWidget::customContextMenuRequested, this,
            &CModelStartDlg::OnMessageMenu);

    m_pShowReportCheck = new QCheckBox(Text(kShowReportText), this);
    m_pShowReportCheck->setChecked(true);

    m_pStartButton = new QPushButton(Text(kStartText), this);
    m_pStartButton->setDefault(true);
    m_pReportButton = new QPushButton(Text(kReportText), this);
    m_pReportButton->setEnabled(false);
    auto* pCloseButton = new QPushButton(Text(kCloseText), this);
    connect(m_pStartButton, &QPushButton::clicked, this, &CModelStartDlg::OnStartStop);
    connect(m_pReportButton, &QPushButton::clicked, this, [this] { OpenReport(false); });
    connect(pCloseButton, &QPushButton::clicked, this, &CModelStartDlg::reject);
    auto* pButtons = new QHBoxLayout;
    pButtons->addWidget(m_pStartButton);
    pButtons->addWidget(m_pReportButton);
    pButtons->addStretch();
    pButtons->addWidget(pCloseButton);

    auto* pLayout = new QVBoxLayout(this);
    pLayout->addLayout(pFields);
    pLayout->addWidget(m_pProgressBar);
    pLayout->addWidget(m_pMessageList, 1);
    pLayout->addWidget(m_pShowReportCheck);
    pLayout->addLayout(pButtons);
    resize(500, 380);
}

void CModelStartDlg::AppendLines(const std::vector<CMessageQueue::SLine>& lines) {
    if (lines.empty()) {
        return;
    }
    QList<QTreeWidgetItem*> items;
    items.reserve(static_cast<qsizetype>(lines.size()));
    const QFontMetrics metrics(m_pMessageList->font());
    for (const CMessageQueue::SLine& line : lines) {
        const QString strLine = QString::fromStdString(line.Format());
        m_nWidestLine = std::max(m_nWidestLine, metrics.horizontalAdvance(strLine));
        auto* pItem = new QTreeWidgetItem(QStringList{strLine});
        const auto nKind = static_cast<std::size_t>(line.nKind);
        pItem->setIcon(0, m_messageIcons[nKind < m_messageIcons.size() ? nKind : 0]);
        items.append(pItem);
    }
    m_pMessageList->addTopLevelItems(items);
    // A long block name must not hide the end of its message: the column grows to the widest
    // line and the list scrolls sideways.
    const int nNeeded = m_nWidestLine + m_pMessageList->iconSize().width() +
                        4 * m_pMessageList->style()->pixelMetric(QStyle::PM_FocusFrameHMargin) + 16;
    if (nNeeded > m_pMessageList->columnWidth(0)) {
        m_pMessageList->setColumnWidth(0, nNeeded);
    }
    m_pMessageList->scrollToItem(items.constLast());
}

void CModelStartDlg::showEvent(QShowEvent* pEvent) {
    QDialog::showEvent(pEvent);
    if (!pEvent->spontaneous() && m_pMainWindow) {
        m_pMainWindow->showMinimized();
    }
}

void CModelStartDlg::OnStartStop() {
    if (m_session.IsRunning()) {
        // The simulation finishes the tick, computes the figures and hands the button back.
        m_pStartButton->setEnabled(false);
        m_session.Stop();
        return;
    }
    m_pStartButton->setEnabled(false);
    const std::optional<CRunSession::EEnd> notStarted = m_session.Start();
    // Only a running simulation's flood is left to the timer; a failed check's lines all show.
    AppendLines(m_session.TakeMessages(notStarted ? SIZE_MAX : kMostLinesPerDrain));
    m_pStartButton->setEnabled(true);
    m_pStartButton->setFocus();
    if (notStarted) {
        return;  // the log says why; ready for another try
    }
    m_pStartButton->setText(Text(kStopText));
    m_pReportButton->setEnabled(false);
    m_pProgressBar->setValue(0);
    m_pProgressBar->show();
    ShowProgress();
    m_progressTimer.start();
}

void CModelStartDlg::DrainMessages() {
    AppendLines(m_session.TakeMessages(kMostLinesPerDrain));
    if (m_session.HasMessages()) {
        m_drainTimer.start();  // the rest after the events that are waiting
    } else if (const std::optional<CRunSession::EEnd> end = m_session.TakeEnd()) {
        FinishSimulation(*end);
    }
}

void CModelStartDlg::FinishSimulation(CRunSession::EEnd end) {
    m_progressTimer.stop();
    ShowProgress();
    const CRunSession::SProgress figures = m_session.GetProgress();
    m_nModelTime = figures.nModelTime;
    m_nDeparted = figures.nDeparted;
    m_pProgressBar->hide();
    m_pStartButton->setText(Text(kStartText));
    m_pStartButton->setEnabled(true);
    m_pStartButton->setFocus();
    const CTrace* pTrace = m_session.GetTrace();
    m_pReport = std::make_unique<SRunReport>(
        SRunReport{CReportTables(m_model.GetBlocks(), m_nModelTime, m_nDeparted),
                   pTrace != nullptr ? pTrace->GetFollowed() : std::vector<CTrace::SFollowed>{}});
    m_pReportButton->setEnabled(true);
    if (end == CRunSession::EEnd::kCompleted && m_pShowReportCheck->isChecked()) {
        OpenReport(true);
    }
}

void CModelStartDlg::ShowProgress() {
    const CRunSession::SProgress progress = m_session.GetProgress();
    m_pTimeEdit->setText(QString::number(progress.nModelTime));
    m_pDepartedEdit->setText(QString::number(progress.nDeparted));
    if (progress.share) {
        m_pProgressBar->setRange(0, kProgressSteps);
        m_pProgressBar->setValue(static_cast<int>(*progress.share * kProgressSteps));
    } else {
        m_pProgressBar->setRange(0, 0);  // no end to measure against: a busy indicator
    }
}

void CModelStartDlg::OpenReport(bool bMaximised) {
    CReportDlg report(m_pReport->tables, m_strModelFile, bMaximised, this);
    report.ShowTrace(m_pReport->followed);
    report.exec();
}

void CModelStartDlg::OnMessageMenu(const QPoint& ptPos) {
    if (m_session.IsRunning() || m_pMessageList->topLevelItemCount() == 0) {
        return;
    }
    QTreeWidgetItem* pItem = m_pMessageList->itemAt(ptPos);
    m_nMenuItem = pItem != nullptr ? m_pMessageList->indexOfTopLevelItem(pItem) : -1;
    QMenu menu(this);
    QAction* pDelete = menu.addAction(Text(kDeleteText));
    pDelete->setEnabled(m_nMenuItem >= 0);
    QAction* pClearAll = menu.addAction(Text(kClearAllText));
    QAction* pChosen = menu.exec(m_pMessageList->viewport()->mapToGlobal(ptPos));
    if (pChosen == pDelete && m_nMenuItem >= 0) {
        const std::unique_ptr<QTreeWidgetItem> pRemoved(
            m_pMessageList->takeTopLevelItem(m_nMenuItem));
    } else if (pChosen == pClearAll) {
        m_pMessageList->clear();
        m_nWidestLine = 0;
        m_pMessageList->setColumnWidth(0, kMessageColumnWidth);
    }
    m_nMenuItem = -1;
}

void CModelStartDlg::reject() {
    if (m_session.IsHeld() || (m_session.IsRunning() && !AskAbandon())) {
        return;
    }
    CloseWindow();
}

bool CModelStartDlg::AskAbandon() {
    m_session.Hold();
    const EMessageAnswer answer = ShowMessage(this, Text(kCloseQuestion),
                                              EMessageIcon::kExclamation, EMessageButtons::kYesNo);
    if (answer == EMessageAnswer::kYes) {
        // The blocks must outlive the simulation: wait while it clears its transacts.
        QApplication::setOverrideCursor(Qt::WaitCursor);
        m_session.Abandon();
        QApplication::restoreOverrideCursor();
        return true;
    }
    m_session.Resume();
    m_drainTimer.start();  // an end that came while the question was open
    return false;
}

void CModelStartDlg::CloseWindow() {
    m_progressTimer.stop();
    m_drainTimer.stop();
    if (m_pMainWindow) {
        m_pMainWindow->setWindowState((m_pMainWindow->windowState() & ~Qt::WindowMinimized) |
                                      Qt::WindowActive);
    }
    QDialog::reject();
}

}  // namespace mardo
