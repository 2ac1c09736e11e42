#pragma once

#include "core/model/BlockOf.h"
#include "core/model/GenerateParams.h"
#include "core/model/Pass.h"
#include "core/sim/FlowLaw.h"
#include "core/sim/TransactList.h"

namespace mardo {

// The source of transacts: no input, one output. Every tick its countdown runs down by one;
// when it reaches zero a new interval is drawn from the flow law and, within the per-run
// limit, a transact is created and offered to the next block.
class CGenerateDlg final : public CBlockOf<CGenerateDlg> {
public:
    explicit CGenerateDlg(CPoint ptPos = {});
    CGenerateDlg(const CGenerateDlg& other);

    void Save(CFileModel& file) const override;
    void Load(CFileModel& file) override;
    void TakeRandomSources(CRandomContext& random) override;
    void PrepareRun() override;
    void EndRun() override;
    void ClearTransacts() override;
    void ArrivalPass(CTransactList* pIn, std::uint32_t nTime) override;
    void ServicePass(CTransactList* pIn, std::uint32_t nTime) override;
    void FinalPass(CTransactList* pIn, std::uint32_t nTime) override;
    int HasTransacts() override;
    void ComputeStatistics() override;
    void ResetStatistics(std::uint32_t nTime) override;
    std::vector<SBlockParam> GetParams() override;
    CTransactList* GetOutputList(std::int32_t k) override;
    bool KeepsSystemAlive() const override { return m_params.m_bLimit == 0; }

    CGenerateParams m_params;
    CFlowLaw m_law;

    // Run-time state.
    std::int32_t GetCountdown() const { return m_nCountdown; }
    std::uint32_t GetRunCount() const { return m_nRunCount; }
    std::uint32_t GetTotalCount() const { return m_nTotalCount; }
    const CTransactList& GetOutList() const { return m_outList; }

protected:
    void FillSnapshot(SBlockSnapshot& snapshot, std::uint32_t nTime, bool bHeld) const override;
    SQuietTicks QuietUntil(std::uint32_t nTime) override;

private:
    template <EPass P>
    void Forward(std::uint32_t nTime);

    CRandomSource* m_pIntervals = &CRandomSource::Exact();
    std::int32_t m_nCountdown = 0;  // as it stood after the arrival pass of m_nLastArrival
    std::uint32_t m_nLastArrival = 0;
    std::uint32_t m_nRunCount = 0;
    std::uint32_t m_nTotalCount = 0;
    CTransactList m_outList;
};

}  // namespace mardo
