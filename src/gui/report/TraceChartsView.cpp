#include "gui/report/TraceChartsView.h"

#include <QAreaSeries>
#include <QChart>
#include <QChartView>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineSeries>
#include <QListWidget>
#include <QScrollArea>
#include <QValueAxis>
#include <QVBoxLayout>
#include <algorithm>

#include "gui/common/TextConversion.h"

namespace mardo {

namespace {

constexpr int kChartHeight = 220;

// A series as steps: each interval's value held from its first tick to its last.
void AddSteps(QLineSeries& line, const CTimeSeries& series, double (*value)(const CTimeSeries::SInterval&)) {
    const auto& intervals = series.GetIntervals();
    for (std::size_t i = 0; i < intervals.size(); ++i) {
        const auto dFirst = static_cast<double>(series.FirstTick(i));
        const double dValue = value(intervals[i]);
        line.append(dFirst, dValue);
        line.append(dFirst + static_cast<double>(intervals[i].nTicks) - 1.0, dValue);
    }
}

}  // namespace

CTraceChartsView::CTraceChartsView(std::vector<CTrace::SFollowed> followed, QWidget* pParent)
    : QWidget(pParent), m_followed(std::move(followed)) {
    auto* pLayout = new QHBoxLayout(this);
    m_pBlocks = new QListWidget(this);
    m_pBlocks->setMaximumWidth(160);
    for (std::size_t i = 0; i < m_followed.size(); ++i) {
        auto* pItem = new QListWidgetItem(Text(m_followed[i].strBlock), m_pBlocks);
        pItem->setToolTip(Text(m_followed[i].strFigure));
        pItem->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        pItem->setCheckState(static_cast<int>(i) < kFirstShown ? Qt::Checked : Qt::Unchecked);
    }
    pLayout->addWidget(m_pBlocks);

    auto* pScroll = new QScrollArea(this);
    pScroll->setWidgetResizable(true);
    auto* pCharts = new QWidget(pScroll);
    m_pCharts = new QVBoxLayout(pCharts);
    pScroll->setWidget(pCharts);
    pLayout->addWidget(pScroll, 1);

    connect(m_pBlocks, &QListWidget::itemChanged, this, [this] { ShowCharts(); });
    ShowCharts();
}

int CTraceChartsView::GetChartCount() const {
    return static_cast<int>(findChildren<QChartView*>().size());
}

void CTraceChartsView::ShowCharts() {
    while (QLayoutItem* pItem = m_pCharts->takeAt(0)) {
        delete pItem->widget();
        delete pItem;
    }
    for (int i = 0; i < m_pBlocks->count(); ++i) {
        if (m_pBlocks->item(i)->checkState() == Qt::Checked) {
            m_pCharts->addWidget(CreateChart(m_followed[static_cast<std::size_t>(i)]));
        }
    }
    if (m_pCharts->isEmpty()) {
        auto* pNote = new QLabel(m_followed.empty()
                                     ? QStringLiteral("В модели нет очередей и устройств обслуживания.")
                                     : QStringLiteral("Отметьте блоки в списке слева."),
                                 this);
        pNote->setAlignment(Qt::AlignCenter);
        m_pCharts->addWidget(pNote);
    }
    m_pCharts->addStretch();
}

QWidget* CTraceChartsView::CreateChart(const CTrace::SFollowed& followed) const {
    auto* pChart = new QChart;
    pChart->setTitle(Text(followed.strBlock) + QStringLiteral(" — ") + Text(followed.strFigure));
    pChart->legend()->hide();
    pChart->setMargins(QMargins(4, 4, 4, 4));

    auto* pLow = new QLineSeries;
    auto* pHigh = new QLineSeries;
    auto* pMean = new QLineSeries;
    AddSteps(*pLow, followed.series, [](const CTimeSeries::SInterval& i) { return double(i.nMin); });
    AddSteps(*pHigh, followed.series, [](const CTimeSeries::SInterval& i) { return double(i.nMax); });
    AddSteps(*pMean, followed.series, [](const CTimeSeries::SInterval& i) { return i.Mean(); });
    auto* pBand = new QAreaSeries(pHigh, pLow);
    pBand->setName(QStringLiteral("наименьшее и наибольшее"));
    pBand->setColor(QColor(120, 160, 220, 90));
    pBand->setBorderColor(QColor(120, 160, 220, 140));
    pMean->setName(QStringLiteral("среднее"));
    pMean->setColor(QColor(20, 60, 140));
    pChart->addSeries(pBand);
    pChart->addSeries(pMean);

    const auto& intervals = followed.series.GetIntervals();
    std::uint32_t nTop = 1;
    for (const CTimeSeries::SInterval& interval : intervals) {
        nTop = std::max(nTop, interval.nMax);
    }
    const double dEnd = intervals.empty() ? 1.0
                                          : static_cast<double>(followed.series.FirstTick(intervals.size() - 1) +
                                                                intervals.back().nTicks - 1);
    auto* pTime = new QValueAxis;
    pTime->setTitleText(QStringLiteral("Модельное время"));
    pTime->setLabelFormat(QStringLiteral("%.0f"));
    pTime->setRange(1.0, std::max(dEnd, 2.0));
    pTime->applyNiceNumbers();
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

    auto* pView = new QChartView(pChart);
    pView->setRenderHint(QPainter::Antialiasing);
    pView->setMinimumHeight(kChartHeight);
    return pView;
}

}  // namespace mardo
