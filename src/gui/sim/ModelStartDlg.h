#pragma once

#include <QDialog>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "sim/MessageLog.h"
#include "sim/MessageQueue.h"

class QCheckBox;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace mardo {

class CModel;
class CRunProgress;
class CSimulationWorker;
struct CRunSignals;

// The run window: checks the model, runs one simulation at a time on a worker thread, shows
// the model time, the departures and the log while it works, and opens the report.
//
// The worker never waits for this window and this window never waits for the worker, except
// for the moment it takes an abandoned simulation to clear its transacts: the worker publishes
// its progress in atomics that a timer reads, its log lines go through an ordered queue that
// the same timer drains, and its end arrives here as one queued call. Everything that changes
// the window happens on the window thread.
//
// The main window opens it modally on its model and the file name without folders:
//     CModelStartDlg dlg(model, QStringLiteral("Без имени.mrd"), this);
//     dlg.exec();
class CModelStartDlg : public QDialog, public IMessageLog {
    Q_OBJECT

public:
    // The main window, if given, is minimised while this window is shown and restored when it
    // closes. It is deliberately not the parent: a window manager may hide a minimised
    // window's dialogs along with it.
    CModelStartDlg(CModel& model, const QString& strModelFile, QWidget* pMainWindow = nullptr);
    ~CModelStartDlg() override;

    // Appends a line to the log; window thread only. The worker's lines arrive through the
    // queue and are shown in the order it issued them.
    void AddMessage(const std::string& strText, int nKind, bool bWithTime) override;

    // The clock of the timed lines; the worker reads it too, so set it only while idle.
    void SetClock(CTimeOfDayFunction clock);

    bool IsIdle() const { return m_bIdle; }

protected:
    void showEvent(QShowEvent* pEvent) override;
    // Closing, from the close button, the frame or the Escape key.
    void reject() override;

private:
    void CreateControls();
    void OnStartStop();
    void StartSimulation();
    // The worker's one call, queued from its thread; nSimulation tells a late call from a
    // simulation already dealt with.
    void OnWorkerEnded(unsigned nSimulation);
    void DrainMessages();
    void FinishSimulation();
    void EndWorker();
    void ShowProgress();
    void OpenReport(bool bMaximised);
    void OnMessageMenu(const QPoint& ptPos);
    bool AskAbandon();
    void CloseWindow();
    void AppendLines(const std::vector<CMessageQueue::SLine>& lines);
    QTreeWidgetItem* CreateLine(const std::string& strText, int nKind, bool bWithTime,
                                const QTime& time);

    QPushButton* m_pStartButton = nullptr;
    QPushButton* m_pReportButton = nullptr;
    QCheckBox* m_pShowReportCheck = nullptr;
    QLineEdit* m_pTimeEdit = nullptr;
    QLineEdit* m_pDepartedEdit = nullptr;
    QProgressBar* m_pProgressBar = nullptr;
    QTreeWidget* m_pMessageList = nullptr;

    CModel& m_model;
    bool m_bIdle = true;
    std::uint32_t m_nModelTime = 0;
    std::uint32_t m_nDeparted = 0;
    std::array<QIcon, 3> m_messageIcons;
    int m_nMenuItem = -1;
    QString m_strModelFile;

    QPointer<QWidget> m_pMainWindow;
    CRunSignals& m_signals;
    CTimeOfDayFunction m_clock;
    int m_nWidestLine = 0;

    // The simulation in progress.
    unsigned m_nSimulation = 0;
    std::unique_ptr<CMessageQueue> m_pQueue;
    std::unique_ptr<CRunProgress> m_pProgress;
    std::unique_ptr<CSimulationWorker> m_pWorker;
    bool m_bWorkerEnded = false;
    bool m_bAsking = false;          // the close question is open
    bool m_bEndWhileAsking = false;  // and the worker ended meanwhile
    QTimer m_progressTimer;
    QTimer m_drainTimer;
};

}  // namespace mardo
