#pragma once

#include <QWidget>
#include <vector>

#include "core/sim/Trace.h"

class QLabel;
class QListWidget;
class QVBoxLayout;

namespace mardo {

class CTraceChartView;

// The report's charts: how each queue's content and each device's state went over model time,
// one chart per block, for the blocks ticked in the list beside them, all of one height. Below
// them a line reads the figures under the pointer, or says how to zoom and save.
class CTraceChartsView : public QWidget {
    Q_OBJECT

public:
    static constexpr int kFirstShown = 4;  // the blocks ticked when the view opens

    CTraceChartsView(std::vector<CTrace::SFollowed> followed, QWidget* pParent = nullptr);

    // The charts shown now, in the list's order.
    std::vector<CTraceChartView*> GetCharts() const;
    int GetChartCount() const { return static_cast<int>(GetCharts().size()); }
    QListWidget& GetBlockList() const { return *m_pBlocks; }
    // The note shown instead of charts when none is ticked, or null.
    const QLabel* GetNote() const { return m_pNote; }
    const QLabel& GetReadingLine() const { return *m_pReading; }

private:
    void ShowCharts();
    void ShowReading(const QString& strReading);

    std::vector<CTrace::SFollowed> m_followed;
    QListWidget* m_pBlocks = nullptr;
    QVBoxLayout* m_pCharts = nullptr;
    QLabel* m_pNote = nullptr;
    QLabel* m_pReading = nullptr;
};

}  // namespace mardo
