#include "core/model/BlockSnapshot.h"

#include "core/model/BlockDlg.h"
#include "core/sim/TransactList.h"

namespace mardo {

void SBlockSnapshot::AddHeld(const CTransact& transact) {
    const CBlockDlg* pGenerator = transact.GetGenerator();
    held.push_back({pGenerator != nullptr ? pGenerator->GetName() : std::string(),
                    transact.GetNumber(), transact.GetPriority()});
}

void SBlockSnapshot::AddHeld(const CTransactList& list) {
    for (std::size_t i = 0; i < list.GetCount(); ++i) {
        AddHeld(list.At(i));
    }
}

}  // namespace mardo
