#pragma once

#include "core/model/BlockOf.h"
#include "core/model/GroupBlockDlg.h"

namespace mardo {

// The waiting block: holds back the copies of a transact until m_nWaitCount of them have
// arrived, then lets all of them go on together.
class CGatherDlg final : public CBlockOf<CGatherDlg, CGroupBlockDlg> {
public:
    explicit CGatherDlg(CPoint ptPos = {});
    CGatherDlg(const CGatherDlg& other);


protected:
    void Collect(const CTransact& transact) override;
    bool IsValidWaitCount(std::int32_t /*nCount*/) const override { return true; }
};

}  // namespace mardo
