#pragma once

#include <cstdint>

namespace mardo {

// The generator's characteristics, in their stored order.
struct CGenerateParams {
    static constexpr std::int32_t kMaxDelay = 10000;
    static constexpr std::int32_t kMaxLimit = 10000;

    std::int32_t m_bDelay = 0;     // "Задержка первого транзакта" is on
    std::int32_t m_bLimit = 0;     // "Ограничение числа транзактов" is on
    std::int32_t m_bPriority = 0;  // "Задание приоритета" is on
    std::int32_t m_nDelay = 0;     // ticks before the first transact, 0..10000
    std::int32_t m_nLimit = 1;     // most transacts created in one run, 1..10000
    std::int32_t m_nPriority = 0;  // priority of every new transact, 0..1000

    friend bool operator==(const CGenerateParams&, const CGenerateParams&) = default;
};

}  // namespace mardo
