#include "core/model/GatherDlg.h"

namespace mardo {

CGatherDlg::CGatherDlg(CPoint ptPos)
    : CBlockOf(EBlockKind::kGather, "Ожидающий блок", ptPos) {}

CGatherDlg::CGatherDlg(const CGatherDlg& other) : CBlockOf(other) {}

void CGatherDlg::Collect(const CTransact& transact) {
    if (m_groups.Add(transact) == GetWaitCount()) {
        m_groups.Remove(transact);
        Release(transact, GetWaitCount());
    }
}

}  // namespace mardo
