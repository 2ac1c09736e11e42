#pragma once

#include <QDialog>
#include <QStringList>
#include <vector>

#include "core/run/PauseCondition.h"

class QComboBox;
class QListWidget;
class QSpinBox;

namespace mardo {

// "Пауза, когда...": the conditions that pause the watch, each added from a kind, a block where
// the kind needs one (queues for the content, devices for busy and free) and a value.
class CPauseConditionDlg final : public QDialog {
    Q_OBJECT

public:
    CPauseConditionDlg(std::vector<SPauseCondition> conditions, QStringList queues,
                       QStringList devices, QWidget* pParent);

    const std::vector<SPauseCondition>& GetConditions() const { return m_conditions; }
    // A condition changed in the fields and not added yet is what the user meant: OK adds it.
    void accept() override;

private:
    void FollowKind();
    void Add();
    void RemoveSelected();
    void ShowConditions();

    std::vector<SPauseCondition> m_conditions;
    QStringList m_queues;
    QStringList m_devices;
    QListWidget* m_pList = nullptr;
    QComboBox* m_pKind = nullptr;
    QComboBox* m_pBlock = nullptr;
    QSpinBox* m_pValue = nullptr;
    bool m_bPending = false;  // the fields changed since the last condition was added
};

}  // namespace mardo
