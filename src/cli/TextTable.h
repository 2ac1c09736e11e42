#pragma once

#include <string>
#include <vector>

namespace mardo::cli {

// A table as aligned plain text: the column titles wrapped word by word over several lines,
// numbers right-aligned, texts left-aligned, one line per row.
std::string FormatTextTable(const std::vector<std::string>& titles,
                            const std::vector<std::vector<std::string>>& rows,
                            const std::vector<bool>& leftAligned);

// The number of characters (not bytes) of a UTF-8 text.
std::size_t DisplayWidth(const std::string& strText);

}  // namespace mardo::cli
