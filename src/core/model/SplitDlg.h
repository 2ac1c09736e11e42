#pragma once

#include <vector>

#include "model/BlockDlg.h"
#include "model/Pass.h"
#include "model/PriorityChange.h"
#include "sim/TransactList.h"

namespace mardo {

// Replaces every transact that enters by copies on its outputs, a given number on each. The
// copies carry the generator, number and priority of the transact they were made from.
class CSplitDlg final : public CBlockDlg {
public:
    static constexpr std::int32_t kMaxCopies = 1000;

    explicit CSplitDlg(CPoint ptPos = {});
    CSplitDlg(const CSplitDlg& other);

    std::unique_ptr<CBlockDlg> Clone() const override;
    bool EditProperties(IBlockEditor& editor, const CBlockList& blocks) override;
    void Save(CFileModel& file) const override;
    void Load(CFileModel& file) override;
    void PrepareRun() override;
    void ClearTransacts() override;
    void ArrivalPass(CTransactList* pIn, std::uint32_t nTime) override;
    void ServicePass(CTransactList* pIn, std::uint32_t nTime) override;
    void FinalPass(CTransactList* pIn, std::uint32_t nTime) override;
    int HasTransacts() override;
    void ComputeStatistics() override;
    CTransactList* GetOutputList(std::int32_t k) override;

    // Brings the copy counts to the number of outputs: cut at the end, or extended with 1s.
    void FitCopyCounts();

    std::vector<std::int32_t> m_copyCounts;  // per output, 1..1000
    CPriorityChange m_priority;

    const CTransactList& GetOutList(std::size_t k) const { return m_outLists[k]; }

protected:
    std::uint32_t QuietUntil(std::uint32_t nTime) override;

private:
    template <EPass P>
    void Pass(CTransactList* pIn, std::uint32_t nTime);

    std::vector<CTransactList> m_outLists;
};

}  // namespace mardo
