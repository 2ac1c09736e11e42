#include "core/model/Model.h"

#include <algorithm>
#include <utility>

#include "core/persist/FileModel.h"

namespace mardo {

CModelEdit::~CModelEdit() = default;

namespace {

using SBlockState = CModelEdit::SBlockState;

SBlockState Capture(const CBlockDlg& block) {
    CFileModel file;
    block.Save(file);
    const std::span<CBlockDlg* const> references = block.GetReferences();
    SBlockState state{std::move(file.GetBytes()), {references.begin(), references.end()}, {}};
    for (std::int32_t k = 0; k < block.GetOutputCount(); ++k) {
        state.links.push_back(block.GetOutLink(k));
    }
    return state;
}

// The block's entry read back as the file's reader reads it, after its kind code.
void LoadEntry(CBlockDlg& block, const std::vector<std::uint8_t>& entry) {
    CFileModel file(entry);
    std::int32_t nKind = 0;
    file.ReadInt(nKind);
    const std::string strName = block.GetName();
    block.Load(file);
    if (block.GetName() != strName && block.GetView() != nullptr) {
        block.GetView()->OnRenamed();
    }
}

void Restore(CBlockDlg& block, const SBlockState& state) {
    LoadEntry(block, state.entry);
    for (std::size_t i = 0; i < state.references.size(); ++i) {
        block.SetReference(i, state.references[i]);
    }
    for (std::size_t k = 0; k < state.links.size(); ++k) {
        block.SetOutLink(static_cast<std::int32_t>(k), state.links[k]);
    }
}

}  // namespace

CBlockDlg& CModel::AddBlock(std::unique_ptr<CBlockDlg> pBlock) {
    m_blocks.push_back(std::move(pBlock));
    return *m_blocks.back();
}

std::int32_t CModel::IndexOfBlock(const CBlockDlg* pBlock) const {
    if (pBlock == nullptr) {
        return -1;
    }
    for (std::size_t i = 0; i < m_blocks.size(); ++i) {
        if (m_blocks[i].get() == pBlock) {
            return static_cast<std::int32_t>(i);
        }
    }
    return -1;
}

CBlockDlg* CModel::BlockAt(std::int32_t nIndex) const {
    if (nIndex < 0 || static_cast<std::size_t>(nIndex) >= m_blocks.size()) {
        return nullptr;
    }
    return m_blocks[static_cast<std::size_t>(nIndex)].get();
}

CBlockDlg* CModel::FindBlock(const std::string& strName) const {
    if (strName.empty()) {
        return nullptr;
    }
    for (const auto& pBlock : m_blocks) {
        if (pBlock->GetName() == strName) {
            return pBlock.get();
        }
    }
    return nullptr;
}

void CModel::Begin(CModelEdit& edit, CBlockDlg& block) {
    SBlockState state = Capture(block);
    edit.m_blocks.push_back({&block, state, std::move(state)});
}

void CModel::Finish(CModelEdit& edit) {
    for (auto& change : edit.m_blocks) {
        change.after = Capture(*change.pBlock);
    }
    std::erase_if(edit.m_blocks, [](const auto& change) { return change.before == change.after; });
}

std::unique_ptr<CBlockDlg> CModel::Extract(std::int32_t nIndex) {
    const auto it = m_blocks.begin() + nIndex;
    std::unique_ptr<CBlockDlg> pBlock = std::move(*it);
    m_blocks.erase(it);
    return pBlock;
}

CPoint CModel::StorablePosition(CPoint ptPos) {
    return {std::clamp(ptPos.x, 0, CBlockDlg::kMaxX), std::clamp(ptPos.y, 0, CBlockDlg::kMaxY)};
}

bool CModel::IsStorable(const CExperimentParams& experiment) {
    const auto inRange = [](std::int32_t n) { return n >= 0 && n <= CExperimentParams::kMaxValue; };
    return (experiment.nStopRule == CExperimentParams::kByTime ||
            experiment.nStopRule == CExperimentParams::kByCount) &&
           inRange(experiment.nStopValue) && inRange(experiment.nRuns);
}

bool CModel::CanInsert(const CBlockDlg& block) const {
    return !block.IsOnePerModel() ||
           std::none_of(m_blocks.begin(), m_blocks.end(), [&block](const auto& pOther) {
               return pOther->GetKind() == block.GetKind();
           });
}

bool CModel::CanLink(const CBlockDlg& source, std::int32_t k, const CBlockDlg* pDestination) const {
    if (!source.IsNamed() || k < 0 || k >= source.GetOutputCount() || !Contains(&source)) {
        return false;
    }
    return pDestination == nullptr ||
           (pDestination != &source && pDestination->IsNamed() && pDestination->HasInput() &&
            Contains(pDestination));
}

CModelEdit CModel::InsertBlock(std::unique_ptr<CBlockDlg> pBlock) {
    CModelEdit edit;
    if (!pBlock || !CanInsert(*pBlock) || Contains(pBlock.get())) {
        return edit;
    }
    CBlockDlg& block = *pBlock;
    const CPoint ptPos = StorablePosition(block.GetPosition());
    block.SetPosition(ptPos.x, ptPos.y);
    if (block.IsNamed() &&
        (FindBlock(block.GetName()) != nullptr || !IsStorableName(block.GetName()))) {
        block.SetName({});
    }
    for (std::int32_t k = 0; k < block.GetOutputCount(); ++k) {
        if (!CanLink(block, k, block.GetOutLink(k))) {
            block.SetOutLink(k, nullptr);
        }
    }
    const std::span<CBlockDlg* const> references = block.GetReferences();
    for (std::size_t i = 0; i < references.size(); ++i) {
        if (!Contains(references[i])) {
            block.SetReference(i, nullptr);
        }
    }
    edit.m_nPlace = CModelEdit::EPlace::kAdds;
    edit.m_nIndex = static_cast<std::int32_t>(m_blocks.size());
    edit.m_pPlaced = &block;
    m_blocks.push_back(std::move(pBlock));
    return edit;
}

CModelEdit CModel::DeleteBlock(CBlockDlg& block) {
    CModelEdit edit;
    const std::int32_t nIndex = IndexOfBlock(&block);
    if (nIndex < 0) {
        return edit;
    }
    for (const auto& pOther : m_blocks) {
        const std::span<CBlockDlg* const> references = pOther->GetReferences();
        if (pOther.get() != &block &&
            (pOther->LinksTo(&block) ||
             std::find(references.begin(), references.end(), &block) != references.end())) {
            Begin(edit, *pOther);
            pOther->RemoveLinksTo(&block);
        }
    }
    Finish(edit);
    edit.m_nPlace = CModelEdit::EPlace::kRemoves;
    edit.m_nIndex = nIndex;
    edit.m_pPlaced = &block;
    edit.m_pHeld = Extract(nIndex);
    return edit;
}

CModelEdit CModel::MoveBlock(CBlockDlg& block, CPoint ptPos) {
    CModelEdit edit;
    if (Contains(&block)) {
        Begin(edit, block);
        const CPoint ptStored = StorablePosition(ptPos);
        block.SetPosition(ptStored.x, ptStored.y);
        Finish(edit);
    }
    return edit;
}

CModelEdit CModel::SetLink(CBlockDlg& source, std::int32_t k, CBlockDlg* pDestination) {
    CModelEdit edit;
    if (CanLink(source, k, pDestination)) {
        Begin(edit, source);
        source.SetOutLink(k, pDestination);
        Finish(edit);
    }
    return edit;
}

CModelEdit CModel::RenameBlock(CBlockDlg& block, const std::string& strName) {
    CModelEdit edit;
    if (Contains(&block) && CheckName(strName, block) == ENameCheck::kAccepted) {
        Begin(edit, block);
        block.SetName(strName);
        Finish(edit);
    }
    return edit;
}

CModelEdit CModel::ChangeOutputCount(CBlockDlg& block, std::int32_t nOutputs) {
    CModelEdit edit;
    if (Contains(&block) && block.AcceptsOutputCount(nOutputs)) {
        Begin(edit, block);
        block.SetOutputCount(nOutputs);
        Finish(edit);
    }
    return edit;
}

CModelEdit CModel::TakeOverParameters(CBlockDlg& block, const CBlockDlg& edited) {
    CModelEdit edit;
    const ENameCheck nName = CheckName(edited.GetName(), block);
    if (!Contains(&block) || edited.GetKind() != block.GetKind() ||
        !block.AcceptsOutputCount(edited.GetOutputCount()) ||
        (nName != ENameCheck::kUnchanged && nName != ENameCheck::kAccepted)) {
        return edit;
    }
    Begin(edit, block);
    const SBlockState& before = edit.m_blocks.back().before;
    SBlockState state = Capture(edited);
    state.links.assign(before.links.begin(), before.links.end());
    state.links.resize(static_cast<std::size_t>(edited.GetOutputCount()), nullptr);
    for (CBlockDlg*& pReference : state.references) {
        pReference = Contains(pReference) ? pReference : nullptr;
    }
    const CPoint ptPos = block.GetPosition();
    Restore(block, state);
    block.SetPosition(ptPos.x, ptPos.y);
    Finish(edit);
    return edit;
}

CModelEdit CModel::SetExperiment(const CExperimentParams& experiment) {
    CModelEdit edit;
    if (IsStorable(experiment) && !(experiment == m_experiment)) {
        edit.m_experiment.emplace(m_experiment, experiment);
        m_experiment = experiment;
    }
    return edit;
}

void CModel::Undo(CModelEdit& edit) {
    if (edit.m_nPlace == CModelEdit::EPlace::kRemoves && edit.m_pHeld) {
        m_blocks.insert(m_blocks.begin() + edit.m_nIndex, std::move(edit.m_pHeld));
    }
    for (auto it = edit.m_blocks.rbegin(); it != edit.m_blocks.rend(); ++it) {
        Restore(*it->pBlock, it->before);
    }
    if (edit.m_nPlace == CModelEdit::EPlace::kAdds && !edit.m_pHeld) {
        edit.m_pHeld = Extract(edit.m_nIndex);
    }
    if (edit.m_experiment) {
        m_experiment = edit.m_experiment->first;
    }
}

void CModel::Redo(CModelEdit& edit) {
    if (edit.m_nPlace == CModelEdit::EPlace::kAdds && edit.m_pHeld) {
        m_blocks.insert(m_blocks.begin() + edit.m_nIndex, std::move(edit.m_pHeld));
    }
    for (const auto& change : edit.m_blocks) {
        Restore(*change.pBlock, change.after);
    }
    if (edit.m_nPlace == CModelEdit::EPlace::kRemoves && !edit.m_pHeld) {
        edit.m_pHeld = Extract(edit.m_nIndex);
    }
    if (edit.m_experiment) {
        m_experiment = edit.m_experiment->second;
    }
}

void CModel::Clear() {
    m_blocks.clear();
    m_experiment = CExperimentParams{};
}

}  // namespace mardo
