// Block windows: their rows, link drags between rows, double-clicks, the caption, moving.

#include <QComboBox>
#include <QContextMenuEvent>
#include <QLineEdit>
#include <QTimer>
#include <QToolTip>
#include <QtTest>

#include "EditorFixture.h"
#include "gui/model/BlockMenu.h"
#include "gui/model/CaptionScroller.h"
#include "gui/props/ChangeInBlockDlg.h"
#include "gui/props/ChangeNameBlockDlg.h"

using namespace mardo;
using namespace mardo::test;

namespace {

QStringList RowTexts(const CBlockWindow& window) {
    QStringList texts;
    for (int i = 0; i < window.GetRowCount(); ++i) {
        texts << window.GetRowText(i);
    }
    return texts;
}

}  // namespace

class BlockWindowTest : public QObject {
    Q_OBJECT

private slots:
    void rowsFollowTheOutputs();
    void dragsLinkRowsToBlocks();
    void refusesLinksThatCannotBe();
    void doubleClicksRenameAndLink();
    void captionTurnsWhileSelected();
    void movesWithinTheDiagram();
    void terminatorMenuCannotCopy();
    void menuOpensOnTheCaptionOnly();
};

void BlockWindowTest::rowsFollowTheOutputs() {
    SEditorFixture f;
    CBlockDlg& generator = f.Add(0, {10, 10}, "Г");
    QCOMPARE(RowTexts(f.Window(generator)), (QStringList{"Г", "Выход"}));
    // No input row: the second row is output 0.
    QCOMPARE(f.Window(generator).HitTestRow(f.Window(generator).RowCenter(0)), 0);
    QCOMPARE(f.Window(generator).RowIndexOf(0), 1);

    CBlockDlg& split = f.Add(5, {200, 10}, "К");
    CBlockWindow& window = f.Window(split);
    QCOMPARE(RowTexts(window), (QStringList{"К", "Вход", "Выход №01", "Выход №02"}));
    const int nTwoRowsHigh = window.height();
    split.SetOutputCount(10);
    QCOMPARE(window.GetRowText(11), QStringLiteral("Выход №10"));
    QCOMPARE(window.GetRowText(10), QStringLiteral("Выход №09"));
    QCOMPARE(window.height(), nTwoRowsHigh + 8 * CBlockWindow::kRowHeight);
    QVERIFY(window.IsFitted());
    // Shrinking to one output drops the others' links and relabels the one left.
    CBlockDlg& queue = f.Add(3, {400, 10}, "О");
    split.SetOutLink(0, &queue);
    split.SetOutLink(2, &queue);
    split.SetOutputCount(1);
    QCOMPARE(RowTexts(window), (QStringList{"К", "Вход", "Выход"}));
    QCOMPARE(split.GetOutLink(0), &queue);
    QCOMPARE(window.HitTestRow(window.RowCenter(kInputRow)), kInputRow);
    QCOMPARE(window.HitTestRow(QPoint(5, 5)), kNameRow);  // the caption is no row
    QCOMPARE(window.HitTestRow(QPoint(5, window.height() - 2)), kNameRow);  // below the rows
}

void BlockWindowTest::dragsLinkRowsToBlocks() {
    SEditorFixture f;
    CBlockDlg& generator = f.Add(0, {10, 10}, "Г");
    CBlockDlg& queue = f.Add(3, {250, 10}, "О");
    CBlockDlg& transfer = f.Add(4, {500, 10}, "К");
    CBlockWindow& from = f.Window(generator);
    CBlockWindow& to = f.Window(queue);

    // From an output onto any row of a block with an input.
    DragMouse(from, from.RowCenter(0), Across(from, to, to.RowCenter(kNameRow)));
    QCOMPARE(generator.GetOutLink(0), &queue);
    QVERIFY(!from.IsDraggingLink());
    QCOMPARE(f.Editor().GetSelectedLink(), (SDiagramLink{&generator, 0, &queue}));
    QVERIFY(!generator.IsSelected() && !queue.IsSelected());
    QVERIFY(f.Editor().GetAction(CModelEditorDlg::kDeleteLink).isEnabled());
    QVERIFY(!f.Editor().GetAction(CModelEditorDlg::kDelete).isEnabled());

    // From the input onto another block's unlinked second output.
    CBlockWindow& switching = f.Window(transfer);
    DragMouse(to, to.RowCenter(kInputRow), Across(to, switching, switching.RowCenter(1)));
    QCOMPARE(transfer.GetOutLink(1), &queue);
    QCOMPARE(transfer.GetOutLink(0), nullptr);
    QCOMPARE(f.Editor().GetSelectedLink(), (SDiagramLink{&transfer, 1, &queue}));
    QVERIFY(f.Diagram().IsLinked(transfer));
}

void BlockWindowTest::refusesLinksThatCannotBe() {
    SEditorFixture f;
    CBlockDlg& generator = f.Add(0, {10, 10}, "Г");
    CBlockDlg& queue = f.Add(3, {250, 10}, "О");
    CBlockDlg& transfer = f.Add(4, {500, 10}, "К");
    CBlockDlg& other = f.Add(2, {250, 200}, "П");
    CBlockDlg& unnamed = f.Add(2, {500, 200});
    transfer.SetOutLink(1, &other);
    CBlockWindow& queueWindow = f.Window(queue);
    CBlockWindow& switching = f.Window(transfer);

    // The input onto an output that already leads elsewhere.
    DragMouse(queueWindow, queueWindow.RowCenter(kInputRow),
              Across(queueWindow, switching, switching.RowCenter(1)));
    QCOMPARE(transfer.GetOutLink(1), &other);
    // An output onto a generator, which has no input.
    DragMouse(queueWindow, queueWindow.RowCenter(0),
              Across(queueWindow, f.Window(generator), f.Window(generator).RowCenter(0)));
    QCOMPARE(queue.GetOutLink(0), nullptr);
    // An output onto an unnamed block, or back onto its own block.
    DragMouse(queueWindow, queueWindow.RowCenter(0),
              Across(queueWindow, f.Window(unnamed), f.Window(unnamed).RowCenter(kInputRow)));
    DragMouse(queueWindow, queueWindow.RowCenter(0), queueWindow.RowCenter(kInputRow));
    QCOMPARE(queue.GetOutLink(0), nullptr);
    // An unnamed block links nothing, and shows the refusal while its link is dragged; its
    // empty name row tells how to name it.
    CBlockWindow& unnamedWindow = f.Window(unnamed);
    QTest::mousePress(&unnamedWindow, Qt::LeftButton, Qt::NoModifier,
                      unnamedWindow.RowCenter(0));
    SendMouseMove(unnamedWindow, Across(unnamedWindow, switching, switching.RowCenter(kInputRow)),
                  Qt::LeftButton);
    QVERIFY(unnamedWindow.IsDraggingLink() && unnamedWindow.IsDropRefused());
    QCOMPARE(QGuiApplication::overrideCursor()->shape(), Qt::ForbiddenCursor);
    QTest::mouseRelease(&unnamedWindow, Qt::LeftButton, Qt::NoModifier,
                        Across(unnamedWindow, switching, switching.RowCenter(kInputRow)));
    QCOMPARE(unnamed.GetOutLink(0), nullptr);
    QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
    for (CBlockWindow* pWindow : {&queueWindow, &unnamedWindow}) {
        const QPoint ptName = pWindow->RowCenter(kNameRow);
        QHelpEvent help(QEvent::ToolTip, ptName, pWindow->mapToGlobal(ptName));
        QApplication::sendEvent(pWindow, &help);
    }
    QCOMPARE(QToolTip::text(), QStringLiteral("Дважды щелкните, чтобы задать имя блока"));

    // While dragging, the verdict follows the pointer.
    QTest::mousePress(&queueWindow, Qt::LeftButton, Qt::NoModifier, queueWindow.RowCenter(0));
    SendMouseMove(queueWindow, Across(queueWindow, f.Window(generator), QPoint(20, 30)),
                  Qt::LeftButton);
    QVERIFY(queueWindow.IsDraggingLink() && queueWindow.IsDropRefused());
    SendMouseMove(queueWindow, Across(queueWindow, switching, QPoint(20, 30)), Qt::LeftButton);
    QVERIFY(!queueWindow.IsDropRefused());
    QTest::mouseRelease(&queueWindow, Qt::LeftButton, Qt::NoModifier,
                        Across(queueWindow, switching, QPoint(20, 30)));
    QCOMPARE(queue.GetOutLink(0), &transfer);
}

void BlockWindowTest::doubleClicksRenameAndLink() {
    SEditorFixture f;
    CBlockDlg& queue = f.Add(3, {10, 10});
    CBlockDlg& device = f.Add(2, {250, 10}, "П");
    CBlockWindow& window = f.Window(queue);

    // An unnamed block's output opens nothing.
    QTest::mouseDClick(&window, Qt::LeftButton, Qt::NoModifier, window.RowCenter(0));
    QVERIFY(f.dialogs.Titles().isEmpty());

    f.dialogs.Then<CChangeNameBlockDlg>([](CChangeNameBlockDlg& dialog) {
        dialog.GetNameEdit().setText(QStringLiteral(" Очередь "));
        dialog.OnOk();
    });
    QTest::mouseDClick(&window, Qt::LeftButton, Qt::NoModifier, window.RowCenter(kNameRow));
    QCOMPARE(queue.GetName(), std::string("Очередь"));
    QCOMPARE(window.GetRowText(0), QStringLiteral("Очередь"));
    QVERIFY(f.Editor().GetPalette().isEnabled());

    f.dialogs.Then<CChangeInBlockDlg>([](CChangeInBlockDlg& dialog) {
        dialog.GetChoice().setCurrentIndex(1);
        dialog.OnOk();
    });
    QTest::mouseDClick(&window, Qt::LeftButton, Qt::NoModifier, window.RowCenter(0));
    QCOMPARE(queue.GetOutLink(0), &device);
    QCOMPARE(f.Editor().GetSelectedLink(), (SDiagramLink{&queue, 0, &device}));

    // "Нет блока" unlinks the output and drops the selection.
    f.dialogs.Then<CChangeInBlockDlg>([](CChangeInBlockDlg& dialog) {
        dialog.GetChoice().setCurrentIndex(0);
        dialog.OnOk();
    });
    QTest::mouseDClick(&window, Qt::LeftButton, Qt::NoModifier, window.RowCenter(0));
    QCOMPARE(queue.GetOutLink(0), nullptr);
    QVERIFY(!f.Editor().GetSelectedLink().IsSet());
    QCOMPARE(f.dialogs.Titles(), (QStringList{"Имя блока", "Связать с блоком", "Связать с блоком"}));
}

void BlockWindowTest::captionTurnsWhileSelected() {
    CCaptionScroller scroller(QStringLiteral("Abc"));
    QCOMPARE(scroller.Step(), std::optional<QString>("Abc"));
    for (int i = 0; i < 9; ++i) {
        QCOMPARE(scroller.Step(), std::nullopt);
    }
    QCOMPARE(scroller.Step(), std::optional<QString>("bc A"));
    QCOMPARE(scroller.Step(), std::optional<QString>("c Ab"));
    QCOMPARE(scroller.Step(), std::optional<QString>(" Abc"));
    QCOMPARE(scroller.Step(), std::optional<QString>("Abc"));  // the next pause begins
    QCOMPARE(scroller.Step(), std::nullopt);

    SEditorFixture f;
    CBlockDlg& device = f.Add(2, {10, 10}, "П");
    CBlockDlg& queue = f.Add(3, {250, 10}, "О");
    f.Editor().SelectBlock(device);
    CBlockWindow& window = f.Window(device);
    QVERIFY(test::WaitUntil([&] { return window.GetCaption() != QStringLiteral("Устройство обслуживания"); }));
    f.Editor().SelectBlock(queue);
    QCOMPARE(window.GetCaption(), QStringLiteral("Устройство обслуживания"));
}

void BlockWindowTest::movesWithinTheDiagram() {
    SEditorFixture f;
    CBlockDlg& queue = f.Add(3, {100, 100}, "О");
    CBlockWindow& window = f.Window(queue);
    const QPoint ptGrab(20, 5);  // on the caption
    QTest::mousePress(&window, Qt::LeftButton, Qt::NoModifier, ptGrab);
    SendMouseMove(window, ptGrab + QPoint(30, 40), Qt::LeftButton);
    QTest::mouseRelease(&window, Qt::LeftButton, Qt::NoModifier, ptGrab);
    QCOMPARE(queue.GetPosition(), (CPoint{130, 140}));
    QCOMPARE(window.pos(), QPoint(130, 140));

    // Scrolled: positions stay in diagram coordinates, and no block leaves the diagram.
    f.Diagram().verticalScrollBar()->setValue(3);
    QCOMPARE(window.pos(), QPoint(130, 80));
    QTest::mousePress(&window, Qt::LeftButton, Qt::NoModifier, ptGrab);
    SendMouseMove(window, ptGrab + QPoint(-500, 10), Qt::LeftButton);
    QTest::mouseRelease(&window, Qt::LeftButton);
    QCOMPARE(queue.GetPosition(), (CPoint{0, 150}));
    QCOMPARE(window.pos(), QPoint(0, 90));
}

void BlockWindowTest::terminatorMenuCannotCopy() {
    CModel model;
    CBlockMenu terminatorMenu;
    model.AddBlock(CreateBlock(1)).UpdateContextMenu(terminatorMenu);
    QVERIFY(!terminatorMenu.IsCommandEnabled(IBlockContextMenu::kCopy));
    QVERIFY(terminatorMenu.IsCommandEnabled(IBlockContextMenu::kDelete));
    QVERIFY(terminatorMenu.IsCommandEnabled(IBlockContextMenu::kProperties));
    CBlockMenu queueMenu;
    model.AddBlock(CreateBlock(3)).UpdateContextMenu(queueMenu);
    QVERIFY(queueMenu.IsCommandEnabled(IBlockContextMenu::kCopy));
}

void BlockWindowTest::menuOpensOnTheCaptionOnly() {
    SEditorFixture f;
    CBlockWindow& window = f.Window(f.Add(3, {10, 10}, "О"));
    // Whether a right click there opens a menu, which is closed again at once.
    const auto opensMenu = [&window](QPoint pt) {
        bool bOpened = false;
        QTimer::singleShot(0, &window, [&bOpened] {
            if (QWidget* pPopup = QApplication::activePopupWidget()) {
                bOpened = true;
                pPopup->close();
            }
        });
        QContextMenuEvent event(QContextMenuEvent::Mouse, pt, window.mapToGlobal(pt));
        QApplication::sendEvent(&window, &event);
        QCoreApplication::processEvents();
        return bOpened;
    };
    QVERIFY(opensMenu(QPoint(20, CBlockWindow::kFrame + 2)));
    QVERIFY(!opensMenu(window.RowCenter(kNameRow)));
    QVERIFY(!opensMenu(window.RowCenter(0)));
}

QTEST_MAIN(BlockWindowTest)
#include "BlockWindowTest.moc"
