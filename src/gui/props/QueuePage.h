#pragma once

#include <memory>

#include "core/model/QueueParams.h"
#include "gui/props/BlockPropertyPage.h"

class QComboBox;

namespace mardo {

class CCheckedField;

// "Характеристика очереди": the queue's discipline and its optional length limit.
class CQueuePage final : public CBlockPropertyPage {
    Q_OBJECT

public:
    explicit CQueuePage(const CQueueParams& params, QWidget* pParent = nullptr);
    ~CQueuePage() override;

    const CQueueParams& GetParams() const { return m_params; }
    QComboBox& GetDiscipline() const { return *m_pDiscipline; }
    CCheckedField& GetLimit() const { return *m_pLimit; }

protected:
    void OnInitPage() override;
    bool OnValidate() override;

private:
    CQueueParams m_params;
    QComboBox* m_pDiscipline;
    std::unique_ptr<CCheckedField> m_pLimit;
};

}  // namespace mardo
