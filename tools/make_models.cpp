// Writes the sample and benchmark models with the project's own writer.
// Usage: make-models SOURCE_ROOT
#include <filesystem>
#include <iostream>

#include "ExampleModels.h"
#include "core/persist/ModelFile.h"

int main(int argc, char* argv[]) {
    if (argc != 2) {
        std::cerr << "usage: make-models SOURCE_ROOT\n";
        return 64;
    }
    const std::filesystem::path root = argv[1];
    for (const mardo::tools::SShippedModel& shipped : mardo::tools::ShippedModels()) {
        mardo::CModel model;
        shipped.build(model);
        const std::filesystem::path path = root / shipped.strFolder / shipped.strFile;
        std::filesystem::create_directories(path.parent_path());
        if (!mardo::SaveModel(model, path)) {
            std::cerr << "cannot write " << path << '\n';
            return 1;
        }
        std::cout << path.string() << '\n';
    }
    return 0;
}
