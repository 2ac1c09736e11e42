#include "gui/watch/ModelWatch.h"

#include <QDialog>
#include <QHeaderView>
#include <QLabel>
#include <QMainWindow>
#include <QShortcut>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "core/model/Model.h"
#include "gui/common/DialogRunner.h"
#include "gui/common/Dialogs.h"
#include "gui/common/TextConversion.h"
#include "gui/editor/DiagramView.h"
#include "gui/watch/PauseConditionDlg.h"
#include "gui/watch/WatchBar.h"
#include "gui/watch/WatchOverlay.h"
#include "platform/SimulationThread.h"

namespace mardo {

namespace {

// Moves are shown travelling only while a tick lasts long enough for the eye to follow them.
constexpr std::uint32_t kMostTravellingPace = 10;
constexpr double kStepMoveSeconds = 0.4;

}  // namespace

CModelWatch::CModelWatch(CModel& model, CDiagramView& diagram, QMainWindow& window)
    : m_model(model),
      m_diagram(diagram),
      m_window(window),
      m_control(model),
      m_session(model, std::make_unique<platform::CSimulationThread>()) {
    m_pOverlay = new CWatchOverlay(model, diagram);
    m_pOverlay->show();
    m_pOverlay->raise();
    m_pOverlay->setFocus(Qt::OtherFocusReason);
    connect(m_pOverlay, &CWatchOverlay::blockClicked, this, &CModelWatch::ShowHeld);
    m_pBar = new CWatchBar(&window);
    window.addDockWidget(Qt::BottomDockWidgetArea, m_pBar);
    connect(m_pBar, &CWatchBar::runOrPause, this, &CModelWatch::RunOrPause);
    connect(m_pBar, &CWatchBar::step, this, &CModelWatch::Step);
    connect(m_pBar, &CWatchBar::stepToEvent, this, &CModelWatch::StepToEvent);
    connect(m_pBar, &CWatchBar::paceChanged, this,
            [this](std::uint32_t nPace) { m_control.SetPace(nPace); });
    connect(m_pBar, &CWatchBar::conditions, this, &CModelWatch::EditConditions);
    connect(m_pBar, &CWatchBar::stop, this, &CModelWatch::Stop);
    AddKey(Qt::Key_Space, &CModelWatch::RunOrPause);
    AddKey(Qt::Key_Right, &CModelWatch::Step);
    AddKey(Qt::SHIFT | Qt::Key_Right, &CModelWatch::StepToEvent);
    AddKey(Qt::Key_Escape, &CModelWatch::Stop);
    AddKey(Qt::CTRL | Qt::Key_P, &CModelWatch::EditConditions);
    AddKey(Qt::Key_Plus, &CModelWatch::Faster);
    AddKey(Qt::Key_Equal, &CModelWatch::Faster);
    AddKey(Qt::Key_Minus, &CModelWatch::Slower);
    m_frameTimer.setInterval(kFrameMilliseconds);
    connect(&m_frameTimer, &QTimer::timeout, this, &CModelWatch::OnFrame);
}

CModelWatch::~CModelWatch() {
    m_frameTimer.stop();
    if (m_session.IsRunning()) {
        m_session.Abandon();
    }
    for (QShortcut* pKey : m_keys) {
        delete pKey;
    }
    delete m_pHeldWindow.data();
    m_window.removeDockWidget(m_pBar);
    delete m_pBar;
    delete m_pOverlay;
}

void CModelWatch::AddKey(QKeySequence key, void (CModelWatch::*handler)()) {
    auto* pKey = new QShortcut(key, &m_window);
    pKey->setContext(Qt::WindowShortcut);
    connect(pKey, &QShortcut::activated, this, handler);
    m_keys.push_back(pKey);
}

bool CModelWatch::Start() {
    m_session.SetTracing(true);  // for the report's charts
    m_session.SetWatch(&m_control);
    m_control.SetPace(m_pBar->GetPace());
    if (const std::optional<CRunSession::EEnd> notStarted = m_session.Start()) {
        QStringList lines;
        for (const CMessageQueue::SLine& line : m_session.TakeMessages()) {
            lines << QString::fromStdString(line.strText);
        }
        ShowMessage(&m_window, lines.join(QChar('\n')), EMessageIcon::kError);
        return false;
    }
    m_frameTimer.start();
    OnFrame();
    return true;
}

void CModelWatch::OnFrame() {
    // The log lines matter only to the run window; the report tells the end.
    m_session.TakeMessages();
    if (!m_control.IsPaused()) {
        m_control.WantSnapshot();
    }
    if (!ShowNewSnapshot() && m_pOverlay->IsMoving()) {
        m_pOverlay->update();
    }
    if (const std::optional<CRunSession::EEnd> end = m_session.TakeEnd()) {
        Finish(*end);
    }
}

bool CModelWatch::ShowNewSnapshot() {
    std::optional<SModelSnapshot> snapshot = m_control.TakeSnapshot();
    if (!snapshot) {
        return false;
    }
    const std::uint32_t nPace = m_pBar->GetPace();
    const double dMove = m_bRunning
                             ? (nPace != 0 && nPace <= kMostTravellingPace ? 1.0 / nPace : 0.0)
                             : m_dStepMoveSeconds;
    m_pOverlay->Show(*snapshot, dMove);
    m_pBar->ShowFigures(snapshot->nTime, snapshot->nDeparted);
    // Only a pause hands over what the blocks hold.
    if (snapshot->bHeld) {
        m_bRunning = false;
        m_pBar->ShowPaused(true);
        m_pBar->ShowNote(PauseNote());
        emit paused(snapshot->nTime);
    }
    return true;
}

QString CModelWatch::PauseNote() const {
    QStringList met;
    for (const std::size_t i : m_control.GetMetConditions()) {
        if (i < m_conditions.size()) {
            met << Text(m_conditions[i].Describe());
        }
    }
    return met.isEmpty() ? QStringLiteral("Пауза")
                         : QStringLiteral("Пауза: %1").arg(met.join(QStringLiteral("; ")));
}

void CModelWatch::RunOrPause() {
    if (!m_session.IsRunning()) {
        return;
    }
    ShowNewSnapshot();  // a pause not shown yet is over now
    if (m_bRunning) {
        m_control.Pause();
        return;
    }
    m_bRunning = true;
    m_pBar->ShowPaused(false);
    m_pBar->ShowNote(QString());
    emit resumed();
    m_control.Run();
}

void CModelWatch::Step() {
    StepBy(&CWatchControl::Step);
}

void CModelWatch::StepToEvent() {
    StepBy(&CWatchControl::StepToEvent);
}

void CModelWatch::StepBy(void (CWatchControl::*step)()) {
    ShowNewSnapshot();
    if (m_session.IsRunning() && !m_bRunning) {
        m_dStepMoveSeconds = kStepMoveSeconds;
        m_pBar->ShowNote(QString());
        (m_control.*step)();
    }
}

void CModelWatch::Stop() {
    if (m_session.IsRunning()) {
        m_session.Stop();
    }
}

void CModelWatch::Faster() {
    m_pBar->StepSpeed(1);
}

void CModelWatch::Slower() {
    m_pBar->StepSpeed(-1);
}

void CModelWatch::EditConditions() {
    QStringList queues;
    QStringList devices;
    if (const std::optional<SModelSnapshot>& snapshot = m_pOverlay->GetSnapshot()) {
        for (std::size_t i = 0; i < snapshot->blocks.size() && i < m_model.GetBlockCount(); ++i) {
            const QString strName = Text(m_model.GetBlocks()[i]->GetName());
            if (snapshot->blocks[i].eCount == SBlockSnapshot::ECount::kContent) {
                queues << strName;
            } else if (snapshot->blocks[i].bBusy) {
                devices << strName;
            }
        }
    }
    CPauseConditionDlg dialog(m_conditions, queues, devices, &m_window);
    if (RunDialog(dialog) == QDialog::Accepted) {
        m_conditions = dialog.GetConditions();
        m_control.SetConditions(m_conditions);
    }
    m_pOverlay->setFocus(Qt::OtherFocusReason);
}

// What a block holds while the watch is paused, in order, so that one transact can be followed.
void CModelWatch::ShowHeld(int nBlock) {
    const std::optional<SModelSnapshot>& snapshot = m_pOverlay->GetSnapshot();
    if (!snapshot || !snapshot->bHeld ||
        static_cast<std::size_t>(nBlock) >= snapshot->blocks.size()) {
        return;
    }
    const CBlockDlg& block = *m_model.GetBlocks()[static_cast<std::size_t>(nBlock)];
    const SBlockSnapshot& state = snapshot->blocks[static_cast<std::size_t>(nBlock)];
    if (m_pHeldWindow == nullptr) {
        m_pHeldWindow = new QDialog(&m_window);
        m_pHeldWindow->setAttribute(Qt::WA_DeleteOnClose);
        auto* pLayout = new QVBoxLayout(m_pHeldWindow);
        pLayout->addWidget(new QLabel(m_pHeldWindow));
        auto* pList = new QTreeWidget(m_pHeldWindow);
        pList->setHeaderLabels({QStringLiteral("№"), QStringLiteral("Генератор"),
                                QStringLiteral("Номер"), QStringLiteral("Приоритет")});
        pList->setRootIsDecorated(false);
        pLayout->addWidget(pList);
        m_pHeldWindow->resize(420, 320);
    }
    m_pHeldWindow->setWindowTitle(
        QStringLiteral("Транзакты в блоке %1").arg(Text(block.GetName())));
    m_pHeldWindow->findChild<QLabel*>()->setText(
        QStringLiteral("Такт %1: %2 транзакт(ов), по порядку")
            .arg(snapshot->nTime)
            .arg(state.held.size()));
    auto* pList = m_pHeldWindow->findChild<QTreeWidget*>();
    pList->clear();
    int nOrder = 0;
    for (const SHeldTransact& transact : state.held) {
        pList->addTopLevelItem(new QTreeWidgetItem(
            {QString::number(++nOrder), Text(transact.strGenerator),
             QString::number(transact.nNumber), QString::number(transact.nPriority)}));
    }
    m_pHeldWindow->show();
    m_pHeldWindow->raise();
}

void CModelWatch::Finish(CRunSession::EEnd end) {
    m_frameTimer.stop();
    if (end == CRunSession::EEnd::kCompleted || end == CRunSession::EEnd::kStopped ||
        end == CRunSession::EEnd::kOutOfMemory) {
        const CRunSession::SProgress figures = m_session.GetProgress();
        const CTrace* pTrace = m_session.GetTrace();
        m_pReport = std::make_unique<SRunReport>(SRunReport{
            CReportTables(m_model.GetBlocks(), figures.nModelTime, figures.nDeparted),
            pTrace != nullptr ? pTrace->GetFollowed() : std::vector<CTrace::SFollowed>{}});
    }
    emit ended();
}

}  // namespace mardo
