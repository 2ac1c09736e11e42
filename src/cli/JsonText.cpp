#include "cli/JsonText.h"

#include <cmath>
#include <cstdio>

#include "core/experiment/Series.h"

namespace mardo::cli {

void CJsonText::StartItem(const char* pszKey) {
    if (m_nDepth > 0) {
        m_strText += m_bFirstInLevel ? "\n" : ",\n";
        m_strText.append(static_cast<std::size_t>(m_nDepth) * 2, ' ');
    }
    m_bFirstInLevel = false;
    if (pszKey != nullptr) {
        m_strText += Quote(pszKey) + ": ";
    }
}

void CJsonText::Close(char chBracket) {
    --m_nDepth;
    if (!m_bFirstInLevel) {
        m_strText += '\n';
        m_strText.append(static_cast<std::size_t>(m_nDepth) * 2, ' ');
    }
    m_strText += chBracket;
    m_bFirstInLevel = false;
}

void CJsonText::BeginObject(const char* pszKey) {
    StartItem(pszKey);
    m_strText += '{';
    ++m_nDepth;
    m_bFirstInLevel = true;
}

void CJsonText::EndObject() { Close('}'); }

void CJsonText::BeginArray(const char* pszKey) {
    StartItem(pszKey);
    m_strText += '[';
    ++m_nDepth;
    m_bFirstInLevel = true;
}

void CJsonText::EndArray() { Close(']'); }

void CJsonText::Field(const char* pszKey, const SJsonValue& value) {
    StartItem(pszKey);
    if (const auto* pInt = std::get_if<std::int64_t>(&value)) {
        m_strText += std::to_string(*pInt);
    } else if (const auto* pDouble = std::get_if<double>(&value)) {
        m_strText += Number(*pDouble);
    } else if (const auto* pBool = std::get_if<bool>(&value)) {
        m_strText += *pBool ? "true" : "false";
    } else {
        m_strText += Quote(std::get<std::string>(value));
    }
}

std::string CJsonText::Quote(const std::string& strText) {
    std::string out = "\"";
    for (const char ch : strText) {
        const auto b = static_cast<unsigned char>(ch);
        if (ch == '"' || ch == '\\') {
            out += '\\';
            out += ch;
        } else if (ch == '\n') {
            out += "\\n";
        } else if (ch == '\t') {
            out += "\\t";
        } else if (ch == '\r') {
            out += "\\r";
        } else if (b < 0x20) {
            char szEscape[8];
            std::snprintf(szEscape, sizeof szEscape, "\\u%04x", b);
            out += szEscape;
        } else {
            out += ch;
        }
    }
    return out + "\"";
}

std::string CJsonText::Number(double d) {
    return std::isfinite(d) ? CsvNumber(d) : "null";
}

}  // namespace mardo::cli
