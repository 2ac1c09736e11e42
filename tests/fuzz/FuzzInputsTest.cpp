// Every input the fuzzer ever turned into a fault, kept and run again as it was then run.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "ModelInput.h"

namespace mardo::fuzz {
namespace {

namespace fs = std::filesystem;

std::vector<fs::path> KeptInputs() {
    std::vector<fs::path> paths;
    for (const auto& entry :
         fs::directory_iterator(fs::path(MARDO_SOURCE_DIR) / "tests/data/fuzz")) {
        if (entry.is_regular_file() && entry.path().filename() != "README.md") {
            paths.push_back(entry.path());
        }
    }
    std::sort(paths.begin(), paths.end());
    return paths;
}

class FuzzInputsTest : public ::testing::TestWithParam<fs::path> {};

TEST_P(FuzzInputsTest, IsHandledSoundly) {
    std::ifstream file(GetParam(), std::ios::binary);
    const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(file),
                                          std::istreambuf_iterator<char>()};
    EXPECT_EQ(ExerciseModelFile(WithTrailerFixed(bytes.data(), bytes.size())), "");
}

std::string TestName(const ::testing::TestParamInfo<fs::path>& info) {
    std::string strName = info.param.stem().string();
    std::replace_if(
        strName.begin(), strName.end(), [](char c) { return !std::isalnum(c); }, '_');
    return strName;
}

INSTANTIATE_TEST_SUITE_P(Kept, FuzzInputsTest, ::testing::ValuesIn(KeptInputs()), TestName);

}  // namespace
}  // namespace mardo::fuzz
