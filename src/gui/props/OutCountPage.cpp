#include "gui/props/OutCountPage.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QSignalBlocker>
#include <QSlider>
#include <QVBoxLayout>

namespace mardo {

COutCountPage::COutCountPage(std::int32_t nCount, QWidget* pParent)
    : CBlockPropertyPage(QStringLiteral("Выходы"), pParent),
      m_nCount(nCount),
      m_pTrackbar(new QSlider(Qt::Horizontal, this)),
      m_pCountLabel(new QLabel(this)) {
    auto* pCountRow = new QHBoxLayout;
    pCountRow->addWidget(new QLabel(QStringLiteral("Количество выходов"), this));
    pCountRow->addWidget(m_pCountLabel);
    pCountRow->addStretch(1);
    auto* pTrackbarRow = new QHBoxLayout;
    pTrackbarRow->addWidget(new QLabel(QStringLiteral("1"), this));
    pTrackbarRow->addWidget(m_pTrackbar, 1);
    pTrackbarRow->addWidget(new QLabel(QStringLiteral("20"), this));
    auto* pLayout = new QVBoxLayout(this);
    pLayout->addLayout(pCountRow);
    pLayout->addLayout(pTrackbarRow);
    pLayout->addStretch(1);
    m_pTrackbar->setRange(1, kMaxOutputs);
    m_pTrackbar->setPageStep(1);
    m_pTrackbar->setTickPosition(QSlider::TicksBelow);
    m_pTrackbar->setTickInterval(1);
    m_pTrackbar->setMinimumWidth(300);
    connect(m_pTrackbar, &QSlider::valueChanged, this, [this](int nCount) {
        m_nCount = nCount;
        m_pCountLabel->setText(QString::number(nCount));
    });
}

void COutCountPage::OnInitPage() {
    const QSignalBlocker blocker(m_pTrackbar);
    m_pTrackbar->setValue(m_nCount);
    m_pCountLabel->setText(QString::number(m_nCount));
}

}  // namespace mardo
