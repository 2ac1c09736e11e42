#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "core/model/BlockDlg.h"
#include "core/model/BlockEditor.h"
#include "core/model/Pass.h"
#include "core/sim/TransactList.h"

namespace mardo {

// The operations every kind writes alike, written once: a copy of the kind's own type for the
// clipboard, and its property sheet opened through the editor's overload for that type.
template <typename TKind, typename TBase = CBlockDlg>
class CBlockOf : public TBase {
public:
    std::unique_ptr<CBlockDlg> Clone() const override {
        return std::make_unique<TKind>(static_cast<const TKind&>(*this));
    }
    bool EditProperties(IBlockEditor& editor, const CBlockList& blocks) override {
        return editor.Edit(static_cast<TKind&>(*this), blocks);
    }

protected:
    using TBase::TBase;
};

// For a kind whose three passes are one member template, Pass<P>, that differs only in which
// pass it calls on the destinations. The kind befriends this class and instantiates Pass<P>
// for the three passes in its own source file.
template <typename TKind, typename TBase = CBlockDlg>
class CPassesOf : public TBase {
public:
    void ArrivalPass(CTransactList* pIn, std::uint32_t nTime) override {
        Self().template Pass<EPass::kArrival>(pIn, nTime);
    }
    void ServicePass(CTransactList* pIn, std::uint32_t nTime) override {
        Self().template Pass<EPass::kService>(pIn, nTime);
    }
    void FinalPass(CTransactList* pIn, std::uint32_t nTime) override {
        Self().template Pass<EPass::kFinal>(pIn, nTime);
    }

protected:
    using TBase::TBase;

    // Hands each output's list to that output's destination, in the order of the outputs.
    template <EPass P>
    void PassOnEach(std::vector<CTransactList>& lists, std::uint32_t nTime) {
        for (std::size_t j = 0; j < lists.size(); ++j) {
            CallPass<P>(this->Destination(j), &lists[j], nTime);
        }
    }

private:
    TKind& Self() { return static_cast<TKind&>(*this); }
};

}  // namespace mardo
