#pragma once

#include <QSize>
#include <QString>
#include <functional>

class QImage;
class QPainter;

namespace mardo {

// Pictures written to files. Each answers an empty text when the file was written, else the
// reason it was not, as the system gives it, for the message the user is shown. A file that
// cannot be written wholly is left as it was.

QString WritePng(const QImage& image, const QString& strPath);

// An SVG picture of the size, drawn by draw. dDotsPerInch is the resolution at which what is
// drawn was laid out: fonts sized in points are then written in the same pixels, and another
// program draws every text as wide as this one does.
QString WriteSvg(const QString& strPath, QSize size, const QString& strTitle, double dDotsPerInch,
                 const std::function<void(QPainter&)>& draw);

}  // namespace mardo
