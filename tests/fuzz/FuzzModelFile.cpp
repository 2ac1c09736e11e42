// libFuzzer's entry: every input is a model file, its trailer fixed so that it is read.
#include <cstdio>
#include <cstdlib>

#include "ModelInput.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pData, std::size_t nSize) {
    const std::string strFault =
        mardo::fuzz::ExerciseModelFile(mardo::fuzz::WithTrailerFixed(pData, nSize));
    if (!strFault.empty()) {
        std::fprintf(stderr, "model file fault: %s\n", strFault.c_str());
        std::abort();
    }
    return 0;
}
