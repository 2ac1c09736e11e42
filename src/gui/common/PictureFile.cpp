#include "gui/common/PictureFile.h"

#include <QImage>
#include <QImageWriter>
#include <QPainter>
#include <QSaveFile>
#include <QSvgGenerator>
#include <cmath>

namespace mardo {

namespace {

// The text of a file's failure: the reason it gives, or the general one when it gives none.
QString Reason(const QFileDevice& file) {
    return file.errorString().isEmpty() ? QStringLiteral("файл не записан") : file.errorString();
}

}  // namespace

QString WritePng(const QImage& image, const QString& strPath) {
    QSaveFile file(strPath);
    if (!file.open(QIODevice::WriteOnly)) {
        return Reason(file);
    }
    QImageWriter writer(&file, "png");
    if (!writer.write(image)) {
        file.cancelWriting();
        return writer.errorString();
    }
    return file.commit() ? QString() : Reason(file);
}

QString WriteSvg(const QString& strPath, QSize size, const QString& strTitle, double dDotsPerInch,
                 const std::function<void(QPainter&)>& draw) {
    QSaveFile file(strPath);
    if (!file.open(QIODevice::WriteOnly)) {
        return Reason(file);
    }
    QSvgGenerator svg;
    svg.setOutputDevice(&file);
    svg.setSize(size);
    svg.setViewBox(QRect(QPoint(0, 0), size));
    svg.setResolution(static_cast<int>(std::lround(dDotsPerInch)));
    svg.setTitle(strTitle);
    QPainter painter;
    if (!painter.begin(&svg)) {
        file.cancelWriting();
        return Reason(file);
    }
    draw(painter);
    painter.end();
    return file.commit() ? QString() : Reason(file);
}

}  // namespace mardo
