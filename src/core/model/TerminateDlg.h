#pragma once

#include "core/model/BlockOf.h"

namespace mardo {

// Where transacts leave the system: an input and no outputs. Everything offered is taken and
// destroyed at once; the entry counter of the last named terminator is the model's count of
// departures. A terminator needs no preparation, so even an unnamed one (reachable only
// through a hand-made file) destroys and counts what reaches it.
class CTerminateDlg final : public CBlockOf<CTerminateDlg> {
public:
    explicit CTerminateDlg(CPoint ptPos = {});
    CTerminateDlg(const CTerminateDlg& other);

    void UpdateContextMenu(IBlockContextMenu& menu) override;
    void Save(CFileModel& file) const override;
    void ArrivalPass(CTransactList* pIn, std::uint32_t nTime) override;
    void ServicePass(CTransactList* pIn, std::uint32_t nTime) override;
    void FinalPass(CTransactList* pIn, std::uint32_t nTime) override;

protected:
    void FillSnapshot(SBlockSnapshot& snapshot, std::uint32_t nTime, bool bHeld) const override;

private:
    void Absorb(CTransactList* pIn);
};

}  // namespace mardo
