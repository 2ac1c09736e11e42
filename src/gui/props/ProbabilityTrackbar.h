#pragma once

#include <QWidget>
#include <cstdint>

class QLabel;
class QSlider;

namespace mardo {

// A probability in thousandths on a trackbar from 0 to an upper limit, with a label beside it
// that shows it as a fraction ("0.250"). Moving the trackbar stores the value at once; it can
// never leave 0..the limit, so it needs no check.
class CProbabilityTrackbar final : public QWidget {
    Q_OBJECT

public:
    explicit CProbabilityTrackbar(QWidget* pParent = nullptr);

    // Binds the value, sets the trackbar's range to 0..nLimit and its position to the value.
    void Attach(std::int32_t& nProbability, int nLimit);

    QSlider& GetSlider() const { return *m_pSlider; }
    QLabel& GetLabel() const { return *m_pLabel; }

private:
    void ShowValue(int nValue);

    std::int32_t* m_pProbability = nullptr;
    QSlider* m_pSlider;
    QLabel* m_pLabel;
};

}  // namespace mardo
