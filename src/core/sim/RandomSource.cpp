#include "core/sim/RandomSource.h"

namespace mardo {

CRandomSource::CRandomSource(std::uint64_t nKey, std::uint32_t nReplication)
    : m_bStream(true),
      m_key{{static_cast<std::uint32_t>(nKey), static_cast<std::uint32_t>(nKey >> 32)}},
      m_counter{{0, 0, nReplication, 0}} {}

CRandomSource& CRandomSource::Exact() {
    // Stateless: it only passes the draws on to the calling thread's generator.
    static CRandomSource exact;
    return exact;
}

void CRandomSource::Refill() {
    m_output = FPhilox()(m_counter, m_key);
    if (++m_counter[0] == 0) {
        ++m_counter[1];
    }
    m_nUsed = 0;
}

}  // namespace mardo
