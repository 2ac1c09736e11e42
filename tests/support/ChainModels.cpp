#include "ChainModels.h"

#include <string>

#include "core/model/GenerateDlg.h"
#include "core/model/Model.h"
#include "core/model/SplitDlg.h"
#include "core/model/TerminateDlg.h"
#include "core/model/TransferDlg.h"

namespace mardo::test {

namespace {

// A block of the kind with one output and its defaults otherwise.
std::unique_ptr<CBlockDlg> SingleOutputBlock(EBlockKind nKind) {
    std::unique_ptr<CBlockDlg> pBlock = CreateBlock(static_cast<std::int32_t>(nKind));
    pBlock->SetOutputCount(1);
    if (nKind == EBlockKind::kSplit) {
        static_cast<CSplitDlg&>(*pBlock).FitCopyCounts();
    } else if (nKind == EBlockKind::kTransfer) {
        static_cast<CTransferDlg&>(*pBlock).m_rule = CTransferRule(1);
    }
    return pBlock;
}

}  // namespace

CBlockDlg& AddChain(CModel& model, std::size_t nBlocks, const std::vector<EBlockKind>& kinds) {
    auto& generator = model.Add<CGenerateDlg>();
    generator.SetName("G" + std::to_string(model.GetBlockCount()));
    generator.m_law = CFlowLaw(CFlowLaw::kDeterministic, 1, 1);
    CBlockDlg* pLast = &generator;
    for (std::size_t i = 0; i < nBlocks; ++i) {
        CBlockDlg& block = model.AddBlock(SingleOutputBlock(kinds[i % kinds.size()]));
        block.SetName("B" + std::to_string(model.GetBlockCount()));
        pLast->SetOutLink(0, &block);
        pLast = &block;
    }
    return *pLast;
}

void AddLadder(CModel& model, std::int32_t nSteps, std::int32_t nOutputs) {
    const auto nFirst =
        static_cast<std::int32_t>(model.GetBlockCount()) + 1;  // after the generator
    AddChain(model, static_cast<std::size_t>(nSteps), {EBlockKind::kSplit});
    model.Add<CTerminateDlg>().SetName("T" + std::to_string(model.GetBlockCount()));
    for (std::int32_t i = nFirst; i < nFirst + nSteps; ++i) {
        auto& split = static_cast<CSplitDlg&>(*model.BlockAt(i));
        split.SetOutputCount(nOutputs);
        split.FitCopyCounts();
        for (std::int32_t k = 0; k < nOutputs; ++k) {
            split.SetOutLink(k, model.BlockAt(i + 1));
        }
    }
}

}  // namespace mardo::test
