#pragma once

#include <QDockWidget>
#include <cstdint>

class QLabel;
class QPushButton;
class QSlider;

namespace mardo {

// The watch's control bar, docked below the diagram and never modal: run and pause, a step,
// a step to the next move, the speed, the model time and departures, the pause conditions and
// the stop. Its buttons take no focus, so that the keys stay with the diagram.
class CWatchBar final : public QDockWidget {
    Q_OBJECT

public:
    explicit CWatchBar(QWidget* pParent);

    // The speeds the slider offers, in ticks a second; 0 (the last) is as fast as possible.
    static std::uint32_t PaceAt(int nPosition);
    std::uint32_t GetPace() const;
    // One speed faster (1) or slower (-1).
    void StepSpeed(int nBy);

    void ShowPaused(bool bPaused);
    void ShowFigures(std::uint32_t nTime, std::uint32_t nDeparted);
    // Why it paused, or an empty text.
    void ShowNote(const QString& strNote);

signals:
    void runOrPause();
    void step();
    void stepToEvent();
    void paceChanged(std::uint32_t nTicksPerSecond);
    void conditions();
    void stop();

private:
    QPushButton* AddButton(const char* pszText, void (CWatchBar::*signal)());

    QPushButton* m_pRunButton = nullptr;
    QPushButton* m_pStepButton = nullptr;
    QPushButton* m_pEventButton = nullptr;
    QSlider* m_pSpeed = nullptr;
    QLabel* m_pSpeedLabel = nullptr;
    QLabel* m_pTimeLabel = nullptr;
    QLabel* m_pDepartedLabel = nullptr;
    QLabel* m_pNoteLabel = nullptr;
};

}  // namespace mardo
