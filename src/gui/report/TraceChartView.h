#pragma once

#include <QChartView>
#include <QString>

#include "core/sim/Trace.h"

namespace mardo {

// One chart of the report: how a block's figure went over model time, the mean of every interval
// of ticks as a line and the least and greatest values as a band around it, with a legend that
// says which is which. A stretch of time dragged over with the mouse fills the chart; a double
// click, or "&Весь интервал" of its popup menu, shows all of it again. The popup also saves the
// chart as a picture.
class CTraceChartView final : public QChartView {
    Q_OBJECT

public:
    // The followed figure must outlive the view.
    CTraceChartView(const CTrace::SFollowed& followed, QWidget* pParent = nullptr);

    // The figures at a point of the view: the model time under it and its interval's mean,
    // least and greatest value; empty off the plot.
    QString ReadingAt(QPoint ptView) const;
    // Whether a stretch of time fills the chart instead of the whole simulation.
    bool IsZoomed() const;
    void ShowWholeTime();
    void SaveAs();

signals:
    // The reading under the pointer as it moves, empty when it leaves the plot.
    void readingChanged(const QString& strReading);

protected:
    void mouseMoveEvent(QMouseEvent* pEvent) override;
    void mouseReleaseEvent(QMouseEvent* pEvent) override;
    void mouseDoubleClickEvent(QMouseEvent* pEvent) override;
    void contextMenuEvent(QContextMenuEvent* pEvent) override;
    void leaveEvent(QEvent* pEvent) override;

private:
    const CTrace::SFollowed& m_followed;
};

}  // namespace mardo
