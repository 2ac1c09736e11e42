#pragma once

#include <QSize>
#include <QString>

class QChartView;
class QWidget;

namespace mardo {

// The size a chart is written at: larger than it is shown, for a page or a slide.
inline constexpr QSize kChartPictureSize(1200, 700);

// Writes the chart a view shows, laid out anew at the size, as a PNG or (by the path's suffix) an
// SVG picture: the chart alone on white, not the window around it. Its texts are written in the
// fonts they were measured in, so that another program draws them as wide. Answers why the file
// was not written, or an empty text.
QString WriteChartPicture(QChartView& view, const QString& strPath, QSize size = kChartPictureSize);

// "Сохранить как..." for a chart alone: asks for a PNG or SVG file, proposing strProposed, writes
// the picture and says why when it could not.
void SaveChartAs(QWidget* pParent, QChartView& view, const QString& strProposed);

}  // namespace mardo
