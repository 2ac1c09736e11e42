#include "gui/watch/WatchOverlay.h"

#include <QEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>

#include "core/model/Model.h"
#include "gui/editor/DiagramView.h"
#include "gui/editor/LinkPath.h"
#include "gui/model/BlockWindow.h"

namespace mardo {

namespace {

constexpr int kBarWidth = 60;
constexpr int kBarHeight = 7;
constexpr int kLineGap = 2;
constexpr int kDotRadius = 4;
// More dots than this on one link in one tick read as a count beside the last one.
constexpr std::uint32_t kMostDots = 5;

const QColor kBusyColour(200, 40, 40);
const QColor kFreeColour(30, 140, 60);
const QColor kDotColour(30, 80, 200);

// The lines that tell what a block holds and has done.
QStringList Lines(const SBlockSnapshot& block) {
    QStringList lines;
    switch (block.eCount) {
        case SBlockSnapshot::ECount::kCreated:
            lines << QStringLiteral("Создано: %1").arg(block.nCount);
            break;
        case SBlockSnapshot::ECount::kContent:
            lines << QStringLiteral("В очереди: %1 (наиб. %2)")
                         .arg(block.nCount)
                         .arg(block.nMaxContent.value_or(block.nCount));
            break;
        case SBlockSnapshot::ECount::kDeparted:
            lines << QStringLiteral("Вышло: %1").arg(block.nCount);
            break;
        case SBlockSnapshot::ECount::kHeld:
            if (!block.bBusy && block.nCount != 0) {
                lines << QStringLiteral("Держит: %1").arg(block.nCount);
            }
            break;
        case SBlockSnapshot::ECount::kNone:
            break;
    }
    if (block.bBusy) {
        // A filled or an empty square: told apart without the colour too.
        lines << (*block.bBusy ? QStringLiteral("■ занято, ост. %1").arg(block.nRemainingService)
                               : QStringLiteral("□ свободно"));
    }
    if (block.nLastOutput) {
        lines << QStringLiteral("Выбран выход %1").arg(*block.nLastOutput + 1);
    }
    return lines;
}

// The point a share of the way along a link's path.
QPointF Along(const SLinkPath& path, double dShare) {
    const QPointF points[] = {path.ptStart, path.ptSlantFrom, path.ptSlantTo, path.ptEnd};
    double dTotal = 0.0;
    for (int i = 0; i < 3; ++i) {
        dTotal += QLineF(points[i], points[i + 1]).length();
    }
    double dLeft = std::clamp(dShare, 0.0, 1.0) * dTotal;
    for (int i = 0; i < 3; ++i) {
        const QLineF segment(points[i], points[i + 1]);
        if (dLeft <= segment.length() || i == 2) {
            return segment.length() > 0 ? segment.pointAt(std::min(1.0, dLeft / segment.length()))
                                        : points[i];
        }
        dLeft -= segment.length();
    }
    return path.ptEnd;
}

}  // namespace

CWatchOverlay::CWatchOverlay(const CModel& model, const CDiagramView& diagram)
    : QWidget(diagram.viewport()), m_model(model), m_diagram(diagram) {
    setFocusPolicy(Qt::StrongFocus);
    setGeometry(diagram.viewport()->rect());
    diagram.viewport()->installEventFilter(this);
    m_sinceShown.start();
}

void CWatchOverlay::Show(const SModelSnapshot& snapshot, double dMoveSeconds) {
    if (m_snapshot) {
        FindMoves(*m_snapshot, snapshot);
    }
    m_snapshot = snapshot;
    m_dMoveSeconds = dMoveSeconds;
    m_sinceShown.restart();
    update();
}

bool CWatchOverlay::IsMoving() const {
    return !m_moves.empty() && m_dMoveSeconds > 0 &&
           static_cast<double>(m_sinceShown.elapsed()) < m_dMoveSeconds * 1000.0;
}

// Which links the tick's arrivals came along. A block fed by one link got them all from it;
// one fed by several got them from those whose source changed in the tick.
void CWatchOverlay::FindMoves(const SModelSnapshot& before, const SModelSnapshot& after) {
    m_moves.clear();
    const CBlockList& blocks = m_model.GetBlocks();
    if (before.blocks.size() != blocks.size() || after.blocks.size() != blocks.size()) {
        return;
    }
    const auto indexOf = [&](const CBlockDlg* pBlock) {
        return static_cast<std::size_t>(m_model.IndexOfBlock(pBlock));
    };
    for (std::size_t j = 0; j < blocks.size(); ++j) {
        const std::uint32_t nBefore = before.blocks[j].nEntered;
        const std::uint32_t nAfter = after.blocks[j].nEntered;
        if (nAfter <= nBefore) {
            continue;
        }
        std::vector<SDiagramLink> feeding;
        std::vector<SDiagramLink> changed;
        for (const auto& pSource : blocks) {
            for (int k = 0; k < pSource->GetOutputCount(); ++k) {
                if (pSource->GetOutLink(k) != blocks[j].get()) {
                    continue;
                }
                const SDiagramLink link{pSource.get(), k, blocks[j].get()};
                feeding.push_back(link);
                const std::size_t s = indexOf(pSource.get());
                if (before.blocks[s] != after.blocks[s]) {
                    changed.push_back(link);
                }
            }
        }
        const std::vector<SDiagramLink>& links = changed.empty() ? feeding : changed;
        for (const SDiagramLink& link : links) {
            m_moves.push_back({link, nAfter - nBefore});
        }
    }
}

void CWatchOverlay::paintEvent(QPaintEvent* /*pEvent*/) {
    if (!m_snapshot) {
        return;
    }
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    for (std::size_t i = 0; i < m_snapshot->blocks.size() && i < m_model.GetBlockCount(); ++i) {
        PaintBlock(painter, i);
    }
    PaintMoves(painter);
}

void CWatchOverlay::PaintBlock(QPainter& painter, std::size_t nBlock) const {
    const CBlockDlg& block = *m_model.GetBlocks()[nBlock];
    const CBlockWindow* pWindow = m_diagram.WindowOf(block);
    if (pWindow == nullptr || !block.IsNamed()) {
        return;
    }
    const SBlockSnapshot& state = m_snapshot->blocks[nBlock];
    const QRect window = pWindow->geometry();
    const QFontMetrics metrics(font());
    // Below the window, so that its name stays in sight.
    int y = window.bottom() + kLineGap;
    const int x = window.left();
    if (state.bBusy) {
        painter.fillRect(QRect(window.right() - 10, window.top() - 12, 10, 10),
                         *state.bBusy ? kBusyColour : Qt::white);
        painter.setPen(*state.bBusy ? kBusyColour : kFreeColour);
        painter.drawRect(QRect(window.right() - 10, window.top() - 12, 10, 10));
    }
    for (const QString& strLine : Lines(state)) {
        const QRect text(x, y, metrics.horizontalAdvance(strLine) + 6, metrics.height());
        painter.fillRect(text, QColor(255, 255, 225, 230));
        painter.setPen(state.bBusy && *state.bBusy && strLine.startsWith(QChar(0x25A0))
                           ? kBusyColour
                           : Qt::black);
        painter.drawText(text.adjusted(3, 0, 0, 0), Qt::AlignVCenter | Qt::AlignLeft, strLine);
        y += metrics.height() + kLineGap;
    }
    if (state.eCount == SBlockSnapshot::ECount::kContent) {
        const std::uint32_t nMax = std::max<std::uint32_t>(1, state.nMaxContent.value_or(1));
        const QRect bar(x, y, kBarWidth, kBarHeight);
        painter.setPen(Qt::black);
        painter.fillRect(bar, Qt::white);
        painter.fillRect(QRect(x, y, static_cast<int>(kBarWidth * state.nCount / nMax), kBarHeight),
                         kDotColour);
        painter.drawRect(bar);
    }
}

void CWatchOverlay::PaintMoves(QPainter& painter) const {
    const bool bTravelling = m_dMoveSeconds > 0;
    const double dShare =
        bTravelling ? static_cast<double>(m_sinceShown.elapsed()) / (m_dMoveSeconds * 1000.0) : 1.0;
    if (bTravelling && dShare >= 1.0) {
        return;  // arrived: the counts beside the blocks tell the rest
    }
    for (const SMove& move : m_moves) {
        const std::optional<SLinkPath> path = m_diagram.PathOf(move.link);
        if (!path) {
            continue;
        }
        if (!bTravelling) {
            // Above the middle of the slanted part, clear of the windows at the leads' ends.
            const QString strCount = QStringLiteral("+%1").arg(move.nCount);
            const QPointF ptMiddle = (QPointF(path->ptSlantFrom) + QPointF(path->ptSlantTo)) / 2;
            const QFontMetrics metrics(font());
            painter.setPen(kDotColour);
            painter.drawText(ptMiddle + QPointF(-metrics.horizontalAdvance(strCount) / 2.0, -6),
                             strCount);
            continue;
        }
        painter.setPen(Qt::NoPen);
        painter.setBrush(kDotColour);
        const std::uint32_t nDots = std::min(move.nCount, kMostDots);
        for (std::uint32_t d = 0; d < nDots; ++d) {
            const double dOwn = dShare - 0.08 * d;
            if (dOwn > 0) {
                painter.drawEllipse(Along(*path, dOwn), kDotRadius, kDotRadius);
            }
        }
        if (move.nCount > kMostDots) {
            painter.setPen(kDotColour);
            painter.drawText(Along(*path, dShare) + QPointF(6, -6),
                             QStringLiteral("×%1").arg(move.nCount));
        }
    }
}

void CWatchOverlay::mousePressEvent(QMouseEvent* pEvent) {
    const QPoint pt = pEvent->position().toPoint();
    for (std::size_t i = 0; i < m_model.GetBlockCount(); ++i) {
        const CBlockWindow* pWindow = m_diagram.WindowOf(*m_model.GetBlocks()[i]);
        if (pWindow != nullptr && pWindow->geometry().contains(pt)) {
            emit blockClicked(static_cast<int>(i));
            return;
        }
    }
}

bool CWatchOverlay::eventFilter(QObject* pObject, QEvent* pEvent) {
    if (pEvent->type() == QEvent::Resize) {
        setGeometry(m_diagram.viewport()->rect());
    }
    return QWidget::eventFilter(pObject, pEvent);
}

}  // namespace mardo
