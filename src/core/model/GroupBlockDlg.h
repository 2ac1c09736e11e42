#pragma once

#include "core/model/BlockOf.h"
#include "core/model/Pass.h"
#include "core/model/PriorityChange.h"
#include "core/sim/CopyGroups.h"
#include "core/sim/TransactList.h"

namespace mardo {

// What the waiting and the assembling block share: both collect the copies of a transact until
// m_nWaitCount of them have arrived, and differ only in what a complete set releases. With a
// count below 2 both let every transact straight through.
class CGroupBlockDlg : public CPassesOf<CGroupBlockDlg> {
public:
    static constexpr std::int32_t kMaxWaitCount = 10000;

    void Save(CFileModel& file) const override;
    void Load(CFileModel& file) override;
    void ClearTransacts() override;
    int HasTransacts() override;
    void ComputeStatistics() override;
    void ResetStatistics(std::uint32_t nTime) override;
    std::vector<SBlockParam> GetParams() override {
        return {
            IntParam("count", "Количество ожидаемых транзактов", m_nWaitCount, 1, kMaxWaitCount)};
    }
    CTransactList* GetOutputList(std::int32_t k) override;

    std::int32_t m_nWaitCount = 1;
    CPriorityChange m_priority;

    const CCopyGroups& GetGroups() const { return m_groups; }
    const CTransactList& GetOutList() const { return m_outList; }

protected:
    CGroupBlockDlg(EBlockKind nKind, std::string strKind, CPoint ptPos);
    CGroupBlockDlg(const CGroupBlockDlg& other);

    // One copy arrives while the count is 2 or more.
    virtual void Collect(const CTransact& transact) = 0;
    // Whether a stored count of awaited transacts is acceptable for this kind.
    virtual bool IsValidWaitCount(std::int32_t nCount) const = 0;
    std::uint32_t GetWaitCount() const { return static_cast<std::uint32_t>(m_nWaitCount); }
    // Appends n of the transact to the output list, each with the priority change applied.
    void Release(CTransact transact, std::size_t n);
    void FillSnapshot(SBlockSnapshot& snapshot, std::uint32_t nTime, bool bHeld) const override;

    CCopyGroups m_groups;
    CTransactList m_outList;

private:
    friend class CPassesOf<CGroupBlockDlg>;

    template <EPass P>
    void Pass(CTransactList* pIn, std::uint32_t nTime);
};

}  // namespace mardo
