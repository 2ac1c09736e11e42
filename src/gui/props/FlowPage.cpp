#include "gui/props/FlowPage.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStackedWidget>
#include <QVBoxLayout>

#include "gui/common/DialogRunner.h"
#include "gui/common/Dialogs.h"
#include "gui/props/BlockPropertySheet.h"
#include "gui/props/ChangeIntervalDlg.h"
#include "gui/props/FieldText.h"
#include "gui/props/FlowTest.h"
#include "gui/props/NumberField.h"
#include "gui/props/ReportList.h"

namespace mardo {

namespace {

constexpr int kWholeProbability = 1000;

enum EColumn { kNumberColumn, kMinColumn, kMaxColumn, kProbabilityColumn };

}  // namespace

CFlowPage::CFlowPage(const CFlowLaw& law, QWidget* pParent)
    : CBlockPropertyPage(QStringLiteral("Характеристика потока"), pParent),
      m_law(law),
      m_pKind(new QComboBox(this)),
      m_pGroups(new QStackedWidget(this)) {
    m_pKind->addItems({QStringLiteral("Детерминированный"), QStringLiteral("Равномерный"),
                       QStringLiteral("Специальный")});
    m_pGroups->addWidget(CreateValueGroup());
    m_pGroups->addWidget(CreateIntervalGroup());
    // Made after the groups, so that the Tab key reaches it after their fields.
    m_pTest = new QPushButton(QStringLiteral("&Тест"), this);

    auto* pKindRow = new QHBoxLayout;
    pKindRow->addWidget(new QLabel(QStringLiteral("Закон поступления/обслуживания"), this));
    pKindRow->addWidget(m_pKind, 1);
    auto* pTestRow = new QHBoxLayout;
    pTestRow->addStretch(1);
    pTestRow->addWidget(m_pTest);
    auto* pLayout = new QVBoxLayout(this);
    pLayout->addLayout(pKindRow);
    pLayout->addWidget(m_pGroups, 1);
    pLayout->addLayout(pTestRow);

    connect(m_pKind, &QComboBox::currentIndexChanged, this, [this](int nKind) {
        m_law.m_nKind = nKind;
        ApplyKind();
    });
    connect(m_pNew, &QPushButton::clicked, this, &CFlowPage::OnNew);
    connect(m_pChange, &QPushButton::clicked, this, &CFlowPage::OnChange);
    connect(m_pRemove, &QPushButton::clicked, this, &CFlowPage::OnRemove);
    connect(m_pIntervals, &CReportList::rowDoubleClicked, this, &CFlowPage::OnChange);
    connect(m_pTest, &QPushButton::clicked, this, &CFlowPage::OnTest);
}

QGroupBox* CFlowPage::CreateValueGroup() {
    m_pValueGroup = new QGroupBox(QStringLiteral("Значение величины"));
    m_pMin = new CNumberField(CFlowLaw::kMinValue, CFlowLaw::kMaxValue, m_pValueGroup);
    m_pMax = new CNumberField(CFlowLaw::kMinValue, CFlowLaw::kMaxValue, m_pValueGroup);
    m_pMaxLabel = new QLabel(QStringLiteral("Максимальное значение"), m_pValueGroup);
    auto* pGrid = new QGridLayout(m_pValueGroup);
    pGrid->addWidget(new QLabel(QStringLiteral("Минимальное значение"), m_pValueGroup), 0, 0);
    pGrid->addWidget(m_pMin, 0, 1, Qt::AlignLeft);
    pGrid->addWidget(m_pMaxLabel, 1, 0);
    pGrid->addWidget(m_pMax, 1, 1, Qt::AlignLeft);
    pGrid->setColumnStretch(2, 1);
    pGrid->setRowStretch(2, 1);
    return m_pValueGroup;
}

QGroupBox* CFlowPage::CreateIntervalGroup() {
    m_pIntervalGroup = new QGroupBox(QStringLiteral("Значение величины"));
    m_pIntervals = new CReportList(m_pIntervalGroup);
    m_pIntervals->SetColumn(kNumberColumn, QStringLiteral("Номер интервала"), 35);
    m_pIntervals->SetColumn(kMinColumn, QStringLiteral("Минимальное значение"), 85);
    m_pIntervals->SetColumn(kMaxColumn, QStringLiteral("Максимальное значение"), 85);
    m_pIntervals->SetColumn(kProbabilityColumn, QStringLiteral("Вероятность"), 85);
    m_pNew = new QPushButton(QStringLiteral("Но&вый"), m_pIntervalGroup);
    m_pChange = new QPushButton(QStringLiteral("&Изменить"), m_pIntervalGroup);
    m_pRemove = new QPushButton(QStringLiteral("Уд&алить"), m_pIntervalGroup);
    auto* pButtons = new QVBoxLayout;
    pButtons->addWidget(m_pNew);
    pButtons->addWidget(m_pChange);
    pButtons->addWidget(m_pRemove);
    pButtons->addStretch(1);
    auto* pLayout = new QHBoxLayout(m_pIntervalGroup);
    pLayout->addWidget(m_pIntervals, 1);
    pLayout->addLayout(pButtons);
    return m_pIntervalGroup;
}

void CFlowPage::OnInitPage() {
    const std::vector<CFlowLaw::SInterval>& intervals = m_law.GetIntervals();
    for (std::size_t j = 0; j < intervals.size(); ++j) {
        const int nRow = m_pIntervals->AddRow({QString::number(j + 1)});
        ShowInterval(nRow, intervals[j]);
    }
    m_pIntervals->MarkRow(0);
    m_pMin->Attach(m_law.m_nMin);
    m_pMax->Attach(m_law.m_nMax);
    {
        const QSignalBlocker blocker(m_pKind);
        m_pKind->setCurrentIndex(m_law.m_nKind);
    }
    ApplyKind();
}

void CFlowPage::ApplyKind() {
    const bool bSpecial = m_law.m_nKind == CFlowLaw::kSpecial;
    m_pGroups->setCurrentWidget(bSpecial ? m_pIntervalGroup : m_pValueGroup);
    if (bSpecial) {
        EnableIntervalButtons();
        return;
    }
    const bool bUniform = m_law.m_nKind == CFlowLaw::kUniform;
    m_pMaxLabel->setEnabled(bUniform);
    m_pMax->setEnabled(bUniform);
    if (bUniform && m_law.m_nMax < m_law.m_nMin) {
        m_law.m_nMax = m_law.m_nMin;
        m_pMax->SetValue(m_law.m_nMax);
    }
}

void CFlowPage::EnableIntervalButtons() {
    const bool bAny = m_law.GetIntervalCount() > 0;
    m_pChange->setEnabled(bAny);
    m_pRemove->setEnabled(bAny);
}

void CFlowPage::ShowInterval(int nRow, const CFlowLaw::SInterval& interval) {
    m_pIntervals->SetCell(nRow, kMinColumn, QString::number(interval.m_nMin));
    m_pIntervals->SetCell(nRow, kMaxColumn, QString::number(interval.m_nMax));
    m_pIntervals->SetCell(nRow, kProbabilityColumn, FormatThousandths(interval.m_nProbability));
}

bool CFlowPage::EditInterval(const QString& strCaption, CFlowLaw::SInterval& interval, int nLimit) {
    CChangeIntervalDlg dialog(*GetSheet(), strCaption, interval, nLimit, this);
    if (RunDialog(dialog) != QDialog::Accepted) {
        return false;
    }
    interval = dialog.GetInterval();
    return true;
}

void CFlowPage::OnNew() {
    CFlowLaw::SInterval interval;
    if (!EditInterval(QStringLiteral("Добавить новый интервал"), interval,
                      kWholeProbability - m_law.GetTotalProbability())) {
        return;
    }
    m_law.AddInterval(interval.m_nMin, interval.m_nMax, interval.m_nProbability);
    // Numbered after the rows shown, which a deletion does not renumber.
    const int nRow = m_pIntervals->AddRow({QString::number(m_pIntervals->GetRowCount() + 1)});
    ShowInterval(nRow, interval);
    EnableIntervalButtons();
    m_pIntervals->MarkRow(nRow);
}

void CFlowPage::OnChange() {
    const int nRow = m_pIntervals->GetMarkedRow();
    if (nRow < 0 || nRow >= m_law.GetIntervalCount()) {
        return;
    }
    CFlowLaw::SInterval interval = m_law.GetIntervals()[static_cast<std::size_t>(nRow)];
    const int nLimit = interval.m_nProbability + kWholeProbability - m_law.GetTotalProbability();
    if (!EditInterval(QStringLiteral("Изменить интервал"), interval, nLimit)) {
        return;
    }
    m_law.SetInterval(nRow, interval.m_nMin, interval.m_nMax, interval.m_nProbability);
    ShowInterval(nRow, interval);
}

void CFlowPage::OnRemove() {
    const int nRow = m_pIntervals->GetMarkedRow();
    if (nRow < 0) {
        return;
    }
    m_pIntervals->RemoveRow(nRow);
    m_law.RemoveInterval(nRow);
    EnableIntervalButtons();
}

void CFlowPage::OnTest() {
    if (Validate()) {
        RunFlowTest(this, m_law);
    }
}

bool CFlowPage::Refuse(const QString& strMessage, QWidget& focus) {
    CBlockPropertySheet& sheet = *GetSheet();
    sheet.SetActivePage(*this);
    ShowMessage(&sheet, strMessage, EMessageIcon::kExclamation);
    focus.setFocus(Qt::OtherFocusReason);
    return false;
}

bool CFlowPage::OnValidate() {
    CBlockPropertySheet& sheet = *GetSheet();
    // The minimum is read for every kind, even while its field is hidden.
    if (!m_pMin->Validate(sheet, this)) {
        return false;
    }
    if (m_law.m_nKind == CFlowLaw::kUniform) {
        if (!m_pMax->Validate(sheet, this)) {
            return false;
        }
        if (m_law.m_nMax < m_law.m_nMin) {
            return Refuse(QStringLiteral("Минимальное значение превысило максимальное."), *m_pMin);
        }
    } else if (m_law.m_nKind == CFlowLaw::kSpecial) {
        if (m_law.GetIntervalCount() == 0) {
            return Refuse(QStringLiteral("Не существует интервалов."), *m_pIntervals);
        }
        if (m_law.GetTotalProbability() != kWholeProbability) {
            return Refuse(
                QStringLiteral("Полная вероятность всех интервалов должна быть равна единице."),
                *m_pIntervals);
        }
    }
    return true;
}

}  // namespace mardo
