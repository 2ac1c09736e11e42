#pragma once

#include <string>

namespace mardo {

// The format error of a model file. Every check of the reader throws it by value with code 0;
// the reader catches it by reference, resets the model and shows its message.
class CError {
public:
    static constexpr int kFormat = 0;

    explicit CError(int nCode = kFormat) : m_nCode(nCode) {}
    virtual ~CError() = default;

    // The text the user sees (UTF-8).
    virtual std::string GetMessageText() const {
        return m_nCode == kFormat ? "Неправильный формат открываемого файла!" : "Ошибка.";
    }

    int m_nCode;
};

}  // namespace mardo
