#pragma once

#include "core/model/PriorityChange.h"
#include "gui/props/BlockPropertyPage.h"

class QLabel;

namespace mardo {

class CNumberField;
class CRadioGroup;

// "Приоритет": how a transact's priority changes as it leaves the block, and by how much.
class CPriorityPage final : public CBlockPropertyPage {
    Q_OBJECT

public:
    explicit CPriorityPage(const CPriorityChange& priority, QWidget* pParent = nullptr);

    const CPriorityChange& GetPriority() const { return m_priority; }
    CRadioGroup& GetModes() const { return *m_pModes; }
    QLabel& GetValueLabel() const { return *m_pValueLabel; }
    CNumberField& GetValueField() const { return *m_pValue; }

protected:
    void OnInitPage() override;
    bool OnValidate() override;

private:
    void EnableValue();

    CPriorityChange m_priority;
    CRadioGroup* m_pModes;
    QLabel* m_pValueLabel;
    CNumberField* m_pValue;
};

}  // namespace mardo
