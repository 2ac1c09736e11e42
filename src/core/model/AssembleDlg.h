#pragma once

#include "core/model/BlockOf.h"
#include "core/model/GroupBlockDlg.h"

namespace mardo {

// The assembling block: collects the copies of a transact until m_nWaitCount of them have
// arrived, then lets the copy that completed the set go on and destroys the others.
class CAssembleDlg final : public CBlockOf<CAssembleDlg, CGroupBlockDlg> {
public:
    explicit CAssembleDlg(CPoint ptPos = {});
    CAssembleDlg(const CAssembleDlg& other);


protected:
    void Collect(const CTransact& transact) override;
    bool IsValidWaitCount(std::int32_t nCount) const override {
        return nCount >= 1 && nCount <= kMaxWaitCount;
    }
};

}  // namespace mardo
