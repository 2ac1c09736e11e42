#pragma once

#include <cstdint>

#include "gui/props/BlockPropertyPage.h"

class QLabel;
class QSlider;

namespace mardo {

// "Выходы": the number of outputs of a switching or copying block, 1..20 on a trackbar.
// "Значение выходов" reads the count from here every time it is shown.
class COutCountPage final : public CBlockPropertyPage {
    Q_OBJECT

public:
    static constexpr int kMaxOutputs = 20;

    explicit COutCountPage(std::int32_t nCount, QWidget* pParent = nullptr);

    std::int32_t GetCount() const { return m_nCount; }
    QSlider& GetTrackbar() const { return *m_pTrackbar; }
    QLabel& GetCountLabel() const { return *m_pCountLabel; }

protected:
    void OnInitPage() override;

private:
    std::int32_t m_nCount;
    QSlider* m_pTrackbar;
    QLabel* m_pCountLabel;
};

}  // namespace mardo
