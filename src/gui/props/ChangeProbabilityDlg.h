#pragma once

#include <cstdint>

#include "gui/props/ValueDlg.h"

namespace mardo {

class CProbabilityTrackbar;

// "Изменить вероятность": one output's probability of a switching block, on a trackbar up to
// what the other outputs leave, so the probabilities never sum to more than one.
class CChangeProbabilityDlg final : public CValueDlg {
    Q_OBJECT

public:
    CChangeProbabilityDlg(int nProbability, int nLimit, QWidget* pParent = nullptr);

    int GetProbability() const { return m_nProbability; }
    CProbabilityTrackbar& GetTrackbar() const { return *m_pProbability; }

private:
    std::int32_t m_nProbability;
    CProbabilityTrackbar* m_pProbability;
};

}  // namespace mardo
