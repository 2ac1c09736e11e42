#pragma once

// A shown main window with the message boxes, file dialogs and modal dialogs replaced, and the
// mouse gestures the tests make on it.

#include <QApplication>
#include <QMouseEvent>
#include <QtTest>
#include <memory>

#include "GuiTestDoubles.h"
#include <QScrollBar>

#include "gui/editor/BlocksPaletteDlg.h"
#include "gui/editor/DiagramView.h"
#include "gui/editor/ModelEditorDlg.h"
#include "gui/model/BlockWindow.h"

namespace mardo::test {

struct SEditorFixture {
    CMessageRecorder messages;
    CFileDialogRecorder files;
    CDialogScript dialogs;
    std::unique_ptr<CModelEditorDlg> pEditor;

    SEditorFixture() {
        pEditor = std::make_unique<CModelEditorDlg>();
        pEditor->resize(1000, 700);
        pEditor->show();
        QVERIFY(QTest::qWaitForWindowExposed(pEditor.get()));
    }

    CModelEditorDlg& Editor() const { return *pEditor; }
    CDiagramView& Diagram() const { return pEditor->GetDiagram(); }

    // A block of the kind, named (unless the name is empty), at a diagram position.
    CBlockDlg& Add(int nKind, CPoint pos, const char* pszName = "") {
        CBlockDlg& block = *Editor().AddBlock(*CreateBlock(nKind), pos);
        block.SetName(pszName);
        return block;
    }
    CBlockWindow& Window(const CBlockDlg& block) const { return *Diagram().WindowOf(block); }
};

inline void SendMouseMove(QWidget& widget, QPoint pt, Qt::MouseButtons buttons) {
    QMouseEvent event(QEvent::MouseMove, pt, widget.mapToGlobal(pt), Qt::NoButton, buttons,
                      Qt::NoModifier);
    QApplication::sendEvent(&widget, &event);
}

// Presses the left button at a point of the widget, moves past the drag distance and on to the
// end point (in the same widget's coordinates), and releases it there.
inline void DragMouse(QWidget& widget, QPoint ptFrom, QPoint ptTo) {
    QTest::mousePress(&widget, Qt::LeftButton, Qt::NoModifier, ptFrom);
    SendMouseMove(widget, ptFrom + QPoint(QApplication::startDragDistance() + 2, 0),
                  Qt::LeftButton);
    SendMouseMove(widget, ptTo, Qt::LeftButton);
    QTest::mouseRelease(&widget, Qt::LeftButton, Qt::NoModifier, ptTo);
}

// A point of one block window in another's coordinates: where a drag from the first ends.
inline QPoint Across(const QWidget& from, const QWidget& to, QPoint ptInTo) {
    return from.mapFromGlobal(to.mapToGlobal(ptInTo));
}

}  // namespace mardo::test
