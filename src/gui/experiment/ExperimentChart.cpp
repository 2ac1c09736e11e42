#include "gui/experiment/ExperimentChart.h"

#include <QtCharts/QBarCategoryAxis>
#include <QtCharts/QBarSeries>
#include <QtCharts/QBarSet>
#include <QtCharts/QCategoryAxis>
#include <QtCharts/QChart>
#include <QtCharts/QLineSeries>
#include <QtCharts/QScatterSeries>
#include <QtCharts/QValueAxis>
#include <algorithm>
#include <cmath>

#include "gui/common/TextConversion.h"

namespace mardo::experiment_chart {

namespace {

// How many numeric values of a swept parameter the axis names one by one.
constexpr std::size_t kMostLabelledValues = 12;

// Widens the axis by a tenth of its span on each side (or by one around a single value), with
// bFloor not below zero when it starts at zero or above; rounds its ends and ticks and labels
// them without trailing zeros.
void WithMargin(QValueAxis& axis, bool bFloor) {
    const double dSpan = axis.max() - axis.min();
    const double dMargin = dSpan > 0.0 ? dSpan / 10.0 : std::max(1.0, std::abs(axis.min()) / 10.0);
    // A figure that is never negative (a count, a time) keeps its axis from zero up.
    const double dLow =
        bFloor && axis.min() >= 0.0 ? std::max(0.0, axis.min() - dMargin) : axis.min() - dMargin;
    axis.setRange(dLow, axis.max() + dMargin);
    axis.applyNiceNumbers();
    axis.setLabelFormat(QStringLiteral("%g"));
}

bool IsNumber(const QString& strText) {
    bool bNumber = false;
    strText.toDouble(&bNumber);
    return bNumber;
}

}  // namespace

QChart* Empty(const QString& strTitle) {
    auto* pChart = new QChart;
    pChart->legend()->hide();
    pChart->setTitle(strTitle);
    return pChart;
}

QChart* Means(const QString& strTitle, const std::vector<SMeanPoint>& points,
              const QString& strAxisTitle, bool bZeroLine) {
    QChart* pChart = Empty(strTitle);
    if (points.empty()) {
        return pChart;
    }
    const bool bNumeric =
        !bZeroLine && std::all_of(points.begin(), points.end(),
                                  [](const SMeanPoint& point) { return IsNumber(point.strLabel); });
    std::vector<double> xs;
    for (std::size_t i = 0; i < points.size(); ++i) {
        xs.push_back(bNumeric ? points[i].strLabel.toDouble() : static_cast<double>(i + 1));
    }
    // An error bar has caps, so that a short one still shows beside its point's marker.
    const auto [itLeast, itMost] = std::minmax_element(xs.begin(), xs.end());
    const double dCap = bNumeric && *itMost > *itLeast ? (*itMost - *itLeast) / 40 : 0.08;
    auto* pMeans = new QLineSeries;
    auto* pPoints = new QScatterSeries;
    pPoints->setMarkerSize(7);
    std::vector<QLineSeries*> bars;
    auto* pCategories = new QCategoryAxis;
    pCategories->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    for (std::size_t i = 0; i < points.size(); ++i) {
        const SMeanPoint& point = points[i];
        const double x = xs[i];
        pCategories->append(point.strLabel, x);
        pMeans->append(x, point.dMean);
        pPoints->append(x, point.dMean);
        if (std::isfinite(point.dLow) && std::isfinite(point.dHigh)) {
            auto* pBar = new QLineSeries;
            // One line: the lower cap, back to its middle, up, and the upper cap.
            pBar->append({{x - dCap, point.dLow},
                          {x + dCap, point.dLow},
                          {x, point.dLow},
                          {x, point.dHigh},
                          {x - dCap, point.dHigh},
                          {x + dCap, point.dHigh}});
            bars.push_back(pBar);
        }
    }
    pChart->addSeries(pMeans);
    if (bZeroLine) {
        // Differences of separate alternatives are not joined; the line stays for the axes.
        pMeans->setVisible(false);
        auto* pZero = new QLineSeries;
        pZero->append({{*itLeast - 0.5, 0.0}, {*itMost + 0.5, 0.0}});
        pZero->setColor(Qt::gray);
        pChart->addSeries(pZero);
    }
    // The points in the line's colour, so that they stand out of the theme's light border.
    pPoints->setColor(pMeans->color());
    pPoints->setBorderColor(pMeans->color());
    pChart->addSeries(pPoints);
    for (QLineSeries* pBar : bars) {
        pBar->setColor(Qt::darkRed);
        pChart->addSeries(pBar);
    }
    pChart->createDefaultAxes();
    // The axes fit the points tightly: a margin keeps the first and the last off the plot's
    // edges, where half of a marker and of an error bar would be cut.
    for (QAbstractAxis* pAxis : pChart->axes()) {
        if (auto* pValues = qobject_cast<QValueAxis*>(pAxis)) {
            const bool bVertical = pAxis->orientation() == Qt::Vertical;
            if (bVertical && bZeroLine) {
                // The zero line is what a difference is read against: it stays in sight.
                pValues->setRange(std::min(0.0, pValues->min()), std::max(0.0, pValues->max()));
            }
            WithMargin(*pValues, bVertical && !bZeroLine);
        }
    }
    QAbstractAxis* pAxisX = pChart->axes(Qt::Horizontal).constFirst();
    // A few values are labelled themselves (channels 1 and 2, not 0.5, 1, 1.5...); many
    // numbers get a numbered axis, whose labels cannot crowd.
    if (!bNumeric || points.size() <= kMostLabelledValues) {
        if (!bNumeric) {
            pCategories->setRange(0.5, static_cast<double>(points.size()) + 0.5);
        } else if (const auto* pValues = qobject_cast<const QValueAxis*>(pAxisX)) {
            pCategories->setRange(pValues->min(), pValues->max());
        }
        pChart->removeAxis(pAxisX);
        pChart->addAxis(pCategories, Qt::AlignBottom);
        for (QAbstractSeries* pSeries : pChart->series()) {
            pSeries->attachAxis(pCategories);
        }
        pAxisX = pCategories;
    } else {
        delete pCategories;
    }
    pAxisX->setTitleText(strAxisTitle);
    return pChart;
}

QChart* Histogram(const QString& strTitle, const std::vector<double>& values) {
    QChart* pChart = Empty(strTitle);
    const auto [itMin, itMax] = std::minmax_element(values.begin(), values.end());
    const double dMin = values.empty() ? 0.0 : *itMin;
    const double dMax = values.empty() ? 0.0 : *itMax;
    const int nBins = dMax > dMin ? std::min<int>(10, static_cast<int>(values.size())) : 1;
    const double dWidth = nBins > 1 ? (dMax - dMin) / nBins : 1.0;
    std::vector<int> counts(static_cast<std::size_t>(nBins), 0);
    for (const double d : values) {
        const int nBin = std::min(nBins - 1, static_cast<int>((d - dMin) / dWidth));
        ++counts[static_cast<std::size_t>(nBin)];
    }
    auto* pSet = new QBarSet(Text("Прогоны"));
    QStringList categories;
    for (int b = 0; b < nBins; ++b) {
        *pSet << counts[static_cast<std::size_t>(b)];
        // Each bin by its middle, with as many decimals as tell the bins apart.
        const int nDecimals = std::max(0, -static_cast<int>(std::floor(std::log10(dWidth))));
        categories << QString::number(nBins > 1 ? dMin + dWidth * (b + 0.5) : dMin, 'f',
                                      nBins > 1 ? nDecimals : 6);
    }
    auto* pBars = new QBarSeries;
    pBars->append(pSet);
    pChart->addSeries(pBars);
    auto* pAxisX = new QBarCategoryAxis;
    pAxisX->append(categories);
    pAxisX->setTitleText(Text("Значение (середина интервала)"));
    pChart->addAxis(pAxisX, Qt::AlignBottom);
    pBars->attachAxis(pAxisX);
    auto* pAxisY = new QValueAxis;
    // Whole, round counts at every tick (1, 2 or 5 times a power of ten), at most five steps.
    const int nMost = *std::max_element(counts.begin(), counts.end());
    int nStep = 1;
    for (int nPower = 1; nStep * 5 < nMost; nPower *= 10) {
        for (const int nFactor : {1, 2, 5}) {
            nStep = nFactor * nPower;
            if (nStep * 5 >= nMost) {
                break;
            }
        }
    }
    const int nTicks = std::max(1, (nMost + nStep - 1) / nStep);
    pAxisY->setRange(0, nStep * nTicks);
    pAxisY->setTickCount(nTicks + 1);
    pAxisY->setLabelFormat(QStringLiteral("%d"));
    pAxisY->setTitleText(Text("Число прогонов"));
    pChart->addAxis(pAxisY, Qt::AlignLeft);
    pBars->attachAxis(pAxisY);
    return pChart;
}

QChart* Warmup(const SWarmupChoice& choice) {
    // The warm-up's sentence as the batch runner writes it, the series it was chosen by named;
    // whether the run settled after it, in a word.
    const std::string strWarmup = WarmupText(choice);
    const QString strTitle = Text(strWarmup.substr(0, strWarmup.find('\n'))) +
                             Text(choice.bSteady ? "; стационарный режим достигнут"
                                                 : "; стационарный режим не достигнут");
    QChart* pChart = Empty(strTitle);
    if (choice.averaged.empty() || choice.nInterval == 0) {
        return pChart;
    }
    auto* pSeries = new QLineSeries;
    double dLow = choice.averaged[0];
    double dHigh = choice.averaged[0];
    for (std::size_t i = 0; i < choice.averaged.size(); ++i) {
        // Each interval's mean at its middle.
        pSeries->append((static_cast<double>(i) + 0.5) * choice.nInterval, choice.averaged[i]);
        dLow = std::min(dLow, choice.averaged[i]);
        dHigh = std::max(dHigh, choice.averaged[i]);
    }
    pChart->addSeries(pSeries);
    auto* pWarmup = new QLineSeries;
    pWarmup->append(
        {{static_cast<double>(choice.nTicks), dLow}, {static_cast<double>(choice.nTicks), dHigh}});
    pWarmup->setColor(Qt::darkRed);
    pChart->addSeries(pWarmup);
    pChart->createDefaultAxes();
    for (QAbstractAxis* pAxis : pChart->axes()) {
        if (auto* pValues = qobject_cast<QValueAxis*>(pAxis)) {
            const bool bVertical = pAxis->orientation() == Qt::Vertical;
            if (bVertical) {
                WithMargin(*pValues, true);
                // Each point is the mean over the replications; a short title fits a low chart.
                pValues->setTitleText(choice.seriesKind == EBlockKind::kQueue
                                          ? Text("Длина очереди")
                                          : Text("Загрузка"));
            } else {
                pValues->setRange(0.0,
                                  static_cast<double>(choice.averaged.size()) * choice.nInterval);
                // Round ticks (0, 2 000, 4 000...), not the intervals' multiples.
                pValues->applyNiceNumbers();
                pValues->setLabelFormat(QStringLiteral("%g"));
                pValues->setTitleText(Text("Модельное время, тактов"));
            }
        }
    }
    return pChart;
}

}  // namespace mardo::experiment_chart
