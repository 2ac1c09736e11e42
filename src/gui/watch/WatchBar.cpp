#include "gui/watch/WatchBar.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <array>

#include "gui/common/TextConversion.h"

namespace mardo {

namespace {

constexpr std::array<std::uint32_t, 11> kPaces{1, 2, 5, 10, 20, 50, 100, 200, 500, 1000, 0};
constexpr int kFirstPace = 1;  // 2 ticks a second

QString PaceText(std::uint32_t nPace) {
    return nPace == 0 ? QStringLiteral("максимум") : QStringLiteral("%1 такт/с").arg(nPace);
}

}  // namespace

CWatchBar::CWatchBar(QWidget* pParent) : QDockWidget(QStringLiteral("Наблюдение"), pParent) {
    setObjectName(QStringLiteral("watchBar"));
    setFeatures(QDockWidget::NoDockWidgetFeatures);
    auto* pPanel = new QWidget(this);
    auto* pLayout = new QHBoxLayout(pPanel);
    m_pRunButton = AddButton("&Пуск", &CWatchBar::runOrPause);
    m_pStepButton = AddButton("&Шаг", &CWatchBar::step);
    m_pEventButton = AddButton("Шаг до &события", &CWatchBar::stepToEvent);
    m_pSpeed = new QSlider(Qt::Horizontal, pPanel);
    m_pSpeed->setRange(0, static_cast<int>(kPaces.size()) - 1);
    m_pSpeed->setValue(kFirstPace);
    m_pSpeed->setFocusPolicy(Qt::NoFocus);
    m_pSpeed->setMinimumWidth(120);
    m_pSpeedLabel = new QLabel(PaceText(GetPace()), pPanel);
    m_pSpeedLabel->setMinimumWidth(m_pSpeedLabel->fontMetrics().horizontalAdvance(PaceText(1000)));
    connect(m_pSpeed, &QSlider::valueChanged, this, [this] {
        m_pSpeedLabel->setText(PaceText(GetPace()));
        emit paceChanged(GetPace());
    });
    m_pTimeLabel = new QLabel(pPanel);
    m_pDepartedLabel = new QLabel(pPanel);
    m_pNoteLabel = new QLabel(pPanel);
    for (QWidget* pWidget :
         std::initializer_list<QWidget*>{m_pRunButton, m_pStepButton, m_pEventButton,
                                         new QLabel(QStringLiteral("Скорость:"), pPanel), m_pSpeed,
                                         m_pSpeedLabel, m_pTimeLabel, m_pDepartedLabel}) {
        pLayout->addWidget(pWidget);
    }
    pLayout->addWidget(AddButton("Пауза, &когда...", &CWatchBar::conditions));
    pLayout->addWidget(AddButton("С&топ", &CWatchBar::stop));
    pLayout->addWidget(m_pNoteLabel, 1);
    setWidget(pPanel);
    ShowFigures(0, 0);
}

QPushButton* CWatchBar::AddButton(const char* pszText, void (CWatchBar::*signal)()) {
    auto* pButton = new QPushButton(Text(pszText), this);
    pButton->setFocusPolicy(Qt::NoFocus);
    connect(pButton, &QPushButton::clicked, this, signal);
    return pButton;
}

std::uint32_t CWatchBar::PaceAt(int nPosition) {
    return kPaces[static_cast<std::size_t>(
        std::clamp(nPosition, 0, static_cast<int>(kPaces.size()) - 1))];
}

std::uint32_t CWatchBar::GetPace() const {
    return PaceAt(m_pSpeed->value());
}

void CWatchBar::StepSpeed(int nBy) {
    m_pSpeed->setValue(m_pSpeed->value() + nBy);
}

void CWatchBar::ShowPaused(bool bPaused) {
    m_pRunButton->setText(bPaused ? QStringLiteral("&Пуск") : QStringLiteral("П&ауза"));
    m_pStepButton->setEnabled(bPaused);
    m_pEventButton->setEnabled(bPaused);
}

void CWatchBar::ShowFigures(std::uint32_t nTime, std::uint32_t nDeparted) {
    m_pTimeLabel->setText(QStringLiteral("Время: %1").arg(nTime));
    m_pDepartedLabel->setText(QStringLiteral("Вышло: %1").arg(nDeparted));
}

void CWatchBar::ShowNote(const QString& strNote) {
    m_pNoteLabel->setText(strNote);
}

}  // namespace mardo
