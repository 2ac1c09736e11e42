// Every edit operation of the model can be taken back and done again exactly. Random edit
// sequences on random models are undone and redone, in order and interleaved, and the model
// must save to the very bytes it saved to at that point of the sequence.
#include <gtest/gtest.h>

#include "RandomModel.h"
#include "core/persist/ModelFile.h"

namespace mardo {
namespace {

std::vector<std::uint8_t> Bytes(const CModel& model) {
    std::optional<std::vector<std::uint8_t>> bytes = WriteModelBytes(model);
    EXPECT_TRUE(bytes.has_value());
    return bytes.value_or(std::vector<std::uint8_t>{});
}

// Random edits, refused ones among them: out-of-range positions, counts and conditions, taken
// names, links from and to unnamed blocks, a second terminator, parameters from another model.
class CRandomEdits {
public:
    CRandomEdits(unsigned nSeed, const CModel& donors) : m_pick(nSeed), m_donors(donors) {}

    CModelEdit Next(CModel& model) {
        CBlockDlg* pBlock = RandomBlock(model);
        const int nOperation = m_pick.Pick(0, 8);
        if (pBlock == nullptr || nOperation == 0) {
            return Insert(model);
        }
        switch (nOperation) {
            case 1:
                return model.DeleteBlock(*pBlock);
            case 2:
                return model.MoveBlock(*pBlock, {m_pick.Pick(-50, 5100), m_pick.Pick(-50, 10100)});
            case 3:
            case 4:
                return model.SetLink(*pBlock, m_pick.Pick(-1, pBlock->GetOutputCount()),
                                     m_pick.Pick(0, 5) == 0 ? nullptr : RandomBlock(model));
            case 5:
                return model.RenameBlock(*pBlock, Name());
            case 6:
                return model.ChangeOutputCount(*pBlock, m_pick.Pick(0, 21));
            case 7:
                return TakeOver(model, *pBlock);
            default:
                return model.SetExperiment(
                    {m_pick.Pick(0, 2), m_pick.Pick(-1, 30001), m_pick.Pick(-1, 30001)});
        }
    }

private:
    // A block of the model, or null for an empty one.
    CBlockDlg* RandomBlock(const CModel& model) {
        const auto nCount = static_cast<std::int32_t>(model.GetBlockCount());
        return nCount > 0 ? model.BlockAt(m_pick.Pick(0, nCount - 1)) : nullptr;
    }
    std::string Name() {
        return m_pick.Pick(0, 10) == 0 ? "" : "N" + std::to_string(m_pick.Pick(0, 25));
    }

    CModelEdit Insert(CModel& model) {
        std::unique_ptr<CBlockDlg> pBlock;
        const CBlockDlg* pDonor = RandomBlock(m_donors);
        if (m_pick.Pick(0, 1) == 0 && pDonor != nullptr) {
            pBlock = pDonor->Clone();  // a paste: its conditions name blocks of another model
        } else {
            pBlock = CreateBlock(m_pick.Pick(0, kBlockKindCount - 1));
        }
        pBlock->SetPosition(m_pick.Pick(-50, 5100), m_pick.Pick(-50, 10100));
        pBlock->SetName(m_pick.Pick(0, 1) == 0 ? "" : Name());
        return model.InsertBlock(std::move(pBlock));
    }

    // A sheet's working copy: the block itself, or a block of its kind from another model, with
    // another name, another number of outputs and conditions naming blocks of both models.
    CModelEdit TakeOver(CModel& model, CBlockDlg& block) {
        std::unique_ptr<CBlockDlg> pEdited = block.Clone();
        for (const auto& pDonor : m_donors.GetBlocks()) {
            if (pDonor->GetKind() == block.GetKind() && m_pick.Pick(0, 2) == 0) {
                pEdited = pDonor->Clone();
            }
        }
        pEdited->SetName(m_pick.Pick(0, 1) == 0 ? block.GetName() : Name());
        if (m_pick.Pick(0, 1) == 0) {
            pEdited->SetOutputCount(m_pick.Pick(1, 4));
        }
        for (std::size_t i = 0; i < pEdited->GetReferences().size(); ++i) {
            if (m_pick.Pick(0, 1) == 0) {
                pEdited->SetReference(i, RandomBlock(model));
            }
        }
        return model.TakeOverParameters(block, *pEdited);
    }

    test::CRandomModel m_pick;
    const CModel& m_donors;
};

TEST(ModelEditTest, UndoAndRedoOfRandomEditsGiveTheSavedBytesBack) {
    std::size_t nEdits = 0;
    for (unsigned nSeed = 1; nSeed <= 300; ++nSeed) {
        CModel donors;
        test::CRandomModel(nSeed + 10000).Build(donors);
        CModel model;
        test::CRandomModel(nSeed).Build(model);
        CRandomEdits random(nSeed, donors);
        std::vector<std::vector<std::uint8_t>> states{Bytes(model)};
        std::vector<CModelEdit> edits;
        for (int nStep = 0; nStep < 40; ++nStep) {
            CModelEdit edit = random.Next(model);
            if (edit.IsEmpty()) {
                ASSERT_EQ(Bytes(model), states.back()) << "seed " << nSeed << " step " << nStep;
                continue;
            }
            if (edit.RemovesBlock()) {
                for (const auto& pBlock : model.GetBlocks()) {
                    const auto references = pBlock->GetReferences();
                    ASSERT_FALSE(pBlock->LinksTo(edit.GetPlacedBlock()));
                    ASSERT_EQ(
                        std::count(references.begin(), references.end(), edit.GetPlacedBlock()), 0);
                }
            }
            edits.push_back(std::move(edit));
            states.push_back(Bytes(model));
        }
        nEdits += edits.size();
        for (std::size_t i = edits.size(); i-- > 0;) {
            model.Undo(edits[i]);
            ASSERT_EQ(Bytes(model), states[i]) << "seed " << nSeed << " undoing edit " << i;
        }
        for (std::size_t i = 0; i < edits.size(); ++i) {
            model.Redo(edits[i]);
            ASSERT_EQ(Bytes(model), states[i + 1]) << "seed " << nSeed << " redoing edit " << i;
        }
        test::CRandomModel coin(nSeed);
        std::size_t nAt = edits.size();
        for (int nStep = 0; nStep < 60; ++nStep) {
            if (nAt > 0 && (nAt == edits.size() || coin.Pick(0, 1) == 0)) {
                model.Undo(edits[--nAt]);
            } else if (nAt < edits.size()) {
                model.Redo(edits[nAt++]);
            }
            ASSERT_EQ(Bytes(model), states[nAt]) << "seed " << nSeed << " interleaved at " << nAt;
        }
    }
    // Most random edits must be accepted, or the property says little.
    EXPECT_GT(nEdits, 300u * 20u);
}

TEST(ModelEditTest, TheModelKeepsItsRules) {
    CModel model;
    ASSERT_FALSE(model.InsertBlock(CreateBlock(static_cast<std::int32_t>(EBlockKind::kTerminate)))
                     .IsEmpty());
    EXPECT_TRUE(model.InsertBlock(CreateBlock(static_cast<std::int32_t>(EBlockKind::kTerminate)))
                    .IsEmpty());
    CModelEdit add =
        model.InsertBlock(CreateBlock(static_cast<std::int32_t>(EBlockKind::kQueue), {9000, -5}));
    CBlockDlg& queue = *add.GetPlacedBlock();
    EXPECT_EQ(queue.GetPosition(), (CPoint{CBlockDlg::kMaxX, 0}));
    CBlockDlg& terminator = *model.BlockAt(0);
    EXPECT_TRUE(model.SetLink(queue, 0, &terminator).IsEmpty());  // neither is named
    ASSERT_FALSE(model.RenameBlock(queue, "Q").IsEmpty());
    EXPECT_TRUE(model.RenameBlock(terminator, "Q").IsEmpty());
    ASSERT_FALSE(model.RenameBlock(terminator, "T").IsEmpty());
    EXPECT_TRUE(model.SetLink(queue, 0, &queue).IsEmpty());
    EXPECT_FALSE(model.SetLink(queue, 0, &terminator).IsEmpty());
    EXPECT_TRUE(model.ChangeOutputCount(queue, 3).IsEmpty());
    // The switching block's per-output values follow its number of outputs.
    CModelEdit addTransfer =
        model.InsertBlock(CreateBlock(static_cast<std::int32_t>(EBlockKind::kTransfer)));
    auto& transfer = static_cast<CTransferDlg&>(*addTransfer.GetPlacedBlock());
    ASSERT_FALSE(model.ChangeOutputCount(transfer, 5).IsEmpty());
    EXPECT_EQ(transfer.m_rule.GetOutputCount(), 5);
    EXPECT_EQ(transfer.GetReferences().size(), 5u);
}

}  // namespace
}  // namespace mardo
