#pragma once

#include "core/sim/FlowLaw.h"
#include "gui/props/BlockPropertyPage.h"

class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QStackedWidget;

namespace mardo {

class CNumberField;
class CReportList;

// "Характеристика потока": a generator's arrival law or a service device's service law. A
// deterministic or uniform law is edited in its minimum and maximum fields, a special law in
// its table of intervals; "&Тест" shows the law's samples.
class CFlowPage final : public CBlockPropertyPage {
    Q_OBJECT

public:
    explicit CFlowPage(const CFlowLaw& law, QWidget* pParent = nullptr);

    const CFlowLaw& GetLaw() const { return m_law; }
    QComboBox& GetKindChoice() const { return *m_pKind; }
    CNumberField& GetMinField() const { return *m_pMin; }
    CNumberField& GetMaxField() const { return *m_pMax; }
    QLabel& GetMaxLabel() const { return *m_pMaxLabel; }
    QGroupBox& GetValueGroup() const { return *m_pValueGroup; }
    QGroupBox& GetIntervalGroup() const { return *m_pIntervalGroup; }
    CReportList& GetIntervalList() const { return *m_pIntervals; }
    QPushButton& GetNewButton() const { return *m_pNew; }
    QPushButton& GetChangeButton() const { return *m_pChange; }
    QPushButton& GetRemoveButton() const { return *m_pRemove; }
    QPushButton& GetTestButton() const { return *m_pTest; }

public slots:
    void OnNew();
    void OnChange();
    void OnRemove();
    void OnTest();

protected:
    void OnInitPage() override;
    bool OnValidate() override;

private:
    QGroupBox* CreateValueGroup();
    QGroupBox* CreateIntervalGroup();
    // Shows the controls the law's kind uses.
    void ApplyKind();
    void EnableIntervalButtons();
    // Runs the interval dialog; true when it was closed with OK and the interval was changed.
    bool EditInterval(const QString& strCaption, CFlowLaw::SInterval& interval, int nLimit);
    void ShowInterval(int nRow, const CFlowLaw::SInterval& interval);
    // Brings the page to the front, shows the law's fault and puts the focus on the control.
    bool Refuse(const QString& strMessage, QWidget& focus);

    CFlowLaw m_law;
    QComboBox* m_pKind;
    QStackedWidget* m_pGroups;
    QGroupBox* m_pValueGroup = nullptr;
    QGroupBox* m_pIntervalGroup = nullptr;
    CNumberField* m_pMin = nullptr;
    CNumberField* m_pMax = nullptr;
    QLabel* m_pMaxLabel = nullptr;
    CReportList* m_pIntervals = nullptr;
    QPushButton* m_pNew = nullptr;
    QPushButton* m_pChange = nullptr;
    QPushButton* m_pRemove = nullptr;
    QPushButton* m_pTest = nullptr;
};

}  // namespace mardo
