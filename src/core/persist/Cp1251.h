#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace mardo {

// The single-byte Cyrillic code page of model files and HTML reports. Texts live in memory
// as UTF-8 and are converted only at the file boundary.

// Every byte decodes to a character, and that character encodes back to the same byte.
std::string Cp1251ToUtf8(std::string_view bytes);

// The bytes of a UTF-8 text, or nothing when the text holds a character that the code page
// cannot represent (or is not valid UTF-8).
std::optional<std::string> Utf8ToCp1251(std::string_view text);

// As above, with every character that cannot be represented written as '?'.
std::string Utf8ToCp1251Lossy(std::string_view text);

}  // namespace mardo
