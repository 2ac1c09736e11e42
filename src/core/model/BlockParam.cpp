#include "core/model/BlockParam.h"

#include <algorithm>
#include <charconv>
#include <optional>
#include <string_view>

#include "core/sim/FlowLaw.h"

namespace mardo {

namespace {

const char* const kOffWord = "off";
const char* const kOffTitle = "нет";

std::optional<std::int32_t> ParseInt(std::string_view text, std::int32_t nMin, std::int32_t nMax) {
    const std::optional<std::int64_t> n = ParseWholeNumber(text, nMin, nMax);
    return n ? std::optional<std::int32_t>(static_cast<std::int32_t>(*n)) : std::nullopt;
}

std::string RangeText(std::int32_t nMin, std::int32_t nMax) {
    return std::to_string(nMin) + ".." + std::to_string(nMax);
}

// "от 1 до 50", as the windows give a range.
std::string RangeWords(std::int32_t nMin, std::int32_t nMax) {
    return "от " + std::to_string(nMin) + " до " + std::to_string(nMax);
}

std::string FormatList(const std::vector<std::int32_t>& values) {
    std::string strText;
    for (const std::int32_t n : values) {
        strText += (strText.empty() ? "" : ",") + std::to_string(n);
    }
    return strText;
}

}  // namespace

std::optional<std::int64_t> ParseWholeNumber(std::string_view text, std::int64_t nMin,
                                             std::int64_t nMax) {
    std::int64_t n = 0;
    const auto [pEnd, error] = std::from_chars(text.data(), text.data() + text.size(), n);
    if (text.empty() || error != std::errc() || pEnd != text.data() + text.size() || n < nMin ||
        n > nMax) {
        return std::nullopt;
    }
    return n;
}

std::vector<std::string> SplitList(std::string_view text, std::string_view separators) {
    std::vector<std::string> items;
    for (std::size_t nFrom = 0;;) {
        const std::size_t nAt = text.find_first_of(separators, nFrom);
        items.emplace_back(text.substr(nFrom, nAt - nFrom));
        if (nAt == std::string_view::npos) {
            return items;
        }
        nFrom = nAt + 1;
    }
}

SBlockParam IntParam(std::string strName, std::string strTitle, std::int32_t& nValue,
                     std::int32_t nMin, std::int32_t nMax) {
    return {std::move(strName), std::move(strTitle), std::to_string(nValue),
            [&nValue, nMin, nMax](const std::string& strText) {
                const std::optional<std::int32_t> n = ParseInt(strText, nMin, nMax);
                if (!n) {
                    return "a whole number in " + RangeText(nMin, nMax);
                }
                nValue = *n;
                return std::string();
            },
            {},
            {},
            "целое число " + RangeWords(nMin, nMax)};
}

SBlockParam SwitchedIntParam(std::string strName, std::string strTitle, std::int32_t& bOn,
                             std::int32_t& nValue, std::int32_t nMin, std::int32_t nMax) {
    SBlockParam param{std::move(strName), std::move(strTitle),
                      bOn ? std::to_string(nValue) : kOffWord,
                      [&bOn, &nValue, nMin, nMax](const std::string& strText) {
                          if (strText == kOffWord || strText == kOffTitle) {
                              bOn = 0;
                              return std::string();
                          }
                          const std::optional<std::int32_t> n = ParseInt(strText, nMin, nMax);
                          if (!n) {
                              return "off or a whole number in " + RangeText(nMin, nMax);
                          }
                          bOn = 1;
                          nValue = *n;
                          return std::string();
                      },
                      // A switch off is a word of its own among the numbers.
                      {kOffWord},
                      {kOffTitle},
                      std::string("«") + kOffTitle + "» или целое число " +
                          RangeWords(nMin, nMax)};
    return param;
}

SBlockParam ChoiceParam(std::string strName, std::string strTitle, std::int32_t& nValue,
                        std::vector<std::string> words, std::vector<std::string> titles) {
    const auto nAt = static_cast<std::size_t>(nValue);
    std::string strValue = nAt < words.size() ? words[nAt] : std::to_string(nValue);
    std::string strForm = "одно из значений ";
    for (std::size_t i = 0; i < titles.size(); ++i) {
        strForm += (i == 0 ? "«" : ", «") + titles[i] + "»";
    }
    SBlockParam param{std::move(strName), std::move(strTitle), std::move(strValue),
                      [&nValue, words, titles](const std::string& strText) {
                          std::string strWords;
                          for (std::size_t i = 0; i < words.size(); ++i) {
                              if (words[i] == strText ||
                                  (i < titles.size() && titles[i] == strText)) {
                                  nValue = static_cast<std::int32_t>(i);
                                  return std::string();
                              }
                              strWords += (i == 0 ? "" : ", ") + words[i];
                          }
                          return "one of " + strWords;
                      },
                      // Braces evaluate in order: the function has its copies before these.
                      std::move(words), std::move(titles), strForm};
    return param;
}

SBlockParam LawParam(std::string strName, std::string strTitle, CFlowLaw& law) {
    std::string strValue = law.m_nKind == CFlowLaw::kDeterministic ? std::to_string(law.m_nMin)
                           : law.m_nKind == CFlowLaw::kUniform
                               ? RangeText(law.m_nMin, law.m_nMax)
                               : "special";
    return {std::move(strName), std::move(strTitle), std::move(strValue),
            [&law](const std::string& strText) {
                constexpr std::int32_t nLow = CFlowLaw::kMinValue;
                constexpr std::int32_t nHigh = CFlowLaw::kMaxValue;
                const std::size_t nDots = strText.find("..");
                const std::string_view text(strText);
                const std::optional<std::int32_t> nMin =
                    ParseInt(text.substr(0, nDots), nLow, nHigh);
                std::optional<std::int32_t> nMax = nMin;
                if (nMin && nDots != std::string::npos) {
                    nMax = ParseInt(text.substr(nDots + 2), *nMin, nHigh);
                }
                if (!nMin || !nMax) {
                    return "N (deterministic) or MIN..MAX (uniform), within " +
                           RangeText(nLow, nHigh) + ", MIN not above MAX";
                }
                // A deterministic law keeps its maximum (the sheet shows it again for a uniform
                // one), only never below the minimum, as the model file requires.
                const bool bUniform = nDots != std::string::npos;
                law.m_nKind = bUniform ? CFlowLaw::kUniform : CFlowLaw::kDeterministic;
                law.m_nMax = bUniform ? *nMax : std::max(law.m_nMax, *nMin);
                law.m_nMin = *nMin;
                return std::string();
            },
            {},
            {},
            "число N или диапазон A..B, целые числа " +
                RangeWords(CFlowLaw::kMinValue, CFlowLaw::kMaxValue)};
}

SBlockParam ListParam(std::string strName, std::string strTitle, std::vector<std::int32_t>& values,
                      std::int32_t nMin, std::int32_t nMax, std::int32_t nSum,
                      std::function<void()> onApplied) {
    std::string strWords = std::to_string(values.size()) + " целых чисел через / " +
                           RangeWords(nMin, nMax) +
                           (nSum >= 0 ? ", в сумме " + std::to_string(nSum) : std::string());
    return {std::move(strName), std::move(strTitle), FormatList(values),
            [&values, nMin, nMax, nSum,
             onApplied = std::move(onApplied)](const std::string& strText) {
                std::string strForm = std::to_string(values.size()) +
                                      " whole numbers separated by commas (or /) in " + RangeText(nMin, nMax);
                if (nSum >= 0) {
                    strForm += " adding up to " + std::to_string(nSum);
                }
                std::vector<std::int32_t> parsed;
                std::int64_t nTotal = 0;
                for (const std::string& strItem : SplitList(strText, ",/")) {
                    const std::optional<std::int32_t> n = ParseInt(strItem, nMin, nMax);
                    if (!n) {
                        return strForm;
                    }
                    nTotal += *n;
                    parsed.push_back(*n);
                }
                if (parsed.size() != values.size() || (nSum >= 0 && nTotal != nSum)) {
                    return strForm;
                }
                values = std::move(parsed);
                if (onApplied) {
                    onApplied();
                }
                return std::string();
            },
            {},
            {},
            strWords};
}

}  // namespace mardo
