#include "gui/report/TraceChartView.h"

#include <QAreaSeries>
#include <QChart>
#include <QContextMenuEvent>
#include <QLineSeries>
#include <QMenu>
#include <QMouseEvent>
#include <QValueAxis>
#include <algorithm>
#include <cmath>

#include "gui/common/ChartPicture.h"
#include "gui/common/TextConversion.h"

namespace mardo {

namespace {

constexpr int kChartHeight = 220;

// A series as steps: each interval's value held from its first tick to its last.
void AddSteps(QLineSeries& line, const CTimeSeries& series,
              double (*value)(const CTimeSeries::SInterval&)) {
    const auto& intervals = series.GetIntervals();
    for (std::size_t i = 0; i < intervals.size(); ++i) {
        const auto dFirst = static_cast<double>(series.FirstTick(i));
        const double dValue = value(intervals[i]);
        line.append(dFirst, dValue);
        line.append(dFirst + static_cast<double>(intervals[i].nTicks) - 1.0, dValue);
    }
}

// The last tick the series holds.
double LastTick(const CTimeSeries& series) {
    const auto& intervals = series.GetIntervals();
    return intervals.empty() ? 1.0
                             : static_cast<double>(series.FirstTick(intervals.size() - 1) +
                                                   intervals.back().nTicks - 1);
}

QChart* CreateChart(const CTrace::SFollowed& followed) {
    auto* pChart = new QChart;
    pChart->setTitle(Text(followed.strBlock) + QStringLiteral(" — ") + Text(followed.strFigure));
    pChart->legend()->setAlignment(Qt::AlignTop);
    pChart->setMargins(QMargins(4, 4, 4, 4));

    auto* pLow = new QLineSeries;
    auto* pHigh = new QLineSeries;
    auto* pMean = new QLineSeries;
    AddSteps(*pLow, followed.series,
             [](const CTimeSeries::SInterval& i) { return double(i.nMin); });
    AddSteps(*pHigh, followed.series,
             [](const CTimeSeries::SInterval& i) { return double(i.nMax); });
    AddSteps(*pMean, followed.series, [](const CTimeSeries::SInterval& i) { return i.Mean(); });
    auto* pBand = new QAreaSeries(pHigh, pLow);
    pBand->setName(QStringLiteral("от наименьшего до наибольшего"));
    pBand->setColor(QColor(120, 160, 220, 90));
    pBand->setBorderColor(QColor(120, 160, 220, 140));
    pMean->setName(QStringLiteral("среднее"));
    pMean->setColor(QColor(20, 60, 140));
    pChart->addSeries(pBand);
    pChart->addSeries(pMean);

    std::uint32_t nTop = 1;
    for (const CTimeSeries::SInterval& interval : followed.series.GetIntervals()) {
        nTop = std::max(nTop, interval.nMax);
    }
    // Time runs to the last tick the simulation had, not to a rounder number.
    auto* pTime = new QValueAxis;
    pTime->setTitleText(QStringLiteral("Модельное время"));
    pTime->setLabelFormat(QStringLiteral("%.0f"));
    pTime->setRange(0.0, std::max(LastTick(followed.series), 1.0));
    auto* pValue = new QValueAxis;
    pValue->setLabelFormat(QStringLiteral("%.0f"));
    pValue->setRange(0.0, nTop);
    if (nTop <= 4) {
        pValue->setTickCount(static_cast<int>(nTop) + 1);  // whole numbers only
    } else {
        pValue->setTickCount(5);  // few enough to be read in a small chart
        pValue->applyNiceNumbers();
    }
    pChart->addAxis(pTime, Qt::AlignBottom);
    pChart->addAxis(pValue, Qt::AlignLeft);
    for (QAbstractSeries* pSeries : pChart->series()) {
        pSeries->attachAxis(pTime);
        pSeries->attachAxis(pValue);
    }
    return pChart;
}

QString Number(double dValue) {
    return QString::number(dValue, 'f', dValue == std::floor(dValue) ? 0 : 2);
}

}  // namespace

CTraceChartView::CTraceChartView(const CTrace::SFollowed& followed, QWidget* pParent)
    : QChartView(CreateChart(followed), pParent), m_followed(followed) {
    setRenderHint(QPainter::Antialiasing);
    setMinimumHeight(kChartHeight);
    setRubberBand(QChartView::HorizontalRubberBand);
    setMouseTracking(true);
}

QString CTraceChartView::ReadingAt(QPoint ptView) const {
    const QPointF ptScene = mapToScene(ptView);
    if (!chart()->plotArea().contains(ptScene)) {
        return {};
    }
    const double dTime = std::round(chart()->mapToValue(ptScene).x());
    const CTimeSeries& series = m_followed.series;
    const auto& intervals = series.GetIntervals();
    if (intervals.empty() || dTime < 1.0 || dTime > LastTick(series)) {
        return {};
    }
    const std::size_t i = std::min(intervals.size() - 1,
                                   static_cast<std::size_t>((dTime - 1.0) / series.GetLength()));
    const CTimeSeries::SInterval& interval = intervals[i];
    const QString strTicks = interval.nTicks > 1
                                 ? QStringLiteral("такты %1–%2")
                                       .arg(series.FirstTick(i))
                                       .arg(series.FirstTick(i) + interval.nTicks - 1)
                                 : QStringLiteral("такт %1").arg(series.FirstTick(i));
    return QStringLiteral("%1, %2: среднее %3, наименьшее %4, наибольшее %5")
        .arg(Text(m_followed.strBlock), strTicks, Number(interval.Mean()))
        .arg(interval.nMin)
        .arg(interval.nMax);
}

bool CTraceChartView::IsZoomed() const {
    return chart()->isZoomed();
}

void CTraceChartView::ShowWholeTime() {
    chart()->zoomReset();
}

void CTraceChartView::SaveAs() {
    SaveChartAs(this, *this, Text(m_followed.strBlock) + QStringLiteral(".png"));
}

void CTraceChartView::mouseMoveEvent(QMouseEvent* pEvent) {
    QChartView::mouseMoveEvent(pEvent);
    emit readingChanged(ReadingAt(pEvent->position().toPoint()));
}

void CTraceChartView::mouseReleaseEvent(QMouseEvent* pEvent) {
    // The right button opens the popup menu here; the view alone would zoom out with it.
    if (pEvent->button() == Qt::RightButton) {
        pEvent->accept();
        return;
    }
    QChartView::mouseReleaseEvent(pEvent);
}

void CTraceChartView::mouseDoubleClickEvent(QMouseEvent* pEvent) {
    ShowWholeTime();
    pEvent->accept();
}

void CTraceChartView::contextMenuEvent(QContextMenuEvent* pEvent) {
    QMenu menu(this);
    connect(menu.addAction(QStringLiteral("Сохранить &как...")), &QAction::triggered, this,
            &CTraceChartView::SaveAs);
    QAction* pWhole = menu.addAction(QStringLiteral("&Весь интервал"));
    pWhole->setEnabled(IsZoomed());
    connect(pWhole, &QAction::triggered, this, &CTraceChartView::ShowWholeTime);
    menu.exec(pEvent->globalPos());
}

void CTraceChartView::leaveEvent(QEvent* pEvent) {
    QChartView::leaveEvent(pEvent);
    emit readingChanged(QString());
}

}  // namespace mardo
