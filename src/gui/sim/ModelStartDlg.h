#pragma once

#include <QDialog>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "core/run/MessageQueue.h"
#include "core/run/RunSession.h"
#include "core/run/TimeStamp.h"
#include "gui/report/RunReport.h"

class QCheckBox;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace mardo {

class CModel;

// The run window: a view of a run session. It starts, stops and abandons the session's
// simulations from its buttons, shows the model time, the departures and the log while one
// runs, and opens the report.
//
// The simulation never waits for this window and this window never waits for the simulation,
// except for the moment it takes an abandoned simulation to clear its transacts: a timer reads
// the session's progress and takes its log lines and, once they are all shown, its end; the
// session's wake-up call only brings that look forward. Everything that changes the window
// happens on the window thread.
//
// The main window opens it modally on its model and the file name without folders:
//     CModelStartDlg dlg(model, QStringLiteral("Без имени.mrd"), this);
//     dlg.exec();
class CModelStartDlg : public QDialog {
    Q_OBJECT

public:
    // What closing asks while a simulation runs; the series window asks the same.
    static constexpr const char* kCloseQuestion =
        "Закрытие окна, прервет моделирование. Продолжить?";

    // The main window, if given, is minimised while this window is shown and restored when it
    // closes. It is deliberately not the parent: a window manager may hide a minimised
    // window's dialogs along with it.
    CModelStartDlg(CModel& model, const QString& strModelFile, QWidget* pMainWindow = nullptr);
    ~CModelStartDlg() override;

    // The clock of the timed lines; only while idle.
    void SetClock(CTimeOfDayFunction clock) { m_session.SetClock(std::move(clock)); }

    // The random numbers and the warm-up of the simulations to come, for one replication of an
    // experiment seen again; only while idle.
    void SetReplication(const CRandomContext& random, std::uint32_t nWarmup) {
        m_session.SetRandom(random);
        m_session.SetWarmup(nWarmup);
    }

    bool IsIdle() const { return !m_session.IsRunning(); }
    // The report of the simulation that ended last in this window (completed or stopped), or
    // null when none has.
    const SRunReport* GetReport() const { return m_pReport.get(); }
    const CRunSession& GetSession() const { return m_session; }

protected:
    void showEvent(QShowEvent* pEvent) override;
    // Closing, from the close button, the frame or the Escape key.
    void reject() override;

private:
    void CreateControls();
    void OnStartStop();
    // Shows the waiting log lines and, once none is left, the end of the simulation.
    void DrainMessages();
    void FinishSimulation(CRunSession::EEnd end);
    void ShowProgress();
    void OpenReport(bool bMaximised);
    void OnMessageMenu(const QPoint& ptPos);
    bool AskAbandon();
    void CloseWindow();
    void AppendLines(const std::vector<CMessageQueue::SLine>& lines);

    QPushButton* m_pStartButton = nullptr;
    QPushButton* m_pReportButton = nullptr;
    QCheckBox* m_pShowReportCheck = nullptr;
    QLineEdit* m_pTimeEdit = nullptr;
    QLineEdit* m_pDepartedEdit = nullptr;
    QProgressBar* m_pProgressBar = nullptr;
    QTreeWidget* m_pMessageList = nullptr;

    CModel& m_model;
    std::uint32_t m_nModelTime = 0;
    std::uint32_t m_nDeparted = 0;
    std::unique_ptr<SRunReport> m_pReport;
    std::array<QIcon, 3> m_messageIcons;
    int m_nMenuItem = -1;
    QString m_strModelFile;

    QPointer<QWidget> m_pMainWindow;
    int m_nWidestLine = 0;

    QTimer m_progressTimer;
    QTimer m_drainTimer;
    // Last, so that it goes first: its simulation must not outlive the window.
    CRunSession m_session;
};

}  // namespace mardo
