#include "gui/editor/BlocksPaletteDlg.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QPainter>
#include <QVBoxLayout>
#include <algorithm>

#include "core/model/Model.h"
#include "gui/editor/PaletteOwner.h"
#include "gui/model/BlockImages.h"

namespace mardo {

namespace {

// The drag image's hot spot, from its top-left corner.
const QPoint kHotSpot(17, 17);

// The picture of a prototype's kind.
const QPixmap& KindPicture(const CBlockDlg& prototype) {
    const SBlockKindEntry* pEntry = FindBlockKind(prototype.GetKind());
    return CBlockImages::PaletteEntry(pEntry != nullptr ? pEntry->nPicture : EKindPicture::kBlock);
}

QPixmap DragPicture(const QPixmap& picture, const QString& strText, const QFont& font) {
    const QFontMetrics metrics(font);
    const int nTextWidth = metrics.horizontalAdvance(strText);
    QPixmap pixmap(32 + 6 + nTextWidth + 4, 32);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.drawPixmap(0, 0, picture);
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawText(QRect(38, 0, nTextWidth + 4, 32), Qt::AlignVCenter | Qt::AlignLeft, strText);
    return pixmap;
}

}  // namespace

CBlocksPaletteDlg::CBlocksPaletteDlg(IPaletteOwner& owner, QWidget* pParent)
    : QWidget(pParent, Qt::Tool), m_owner(owner), m_pList(new QListWidget(this)) {
    setWindowTitle(QStringLiteral("Блоки"));
    setWindowIcon(QIcon(CBlockImages::PaletteEntry()));
    m_pList->setIconSize(QSize(32, 32));
    m_pList->setSelectionMode(QAbstractItemView::SingleSelection);
    m_pList->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_pList->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_pList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_pList->setDragEnabled(false);
    m_pList->viewport()->installEventFilter(this);
    auto* pLayout = new QVBoxLayout(this);
    pLayout->setContentsMargins(0, 0, 0, 0);
    pLayout->addWidget(m_pList);
    for (const SBlockKindEntry& entry : BlockKinds()) {
        InsertEntry(GetEntryCount(), entry.create({}));
    }
    FitToEntries();
}

CBlocksPaletteDlg::~CBlocksPaletteDlg() {
    if (m_bDragging) {
        QGuiApplication::restoreOverrideCursor();
    }
}

QString CBlocksPaletteDlg::GetEntryText(int nEntry) const { return m_pList->item(nEntry)->text(); }

void CBlocksPaletteDlg::InsertEntry(int nRow, std::unique_ptr<CBlockDlg> pPrototype) {
    auto* pItem = new QListWidgetItem(QIcon(KindPicture(*pPrototype)),
                                      QString::fromStdString(pPrototype->GetKindTitle()));
    pItem->setSizeHint(QSize(kEntryWidth, kEntryHeight));
    m_pList->insertItem(nRow, pItem);
    m_prototypes.insert(m_prototypes.begin() + nRow, std::move(pPrototype));
}

void CBlocksPaletteDlg::RemoveEntry(int nRow) {
    std::unique_ptr<QListWidgetItem>(m_pList->takeItem(nRow));
    m_prototypes.erase(m_prototypes.begin() + nRow);
}

int CBlocksPaletteDlg::EntryWidth() const {
    // Wide enough for the longest kind title next to its picture, whatever the font.
    int nWidth = kEntryWidth;
    for (int i = 0; i < GetEntryCount(); ++i) {
        nWidth = std::max(nWidth, 32 + 24 + m_pList->fontMetrics().horizontalAdvance(GetEntryText(i)));
    }
    return nWidth;
}

void CBlocksPaletteDlg::FitToEntries() {
    const int nFrame = m_pList->frameWidth();
    const int nWidth = EntryWidth();
    for (int i = 0; i < GetEntryCount(); ++i) {
        m_pList->item(i)->setSizeHint(QSize(nWidth, kEntryHeight));
    }
    m_pList->setFixedSize(nWidth + 2 * nFrame, kEntryHeight * GetEntryCount() + 2 * nFrame);
    setFixedSize(m_pList->size());
}

int CBlocksPaletteDlg::FindOnePerModel() const {
    for (int i = 0; i < GetEntryCount(); ++i) {
        if (m_prototypes[static_cast<std::size_t>(i)]->IsOnePerModel()) {
            return i;
        }
    }
    return -1;
}

void CBlocksPaletteDlg::FollowModel(const CModel& model) {
    const int nRow = FindOnePerModel();
    if (nRow >= 0 && !model.CanInsert(GetPrototype(nRow))) {
        m_pWithheld = std::move(m_prototypes[static_cast<std::size_t>(nRow)]);
        m_nWithheldRow = nRow;
        RemoveEntry(nRow);
        FitToEntries();
    } else if (nRow < 0 && m_pWithheld && model.CanInsert(*m_pWithheld)) {
        // Back where it was, so that the user's order of the entries stays.
        InsertEntry(std::min(m_nWithheldRow, GetEntryCount()), std::move(m_pWithheld));
        FitToEntries();
    }
}

void CBlocksPaletteDlg::ActivateEntry(int nEntry) {
    if (nEntry < 0 || nEntry >= GetEntryCount()) {
        return;
    }
    m_owner.AddBlockAtTopLeft(GetPrototype(nEntry));
}

void CBlocksPaletteDlg::MoveEntry(int nEntry, int nBefore) {
    if (nEntry < 0 || nEntry >= GetEntryCount() || nBefore == nEntry || nBefore == nEntry + 1) {
        return;
    }
    const int nTarget = nBefore > nEntry ? nBefore - 1 : nBefore;
    QListWidgetItem* pItem = m_pList->takeItem(nEntry);
    m_pList->insertItem(nTarget, pItem);
    auto pPrototype = std::move(m_prototypes[static_cast<std::size_t>(nEntry)]);
    m_prototypes.erase(m_prototypes.begin() + nEntry);
    m_prototypes.insert(m_prototypes.begin() + nTarget, std::move(pPrototype));
    m_pList->setCurrentRow(nTarget);
}

bool CBlocksPaletteDlg::IsOverList(QPoint ptGlobal) const {
    return m_pList->viewport()->rect().contains(m_pList->viewport()->mapFromGlobal(ptGlobal)) &&
           isVisible();
}

void CBlocksPaletteDlg::DropEntry(int nEntry, QPoint ptGlobal) {
    if (nEntry < 0 || nEntry >= GetEntryCount()) {
        return;
    }
    if (IsOverList(ptGlobal)) {
        // The entry goes before the row a little below the pointer, so that dropping on the
        // lower half of a row puts it after that row.
        const QModelIndex index = m_pList->indexAt(QPoint(0, m_nLastListY + 16));
        MoveEntry(nEntry, index.isValid() ? index.row() : GetEntryCount());
    } else if (m_owner.IsDropPlace(ptGlobal)) {
        m_owner.AddBlockAt(GetPrototype(nEntry), ptGlobal);
    }
}

void CBlocksPaletteDlg::BeginDrag(int nEntry, QPoint ptGlobal) {
    m_bDragging = true;
    m_bRefused = false;
    m_pDragImage = std::make_unique<QLabel>(nullptr, Qt::ToolTip | Qt::FramelessWindowHint);
    m_pDragImage->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_pDragImage->setPixmap(
        DragPicture(KindPicture(GetPrototype(nEntry)), GetEntryText(nEntry), font()));
    m_pDragImage->adjustSize();
    QGuiApplication::setOverrideCursor(QCursor(Qt::ArrowCursor));
    TrackDrag(ptGlobal);
    m_pDragImage->show();
}

void CBlocksPaletteDlg::TrackDrag(QPoint ptGlobal) {
    const bool bOverList = IsOverList(ptGlobal);
    if (bOverList) {
        m_nLastListY = m_pList->viewport()->mapFromGlobal(ptGlobal).y();
    }
    const bool bRefused = !bOverList && !m_owner.IsDropPlace(ptGlobal);
    if (bRefused != m_bRefused) {
        m_bRefused = bRefused;
        QGuiApplication::changeOverrideCursor(
            QCursor(bRefused ? Qt::ForbiddenCursor : Qt::ArrowCursor));
    }
    if (m_pDragImage) {
        m_pDragImage->move(ptGlobal - kHotSpot);
    }
}

void CBlocksPaletteDlg::EndDrag(QPoint ptGlobal) {
    m_bDragging = false;
    m_pDragImage.reset();
    QGuiApplication::restoreOverrideCursor();
    DropEntry(m_nPressed, ptGlobal);
}

bool CBlocksPaletteDlg::eventFilter(QObject* pWatched, QEvent* pEvent) {
    if (pWatched != m_pList->viewport()) {
        return QWidget::eventFilter(pWatched, pEvent);
    }
    switch (pEvent->type()) {
        case QEvent::MouseButtonPress: {
            auto* pMouse = static_cast<QMouseEvent*>(pEvent);
            m_ptPress = pMouse->position().toPoint();
            m_nPressed = pMouse->button() == Qt::LeftButton ? m_pList->indexAt(m_ptPress).row()
                                                            : -1;
            return false;
        }
        case QEvent::MouseMove: {
            auto* pMouse = static_cast<QMouseEvent*>(pEvent);
            const QPoint pt = pMouse->position().toPoint();
            if (!m_bDragging && m_nPressed >= 0 && (pMouse->buttons() & Qt::LeftButton) &&
                (pt - m_ptPress).manhattanLength() >= QApplication::startDragDistance()) {
                BeginDrag(m_nPressed, pMouse->globalPosition().toPoint());
            } else if (m_bDragging) {
                TrackDrag(pMouse->globalPosition().toPoint());
            }
            return m_bDragging;
        }
        case QEvent::MouseButtonRelease: {
            if (!m_bDragging) {
                m_nPressed = -1;
                return false;
            }
            EndDrag(static_cast<QMouseEvent*>(pEvent)->globalPosition().toPoint());
            m_nPressed = -1;
            return true;
        }
        case QEvent::MouseButtonDblClick: {
            auto* pMouse = static_cast<QMouseEvent*>(pEvent);
            ActivateEntry(m_pList->indexAt(pMouse->position().toPoint()).row());
            return true;
        }
        default:
            return false;
    }
}

void CBlocksPaletteDlg::closeEvent(QCloseEvent* pEvent) {
    pEvent->ignore();
    hide();
    m_owner.PaletteClosed();
}

}  // namespace mardo
