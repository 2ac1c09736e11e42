#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace mardo {

class CFlowLaw;

// A parameter an experiment may change without the property sheets: its name (on the command
// line and in files), its title (as the property sheets call it, for the windows), its value as
// text and how a text is applied. The kinds build theirs from the helpers below, over the
// same bounds their model file entries are read with.
struct SBlockParam {
    std::string strName;
    std::string strTitle;
    std::string strValue;
    // Applies a value given as text; answers why it cannot (the form and range a value must
    // have), or an empty text once applied.
    std::function<std::string(const std::string&)> apply;
    // A choice's words and, in the same order, the titles the property sheets show for them;
    // apply takes either, so that a window may take a value as its sheet shows it.
    std::vector<std::string> words;
    std::vector<std::string> titles;
    // The values it takes, as the windows name them ("целое число от 1 до 50").
    std::string strForm;
};

// A text that is a whole number within nMin..nMax and nothing else, or nothing.
std::optional<std::int64_t> ParseWholeNumber(std::string_view text, std::int64_t nMin,
                                             std::int64_t nMax);

// The items of a text between any of the separators (one item for a text without any).
std::vector<std::string> SplitList(std::string_view text, std::string_view separators);

// A whole number within nMin..nMax.
SBlockParam IntParam(std::string strName, std::string strTitle, std::int32_t& nValue,
                     std::int32_t nMin, std::int32_t nMax);
// A number within nMin..nMax that turns its switch on, or "off" (titled "нет").
SBlockParam SwitchedIntParam(std::string strName, std::string strTitle, std::int32_t& bOn,
                             std::int32_t& nValue, std::int32_t nMin, std::int32_t nMax);
// One of the words, or of their titles, stored as its position.
SBlockParam ChoiceParam(std::string strName, std::string strTitle, std::int32_t& nValue,
                        std::vector<std::string> words, std::vector<std::string> titles);
// A flow law: "5" deterministic, "1..10" uniform (a special law is shown, not set).
SBlockParam LawParam(std::string strName, std::string strTitle, CFlowLaw& law);
// One number per entry, separated by commas or, where commas separate values already (a
// sweep), by slashes; each within nMin..nMax and, when nSum is not negative, adding up to
// exactly nSum; onApplied runs after a value is taken.
SBlockParam ListParam(std::string strName, std::string strTitle, std::vector<std::int32_t>& values,
                      std::int32_t nMin, std::int32_t nMax, std::int32_t nSum,
                      std::function<void()> onApplied = {});

}  // namespace mardo
