#pragma once

#include <QObject>
#include <QPointer>
#include <QTimer>
#include <memory>
#include <vector>

#include "core/run/PauseCondition.h"
#include "core/run/RunSession.h"
#include "core/run/WatchControl.h"
#include "gui/report/RunReport.h"

class QDialog;
class QMainWindow;
class QShortcut;

namespace mardo {

class CDiagramView;
class CModel;
class CWatchBar;
class CWatchOverlay;

// A simulation of the model watched on its own diagram: the session simulates on its thread as
// the run window's does, driven tick by tick through a watch control; the overlay shows the
// snapshots it hands over, and the bar and the keys (Space, →, Shift+→, +, −, Ctrl+P, Escape) drive
// it. The window thread draws at most 60 frames a second whatever the speed. While it lasts the
// main window lets nothing be edited; it ends when the simulation does, with the report's
// figures.
class CModelWatch final : public QObject {
    Q_OBJECT

public:
    static constexpr int kFrameMilliseconds = 16;

    CModelWatch(CModel& model, CDiagramView& diagram, QMainWindow& window);
    // Abandons a simulation that still runs.
    ~CModelWatch() override;

    // Checks the model and starts the simulation, paused before its first tick; false (and the
    // reason shown) when it did not start.
    bool Start();
    // The figures of a simulation that ended with them, once ended() has come.
    std::unique_ptr<SRunReport> TakeReport() { return std::move(m_pReport); }

    CWatchControl& GetControl() { return m_control; }
    CWatchBar& GetBar() const { return *m_pBar; }
    CWatchOverlay& GetOverlay() const { return *m_pOverlay; }

signals:
    // The simulation has ended, by itself or by "Стоп".
    void ended();
    // It waits at the end of tick nTime; or it goes on.
    void paused(std::uint32_t nTime);
    void resumed();

private:
    void AddKey(QKeySequence key, void (CModelWatch::*handler)());
    void OnFrame();
    // Shows the snapshot handed over since the last look, if any; answers whether there was one.
    bool ShowNewSnapshot();
    void RunOrPause();
    void Step();
    void StepToEvent();
    // Either step, taken only while paused.
    void StepBy(void (CWatchControl::*step)());
    void Stop();
    void Faster();
    void Slower();
    void EditConditions();
    void ShowHeld(int nBlock);
    void Finish(CRunSession::EEnd end);
    QString PauseNote() const;

    CModel& m_model;
    CDiagramView& m_diagram;
    QMainWindow& m_window;
    CWatchControl m_control;
    CWatchOverlay* m_pOverlay = nullptr;
    CWatchBar* m_pBar = nullptr;
    std::vector<QShortcut*> m_keys;
    QPointer<QDialog> m_pHeldWindow;
    QTimer m_frameTimer;
    std::vector<SPauseCondition> m_conditions;
    bool m_bRunning = false;  // run asked for, not paused since
    double m_dStepMoveSeconds = 0.0;
    std::unique_ptr<SRunReport> m_pReport;
    // Last, so that it goes first: its simulation must not outlive the blocks' views.
    CRunSession m_session;
};

}  // namespace mardo
