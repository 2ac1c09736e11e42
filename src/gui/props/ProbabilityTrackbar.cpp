#include "gui/props/ProbabilityTrackbar.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QSignalBlocker>
#include <QSlider>

#include "gui/props/FieldText.h"

namespace mardo {

CProbabilityTrackbar::CProbabilityTrackbar(QWidget* pParent)
    : QWidget(pParent),
      m_pSlider(new QSlider(Qt::Horizontal, this)),
      m_pLabel(new QLabel(QStringLiteral("0.000"), this)) {
    auto* pLayout = new QHBoxLayout(this);
    pLayout->setContentsMargins(0, 0, 0, 0);
    pLayout->addWidget(m_pSlider, 1);
    pLayout->addWidget(m_pLabel);
    m_pSlider->setMinimumWidth(200);
    m_pSlider->setTickPosition(QSlider::TicksBelow);
    m_pSlider->setTickInterval(100);
    m_pSlider->setPageStep(100);
    m_pLabel->setMinimumWidth(m_pLabel->fontMetrics().horizontalAdvance(QStringLiteral("0.000")) +
                              8);
    connect(m_pSlider, &QSlider::valueChanged, this, [this](int nValue) {
        if (m_pProbability != nullptr) {
            *m_pProbability = nValue;
        }
        ShowValue(nValue);
    });
}

void CProbabilityTrackbar::Attach(std::int32_t& nProbability, int nLimit) {
    {
        const QSignalBlocker blocker(m_pSlider);
        m_pSlider->setRange(0, nLimit);
        m_pSlider->setValue(nProbability);
    }
    m_pProbability = &nProbability;
    // A value beyond the limit is held where the trackbar can show it.
    nProbability = m_pSlider->value();
    ShowValue(nProbability);
}

void CProbabilityTrackbar::ShowValue(int nValue) {
    m_pLabel->setText(FormatThousandths(nValue));
}

}  // namespace mardo
