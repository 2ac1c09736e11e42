#include "gui/model/BlockWindow.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>
#include <algorithm>
#include <utility>

#include "core/model/BlockDlg.h"
#include "core/model/OutputLabel.h"
#include "gui/model/BlockMenu.h"
#include "gui/model/BlockWindowOwner.h"
#include "gui/model/LinkRule.h"

namespace mardo {

namespace {

const QCursor& DropAllowedCursor() {
    static const QCursor cursor(Qt::DragLinkCursor);
    return cursor;
}

const QCursor& DropRefusedCursor() {
    static const QCursor cursor(Qt::ForbiddenCursor);
    return cursor;
}

}  // namespace

CBlockWindow::CBlockWindow(CBlockDlg& block, IBlockWindowOwner& owner, QWidget* pParent)
    : QWidget(pParent),
      m_pBlock(&block),
      m_owner(owner),
      m_strCaption(QString::fromStdString(block.GetKindTitle())) {
    if (block.HasLongTitle()) {
        m_scroller.emplace(m_strCaption);
    }
    setFocusPolicy(Qt::ClickFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    QFont captionFont = font();
    captionFont.setPointSize(8);
    setFont(captionFont);
    block.SetView(this);
    FitToRows();
}

CBlockWindow::~CBlockWindow() {
    EndDragCursor();
    if (m_pBlock != nullptr && m_pBlock->GetView() == this) {
        m_pBlock->SetView(nullptr);
    }
}

void CBlockWindow::Detach() {
    EndDragCursor();
    m_captionTimer.stop();
    if (m_pBlock != nullptr && m_pBlock->GetView() == this) {
        m_pBlock->SetView(nullptr);
    }
    m_pBlock = nullptr;
    hide();
}

QString CBlockWindow::OutputLabel(int k, int nCount) {
    return QString::fromStdString(mardo::OutputLabel(k, nCount));
}

namespace {

// The name row, the input row if the block has an input, and one row per output.
int RowCountOf(const CBlockDlg& block) {
    return 1 + (block.HasInput() ? 1 : 0) + block.GetOutputCount();
}

}  // namespace

int CBlockWindow::GetRowCount() const { return RowCountOf(*m_pBlock); }

int CBlockWindow::RowCodeOf(int nIndex) const {
    if (nIndex <= 0) {
        return kNameRow;
    }
    if (m_pBlock->HasInput()) {
        return nIndex == 1 ? kInputRow : nIndex - 2;
    }
    return nIndex - 1;
}

int CBlockWindow::RowIndexOf(int nRowCode) const {
    if (nRowCode == kNameRow) {
        return 0;
    }
    if (nRowCode == kInputRow) {
        return 1;
    }
    return nRowCode + (m_pBlock->HasInput() ? 2 : 1);
}

QString CBlockWindow::GetRowText(int nIndex) const {
    const int nCode = RowCodeOf(nIndex);
    if (nCode == kNameRow) {
        return QString::fromStdString(m_pBlock->GetName());
    }
    if (nCode == kInputRow) {
        return QStringLiteral("Вход");
    }
    return OutputLabel(nCode, m_pBlock->GetOutputCount());
}

CBlockImages::EImage CBlockWindow::GetRowImage(int nIndex) const {
    switch (RowCodeOf(nIndex)) {
        case kNameRow:
            return ShowsSelection() ? CBlockImages::kNameSelected : CBlockImages::kName;
        case kInputRow:
            return CBlockImages::kInput;
        default:
            return CBlockImages::kOutput;
    }
}

QRect CBlockWindow::RowRect(int nIndex) const {
    return {kFrame, kFrame + kCaptionHeight + nIndex * kRowHeight, kColumnWidth, kRowHeight};
}

int CBlockWindow::RowIndexAt(QPoint ptClient) const {
    const int nTop = kFrame + kCaptionHeight;
    if (ptClient.y() < nTop || ptClient.x() < 0 || ptClient.x() >= width()) {
        return -1;
    }
    const int nIndex = (ptClient.y() - nTop) / kRowHeight;
    return nIndex < GetRowCount() ? nIndex : -1;
}

int CBlockWindow::HitTestRow(QPoint ptClient) const {
    const int nIndex = RowIndexAt(ptClient);
    return nIndex < 0 ? kNameRow : RowCodeOf(nIndex);
}

QPoint CBlockWindow::RowCenter(int nRowCode) const {
    return RowRect(RowIndexOf(nRowCode)).center();
}

SRowAnchors CBlockWindow::GetRowAnchors(int nRowCode, QPoint ptTopLeft) const {
    const QRect row = RowRect(RowIndexOf(nRowCode));
    const int y = ptTopLeft.y() + row.top() + kRowHeight / 2;
    return {QPoint(ptTopLeft.x(), y), QPoint(ptTopLeft.x() + width(), y)};
}

QSize CBlockWindow::FittedSize() const { return FittedSizeOf(*m_pBlock); }

QSize CBlockWindow::FittedSizeOf(const CBlockDlg& block) {
    return {2 * kFrame + kColumnWidth,
            2 * kFrame + kCaptionHeight + RowCountOf(block) * kRowHeight + kListPadding};
}

void CBlockWindow::FitToRows() {
    if (m_pBlock != nullptr) {
        setFixedSize(FittedSize());
        m_nCurrentRow = std::min(m_nCurrentRow, GetRowCount() - 1);
    }
}

bool CBlockWindow::ShowsSelection() const { return m_pBlock->IsSelected() && !m_bPlain; }

void CBlockWindow::RenderPlain(QPainter& painter, QPoint ptAt) {
    m_bPlain = true;
    render(&painter, ptAt, QRegion(), QWidget::DrawChildren);
    m_bPlain = false;
}

void CBlockWindow::OnSelected() {
    setFocus(Qt::OtherFocusReason);
    raise();
    update();
    m_owner.ClearLinkSelection();
    if (m_scroller) {
        m_captionTimer.start(CCaptionScroller::kIntervalMs, this);
    }
}

void CBlockWindow::OnDeselected() {
    if (m_scroller) {
        m_captionTimer.stop();
        m_scroller->Reset();
        m_strCaption = QString::fromStdString(m_pBlock->GetKindTitle());
    }
    update();
}

void CBlockWindow::OnRenamed() { update(); }

void CBlockWindow::OnOutputCountChanged() {
    FitToRows();
    update();
    m_owner.RepaintLinks();
}

void CBlockWindow::timerEvent(QTimerEvent* pEvent) {
    if (pEvent->timerId() != m_captionTimer.timerId() || !m_scroller) {
        QWidget::timerEvent(pEvent);
        return;
    }
    if (const std::optional<QString> caption = m_scroller->Step()) {
        m_strCaption = *caption;
        update();
    }
}

void CBlockWindow::paintEvent(QPaintEvent* /*pEvent*/) {
    if (m_pBlock == nullptr) {
        return;
    }
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    PaintCaption(painter);
    PaintRows(painter);
    painter.setPen(QColor(64, 64, 64));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

void CBlockWindow::PaintCaption(QPainter& painter) {
    const QRect caption(kFrame, kFrame, kColumnWidth, kCaptionHeight);
    QLinearGradient gradient(caption.topLeft(), caption.topRight());
    if (ShowsSelection()) {
        gradient.setColorAt(0, QColor(10, 36, 106));
        gradient.setColorAt(1, QColor(90, 130, 200));
    } else {
        gradient.setColorAt(0, QColor(110, 110, 110));
        gradient.setColorAt(1, QColor(175, 175, 175));
    }
    painter.fillRect(caption, gradient);
    QFont captionFont = font();
    captionFont.setBold(true);
    painter.setFont(captionFont);
    painter.setPen(Qt::white);
    const QRect text = caption.adjusted(4, 0, -3, 0);
    // A turning caption is cut by the window's edge; a resting one that is too long ends with an
    // ellipsis rather than in the middle of a letter.
    const QString strTitle = QString::fromStdString(m_pBlock->GetKindTitle());
    const bool bTurning = ShowsSelection() && m_captionTimer.isActive() && m_strCaption != strTitle;
    const QString strShown =
        bTurning ? m_strCaption
                 : painter.fontMetrics().elidedText(m_bPlain ? strTitle : m_strCaption,
                                                    Qt::ElideRight, text.width());
    painter.drawText(text, Qt::AlignVCenter | Qt::AlignLeft | Qt::TextSingleLine, strShown);
}

void CBlockWindow::PaintRows(QPainter& painter) {
    painter.setFont(font());
    const int nCount = GetRowCount();
    for (int i = 0; i < nCount; ++i) {
        const QRect row = RowRect(i);
        const bool bCurrent = i == m_nCurrentRow && ShowsSelection() && hasFocus();
        if (bCurrent) {
            painter.fillRect(row.adjusted(0, 0, 0, -1), palette().color(QPalette::Highlight));
        }
        painter.drawPixmap(row.left() + 2, row.top() + (kRowHeight - CBlockImages::kSize) / 2,
                           CBlockImages::Get(GetRowImage(i)));
        painter.setPen(bCurrent ? palette().color(QPalette::HighlightedText) : QColor(Qt::black));
        const QRect text = row.adjusted(CBlockImages::kSize + 6, 0, -2, -1);
        painter.drawText(text, Qt::AlignVCenter | Qt::AlignLeft | Qt::TextSingleLine,
                         painter.fontMetrics().elidedText(GetRowText(i), Qt::ElideRight,
                                                          text.width()));
        painter.setPen(QColor(192, 192, 192));
        painter.drawLine(row.left(), row.bottom(), row.right(), row.bottom());
    }
}

void CBlockWindow::mousePressEvent(QMouseEvent* pEvent) {
    if (pEvent->button() != Qt::LeftButton || m_pBlock == nullptr) {
        QWidget::mousePressEvent(pEvent);
        return;
    }
    m_owner.SelectBlock(*m_pBlock);
    setFocus(Qt::MouseFocusReason);
    const QPoint pt = pEvent->position().toPoint();
    m_ptGrab = pt;
    if (InCaption(pt)) {
        m_nMode = EMouseMode::kMove;
        return;
    }
    const int nIndex = RowIndexAt(pt);
    if (nIndex >= 0) {
        m_nCurrentRow = nIndex;
        update();
    }
    m_nDragRow = HitTestRow(pt);
    // An unnamed block links nothing, but its drag starts all the same, so that the refusal
    // shows instead of nothing happening.
    if (nIndex > 0) {
        m_nMode = EMouseMode::kLinkPending;
    }
}

void CBlockWindow::mouseMoveEvent(QMouseEvent* pEvent) {
    // A step taken back in the middle of a drag may have removed the block.
    if (m_pBlock == nullptr) {
        m_nMode = EMouseMode::kNone;
        return;
    }
    const QPoint pt = pEvent->position().toPoint();
    switch (m_nMode) {
        case EMouseMode::kMove:
            m_owner.MoveBlockWindow(*this, mapToParent(pt) - m_ptGrab);
            break;
        case EMouseMode::kLinkPending:
            if ((pt - m_ptGrab).manhattanLength() >= QApplication::startDragDistance()) {
                StartLinkDrag();
                TrackLinkDrag(mapToGlobal(pt));
            }
            break;
        case EMouseMode::kLinkDrag:
            TrackLinkDrag(mapToGlobal(pt));
            break;
        case EMouseMode::kNone:
            QWidget::mouseMoveEvent(pEvent);
            break;
    }
}

void CBlockWindow::mouseReleaseEvent(QMouseEvent* pEvent) {
    const EMouseMode nMode = std::exchange(m_nMode, EMouseMode::kNone);
    if (m_pBlock == nullptr) {
        return;
    }
    if (nMode == EMouseMode::kLinkDrag) {
        FinishLinkDrag(mapToGlobal(pEvent->position().toPoint()));
        return;
    }
    if (nMode == EMouseMode::kMove) {
        m_owner.BlockWindowDropped(*this);
        return;
    }
    QWidget::mouseReleaseEvent(pEvent);
}

void CBlockWindow::mouseDoubleClickEvent(QMouseEvent* pEvent) {
    if (pEvent->button() != Qt::LeftButton || m_pBlock == nullptr) {
        return;
    }
    m_nMode = EMouseMode::kNone;
    const QPoint pt = pEvent->position().toPoint();
    if (InCaption(pt)) {
        m_owner.EditBlockProperties(*m_pBlock);
        return;
    }
    const int nIndex = RowIndexAt(pt);
    const int nCode = HitTestRow(pt);
    if (nIndex == 0) {
        m_owner.RenameBlock(*m_pBlock);
    } else if (nCode >= 0 && m_pBlock->IsNamed()) {
        m_owner.ChangeOutputLink(*m_pBlock, nCode);
    }
}

bool CBlockWindow::event(QEvent* pEvent) {
    if (pEvent->type() != QEvent::ToolTip || m_pBlock == nullptr) {
        return QWidget::event(pEvent);
    }
    // An unnamed block's name row is empty and the block takes no link: the row says how to
    // name it.
    const auto* pHelp = static_cast<QHelpEvent*>(pEvent);
    if (RowIndexAt(pHelp->pos()) == 0 && !m_pBlock->IsNamed()) {
        QToolTip::showText(pHelp->globalPos(),
                           QStringLiteral("Дважды щелкните, чтобы задать имя блока"), this,
                           RowRect(0));
    } else {
        QToolTip::hideText();
    }
    return true;
}

void CBlockWindow::contextMenuEvent(QContextMenuEvent* pEvent) {
    // The menu belongs to the caption, as a window's belongs to its title bar. A right click on
    // the rows is taken without one, so that the diagram's own menu does not open over a block.
    if (m_pBlock == nullptr ||
        (pEvent->reason() != QContextMenuEvent::Keyboard && !InCaption(pEvent->pos()))) {
        return;
    }
    CBlockDlg& block = *m_pBlock;
    if (!block.IsSelected()) {
        m_owner.SelectBlock(block);
    }
    CBlockMenu menu(this);
    block.UpdateContextMenu(menu);
    const QPoint ptGlobal = pEvent->reason() == QContextMenuEvent::Keyboard
                                ? mapToGlobal(QPoint(kFrame, kFrame + kCaptionHeight))
                                : pEvent->globalPos();
    // The command may delete this window: nothing of it is touched afterwards.
    switch (menu.Exec(ptGlobal)) {
        case IBlockContextMenu::kCopy:
            m_owner.CopyBlock(block);
            break;
        case IBlockContextMenu::kDelete:
            m_owner.DeleteBlock(block);
            break;
        case IBlockContextMenu::kProperties:
            m_owner.EditBlockProperties(block);
            break;
        default:
            break;
    }
}

void CBlockWindow::StartLinkDrag() {
    m_nMode = EMouseMode::kLinkDrag;
    m_bRefused = false;
    m_bCursorSet = true;
    QGuiApplication::setOverrideCursor(DropAllowedCursor());
}

bool CBlockWindow::JudgeDrop(QPoint ptGlobal, CBlockDlg*& pTarget, int& nTargetRow) const {
    CBlockWindow* pWindow = m_owner.BlockWindowAt(ptGlobal);
    pTarget = pWindow != nullptr ? &pWindow->GetBlock() : nullptr;
    nTargetRow = pWindow != nullptr ? pWindow->HitTestRow(pWindow->mapFromGlobal(ptGlobal))
                                    : kNameRow;
    return CanDropLink(m_owner.GetEditedModel(), *m_pBlock, m_nDragRow, pTarget, nTargetRow);
}

void CBlockWindow::TrackLinkDrag(QPoint ptGlobal) {
    CBlockDlg* pTarget = nullptr;
    int nTargetRow = kNameRow;
    const bool bRefused = !JudgeDrop(ptGlobal, pTarget, nTargetRow);
    if (bRefused != m_bRefused) {
        m_bRefused = bRefused;
        QGuiApplication::changeOverrideCursor(bRefused ? DropRefusedCursor()
                                                       : DropAllowedCursor());
    }
}

void CBlockWindow::FinishLinkDrag(QPoint ptGlobal) {
    EndDragCursor();
    CBlockDlg* pTarget = nullptr;
    int nTargetRow = kNameRow;
    if (!JudgeDrop(ptGlobal, pTarget, nTargetRow) || pTarget == m_pBlock) {
        return;
    }
    CBlockDlg& block = *m_pBlock;
    block.Deselect();
    if (m_nDragRow == kInputRow) {
        m_owner.MakeLink(*pTarget, nTargetRow, block);
    } else {
        m_owner.MakeLink(block, m_nDragRow, *pTarget);
    }
}

void CBlockWindow::EndDragCursor() {
    if (m_bCursorSet) {
        m_bCursorSet = false;
        QGuiApplication::restoreOverrideCursor();
    }
}

}  // namespace mardo
