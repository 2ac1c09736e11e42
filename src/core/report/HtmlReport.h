#pragma once

#include <ctime>
#include <filesystem>
#include <string>

#include "core/persist/FileSystem.h"

namespace mardo {

class CReportTables;

// The report as one HTML 3.2 page: a title block with the model's name and the date, a
// summary, the three tables (each only when it has rows) and the closing tags, written in
// Windows-1251 without line breaks. strModelName is the last component of the model file's
// path; it and every block name are escaped so that no name can inject markup into the page.
// tmLocal is one reading of the clock in local time.
std::string BuildHtmlReport(const CReportTables& report, const std::string& strModelName,
                            const std::tm& tmLocal);

// The page's date line: "7 декабря 2026 г., 21:08:05" (UTF-8).
std::string FormatReportDate(const std::tm& tmLocal);

// The local time now, or at the instant given by SOURCE_DATE_EPOCH when bHonourSourceDate is set
// and that variable holds an integer (seconds since 1970-01-01 UTC).
std::tm ReportClock(bool bHonourSourceDate);

// The name proposed when saving the report: the model's name up to its last dot, or nothing.
std::string ProposedReportName(const std::string& strModelName);

inline constexpr const char* kReportSaveErrorText = "Ошибка при сохранении протокола.";

// Writes the page to a file; false when the file cannot be created or written.
bool SaveHtmlReport(const std::string& strPage, const std::filesystem::path& path,
                    CFileSystem& fileSystem = CFileSystem::Standard());

}  // namespace mardo
