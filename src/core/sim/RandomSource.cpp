#include "core/sim/RandomSource.h"

namespace mardo {

CRandomSource::CRandomSource(std::uint64_t nKey, std::uint32_t nReplication)
    : m_bStream(true),
      m_key{{static_cast<std::uint32_t>(nKey), static_cast<std::uint32_t>(nKey >> 32)}},
      m_nReplication(nReplication) {}

CRandomSource& CRandomSource::Exact() {
    // Stateless: it only passes the draws on to the calling thread's generator.
    static CRandomSource exact;
    return exact;
}

void CRandomSource::Refill() {
    for (unsigned b = 0; b < kBlocks; ++b, ++m_nBlocks) {
        const FPhilox::ctr_type counter{{static_cast<std::uint32_t>(m_nBlocks),
                                         static_cast<std::uint32_t>(m_nBlocks >> 32),
                                         m_nReplication, 0}};
        const FPhilox::ctr_type block = FPhilox()(counter, m_key);
        for (unsigned i = 0; i < kBlockOutputs; ++i) {
            m_output[b * kBlockOutputs + i] = block[i];
        }
    }
    m_nUsed = 0;
}

}  // namespace mardo
