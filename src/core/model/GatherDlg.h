#pragma once

#include "model/GroupBlockDlg.h"

namespace mardo {

// The waiting block: holds back the copies of a transact until m_nWaitCount of them have
// arrived, then lets all of them go on together.
class CGatherDlg final : public CGroupBlockDlg {
public:
    explicit CGatherDlg(CPoint ptPos = {});
    CGatherDlg(const CGatherDlg& other);

    std::unique_ptr<CBlockDlg> Clone() const override;
    bool EditProperties(IBlockEditor& editor, const CBlockList& blocks) override;

protected:
    void Collect(const CTransact& transact) override;
    bool IsValidWaitCount(std::int32_t /*nCount*/) const override { return true; }
};

}  // namespace mardo
