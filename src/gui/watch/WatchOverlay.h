#pragma once

#include <QElapsedTimer>
#include <QWidget>
#include <optional>
#include <vector>

#include "core/run/ModelSnapshot.h"
#include "gui/editor/DiagramLink.h"

namespace mardo {

class CDiagramView;
class CModel;

// The live picture over the diagram while a simulation is watched: beside every block window
// what the block holds and has done, and the transacts that moved along the links in the last
// tick, as dots travelling along them when the tick is shown long enough for the eye to follow,
// otherwise as counts. It lies over the block windows and takes every click, so that nothing
// can be edited meanwhile; a click on a block asks for what it holds.
class CWatchOverlay final : public QWidget {
    Q_OBJECT

public:
    CWatchOverlay(const CModel& model, const CDiagramView& diagram);

    // The state after a tick. dMoveSeconds: how long the moves of that tick are shown travelling
    // (0: as counts).
    void Show(const SModelSnapshot& snapshot, double dMoveSeconds);
    const std::optional<SModelSnapshot>& GetSnapshot() const { return m_snapshot; }
    // Whether dots are still on their way (the view then draws again soon).
    bool IsMoving() const;

signals:
    void blockClicked(int nBlock);

protected:
    void paintEvent(QPaintEvent* pEvent) override;
    void mousePressEvent(QMouseEvent* pEvent) override;
    bool eventFilter(QObject* pObject, QEvent* pEvent) override;

private:
    struct SMove {
        SDiagramLink link;
        std::uint32_t nCount = 0;
    };

    void FindMoves(const SModelSnapshot& before, const SModelSnapshot& after);
    void PaintBlock(QPainter& painter, std::size_t nBlock) const;
    void PaintMoves(QPainter& painter) const;

    const CModel& m_model;
    const CDiagramView& m_diagram;
    std::optional<SModelSnapshot> m_snapshot;
    std::vector<SMove> m_moves;
    double m_dMoveSeconds = 0.0;
    QElapsedTimer m_sinceShown;
};

}  // namespace mardo
