#pragma once

#include <cstdint>
#include <string>

namespace mardo {

// How output k (from 0) of a block with nCount outputs is named wherever the user sees it: the
// block's window, the output pages and the model check. The only output is "Выход"; of several,
// each has its number from 1, with two digits below 10: "Выход №01".
// bCapital false gives the form used inside a sentence ("выход №01").
std::string OutputLabel(std::int32_t k, std::int32_t nCount, bool bCapital = true);

}  // namespace mardo
