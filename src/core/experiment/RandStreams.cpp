#include "core/experiment/RandStreams.h"

#include "core/sim/Rand.h"

namespace mardo {

std::uint32_t AdvanceRand(std::uint32_t nState, std::uint64_t nSteps) {
    // s -> a*s + c applied 2^i times is again such a map; apply the ones nSteps is made of.
    std::uint32_t nMul = kRandMultiplier;
    std::uint32_t nAdd = kRandIncrement;
    for (; nSteps != 0; nSteps >>= 1) {
        if (nSteps & 1u) {
            nState = nState * nMul + nAdd;
        }
        nAdd = nAdd * nMul + nAdd;
        nMul = nMul * nMul;
    }
    return nState;
}

std::uint32_t CountDraws(std::uint32_t nFrom, std::uint32_t nTo) {
    // The lowest k bits of the state repeat every 2^k draws and bit k flips after 2^k draws,
    // so the count is found one bit at a time, lowest first.
    std::uint32_t nCount = 0;
    std::uint32_t nState = nFrom;
    for (int nBit = 0; nBit < 32; ++nBit) {
        const std::uint32_t nMask = std::uint32_t{1} << nBit;
        if ((nState ^ nTo) & nMask) {
            nState = AdvanceRand(nState, nMask);
            nCount |= nMask;
        }
    }
    return nCount;
}

std::uint64_t ReplicationShare(std::int32_t nReplications) {
    constexpr std::uint64_t kGoldenSection = 2654435769u;  // 2^32 / 1.618...
    return kGoldenSection / static_cast<std::uint64_t>(nReplications);
}

std::uint64_t ReplicationShare(EGenerator generator, std::int32_t nReplications) {
    return generator == EGenerator::kExact ? ReplicationShare(nReplications) : UINT64_MAX;
}

std::uint32_t ReplicationSeed(std::uint32_t nBaseSeed, std::int32_t nIndex,
                              std::int32_t nReplications) {
    return AdvanceRand(nBaseSeed,
                       static_cast<std::uint64_t>(nIndex) * ReplicationShare(nReplications));
}

}  // namespace mardo
