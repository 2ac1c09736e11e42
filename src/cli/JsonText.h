#pragma once

#include <cstdint>
#include <string>
#include <variant>

namespace mardo::cli {

using SJsonValue = std::variant<std::int64_t, double, bool, std::string>;

// A JSON document written field by field, indented by two spaces per level. Doubles are
// written in their shortest form that reads back to the same value.
class CJsonText {
public:
    void BeginObject(const char* pszKey = nullptr);
    void EndObject();
    void BeginArray(const char* pszKey);
    void EndArray();
    void Field(const char* pszKey, const SJsonValue& value);
    void Field(const char* pszKey, const char* pszValue) { Field(pszKey, std::string(pszValue)); }

    const std::string& GetText() const { return m_strText; }

    static std::string Quote(const std::string& strText);
    static std::string Number(double d);

private:
    void StartItem(const char* pszKey);
    void Close(char chBracket);

    std::string m_strText;
    int m_nDepth = 0;
    bool m_bFirstInLevel = true;
};

}  // namespace mardo::cli
