#include "gui/common/ChartPicture.h"

#include <QFontInfo>
#include <QGraphicsScene>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QScreen>
#include <QtCharts/QAbstractAxis>
#include <QtCharts/QAreaSeries>
#include <QtCharts/QChart>
#include <QtCharts/QChartView>
#include <QtCharts/QLegend>
#include <QtCharts/QLineSeries>
#include <QtCharts/QValueAxis>
#include <QtCharts/QXYSeries>
#include <algorithm>
#include <functional>
#include <utility>
#include <vector>

#include "gui/common/Dialogs.h"
#include "gui/common/PictureFile.h"

namespace mardo {

namespace {

// A font as the toolkit resolved it: the family it really drew with (not an alias such as
// "Sans Serif", which another program may take for a font of other widths) at its pixel size.
QFont Resolved(const QFont& font) {
    const QFontInfo info(font);
    QFont resolved(font);
    resolved.setFamily(info.family());
    resolved.setPixelSize(info.pixelSize());
    return resolved;
}

// Every font of the chart, each with the function that sets it back.
std::vector<std::pair<QFont, std::function<void(const QFont&)>>> ChartFonts(QChart& chart) {
    std::vector<std::pair<QFont, std::function<void(const QFont&)>>> fonts;
    fonts.emplace_back(chart.titleFont(), [&chart](const QFont& f) { chart.setTitleFont(f); });
    fonts.emplace_back(chart.legend()->font(),
                       [&chart](const QFont& f) { chart.legend()->setFont(f); });
    for (QAbstractAxis* pAxis : chart.axes()) {
        fonts.emplace_back(pAxis->labelsFont(),
                           [pAxis](const QFont& f) { pAxis->setLabelsFont(f); });
        fonts.emplace_back(pAxis->titleFont(), [pAxis](const QFont& f) { pAxis->setTitleFont(f); });
    }
    return fonts;
}

// Each line of a chart, also those an area lies between, with the axes it is drawn against.
std::vector<std::pair<QXYSeries*, QList<QAbstractAxis*>>> Lines(const QChart& chart) {
    std::vector<std::pair<QXYSeries*, QList<QAbstractAxis*>>> lines;
    for (QAbstractSeries* pSeries : chart.series()) {
        if (auto* pArea = qobject_cast<QAreaSeries*>(pSeries)) {
            for (QXYSeries* pEdge : {static_cast<QXYSeries*>(pArea->upperSeries()),
                                     static_cast<QXYSeries*>(pArea->lowerSeries())}) {
                if (pEdge != nullptr) {
                    lines.emplace_back(pEdge, pArea->attachedAxes());
                }
            }
        } else if (auto* pLine = qobject_cast<QXYSeries*>(pSeries)) {
            lines.emplace_back(pLine, pLine->attachedAxes());
        }
    }
    return lines;
}

// The SVG writer drops the clip of the plot area, so the points beyond the axes' ranges (those
// of the times a zoomed chart leaves out) are laid onto the ranges' edges while the picture is
// drawn; the lines' points as they were are answered, to be put back.
std::vector<std::pair<QXYSeries*, QList<QPointF>>> ClampToAxes(const QChart& chart) {
    std::vector<std::pair<QXYSeries*, QList<QPointF>>> kept;
    for (const auto& [pLine, axes] : Lines(chart)) {
        QList<QPointF> points = pLine->points();
        kept.emplace_back(pLine, points);
        for (const QAbstractAxis* pAxis : axes) {
            if (const auto* pValues = qobject_cast<const QValueAxis*>(pAxis)) {
                const bool bAcross = pAxis->orientation() == Qt::Horizontal;
                for (QPointF& pt : points) {
                    qreal& dCoordinate = bAcross ? pt.rx() : pt.ry();
                    dCoordinate = std::clamp(dCoordinate, pValues->min(), pValues->max());
                }
            }
        }
        pLine->replace(points);
    }
    return kept;
}

QString Render(QGraphicsScene& scene, const QString& strPath, QSize size, const QString& strTitle) {
    const QRectF area(QPointF(0, 0), size);
    if (strPath.endsWith(QStringLiteral(".svg"), Qt::CaseInsensitive)) {
        // The scene measured its texts at the screen's resolution.
        const double dDpi = QGuiApplication::primaryScreen() != nullptr
                                ? QGuiApplication::primaryScreen()->logicalDotsPerInch()
                                : 96.0;
        return WriteSvg(strPath, size, strTitle, dDpi,
                        [&scene, &area](QPainter& painter) { scene.render(&painter, area, area); });
    }
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        scene.render(&painter, area, area);
    }
    return WritePng(image, strPath);
}

}  // namespace

QString WriteChartPicture(QChartView& view, const QString& strPath, QSize size) {
    // The view lets go of its chart for a while, to lay it out at the picture's size in a scene
    // of its own, and then takes it back as it was.
    QChart* pChart = view.chart();
    auto* pStandIn = new QChart;
    view.setChart(pStandIn);
    QGraphicsScene scene;
    scene.setBackgroundBrush(Qt::white);
    scene.addItem(pChart);
    const auto fonts = ChartFonts(*pChart);
    for (const auto& [font, setFont] : fonts) {
        setFont(Resolved(font));
    }
    const qreal dRoundness = pChart->backgroundRoundness();
    pChart->setBackgroundRoundness(0);
    pChart->setGeometry(QRectF(QPointF(0, 0), size));
    const auto points = ClampToAxes(*pChart);
    const QString strReason = Render(scene, strPath, size, pChart->title());
    for (const auto& [pLine, kept] : points) {
        pLine->replace(kept);
    }
    pChart->setBackgroundRoundness(dRoundness);
    for (const auto& [font, setFont] : fonts) {
        setFont(font);
    }
    scene.removeItem(pChart);
    view.setChart(pChart);
    delete pStandIn;
    return strReason;
}

void SaveChartAs(QWidget* pParent, QChartView& view, const QString& strProposed) {
    const QString strPath = ShowFileDialog(
        pParent, {true, strProposed, QStringLiteral("Диаграмма PNG (*.png);;Диаграмма SVG (*.svg)"),
                  QStringLiteral("png"), QString()});
    if (strPath.isEmpty()) {
        return;
    }
    const QString strFile = WithSuffix(strPath, QStringLiteral("png"), {QStringLiteral("svg")});
    const QString strReason = WriteChartPicture(view, strFile);
    if (!strReason.isEmpty()) {
        ShowMessage(pParent,
                    QStringLiteral("Не удалось записать файл %1: %2").arg(strFile, strReason),
                    EMessageIcon::kError);
    }
}

}  // namespace mardo
