#include "model/GatherDlg.h"

namespace mardo {

CGatherDlg::CGatherDlg(CPoint ptPos)
    : CGroupBlockDlg(EBlockKind::kGather, "Ожидающий блок", ptPos) {}

CGatherDlg::CGatherDlg(const CGatherDlg& other) : CGroupBlockDlg(other) {}

std::unique_ptr<CBlockDlg> CGatherDlg::Clone() const { return std::make_unique<CGatherDlg>(*this); }

bool CGatherDlg::EditProperties(IBlockEditor& editor, const CBlockList& blocks) {
    return editor.Edit(*this, blocks);
}

void CGatherDlg::Collect(const CTransact& transact) {
    if (m_groups.Add(transact) == GetWaitCount()) {
        m_groups.Remove(transact);
        Release(transact, GetWaitCount());
    }
}

}  // namespace mardo
