#pragma once

#include "core/sim/FlowLaw.h"
#include "gui/props/ValueDlg.h"

namespace mardo {

class CBlockPropertySheet;
class CNumberField;
class CProbabilityTrackbar;

// One interval of a special flow law: its minimum and maximum, 1..10000 each, and its
// probability on a trackbar up to what the other intervals leave. The caption says whether the
// interval is new or changed.
class CChangeIntervalDlg final : public CValueDlg {
    Q_OBJECT

public:
    CChangeIntervalDlg(CBlockPropertySheet& sheet, const QString& strCaption,
                       const CFlowLaw::SInterval& interval, int nLimit, QWidget* pParent = nullptr);

    const CFlowLaw::SInterval& GetInterval() const { return m_interval; }
    CNumberField& GetMinField() const { return *m_pMin; }
    CNumberField& GetMaxField() const { return *m_pMax; }
    CProbabilityTrackbar& GetTrackbar() const { return *m_pProbability; }

protected:
    bool CheckValues() override;

private:
    CBlockPropertySheet& m_sheet;
    CFlowLaw::SInterval m_interval;
    CNumberField* m_pMin;
    CNumberField* m_pMax;
    CProbabilityTrackbar* m_pProbability;
};

}  // namespace mardo
