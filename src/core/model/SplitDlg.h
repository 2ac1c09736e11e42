#pragma once

#include <vector>

#include "core/model/BlockOf.h"
#include "core/model/Pass.h"
#include "core/model/PriorityChange.h"
#include "core/sim/TransactList.h"

namespace mardo {

// Replaces every transact that enters by copies on its outputs, a given number on each. The
// copies carry the generator, number and priority of the transact they were made from.
class CSplitDlg final : public CBlockOf<CSplitDlg, CPassesOf<CSplitDlg>> {
public:
    static constexpr std::int32_t kMaxCopies = 1000;

    explicit CSplitDlg(CPoint ptPos = {});
    CSplitDlg(const CSplitDlg& other);

    void Save(CFileModel& file) const override;
    void Load(CFileModel& file) override;
    void PrepareRun() override;
    void ResetStatistics(std::uint32_t nTime) override;
    std::vector<SBlockParam> GetParams() override {
        return {
            ListParam("counts", "Количество копий на выходах", m_copyCounts, 1, kMaxCopies, -1)};
    }
    void ClearTransacts() override;
    int HasTransacts() override;
    void ComputeStatistics() override;
    CTransactList* GetOutputList(std::int32_t k) override;

    // Brings the copy counts to the number of outputs: cut at the end, or extended with 1s.
    void FitCopyCounts();

    std::vector<std::int32_t> m_copyCounts;  // per output, 1..1000
    CPriorityChange m_priority;

    const CTransactList& GetOutList(std::size_t k) const { return m_outLists[k]; }

protected:
    void FitOutputValues() override { FitCopyCounts(); }
    void FillSnapshot(SBlockSnapshot& snapshot, std::uint32_t nTime, bool bHeld) const override;

private:
    friend class CPassesOf<CSplitDlg>;

    template <EPass P>
    void Pass(CTransactList* pIn, std::uint32_t nTime);

    std::vector<CTransactList> m_outLists;
    std::uint32_t m_nHeldAtReset = 0;  // the copies waiting when the figures started
};

}  // namespace mardo
