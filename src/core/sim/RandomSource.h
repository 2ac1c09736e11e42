#pragma once

#include <Random123/philox.h>

#include <array>
#include <cstdint>

#include "core/sim/Rand.h"

namespace mardo {

// The draws of one random source of a model (a generator's intervals, a device's service times,
// a switching block's choices, a random queue's placements), asked for what the block needs, so
// that each kind of source keeps its own formulas.
//
// Exact: the system's one generator (Rand) with its modulo formulas, whose small bias and short
// cycles in the low bits belong to the simulation as the report has always shown it. Every
// exact source draws from that one sequence, so it has no state of its own.
//
// A stream: its own Philox4x32-10 sequence (a counter-based generator: the n-th output is a
// keyed function of n), drawn without bias. The key tells the sources apart; the counter's upper
// half holds the replication and its lower half numbers the blocks of four outputs, so that no
// two streams ever share an output and each can draw 2^66 numbers.
class CRandomSource {
public:
    // An exact source.
    CRandomSource() = default;
    // A stream with the given key, for the given replication.
    CRandomSource(std::uint64_t nKey, std::uint32_t nReplication);

    // The exact source every caller outside a simulation draws from.
    static CRandomSource& Exact();

    bool IsStream() const { return m_bStream; }

    // A whole number in nLow..nHigh; nLow when nHigh lies below it. Exact: Rand() modulo the
    // range, drawn even when the range holds one number or none.
    std::int32_t Between(std::int32_t nLow, std::int32_t nHigh) {
        const std::int64_t nRange = std::int64_t{nHigh} - nLow + 1;
        if (!m_bStream) {
            const std::int64_t nDraw = Rand();
            return nRange < 1 ? nLow : static_cast<std::int32_t>(nLow + nDraw % nRange);
        }
        if (nRange <= 1) {
            return nLow;
        }
        // A range of 2^32 wraps to 0, which Below takes for the whole 32 bits.
        const std::uint32_t nOffset = Below(static_cast<std::uint32_t>(nRange));
        return static_cast<std::int32_t>(nLow + std::int64_t{nOffset});
    }

    // A probability in thousandths, 0..999.
    std::int32_t Thousandth() {
        return m_bStream ? static_cast<std::int32_t>(Below(1000)) : Rand() % 1000;
    }

    // A place among the nCount + 1 places of a list of nCount: 0 (the head) .. nCount (the end).
    // Exact: the product of four draws, in unsigned 32-bit arithmetic, modulo nCount + 1.
    std::uint32_t Place(std::uint32_t nCount) {
        if (m_bStream) {
            return Below(nCount + 1);
        }
        std::uint32_t nProduct = static_cast<std::uint32_t>(Rand());
        nProduct *= static_cast<std::uint32_t>(Rand());
        nProduct *= static_cast<std::uint32_t>(Rand());
        nProduct *= static_cast<std::uint32_t>(Rand());
        return nProduct % (nCount + 1);
    }

    // The 32-bit numbers a stream has drawn since it was made (0 for an exact source).
    std::uint64_t GetDraws() const {
        return m_nBlocks * kBlockOutputs - (kOutputs - m_nUsed);
    }

private:
    using FPhilox = r123::Philox4x32;
    static constexpr unsigned kBlockOutputs = 4;  // the numbers one counter gives
    // Counters computed together: their rounds are independent, so the processor overlaps them.
    static constexpr unsigned kBlocks = 4;
    static constexpr unsigned kOutputs = kBlocks * kBlockOutputs;

    std::uint32_t Next() {
        if (m_nUsed == kOutputs) {
            Refill();
        }
        return m_output[m_nUsed++];
    }
    // A whole number in 0..nRange-1 without bias (Lemire's multiply-and-reject); nRange 0 means
    // 2^32.
    std::uint32_t Below(std::uint32_t nRange) {
        if (nRange == 0) {
            return Next();
        }
        std::uint64_t nProduct = std::uint64_t{Next()} * nRange;
        if (static_cast<std::uint32_t>(nProduct) < nRange) {
            // Reject the lowest 2^32 mod nRange products, which would favour small results.
            const std::uint32_t nThreshold = (0u - nRange) % nRange;
            while (static_cast<std::uint32_t>(nProduct) < nThreshold) {
                nProduct = std::uint64_t{Next()} * nRange;
            }
        }
        return static_cast<std::uint32_t>(nProduct >> 32);
    }
    void Refill();

    bool m_bStream = false;
    unsigned m_nUsed = kOutputs;
    FPhilox::key_type m_key{};
    std::uint32_t m_nReplication = 0;  // the counter's upper half
    std::uint64_t m_nBlocks = 0;       // the counter's lower half: the counters used so far
    std::array<std::uint32_t, kOutputs> m_output{};
};

}  // namespace mardo
