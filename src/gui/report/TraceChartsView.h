#pragma once

#include <QWidget>
#include <vector>

#include "core/sim/Trace.h"

class QListWidget;
class QListWidgetItem;
class QVBoxLayout;

namespace mardo {

// The report's charts: how each queue's content and each device's state went over model time,
// one chart per block, for the blocks ticked in the list beside them. Each chart draws the mean
// of every interval of ticks as a line and the least and greatest values as a band around it.
class CTraceChartsView : public QWidget {
    Q_OBJECT

public:
    static constexpr int kFirstShown = 4;  // the blocks ticked when the view opens

    CTraceChartsView(std::vector<CTrace::SFollowed> followed, QWidget* pParent = nullptr);

    // How many charts are shown now.
    int GetChartCount() const;

private:
    void ShowCharts();
    QWidget* CreateChart(const CTrace::SFollowed& followed) const;

    std::vector<CTrace::SFollowed> m_followed;
    QListWidget* m_pBlocks = nullptr;
    QVBoxLayout* m_pCharts = nullptr;
};

}  // namespace mardo
