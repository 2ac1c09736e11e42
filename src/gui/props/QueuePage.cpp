#include "gui/props/QueuePage.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QSignalBlocker>

#include "gui/props/CheckedField.h"

namespace mardo {

CQueuePage::CQueuePage(const CQueueParams& params, QWidget* pParent)
    : CBlockPropertyPage(QStringLiteral("Характеристика очереди"), pParent),
      m_params(params),
      m_pDiscipline(new QComboBox(this)) {
    auto* pGrid = new QGridLayout(this);
    pGrid->addWidget(new QLabel(QStringLiteral("Дисциплина очереди"), this), 0, 0, 1, 2);
    pGrid->addWidget(m_pDiscipline, 1, 0, 1, 3);
    m_pLimit = std::make_unique<CCheckedField>(
        *pGrid, 2, QStringLiteral("Ограничение длины очереди"), 1, CQueueParams::kMaxLimit, this);
    pGrid->setColumnStretch(2, 1);
    pGrid->setRowStretch(3, 1);
    m_pDiscipline->addItems({QStringLiteral("Раньше поступил - раньше обслужился"),
                             QStringLiteral("Последний поступил - первый обслужился"),
                             QStringLiteral("Выбор из очереди случайный"),
                             QStringLiteral("Выбор из очереди по приоритету")});
    connect(m_pDiscipline, &QComboBox::currentIndexChanged, this,
            [this](int nEntry) { m_params.m_nDiscipline = nEntry; });
}

CQueuePage::~CQueuePage() = default;

void CQueuePage::OnInitPage() {
    m_pLimit->Attach(m_params.m_bLimit, m_params.m_nLimit);
    const QSignalBlocker blocker(m_pDiscipline);
    m_pDiscipline->setCurrentIndex(m_params.m_nDiscipline);
}

bool CQueuePage::OnValidate() {
    return m_pLimit->Validate(*GetSheet(), this);
}

}  // namespace mardo
