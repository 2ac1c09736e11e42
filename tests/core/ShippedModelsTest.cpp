#include <gtest/gtest.h>

#include <filesystem>

#include "ExampleModels.h"
#include "core/persist/FileSystem.h"
#include "core/persist/ModelFile.h"

namespace mardo {
namespace {

// The checked-in sample and benchmark models are exactly what the project's writer makes of
// their descriptions; run the make-models tool to write them again after a change.
TEST(ShippedModelsTest, CheckedInFilesMatchTheirDescriptions) {
    for (const tools::SShippedModel& shipped : tools::ShippedModels()) {
        CModel model;
        shipped.build(model);
        const std::optional<std::vector<std::uint8_t>> expected = WriteModelBytes(model);
        ASSERT_TRUE(expected.has_value());
        const std::filesystem::path path =
            std::filesystem::path(MARDO_SOURCE_DIR) / shipped.strFolder / shipped.strFile;
        EXPECT_EQ(CFileSystem::Standard().ReadAll(path), expected) << path;
    }
}

}  // namespace
}  // namespace mardo
