#pragma once

#include <QFile>
#include <QString>
#include <filesystem>
#include <string>

namespace mardo {

// The core keeps every text in UTF-8; these are the two crossings into Qt's strings.
inline QString Text(const char* psz) {
    return QString::fromUtf8(psz);
}
inline QString Text(const std::string& str) {
    return QString::fromStdString(str);
}

// A path chosen in a dialog as the file system spells it (the locale's file name encoding).
inline std::filesystem::path ToFilePath(const QString& strPath) {
    return std::filesystem::path(QFile::encodeName(strPath).toStdString());
}

}  // namespace mardo
