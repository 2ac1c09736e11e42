#pragma once

#include <cstdint>

namespace mardo {

class CBlockDlg;

// A transact: the unit of work that generators create and terminators destroy. It is a
// small value: lists hold transacts by value and moving one from list to list copies its
// three fields. A copy made by a copying block is therefore indistinguishable from the
// transact it was made from, which is exactly how the regathering blocks recognise a family.
class CTransact {
public:
    static constexpr int kMaxPriority = 1000;

    CTransact() = default;
    CTransact(const CBlockDlg* pGenerator, std::int32_t nNumber, std::int32_t nPriority)
        : m_pGenerator(pGenerator), m_nNumber(nNumber), m_nPriority(nPriority) {}

    const CBlockDlg* GetGenerator() const { return m_pGenerator; }
    std::int32_t GetNumber() const { return m_nNumber; }
    std::int32_t GetPriority() const { return m_nPriority; }

    void RaisePriority(std::int32_t n) {
        m_nPriority = n > kMaxPriority - m_nPriority ? kMaxPriority : m_nPriority + n;
    }
    void LowerPriority(std::int32_t n) { m_nPriority = n > m_nPriority ? 0 : m_nPriority - n; }

    friend bool operator==(const CTransact&, const CTransact&) = default;

private:
    const CBlockDlg* m_pGenerator = nullptr;
    std::int32_t m_nNumber = 0;
    std::int32_t m_nPriority = 0;
};

}  // namespace mardo
