#pragma once

#include <QWidget>
#include <memory>
#include <vector>

#include "core/model/BlockDlg.h"

class QLabel;
class QListWidget;

namespace mardo {

class CModel;
class IPaletteOwner;

// The palette of block kinds: a small tool window whose entries are dragged onto the diagram or
// double-clicked to add a block. Behind each entry stands a prototype block with its kind's
// defaults. It offers only the kinds the model would take: none that the model holds one of
// and may hold only one of.
class CBlocksPaletteDlg final : public QWidget {
    Q_OBJECT

public:
    static constexpr int kEntryWidth = 180;
    static constexpr int kEntryHeight = 36;

    CBlocksPaletteDlg(IPaletteOwner& owner, QWidget* pParent);
    ~CBlocksPaletteDlg() override;

    int GetEntryCount() const { return static_cast<int>(m_prototypes.size()); }
    QString GetEntryText(int nEntry) const;
    const CBlockDlg& GetPrototype(int nEntry) const { return *m_prototypes.at(nEntry); }
    QListWidget& GetList() const { return *m_pList; }

    // Adds a block of the entry's kind at the diagram's visible top-left corner.
    void ActivateEntry(int nEntry);
    // Ends a drag of the entry at a point of the screen: onto the list it reorders the entries,
    // onto the diagram's background it adds a block; anywhere else nothing happens.
    void DropEntry(int nEntry, QPoint ptGlobal);
    // Moves an entry before the entry at nBefore (or to the end for the entry count).
    void MoveEntry(int nEntry, int nBefore);

    // Offers or withholds the entries of kinds a model holds only one of, as the model allows.
    void FollowModel(const CModel& model);

protected:
    bool eventFilter(QObject* pWatched, QEvent* pEvent) override;
    void closeEvent(QCloseEvent* pEvent) override;

private:
    void InsertEntry(int nRow, std::unique_ptr<CBlockDlg> pPrototype);
    void RemoveEntry(int nRow);
    int FindOnePerModel() const;
    int EntryWidth() const;
    void FitToEntries();

    void BeginDrag(int nEntry, QPoint ptGlobal);
    void TrackDrag(QPoint ptGlobal);
    void EndDrag(QPoint ptGlobal);
    bool IsOverList(QPoint ptGlobal) const;

    IPaletteOwner& m_owner;
    QListWidget* m_pList;
    std::vector<std::unique_ptr<CBlockDlg>> m_prototypes;
    std::unique_ptr<CBlockDlg> m_pWithheld;  // the one-per-model entry's prototype while withheld
    int m_nWithheldRow = 0;                  // and the row it had

    int m_nPressed = -1;
    QPoint m_ptPress;
    bool m_bDragging = false;
    bool m_bRefused = false;
    int m_nLastListY = 0;
    std::unique_ptr<QLabel> m_pDragImage;
};

}  // namespace mardo
