#include "gui/props/ChangeInBlockDlg.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFontMetrics>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include "core/model/BlockDlg.h"
#include "gui/model/BlockImages.h"
#include "gui/props/DialogButtons.h"

namespace mardo {

CChangeInBlockDlg::CChangeInBlockDlg(const CBlockList& blocks, CBlockDlg& source, int nOutput,
                                     EMode nMode, QWidget* pParent)
    : QDialog(pParent), m_source(source), m_nOutput(nOutput), m_pChoice(new QComboBox(this)) {
    setWindowTitle(nMode == EMode::kLink ? QStringLiteral("Связать с блоком")
                                         : QStringLiteral("Изменить блок приемник"));
    m_pChoice->setIconSize(QSize(CBlockImages::kSize, CBlockImages::kSize));
    m_pChoice->setMinimumWidth(240);
    FillChoice(blocks, nMode);
    auto* pLayout = new QVBoxLayout(this);
    pLayout->addWidget(m_pChoice);
    pLayout->addWidget(CreateOkCancelButtons(*this, m_pOk));
    connect(m_pOk, &QPushButton::clicked, this, &CChangeInBlockDlg::OnOk);
    // The window manager cuts a caption longer than the dialog ("Изменить б... приемник"): room
    // for it in a bold face beside the window's icon and its title bar buttons.
    QFont titleFont = font();
    titleFont.setBold(true);
    const int nTitleBar = style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, this);
    setMinimumWidth(QFontMetrics(titleFont).horizontalAdvance(windowTitle()) + 5 * nTitleBar);
}

void CChangeInBlockDlg::FillChoice(const CBlockList& blocks, EMode nMode) {
    if (nMode == EMode::kLink) {
        m_pChoice->addItem(CBlockImages::Icon(CBlockImages::kNoBlock), QStringLiteral("Нет блока"),
                           QVariant::fromValue<void*>(nullptr));
    }
    const CBlockDlg* pCurrent = m_source.GetOutLink(m_nOutput);
    int nCurrent = 0;
    for (const auto& pBlock : blocks) {
        if (pBlock.get() == &m_source || !pBlock->HasInput() || !pBlock->IsNamed()) {
            continue;
        }
        if (pBlock.get() == pCurrent) {
            nCurrent = m_pChoice->count();
        }
        m_pChoice->addItem(CBlockImages::Icon(CBlockImages::kName),
                           QString::fromStdString(pBlock->GetName()),
                           QVariant::fromValue<void*>(pBlock.get()));
    }
    m_pChoice->setCurrentIndex(nCurrent);
}

void CChangeInBlockDlg::OnOk() {
    // With nothing to choose from, OK sets nothing: the output keeps its destination.
    if (m_pChoice->currentIndex() < 0) {
        reject();
        return;
    }
    accept();
}

CBlockDlg* CChangeInBlockDlg::GetDestination() const {
    return static_cast<CBlockDlg*>(m_pChoice->currentData().value<void*>());
}

}  // namespace mardo
