#include "gui/watch/PauseConditionDlg.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "gui/common/TextConversion.h"

namespace mardo {

namespace {

using EKind = SPauseCondition::EKind;

// The kinds in the order the list offers them.
constexpr EKind kKinds[] = {EKind::kQueueContent, EKind::kDeviceBusy, EKind::kDeviceFree,
                            EKind::kDepartures, EKind::kModelTime};
const char* const kKindTexts[] = {"содержимое очереди достигает", "устройство становится занятым",
                                  "устройство становится свободным", "вышло транзактов",
                                  "модельное время достигает"};

}  // namespace

CPauseConditionDlg::CPauseConditionDlg(std::vector<SPauseCondition> conditions, QStringList queues,
                                       QStringList devices, QWidget* pParent)
    : QDialog(pParent),
      m_conditions(std::move(conditions)),
      m_queues(std::move(queues)),
      m_devices(std::move(devices)) {
    setWindowTitle(QStringLiteral("Пауза, когда"));
    m_pList = new QListWidget(this);
    m_pKind = new QComboBox(this);
    for (const char* pszKind : kKindTexts) {
        m_pKind->addItem(Text(pszKind));
    }
    m_pBlock = new QComboBox(this);
    m_pValue = new QSpinBox(this);
    m_pValue->setRange(0, 2'000'000'000);
    m_pValue->setValue(1);
    auto* pAdd = new QPushButton(QStringLiteral("&Добавить"), this);
    auto* pRemove = new QPushButton(QStringLiteral("&Удалить"), this);
    auto* pButtons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    pButtons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Отмена"));

    auto* pForm = new QFormLayout;
    pForm->addRow(QStringLiteral("&Условие:"), m_pKind);
    pForm->addRow(QStringLiteral("&Блок:"), m_pBlock);
    pForm->addRow(QStringLiteral("&Значение:"), m_pValue);
    auto* pRow = new QHBoxLayout;
    pRow->addWidget(pAdd);
    pRow->addWidget(pRemove);
    pRow->addStretch();
    auto* pLayout = new QVBoxLayout(this);
    pLayout->addWidget(new QLabel(QStringLiteral("Наблюдение остановится в первом такте, в котором "
                                                 "выполнится одно из условий:"),
                                  this));
    pLayout->addWidget(m_pList);
    pLayout->addLayout(pForm);
    pLayout->addLayout(pRow);
    pLayout->addWidget(pButtons);

    connect(m_pKind, &QComboBox::currentIndexChanged, this, [this] {
        FollowKind();
        m_bPending = true;
    });
    connect(m_pBlock, &QComboBox::currentIndexChanged, this, [this] { m_bPending = true; });
    connect(m_pValue, &QSpinBox::valueChanged, this, [this] { m_bPending = true; });
    connect(pAdd, &QPushButton::clicked, this, [this] { Add(); });
    connect(pRemove, &QPushButton::clicked, this, [this] { RemoveSelected(); });
    connect(pButtons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(pButtons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    FollowKind();
    ShowConditions();
    m_pValue->setFocus();
    m_pValue->selectAll();
    m_bPending = false;
}

void CPauseConditionDlg::accept() {
    if (m_bPending) {
        Add();
    }
    QDialog::accept();
}

void CPauseConditionDlg::FollowKind() {
    const EKind eKind = kKinds[std::max(0, m_pKind->currentIndex())];
    m_pBlock->clear();
    m_pBlock->addItems(eKind == EKind::kQueueContent ? m_queues
                       : eKind == EKind::kDeviceBusy || eKind == EKind::kDeviceFree
                           ? m_devices
                           : QStringList{});
    m_pBlock->setEnabled(m_pBlock->count() > 0);
    m_pValue->setEnabled(eKind != EKind::kDeviceBusy && eKind != EKind::kDeviceFree);
}

void CPauseConditionDlg::Add() {
    SPauseCondition condition;
    condition.eKind = kKinds[std::max(0, m_pKind->currentIndex())];
    if (condition.NamesBlock()) {
        if (m_pBlock->currentIndex() < 0) {
            return;  // no block of that kind in the model
        }
        condition.strBlock = m_pBlock->currentText().toStdString();
    }
    condition.nValue = static_cast<std::uint32_t>(m_pValue->value());
    m_conditions.push_back(condition);
    m_bPending = false;
    ShowConditions();
}

void CPauseConditionDlg::RemoveSelected() {
    const int nRow = m_pList->currentRow();
    if (nRow >= 0 && static_cast<std::size_t>(nRow) < m_conditions.size()) {
        m_conditions.erase(m_conditions.begin() + nRow);
        ShowConditions();
    }
}

void CPauseConditionDlg::ShowConditions() {
    m_pList->clear();
    for (const SPauseCondition& condition : m_conditions) {
        m_pList->addItem(Text(condition.Describe()));
    }
}

}  // namespace mardo
