#include "cli/TextTable.h"

#include <algorithm>
#include <sstream>

namespace mardo::cli {

namespace {

constexpr std::size_t kMinWidth = 10;
constexpr const char* kGap = "  ";

std::vector<std::string> Words(const std::string& strText) {
    std::istringstream stream(strText);
    std::vector<std::string> words;
    for (std::string strWord; stream >> strWord;) {
        words.push_back(strWord);
    }
    return words;
}

// The title broken into lines no wider than nWidth (a longer word gets a line of its own).
std::vector<std::string> Wrap(const std::string& strTitle, std::size_t nWidth) {
    std::vector<std::string> lines;
    std::string strLine;
    for (const std::string& strWord : Words(strTitle)) {
        if (!strLine.empty() && DisplayWidth(strLine) + 1 + DisplayWidth(strWord) > nWidth) {
            lines.push_back(strLine);
            strLine.clear();
        }
        strLine += (strLine.empty() ? "" : " ") + strWord;
    }
    if (!strLine.empty()) {
        lines.push_back(strLine);
    }
    return lines;
}

std::string Pad(const std::string& strText, std::size_t nWidth, bool bLeft) {
    const std::string strFill(nWidth - std::min(nWidth, DisplayWidth(strText)), ' ');
    return bLeft ? strText + strFill : strFill + strText;
}

}  // namespace

std::size_t DisplayWidth(const std::string& strText) {
    return static_cast<std::size_t>(std::count_if(strText.begin(), strText.end(), [](char ch) {
        return (static_cast<unsigned char>(ch) & 0xC0) != 0x80;
    }));
}

std::string FormatTextTable(const std::vector<std::string>& titles,
                            const std::vector<std::vector<std::string>>& rows,
                            const std::vector<bool>& leftAligned) {
    std::vector<std::size_t> widths(titles.size(), kMinWidth);
    for (std::size_t c = 0; c < titles.size(); ++c) {
        for (const std::string& strWord : Words(titles[c])) {
            widths[c] = std::max(widths[c], DisplayWidth(strWord));
        }
        for (const auto& row : rows) {
            widths[c] = std::max(widths[c], DisplayWidth(row[c]));
        }
    }
    std::vector<std::vector<std::string>> headers;
    std::size_t nHeaderLines = 0;
    for (std::size_t c = 0; c < titles.size(); ++c) {
        headers.push_back(Wrap(titles[c], widths[c]));
        nHeaderLines = std::max(nHeaderLines, headers.back().size());
    }
    std::string strOut;
    auto appendLine = [&](auto cellOf) {
        std::string strLine;
        for (std::size_t c = 0; c < titles.size(); ++c) {
            strLine += (c == 0 ? "" : kGap) + cellOf(c);
        }
        strLine.erase(strLine.find_last_not_of(' ') + 1);
        strOut += strLine + "\n";
    };
    for (std::size_t nLine = 0; nLine < nHeaderLines; ++nLine) {
        appendLine([&](std::size_t c) {
            const std::vector<std::string>& lines = headers[c];
            return Pad(nLine < lines.size() ? lines[nLine] : "", widths[c], true);
        });
    }
    appendLine([&](std::size_t c) { return std::string(widths[c], '-'); });
    for (const auto& row : rows) {
        appendLine([&](std::size_t c) { return Pad(row[c], widths[c], leftAligned[c]); });
    }
    return strOut;
}

}  // namespace mardo::cli
