#include "model/AssembleDlg.h"

namespace mardo {

CAssembleDlg::CAssembleDlg(CPoint ptPos)
    : CGroupBlockDlg(EBlockKind::kAssemble, "Компонующий блок", ptPos) {}

CAssembleDlg::CAssembleDlg(const CAssembleDlg& other) : CGroupBlockDlg(other) {}

std::unique_ptr<CBlockDlg> CAssembleDlg::Clone() const {
    return std::make_unique<CAssembleDlg>(*this);
}

bool CAssembleDlg::EditProperties(IBlockEditor& editor, const CBlockList& blocks) {
    return editor.Edit(*this, blocks);
}

void CAssembleDlg::Collect(const CTransact& transact) {
    if (m_groups.CountOf(transact) + 1 == GetWaitCount()) {
        m_groups.Remove(transact);
        Release(transact, 1);
    } else {
        m_groups.Add(transact);
    }
}

}  // namespace mardo
