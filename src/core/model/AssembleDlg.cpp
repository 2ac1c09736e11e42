#include "core/model/AssembleDlg.h"

namespace mardo {

CAssembleDlg::CAssembleDlg(CPoint ptPos)
    : CBlockOf(EBlockKind::kAssemble, "Компонующий блок", ptPos) {}

CAssembleDlg::CAssembleDlg(const CAssembleDlg& other) : CBlockOf(other) {}

void CAssembleDlg::Collect(const CTransact& transact) {
    if (m_groups.CountOf(transact) + 1 == GetWaitCount()) {
        m_groups.Remove(transact);
        Release(transact, 1);
    } else {
        m_groups.Add(transact);
    }
}

}  // namespace mardo
