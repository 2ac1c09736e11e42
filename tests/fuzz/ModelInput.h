#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace mardo::fuzz {

// The bytes with their last eight made the true total length and checksum, as the writer
// would make them, so that damaged content reaches the field checks instead of the checksum.
// Fewer than eight bytes stay as they are.
std::vector<std::uint8_t> WithTrailerFixed(const std::uint8_t* pBytes, std::size_t nSize);

// Everything the program does with a model file it is handed, on the bytes: reads them as a
// model; if that is accepted, writes the model back and reads the written bytes (they must
// give the same model), checks it, and if the check passes, simulates it briefly (a few runs
// of a few hundred ticks) twice, once skipping quiet ticks and once not (they must give the
// same figures), and builds the report and its page. Answers an empty text when everything
// held, or what did not. A crash, a leak or undefined behaviour is left to the sanitizers.
std::string ExerciseModelFile(const std::vector<std::uint8_t>& bytes);

}  // namespace mardo::fuzz
