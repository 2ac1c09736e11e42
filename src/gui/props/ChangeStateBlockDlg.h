#pragma once

#include <cstdint>
#include <vector>

#include "gui/props/StateCandidates.h"
#include "gui/props/ValueDlg.h"

class QComboBox;

namespace mardo {

class CRadioGroup;

// "Изменить блок и его состояние": the block whose state decides one output of a switching block
// and that state. Only named service devices and queues among the candidates are offered, each
// with the states it may still be given.
class CChangeStateBlockDlg final : public CValueDlg {
    Q_OBJECT

public:
    CChangeStateBlockDlg(const std::vector<SStateCandidate>& candidates, CBlockDlg* pBlock,
                         int nState, QWidget* pParent = nullptr);

    // The chosen block (null for "Нет блока") and state.
    CBlockDlg* GetBlock() const { return m_pBlock; }
    int GetState() const { return m_nState; }
    QComboBox& GetChoice() const { return *m_pChoice; }
    CRadioGroup& GetStateGroup() const { return *m_pStates; }

private:
    void FillChoice(const std::vector<SStateCandidate>& candidates);
    // Applies the chosen entry: which states may be chosen and which one is.
    void OnChoice(int nEntry);

    CBlockDlg* m_pBlock;
    std::int32_t m_nState;
    std::vector<int> m_entryStates;  // per entry of the drop-down, its candidate's states
    QComboBox* m_pChoice;
    CRadioGroup* m_pStates;
};

}  // namespace mardo
