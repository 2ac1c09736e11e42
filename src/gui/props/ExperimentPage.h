#pragma once

#include "core/model/ExperimentParams.h"
#include "gui/props/BlockPropertyPage.h"

namespace mardo {

class CNumberField;
class CRadioGroup;

// "Условия эксперимента", the one page of the model's sheet: when a run stops and how many
// runs a simulation makes.
class CExperimentPage final : public CBlockPropertyPage {
    Q_OBJECT

public:
    explicit CExperimentPage(const CExperimentParams& params, QWidget* pParent = nullptr);

    const CExperimentParams& GetParams() const { return m_params; }
    CRadioGroup& GetStopRules() const { return *m_pStopRules; }
    CNumberField& GetValueField() const { return *m_pValue; }
    CNumberField& GetRunsField() const { return *m_pRuns; }

protected:
    void OnInitPage() override;
    bool OnValidate() override;

private:
    CExperimentParams m_params;
    CRadioGroup* m_pStopRules;
    CNumberField* m_pValue;
    CNumberField* m_pRuns;
};

}  // namespace mardo
