#pragma once

#include <cstdint>

namespace mardo {

// The queue's characteristics, in their stored order.
struct CQueueParams {
    enum EDiscipline : std::int32_t { kFifo = 0, kLifo = 1, kRandom = 2, kPriority = 3 };
    static constexpr std::int32_t kMaxLimit = 20000;

    std::int32_t m_nDiscipline = kFifo;
    std::int32_t m_bLimit = 0;  // "Ограничение длины очереди" is on
    std::int32_t m_nLimit = 1;  // most transacts held, 1..20000

    friend bool operator==(const CQueueParams&, const CQueueParams&) = default;
};

}  // namespace mardo
