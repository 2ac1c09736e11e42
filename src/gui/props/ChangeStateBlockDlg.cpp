#include "gui/props/ChangeStateBlockDlg.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QRadioButton>
#include <QSignalBlocker>

#include "core/model/BlockDlg.h"
#include "core/sim/TransferRule.h"
#include "gui/model/BlockImages.h"
#include "gui/props/RadioGroup.h"

namespace mardo {

CChangeStateBlockDlg::CChangeStateBlockDlg(const std::vector<SStateCandidate>& candidates,
                                           CBlockDlg* pBlock, int nState, QWidget* pParent)
    : CValueDlg(QStringLiteral("Изменить блок и его состояние"), pParent),
      m_pBlock(pBlock),
      m_nState(nState),
      m_pChoice(new QComboBox(this)),
      m_pStates(new CRadioGroup(QStringLiteral("Состояние блока"),
                                {QStringLiteral("Свободен"), QStringLiteral("Занят")}, this)) {
    QGridLayout& form = GetForm();
    form.addWidget(new QLabel(QStringLiteral("Имя блока"), this), 0, 0);
    form.addWidget(m_pChoice, 0, 1);
    form.addWidget(m_pStates, 1, 0, 1, 2);
    m_pChoice->setIconSize(QSize(CBlockImages::kSize, CBlockImages::kSize));
    m_pChoice->setMinimumWidth(220);
    FillChoice(candidates);
    connect(m_pChoice, &QComboBox::currentIndexChanged, this, &CChangeStateBlockDlg::OnChoice);
    connect(m_pStates, &CRadioGroup::chosen, this, [this](int nChosen) { m_nState = nChosen; });
    OnChoice(m_pChoice->currentIndex());
}

void CChangeStateBlockDlg::FillChoice(const std::vector<SStateCandidate>& candidates) {
    const QSignalBlocker blocker(m_pChoice);
    m_pChoice->addItem(CBlockImages::Icon(CBlockImages::kNoBlock), QStringLiteral("Нет блока"),
                       QVariant::fromValue<void*>(nullptr));
    m_entryStates.push_back(SStateCandidate::kBoth);
    int nCurrent = 0;
    for (const SStateCandidate& candidate : candidates) {
        if (!candidate.pBlock->HasState() || !candidate.pBlock->IsNamed()) {
            continue;
        }
        if (candidate.pBlock == m_pBlock) {
            nCurrent = m_pChoice->count();
        }
        m_pChoice->addItem(CBlockImages::Icon(CBlockImages::kName),
                           QString::fromStdString(candidate.pBlock->GetName()),
                           QVariant::fromValue<void*>(candidate.pBlock));
        m_entryStates.push_back(candidate.nStates);
    }
    m_pChoice->setCurrentIndex(nCurrent);
}

void CChangeStateBlockDlg::OnChoice(int nEntry) {
    QRadioButton& free = m_pStates->GetButton(CTransferRule::kFree);
    QRadioButton& busy = m_pStates->GetButton(CTransferRule::kBusy);
    m_pBlock = static_cast<CBlockDlg*>(m_pChoice->itemData(nEntry).value<void*>());
    if (m_pBlock == nullptr) {
        m_pStates->setEnabled(false);
        return;
    }
    m_pStates->setEnabled(true);
    m_pStates->SetChecked(-1);
    const int nStates = m_entryStates.at(static_cast<std::size_t>(nEntry));
    free.setEnabled(nStates != SStateCandidate::kBusyOnly);
    busy.setEnabled(nStates != SStateCandidate::kFreeOnly);
    if (nStates != SStateCandidate::kBoth) {
        m_nState = nStates;
    }
    m_pStates->SetChecked(m_nState != CTransferRule::kFree ? CTransferRule::kBusy
                                                           : CTransferRule::kFree);
}

}  // namespace mardo
