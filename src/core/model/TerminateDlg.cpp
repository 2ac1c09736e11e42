#include "core/model/TerminateDlg.h"

#include "core/persist/FileModel.h"
#include "core/sim/TransactList.h"

namespace mardo {

CTerminateDlg::CTerminateDlg(CPoint ptPos)
    : CBlockOf(EBlockKind::kTerminate, "Терминатор",
               {.bExit = true, .bOnePerModel = true, .bTakesAllHanded = true}, 0, ptPos) {}

CTerminateDlg::CTerminateDlg(const CTerminateDlg& other) : CBlockOf(other) {}

void CTerminateDlg::UpdateContextMenu(IBlockContextMenu& menu) {
    menu.EnableCommand(IBlockContextMenu::kCopy, false);
}

void CTerminateDlg::Save(CFileModel& file) const {
    file.WriteInt(GetKindCode());
    CBlockDlg::Save(file);
}

void CTerminateDlg::Absorb(CTransactList* pIn) {
    if (pIn == nullptr || pIn->IsEmpty()) {
        return;
    }
    m_nEntered += static_cast<std::uint32_t>(pIn->GetCount());
    pIn->DeleteAll();
}

void CTerminateDlg::ArrivalPass(CTransactList* pIn, std::uint32_t /*nTime*/) { Absorb(pIn); }

void CTerminateDlg::ServicePass(CTransactList* pIn, std::uint32_t /*nTime*/) { Absorb(pIn); }

void CTerminateDlg::FinalPass(CTransactList* pIn, std::uint32_t /*nTime*/) { Absorb(pIn); }

void CTerminateDlg::FillSnapshot(SBlockSnapshot& snapshot, std::uint32_t /*nTime*/,
                                bool /*bHeld*/) const {
    snapshot.eCount = SBlockSnapshot::ECount::kDeparted;
    snapshot.nCount = m_nEntered;
}

}  // namespace mardo
