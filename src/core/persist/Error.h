#pragma once

#include <string>

namespace mardo {

// The format error of a model file. Every check of the reader throws it by value; the reader
// catches it, resets the model and shows its message.
class CError {
public:
    // The text the user sees (UTF-8).
    static std::string GetMessageText() { return "Неправильный формат открываемого файла!"; }
};

}  // namespace mardo
