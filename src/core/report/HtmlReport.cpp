#include "core/report/HtmlReport.h"

#include <array>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string_view>

#include "core/persist/Cp1251.h"
#include "core/report/ReportTables.h"

namespace mardo {

namespace {

constexpr std::array<const char*, 12> kGenitiveMonths = {
    "января", "февраля", "марта",    "апреля",  "мая",    "июня",
    "июля",   "августа", "сентября", "октября", "ноября", "декабря"};

constexpr std::string_view kHeadStart =
    "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 3.2//EN\"><HTML><HEAD><TITLE>Отчет о запуске "
    "модели &quot";
constexpr std::string_view kHeadMiddle =
    "&quot</TITLE></HEAD><BODY BGCOLOR=\"C0DCC0\"><TABLE WIDTH=\"100%\"><TR ALIGN=CENTER "
    "VALIGN=MIDDLE><TD><TABLE ALIGN=CENTER WIDTH=\"100%\"><TR ALIGN=CENTER VALIGN=MIDDLE><TD "
    "NOWRAP><FONT SIZE=6><B>Отчет о запуске модели</B></FONT></TD></TR><TR ALIGN=CENTER "
    "VALIGN=MIDDLE><TD NOWRAP><FONT SIZE=6><B>&quot";
constexpr std::string_view kHeadEnd =
    "&quot</B></FONT></TD></TR><TR ALIGN=RIGHT VALIGN=MIDDLE><TD NOWRAP><FONT SIZE=4><I>";

constexpr std::string_view kGap = "<TR><TD HEIGHT=25></TD></TR>";
constexpr std::string_view kSummaryStart = "<TR><TD><TABLE ALIGN=LEFT>";
constexpr std::string_view kSummaryLineStart =
    "<TR ALIGN=LEFT VALIGN=MIDDLE><TD NOWRAP><FONT SIZE=4><B>";
constexpr std::string_view kSummaryLineMiddle =
    "</B></FONT></TD><TD WIDTH=5></TD><TD><FONT SIZE=4><B>";
constexpr std::string_view kSummaryLineEnd = "</B></FONT></TD></TR>";
constexpr std::string_view kTableEnd = "</TABLE></TD></TR>";
constexpr std::string_view kTableStart =
    "<TR><TD><TABLE ALIGN=LEFT WIDTH=\"100%\" BORDER=1><CAPTION ALIGN=TOP><DIV "
    "ALIGN=LEFT>Таблица - &quot";
constexpr std::string_view kCaptionEnd = "&quot</DIV></CAPTION><TR ALIGN=CENTER VALIGN=MIDDLE>";
constexpr std::string_view kRowStart = "<TR ALIGN=CENTER VALIGN=MIDDLE>";
constexpr std::string_view kPageEnd = "</TABLE></BODY></HTML>";

// A text placed in the page: names must not carry markup into it.
std::string Escape(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (const char ch : text) {
        switch (ch) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            default:
                out += ch;
        }
    }
    return out;
}

void AppendTable(std::string& page, const CReportTables& report, int nTable) {
    page += kGap;
    page += kTableStart;
    page += CReportTables::GetTitle(nTable);
    page += kCaptionEnd;
    for (const std::string& strColumn : CReportTables::GetColumnTitles(nTable)) {
        page += "<TH>" + strColumn + "</TH>";
    }
    page += "</TR>";
    // Names and kinds are written left-aligned without wrapping.
    const std::vector<SReportColumn>& columns = CReportTables::GetColumns(nTable);
    for (const std::vector<std::string>& row : report.GetCells(nTable)) {
        page += kRowStart;
        for (std::size_t nColumn = 0; nColumn < row.size(); ++nColumn) {
            if (columns[nColumn].IsText()) {
                page += "<TD ALIGN=LEFT NOWRAP>" + Escape(row[nColumn]) + "</TD>";
            } else {
                page += "<TD>" + row[nColumn] + "</TD>";
            }
        }
        page += "</TR>";
    }
    page += kTableEnd;
}

void AppendSummaryLine(std::string& page, std::string_view label, const std::string& strValue) {
    page += kSummaryLineStart;
    page += label;
    page += kSummaryLineMiddle;
    page += strValue;
    page += kSummaryLineEnd;
}

}  // namespace

std::string FormatReportDate(const std::tm& tmLocal) {
    const std::size_t nMonth = static_cast<std::size_t>(tmLocal.tm_mon) % kGenitiveMonths.size();
    std::string strDate = std::to_string(tmLocal.tm_mday) + " " + kGenitiveMonths[nMonth] + " " +
                          std::to_string(tmLocal.tm_year + 1900) + " г., ";
    char szTime[32];
    if (std::strftime(szTime, sizeof szTime, "%H:%M:%S", &tmLocal) != 0) {
        strDate += szTime;
    }
    return strDate;
}

std::string BuildHtmlReport(const CReportTables& report, const std::string& strModelName,
                            const std::tm& tmLocal) {
    const std::string strName = Escape(strModelName);
    std::string page;
    page += kHeadStart;
    page += strName;
    page += kHeadMiddle;
    page += strName;
    page += kHeadEnd;
    page += FormatReportDate(tmLocal);

    page += kGap;
    page += kSummaryStart;
    AppendSummaryLine(page, "Количество блоков в модели:", report.FormatBlockCount());
    AppendSummaryLine(page, "Время моделирования:", report.FormatModelTime());
    AppendSummaryLine(page, "Количество транзактов, вышедших из системы:",
                      report.FormatDeparted());
    AppendSummaryLine(page,
                      "Количество транзактов, оставшихся в системе на конец периода "
                      "моделирования:",
                      report.FormatTotalRemaining());
    page += kTableEnd;

    for (int nTable = 0; nTable < CReportTables::kTableCount; ++nTable) {
        if (report.GetRowCount(nTable) != 0) {
            AppendTable(page, report, nTable);
        }
    }
    page += kPageEnd;
    return Utf8ToCp1251Lossy(page);
}

std::tm ReportClock(bool bHonourSourceDate) {
    std::time_t nNow = std::time(nullptr);
    if (bHonourSourceDate) {
        if (const char* pszEpoch = std::getenv("SOURCE_DATE_EPOCH")) {
            char* pszEnd = nullptr;
            const long long nEpoch = std::strtoll(pszEpoch, &pszEnd, 10);
            if (pszEnd != pszEpoch && *pszEnd == '\0') {
                nNow = static_cast<std::time_t>(nEpoch);
            }
        }
    }
    // localtime shares one buffer between threads; one reading at a time.
    static std::mutex mutex;
    std::lock_guard<std::mutex> lock(mutex);
    const std::tm* pLocal = std::localtime(&nNow);
    return pLocal != nullptr ? *pLocal : std::tm{};
}

std::string ProposedReportName(const std::string& strModelName) {
    const std::size_t nDot = strModelName.rfind('.');
    return nDot == std::string::npos ? std::string() : strModelName.substr(0, nDot);
}

bool SaveHtmlReport(const std::string& strPage, const std::filesystem::path& path,
                    CFileSystem& fileSystem) {
    return ReplaceFile(path, std::vector<std::uint8_t>(strPage.begin(), strPage.end()), fileSystem);
}

}  // namespace mardo
