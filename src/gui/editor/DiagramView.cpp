#include "gui/editor/DiagramView.h"

#include <QContextMenuEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>
#include <vector>

#include "core/model/Model.h"
#include "gui/model/BlockWindow.h"

namespace mardo {

namespace {

void SetUpScrollBar(QScrollBar& bar, int nMax) {
    bar.setRange(0, nMax);
    bar.setSingleStep(1);
    // Its own popup would offer commands the diagram does not have.
    bar.setContextMenuPolicy(Qt::NoContextMenu);
}

}  // namespace

void CDiagramView::SDeleteLater::operator()(CBlockWindow* pWindow) const {
    pWindow->Detach();
    pWindow->deleteLater();
}

CDiagramView::CDiagramView(const CModel& model, IBlockWindowOwner& owner, QWidget* pParent)
    : QAbstractScrollArea(pParent), m_model(model), m_owner(owner) {
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setFrameShape(QFrame::StyledPanel);
    setFrameShadow(QFrame::Sunken);
    SetUpScrollBar(*verticalScrollBar(), kMaxVertical);
    SetUpScrollBar(*horizontalScrollBar(), kMaxHorizontal);
    viewport()->setAutoFillBackground(true);
    viewport()->setBackgroundRole(QPalette::Base);
    setFocusPolicy(Qt::StrongFocus);
}

CDiagramView::~CDiagramView() = default;

CBlockWindow& CDiagramView::AddWindow(CBlockDlg& block) {
    CWindowPtr pWindow(new CBlockWindow(block, m_owner, viewport()));
    const CPoint pos = block.GetPosition();
    pWindow->move(QPoint(pos.x, pos.y) - ScrollOffset());
    pWindow->show();
    pWindow->raise();
    CBlockWindow& window = *pWindow;
    m_windows[&block] = std::move(pWindow);
    return window;
}

void CDiagramView::RemoveWindow(const CBlockDlg& block) {
    m_windows.erase(&block);
    if (m_selectedLink.Involves(&block)) {
        m_selectedLink = {};
    }
    viewport()->update();
}

void CDiagramView::RemoveAllWindows() {
    m_windows.clear();
    m_selectedLink = {};
    viewport()->update();
}

CBlockWindow* CDiagramView::WindowOf(const CBlockDlg& block) const {
    const auto it = m_windows.find(&block);
    return it != m_windows.end() ? it->second.get() : nullptr;
}

CBlockWindow* CDiagramView::WindowAt(QPoint ptGlobal) const {
    const QPoint ptClient = viewport()->mapFromGlobal(ptGlobal);
    if (!viewport()->rect().contains(ptClient)) {
        return nullptr;
    }
    for (QWidget* pChild = viewport()->childAt(ptClient); pChild != nullptr;
         pChild = pChild->parentWidget()) {
        if (auto* pWindow = qobject_cast<CBlockWindow*>(pChild)) {
            return pWindow;
        }
        if (pChild == viewport()) {
            break;
        }
    }
    return nullptr;
}

bool CDiagramView::IsBackgroundAt(QPoint ptGlobal) const {
    const QPoint ptClient = viewport()->mapFromGlobal(ptGlobal);
    return viewport()->rect().contains(ptClient) && viewport()->childAt(ptClient) == nullptr;
}

QPoint CDiagramView::ScrollOffset() const {
    return {horizontalScrollBar()->value() * kStep, verticalScrollBar()->value() * kStep};
}

CPoint CDiagramView::ToDiagram(QPoint ptClient) const {
    // The model file accepts no block beyond these bounds, and a block above or left of the
    // diagram's origin could never be scrolled into view.
    const QPoint pt = ptClient + ScrollOffset();
    return CModel::StorablePosition({pt.x(), pt.y()});
}

QPoint CDiagramView::FreePlace(QPoint ptClient, QSize size) const {
    const QRect visible = viewport()->rect();
    std::vector<QPoint> places;
    for (QPoint pt = ptClient; visible.contains(QRect(pt, size)); pt += QPoint(kStep, kStep)) {
        places.push_back(pt);
    }
    for (int y = 0; y + size.height() <= visible.height(); y += kStep) {
        for (int x = 0; x + size.width() <= visible.width(); x += kStep) {
            places.emplace_back(x, y);
        }
    }
    const auto isFree = [this, size](QPoint pt) {
        // A gap of half a step keeps the new window's frame apart from its neighbours'.
        const QRect place = QRect(pt, size).adjusted(-kStep / 2, -kStep / 2, kStep / 2, kStep / 2);
        return std::none_of(m_windows.begin(), m_windows.end(), [&place](const auto& entry) {
            return entry.second->isVisible() && entry.second->geometry().intersects(place);
        });
    };
    const auto isCorner = [this](QPoint pt) {
        return std::any_of(m_windows.begin(), m_windows.end(),
                           [pt](const auto& entry) { return entry.second->pos() == pt; });
    };
    auto found = std::find_if(places.begin(), places.end(), isFree);
    if (found == places.end()) {
        found = std::find_if(places.begin(), places.end(),
                             [&isCorner](QPoint pt) { return !isCorner(pt); });
    }
    if (found != places.end()) {
        return *found;
    }
    return ptClient;
}

void CDiagramView::MoveWindow(CBlockWindow& window, QPoint ptClientTopLeft) {
    const CPoint pos = ToDiagram(ptClientTopLeft);
    window.move(QPoint(pos.x, pos.y) - ScrollOffset());
    if (IsLinked(window.GetBlock())) {
        viewport()->update();
    }
}

CPoint CDiagramView::DiagramPosition(const CBlockWindow& window) const {
    return ToDiagram(window.pos());
}

void CDiagramView::FollowModel() {
    std::erase_if(m_windows, [this](const auto& entry) {
        return m_model.IndexOfBlock(entry.first) < 0;
    });
    for (const auto& pBlock : m_model.GetBlocks()) {
        CBlockWindow* pWindow = WindowOf(*pBlock);
        if (pWindow == nullptr) {
            pWindow = &AddWindow(*pBlock);
        }
        const CPoint pos = pBlock->GetPosition();
        pWindow->move(QPoint(pos.x, pos.y) - ScrollOffset());
        pWindow->FitToRows();
        pWindow->update();
    }
    const SDiagramLink& link = m_selectedLink;
    if (link.IsSet() && (m_model.IndexOfBlock(link.pSource) < 0 ||
                         link.pSource->GetOutLink(link.nOutput) != link.pDestination)) {
        m_selectedLink = {};
    }
    viewport()->update();
}

QRect CDiagramView::Extent() const {
    constexpr int kMargin = 20;
    QRect extent;
    for (const auto& [pBlock, pWindow] : m_windows) {
        extent |= QRect(pWindow->pos() + ScrollOffset(), pWindow->size());
    }
    return extent.isEmpty() ? QRect(0, 0, kMargin, kMargin)
                            : extent.adjusted(-kMargin, -kMargin, kMargin, kMargin);
}

void CDiagramView::Render(QPainter& painter) const {
    const QRect extent = Extent();
    painter.save();
    painter.fillRect(QRect(QPoint(0, 0), extent.size()), Qt::white);
    // The links are laid out between the windows as they stand in the viewport.
    painter.translate(ScrollOffset() - extent.topLeft());
    PaintLinks(painter, false);
    for (const auto& pBlock : m_model.GetBlocks()) {
        if (CBlockWindow* pWindow = WindowOf(*pBlock)) {
            pWindow->RenderPlain(painter, pWindow->pos());
        }
    }
    painter.restore();
}

void CDiagramView::PaintLinks(QPainter& painter, bool bShowSelection) const {
    for (const auto& pBlock : m_model.GetBlocks()) {
        for (int k = 0; k < pBlock->GetOutputCount(); ++k) {
            const SDiagramLink link{pBlock.get(), k, pBlock->GetOutLink(k)};
            if (const std::optional<SLinkPath> path = PathOf(link)) {
                path->Draw(painter, bShowSelection && link == m_selectedLink);
            }
        }
    }
}

void CDiagramView::ResetScroll() {
    horizontalScrollBar()->setValue(0);
    verticalScrollBar()->setValue(0);
    viewport()->update();
}

void CDiagramView::scrollContentsBy(int dx, int dy) {
    for (const auto& [pBlock, pWindow] : m_windows) {
        pWindow->move(pWindow->pos() + QPoint(dx * kStep, dy * kStep));
    }
    viewport()->update();
}

void CDiagramView::resizeEvent(QResizeEvent* pEvent) {
    QAbstractScrollArea::resizeEvent(pEvent);
    verticalScrollBar()->setPageStep(viewport()->height() / kStep);
    horizontalScrollBar()->setPageStep(viewport()->width() / kStep);
}

std::optional<SLinkPath> CDiagramView::PathOf(const SDiagramLink& link) const {
    if (!link.IsSet() || link.pDestination == nullptr) {
        return std::nullopt;
    }
    const CBlockWindow* pSource = WindowOf(*link.pSource);
    const CBlockWindow* pDestination = WindowOf(*link.pDestination);
    if (pSource == nullptr || pDestination == nullptr || !pDestination->GetBlock().HasInput()) {
        return std::nullopt;
    }
    return SLinkPath::Between(pSource->GetRowAnchors(link.nOutput),
                              pDestination->GetRowAnchors(kInputRow));
}

std::optional<SDiagramLink> CDiagramView::LinkAt(QPoint ptClient) const {
    for (const auto& pBlock : m_model.GetBlocks()) {
        for (int k = 0; k < pBlock->GetOutputCount(); ++k) {
            const SDiagramLink link{pBlock.get(), k, pBlock->GetOutLink(k)};
            const std::optional<SLinkPath> path = PathOf(link);
            if (path && path->Hits(ptClient)) {
                return link;
            }
        }
    }
    return std::nullopt;
}

void CDiagramView::SetSelectedLink(const SDiagramLink& link) {
    if (link != m_selectedLink) {
        m_selectedLink = link;
        viewport()->update();
    }
}

bool CDiagramView::IsLinked(const CBlockDlg& block) const {
    if (!block.IsNamed()) {
        return false;
    }
    for (int k = 0; k < block.GetOutputCount(); ++k) {
        if (block.GetOutLink(k) != nullptr) {
            return true;
        }
    }
    const CBlockList& blocks = m_model.GetBlocks();
    return std::any_of(blocks.begin(), blocks.end(), [&block](const auto& pOther) {
        return pOther->IsNamed() && pOther->LinksTo(&block);
    });
}

void CDiagramView::paintEvent(QPaintEvent* /*pEvent*/) {
    QPainter painter(viewport());
    PaintLinks(painter, true);
}

void CDiagramView::mousePressEvent(QMouseEvent* pEvent) {
    if (pEvent->button() == Qt::LeftButton || pEvent->button() == Qt::MiddleButton) {
        emit backgroundPressed(pEvent->position().toPoint());
    }
}

void CDiagramView::mouseDoubleClickEvent(QMouseEvent* pEvent) {
    if (pEvent->button() == Qt::LeftButton) {
        emit backgroundDoubleClicked(pEvent->position().toPoint());
    }
}

void CDiagramView::contextMenuEvent(QContextMenuEvent* pEvent) {
    if (pEvent->reason() == QContextMenuEvent::Keyboard) {
        emit backgroundContextMenu(QPoint(0, 0));
        return;
    }
    const QPoint ptClient = viewport()->mapFromGlobal(pEvent->globalPos());
    if (viewport()->rect().contains(ptClient)) {
        emit backgroundContextMenu(ptClient);
    }
}

}  // namespace mardo
