#pragma once

#include <vector>

#include "core/model/BlockOf.h"
#include "core/model/Pass.h"
#include "core/model/PriorityChange.h"
#include "core/sim/TransactList.h"
#include "core/sim/TransferRule.h"

namespace mardo {

// Routes transacts to one of its outputs. Once per tick, in the arrival pass, it chooses the
// active output by its rule; everything accepted goes to the active output's list in priority
// order, and transacts still waiting there move with the choice when it changes.
class CTransferDlg final : public CBlockOf<CTransferDlg, CPassesOf<CTransferDlg>> {
public:
    explicit CTransferDlg(CPoint ptPos = {});
    CTransferDlg(const CTransferDlg& other);

    void RemoveLinksTo(const CBlockDlg* pBlock) override;
    void Save(CFileModel& file) const override;
    void Load(CFileModel& file) override;
    void TakeRandomSources(CRandomContext& random) override;
    void PrepareRun() override;
    void ResetStatistics(std::uint32_t nTime) override;
    std::vector<SBlockParam> GetParams() override;
    void ClearTransacts() override;
    int HasTransacts() override;
    void ComputeStatistics() override;
    CTransactList* GetOutputList(std::int32_t k) override;
    std::span<CBlockDlg* const> GetReferences() const override {
        return m_rule.m_conditionBlocks;
    }
    const char* CheckParameters() const override;

    // Whether the output values make sense for the rule (the model check asks before a run).
    int CheckOutputs() const;

    CTransferRule m_rule;
    CPriorityChange m_priority;

    std::int32_t GetActiveOutput() const { return m_nActiveOut; }
    const CTransactList& GetOutList(std::size_t k) const { return m_outLists[k]; }

protected:
    void FitOutputValues() override { m_rule.SetOutputCount(m_nOutputs); }
    std::span<CBlockDlg*> References() override { return m_rule.m_conditionBlocks; }
    SQuietTicks QuietUntil(std::uint32_t nTime) override;
    void FillSnapshot(SBlockSnapshot& snapshot, std::uint32_t nTime, bool bHeld) const override;

private:
    friend class CPassesOf<CTransferDlg>;

    template <EPass P>
    void Pass(CTransactList* pIn, std::uint32_t nTime);
    void ChooseOutput();

    CRandomSource* m_pChoices = &CRandomSource::Exact();
    std::vector<CTransactList> m_outLists;
    std::int32_t m_nActiveOut = 0;
    std::uint32_t m_nLastTick = 0;
};

}  // namespace mardo
