// The main window: start-up, the palette and its terminator rule, the clipboard, links and the
// background, scrolling, the file commands with their questions, and the history of edits.

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QMenu>
#include <QTabWidget>
#include <QHeaderView>
#include <QTableView>
#include <QTemporaryDir>
#include <QCheckBox>
#include <QPushButton>
#include <QScreen>
#include <QtTest>
#include <functional>
#include <tuple>

#include "EditorFixture.h"
#include "core/model/QueueDlg.h"
#include "gui/experiment/SeriesDlg.h"
#include "gui/props/BlockPage.h"
#include "gui/props/BlockPropertySheet.h"
#include "gui/props/ChangeInBlockDlg.h"
#include "gui/report/ReportDlg.h"
#include "gui/report/TraceChartView.h"
#include "gui/report/TraceChartsView.h"
#include "gui/sim/ModelStartDlg.h"

using namespace mardo;
using namespace mardo::test;

namespace {

const QString kEditorTitle = QStringLiteral(" - Mardo [Редактор]");

QStringList Entries(const CBlocksPaletteDlg& palette) {
    QStringList entries;
    for (int i = 0; i < palette.GetEntryCount(); ++i) {
        entries << palette.GetEntryText(i);
    }
    return entries;
}

int EntryOf(const CBlocksPaletteDlg& palette, const QString& strTitle) {
    return static_cast<int>(Entries(palette).indexOf(strTitle));
}

bool Enabled(const CModelEditorDlg& editor, CModelEditorDlg::ECommand nCommand) {
    return editor.GetAction(nCommand).isEnabled();
}

// A model of a generator, a queue, a device and a terminator in a row, linked in that order.
void BuildLine(SEditorFixture& f) {
    CBlockDlg& generator = f.Add(0, {20, 20}, "Генератор");
    CBlockDlg& queue = f.Add(3, {220, 20}, "Очередь");
    CBlockDlg& device = f.Add(2, {420, 20}, "Прибор");
    CBlockDlg& terminator = f.Add(1, {620, 20}, "Выход");
    generator.SetOutLink(0, &queue);
    queue.SetOutLink(0, &device);
    device.SetOutLink(0, &terminator);
}

// Saves the line of four blocks to the file, from a main window of its own.
void SaveLine(const QString& strPath) {
    SEditorFixture f;
    BuildLine(f);
    f.files.Answer(strPath);
    QVERIFY(f.Editor().OnSaveAs());
}

// Notes, as the palette shows, whether the main window had gone to the screen before it.
class CPaletteShowWatcher final : public QObject {
public:
    explicit CPaletteShowWatcher(const QWidget& owner) : m_owner(owner) {}
    bool m_bShown = false;
    bool m_bOwnerShownFirst = false;

protected:
    bool eventFilter(QObject* pWatched, QEvent* pEvent) override {
        if (pEvent->type() == QEvent::Show && !m_bShown) {
            m_bShown = true;
            m_bOwnerShownFirst = m_owner.windowHandle() && m_owner.windowHandle()->isVisible();
        }
        return QObject::eventFilter(pWatched, pEvent);
    }

private:
    const QWidget& m_owner;
};

}  // namespace

class ModelEditorTest : public QObject {
    Q_OBJECT

private slots:
    void startsWithAnEmptyUntitledModel();
    void paletteIsAToolWindowOverTheMainWindow();
    void paletteAddsEveryKindWhereAsked();
    void paletteOffersOneTerminator();
    void paletteReordersByDragging();
    void copiesPastesAndDeletesBlocks();
    void blockSheetOpensOnItsNamePage();
    void selectsChangesAndDeletesLinks();
    void scrollsInSteps();
    void savesUnderTheChosenName();
    void opensFilesAndRejectsDamagedOnes();
    void keepsTheModelWhenSavingFails();
    void fileDialogsOpenInTheModelsFolder();
    void lastReportStaysAtHandUntilTheNextModel();
    void seriesWindowKeepsItsSettingsUntilTheModelChanges();
    void everyMenuItemHasAMnemonicOfItsOwn();
    void historyTakesEachEditAsOneStep();
    void exportsTheWholeDiagram();
};

void ModelEditorTest::startsWithAnEmptyUntitledModel() {
    SEditorFixture f;
    CModelEditorDlg& editor = f.Editor();
    QCOMPARE(editor.windowTitle(), QStringLiteral("Без имени.mrd") + kEditorTitle);
    QVERIFY(!editor.HasFile());
    QVERIFY(editor.GetPalette().isVisible());
    QVERIFY(editor.GetAction(CModelEditorDlg::kShowPalette).isChecked());
    for (const auto nCommand :
         {CModelEditorDlg::kCopy, CModelEditorDlg::kPaste, CModelEditorDlg::kDelete,
          CModelEditorDlg::kBlockProperties, CModelEditorDlg::kChangeLink,
          CModelEditorDlg::kDeleteLink}) {
        QVERIFY2(!Enabled(editor, nCommand), qPrintable(editor.GetAction(nCommand).text()));
    }
    QCOMPARE(Entries(editor.GetPalette()),
             (QStringList{"Генератор", "Терминатор", "Устройство обслуживания",
                          "Многоканальное устройство", "Очередь", "Коммутирующий блок",
                          "Копирующий блок", "Компонующий блок", "Ожидающий блок"}));
    // "Бло&ки" hides and shows the palette; its close box hides it too.
    editor.GetAction(CModelEditorDlg::kShowPalette).trigger();
    QVERIFY(!editor.GetPalette().isVisible());
    QVERIFY(!editor.GetAction(CModelEditorDlg::kShowPalette).isChecked());
    editor.GetAction(CModelEditorDlg::kShowPalette).trigger();
    QVERIFY(editor.GetPalette().isVisible());
    editor.GetPalette().close();
    QVERIFY(!editor.GetPalette().isVisible());
    QVERIFY(!editor.GetAction(CModelEditorDlg::kShowPalette).isChecked());
    // "З&апуск..." hands the model to the run window under the run title, then restores it.
    QVERIFY(Enabled(editor, CModelEditorDlg::kRun));
    QString strRunName;
    editor.SetRunHandler([&](QWidget*, CModel&, const QString& strFileName) {
        strRunName = strFileName;
        QCOMPARE(editor.windowTitle(), QStringLiteral("Без имени.mrd - Mardo [Запуск модели]"));
    });
    QVERIFY(Enabled(editor, CModelEditorDlg::kRun));
    editor.GetAction(CModelEditorDlg::kRun).trigger();
    QCOMPARE(strRunName, QStringLiteral("Без имени.mrd"));
    QCOMPARE(editor.windowTitle(), QStringLiteral("Без имени.mrd") + kEditorTitle);
}

// A window manager keeps the palette over the main window only when it is transient for it and
// maps after it: mapped first, it came up under the maximised main window.
void ModelEditorTest::paletteIsAToolWindowOverTheMainWindow() {
    CModelEditorDlg editor;
    CPaletteShowWatcher watcher(editor);
    editor.GetPalette().installEventFilter(&watcher);
    editor.show();
    QVERIFY(QTest::qWaitForWindowExposed(&editor));
    QVERIFY(watcher.m_bShown);
    QVERIFY(watcher.m_bOwnerShownFirst);
    QCOMPARE(editor.GetPalette().windowHandle()->transientParent(), editor.windowHandle());
}

void ModelEditorTest::paletteAddsEveryKindWhereAsked() {
    SEditorFixture f;
    CModelEditorDlg& editor = f.Editor();
    CBlocksPaletteDlg& palette = editor.GetPalette();
    f.Diagram().verticalScrollBar()->setValue(5);
    f.Diagram().horizontalScrollBar()->setValue(2);
    // Every kind, double-clicked, lands at the visible top-left corner and is selected.
    const std::size_t nKinds = BlockKinds().size();
    while (palette.GetEntryCount() > 0 && editor.GetModel().GetBlockCount() < nKinds) {
        const int nEntry = static_cast<int>(editor.GetModel().GetBlockCount()) % palette.GetEntryCount();
        const QString strTitle = palette.GetEntryText(nEntry);
        palette.ActivateEntry(nEntry);
        const CBlockDlg& block = *editor.GetModel().GetBlocks().back();
        QCOMPARE(QString::fromStdString(block.GetKindTitle()), strTitle);
        QCOMPARE(block.GetPosition(), (CPoint{40, 100}));
        QCOMPARE(f.Window(block).pos(), QPoint(0, 0));
        QVERIFY(block.IsSelected() && !block.IsNamed());
        QCOMPARE(editor.GetSelectedBlock(), &block);
        QCOMPARE(Enabled(editor, CModelEditorDlg::kCopy),
                 block.GetKind() != EBlockKind::kTerminate);
        QVERIFY(Enabled(editor, CModelEditorDlg::kDelete));
    }
    QCOMPARE(editor.GetModel().GetBlockCount(), nKinds);

    // Dropped: onto the background at the pointer, onto a block not at all.
    QListWidget& list = palette.GetList();
    const QPoint ptBackground = f.Diagram().viewport()->mapToGlobal(QPoint(300, 250));
    QVERIFY(editor.IsDropPlace(ptBackground));
    palette.DropEntry(EntryOf(palette, "Очередь"), ptBackground);
    QCOMPARE(editor.GetModel().GetBlocks().back()->GetPosition(), (CPoint{340, 350}));
    const QPoint ptOnBlock = f.Diagram().viewport()->mapToGlobal(QPoint(10, 10));
    QVERIFY(!editor.IsDropPlace(ptOnBlock));
    palette.DropEntry(0, ptOnBlock);
    QCOMPARE(editor.GetModel().GetBlockCount(), nKinds + 1);
    QVERIFY(list.count() == palette.GetEntryCount());
}

void ModelEditorTest::paletteOffersOneTerminator() {
    SEditorFixture f;
    CModelEditorDlg& editor = f.Editor();
    CBlocksPaletteDlg& palette = editor.GetPalette();
    const int nFullHeight = palette.height();
    const int nRow = EntryOf(palette, "Терминатор");
    palette.ActivateEntry(nRow);
    QCOMPARE(palette.GetEntryCount(), static_cast<int>(BlockKinds().size()) - 1);
    QCOMPARE(EntryOf(palette, "Терминатор"), -1);
    QCOMPARE(palette.height(), nFullHeight - CBlocksPaletteDlg::kEntryHeight);
    // Deleting it (or taking back its placing) brings the entry back where it was.
    editor.GetAction(CModelEditorDlg::kDelete).trigger();
    QCOMPARE(editor.GetModel().GetBlockCount(), std::size_t{0});
    QCOMPARE(palette.GetEntryText(nRow), QStringLiteral("Терминатор"));
    QCOMPARE(palette.GetPrototype(nRow).GetKind(), EBlockKind::kTerminate);
    QCOMPARE(palette.height(), nFullHeight);
    // New restores it as well, and so does taking back its placing, in the user's order.
    palette.MoveEntry(nRow, palette.GetEntryCount());
    palette.ActivateEntry(palette.GetEntryCount() - 1);
    f.messages.Answer(EMessageAnswer::kNo);
    editor.GetAction(CModelEditorDlg::kNew).trigger();
    QCOMPARE(EntryOf(palette, "Терминатор"), palette.GetEntryCount() - 1);
    palette.ActivateEntry(palette.GetEntryCount() - 1);
    editor.GetAction(CModelEditorDlg::kUndo).trigger();
    QCOMPARE(EntryOf(palette, "Терминатор"), palette.GetEntryCount() - 1);
}

void ModelEditorTest::paletteReordersByDragging() {
    SEditorFixture f;
    CBlocksPaletteDlg& palette = f.Editor().GetPalette();
    QListWidget& list = palette.GetList();
    QWidget& viewport = *list.viewport();
    // The first entry dragged below the last one goes to the end.
    DragMouse(viewport, QPoint(40, 10), QPoint(40, viewport.height() - 3));
    const int nLast = palette.GetEntryCount() - 1;
    QCOMPARE(palette.GetEntryText(nLast), QStringLiteral("Генератор"));
    QCOMPARE(palette.GetPrototype(nLast).GetKind(), EBlockKind::kGenerate);
    QCOMPARE(palette.GetEntryText(0), QStringLiteral("Терминатор"));
    // The last one dragged onto the top half of the first goes first.
    DragMouse(viewport, QPoint(40, viewport.height() - 10), QPoint(40, 3));
    QCOMPARE(palette.GetEntryText(0), QStringLiteral("Генератор"));
    QCOMPARE(palette.GetPrototype(0).GetKind(), EBlockKind::kGenerate);
    QCOMPARE(f.Editor().GetModel().GetBlockCount(), std::size_t{0});
}

void ModelEditorTest::copiesPastesAndDeletesBlocks() {
    SEditorFixture f;
    CModelEditorDlg& editor = f.Editor();
    CBlockDlg& generator = f.Add(0, {20, 20}, "Г");
    auto& queue = static_cast<CQueueDlg&>(f.Add(3, {220, 20}, "Очередь"));
    CBlockDlg& device = f.Add(2, {420, 20}, "П");
    queue.m_params.m_bLimit = 1;
    queue.m_params.m_nLimit = 5;
    generator.SetOutLink(0, &queue);
    queue.SetOutLink(0, &device);

    editor.SelectBlock(queue);
    editor.GetAction(CModelEditorDlg::kCopy).trigger();
    QVERIFY(Enabled(editor, CModelEditorDlg::kPaste));
    f.Diagram().verticalScrollBar()->setValue(2);
    // Each paste is seen whole and apart from every other block, however often it is repeated.
    for (int i = 0; i < 3; ++i) {
        editor.GetAction(CModelEditorDlg::kPaste).trigger();
        const auto& pasted = static_cast<const CQueueDlg&>(*editor.GetModel().GetBlocks().back());
        QVERIFY(&pasted != &queue && !pasted.IsNamed() && pasted.IsSelected());
        QCOMPARE(pasted.m_params, queue.m_params);
        QCOMPARE(pasted.GetOutLink(0), nullptr);
        const QRect place = f.Window(pasted).geometry();
        QVERIFY(f.Diagram().viewport()->rect().contains(place));
        for (const auto& pOther : editor.GetModel().GetBlocks()) {
            QVERIFY(pOther.get() == &pasted || !f.Window(*pOther).geometry().intersects(place));
        }
    }
    QCOMPARE(editor.GetModel().GetBlockCount(), std::size_t{6});
    QCOMPARE(queue.GetName(), std::string("Очередь"));
    QCOMPARE(queue.GetOutLink(0), &device);

    // Deleting a block that two outputs lead to unlinks both and nothing else.
    CBlockDlg& other = f.Add(0, {20, 200}, "Г2");
    other.SetOutLink(0, &queue);
    editor.SelectLink({&generator, 0, &queue});
    editor.SelectBlock(queue);
    editor.GetAction(CModelEditorDlg::kDelete).trigger();
    QCOMPARE(generator.GetOutLink(0), nullptr);
    QCOMPARE(other.GetOutLink(0), nullptr);
    QCOMPARE(editor.GetModel().IndexOfBlock(&device), 1);
    QVERIFY(!editor.GetSelectedLink().IsSet());
    QVERIFY(!Enabled(editor, CModelEditorDlg::kDelete));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    // The clipboard keeps its own copy, also across New.
    f.messages.Answer(EMessageAnswer::kNo);
    editor.GetAction(CModelEditorDlg::kNew).trigger();
    QVERIFY(Enabled(editor, CModelEditorDlg::kPaste));
    editor.PasteAt(QPoint(50, 60));
    QCOMPARE(editor.GetModel().GetBlocks().front()->GetKind(), EBlockKind::kQueue);
    QCOMPARE(editor.GetModel().GetBlocks().front()->GetPosition(), (CPoint{50, 60}));
    // The background's popup pastes where it was opened.
    const std::unique_ptr<QMenu> pMenu = editor.CreateBackgroundMenu(QPoint(300, 300));
    QCOMPARE(pMenu->actions().size(), 2);
    QCOMPARE(pMenu->actions()[0]->text(), QStringLiteral("&Вставить"));
    pMenu->actions()[0]->trigger();
    QCOMPARE(editor.GetModel().GetBlocks().back()->GetPosition(), (CPoint{300, 300}));
}

void ModelEditorTest::blockSheetOpensOnItsNamePage() {
    SEditorFixture f;
    CBlockDlg& queue = f.Add(3, {10, 10}, "О");
    f.Add(2, {200, 10}, "Прибор");
    const auto rename = [](const char* pszName) {
        return [pszName](CBlockPropertySheet& sheet) {
            QCOMPARE(sheet.windowTitle(), QStringLiteral("Свойства очереди"));
            QCOMPARE(sheet.GetPageCount(), 3);
            sheet.show();
            auto& page = dynamic_cast<CBlockPage&>(sheet.GetPage(0));
            QCOMPARE(page.GetTitle(), QStringLiteral("Блок"));
            page.GetNameEdit().setText(QString::fromUtf8(pszName));
            sheet.OnOk();
        };
    };
    f.dialogs.Then<CBlockPropertySheet>(rename(" Очередь "));
    f.Editor().SelectBlock(queue);
    f.Editor().GetAction(CModelEditorDlg::kBlockProperties).trigger();
    QCOMPARE(queue.GetName(), std::string("Очередь"));
    QCOMPARE(f.Window(queue).GetRowText(0), QStringLiteral("Очередь"));
    // A refused name keeps the sheet open and the block as it was.
    f.dialogs.Then<CBlockPropertySheet>(rename("Прибор"));
    f.Editor().GetAction(CModelEditorDlg::kBlockProperties).trigger();
    QCOMPARE(f.messages.Texts(), QStringList{"Блок с таким именем уже существует."});
    QCOMPARE(queue.GetName(), std::string("Очередь"));
    QCOMPARE(f.dialogs.Titles(), (QStringList{"Свойства очереди", "Свойства очереди"}));
    QVERIFY(f.Editor().GetPalette().isEnabled());
}

void ModelEditorTest::selectsChangesAndDeletesLinks() {
    SEditorFixture f;
    CModelEditorDlg& editor = f.Editor();
    {
        const std::unique_ptr<QMenu> pMenu = editor.CreateBackgroundMenu(QPoint(400, 400));
        QCOMPARE(pMenu->actions()[0]->text(), QStringLiteral("&Вставить"));
        QVERIFY(!pMenu->actions()[0]->isEnabled());
        QCOMPARE(pMenu->actions()[1]->text(), QStringLiteral("&Свойства ..."));
    }
    BuildLine(f);
    const CBlockList& blocks = editor.GetModel().GetBlocks();
    CBlockDlg& queue = *blocks[1];
    CBlockDlg& device = *blocks[2];
    const SLinkPath path = *f.Diagram().PathOf({&queue, 0, &device});
    const QPoint ptOnLink = (path.ptSlantFrom + path.ptSlantTo) / 2;

    // A click on the empty background changes nothing; one on the link selects it.
    editor.SelectBlock(queue);
    QVERIFY(!editor.HitTestLink(QPoint(300, 400)));
    QVERIFY(queue.IsSelected());
    QTest::mouseClick(f.Diagram().viewport(), Qt::LeftButton, Qt::NoModifier, ptOnLink);
    QCOMPARE(editor.GetSelectedLink(), (SDiagramLink{&queue, 0, &device}));
    QVERIFY(!queue.IsSelected());
    QVERIFY(Enabled(editor, CModelEditorDlg::kChangeLink));
    QVERIFY(!Enabled(editor, CModelEditorDlg::kCopy));
    // Selecting a block drops the link.
    editor.SelectBlock(device);
    QVERIFY(!editor.GetSelectedLink().IsSet());
    QVERIFY(!Enabled(editor, CModelEditorDlg::kChangeLink));

    // Double-click on the link: "Изменить блок приемник" relinks it.
    CBlockDlg& spare = f.Add(3, {420, 200}, "Запас");
    f.dialogs.Then<CChangeInBlockDlg>([](CChangeInBlockDlg& dialog) {
        QCOMPARE(dialog.GetChoice().currentText(), QStringLiteral("Прибор"));
        dialog.GetChoice().setCurrentIndex(dialog.GetChoice().findText("Запас"));
        dialog.OnOk();
    });
    QTest::mouseDClick(f.Diagram().viewport(), Qt::LeftButton, Qt::NoModifier, ptOnLink);
    QCOMPARE(f.dialogs.Titles(), QStringList{"Изменить блок приемник"});
    QCOMPARE(queue.GetOutLink(0), &spare);
    QCOMPARE(editor.GetSelectedLink(), (SDiagramLink{&queue, 0, &spare}));

    editor.GetAction(CModelEditorDlg::kDeleteLink).trigger();
    QCOMPARE(queue.GetOutLink(0), nullptr);
    QVERIFY(!editor.GetSelectedLink().IsSet());
    QVERIFY(!Enabled(editor, CModelEditorDlg::kDeleteLink));
    QVERIFY(!editor.HitTestLink(ptOnLink));
}

void ModelEditorTest::scrollsInSteps() {
    SEditorFixture f;
    CDiagramView& diagram = f.Diagram();
    CBlockDlg& queue = f.Add(3, {100, 400}, "О");
    QScrollBar& bar = *diagram.verticalScrollBar();
    bar.triggerAction(QAbstractSlider::SliderSingleStepAdd);
    QCOMPARE(bar.value(), 1);
    QCOMPARE(f.Window(queue).pos(), QPoint(100, 380));
    QCOMPARE(queue.GetPosition(), (CPoint{100, 400}));

    bar.setValue(500);
    bar.triggerAction(QAbstractSlider::SliderSingleStepAdd);
    QCOMPARE(bar.value(), 500);
    QCOMPARE(f.Window(queue).pos(), QPoint(100, 400 - 500 * 20));

    f.Editor().resize(f.Editor().width(), f.Editor().height() + 300 - diagram.viewport()->height());
    QVERIFY(test::WaitUntil([&] { return diagram.viewport()->height() == 300; }));
    QCOMPARE(bar.pageStep(), 15);
    bar.setValue(495);
    bar.triggerAction(QAbstractSlider::SliderPageStepAdd);
    QCOMPARE(bar.value(), 500);
    bar.triggerAction(QAbstractSlider::SliderPageStepSub);
    QCOMPARE(bar.value(), 485);
    QCOMPARE(diagram.horizontalScrollBar()->maximum(), 250);
    QCOMPARE(diagram.ToDiagram(QPoint(0, 0)), (CPoint{0, 9700}));
}

void ModelEditorTest::savesUnderTheChosenName() {
    QTemporaryDir dir;
    SEditorFixture f;
    CModelEditorDlg& editor = f.Editor();
    BuildLine(f);
    const QString strFirst = dir.filePath(QStringLiteral("линия.mrd"));

    // Save on a new model asks for a name, proposing "Без имени.mrd".
    f.files.Answer(strFirst);
    editor.GetAction(CModelEditorDlg::kSave).trigger();
    QCOMPARE(f.files.Requests().size(), std::size_t{1});
    const SFileDialogRequest& request = f.files.Requests()[0];
    QVERIFY(request.bSave);
    QCOMPARE(request.strProposed, QStringLiteral("Без имени.mrd"));
    QCOMPARE(request.strFilter, QStringLiteral("Файлы \"Mardo\" (*.mrd)"));
    QCOMPARE(request.strDefaultSuffix, QStringLiteral("mrd"));
    QVERIFY(QFile::exists(strFirst));
    QVERIFY(editor.HasFile());
    QCOMPARE(editor.windowTitle(), QStringLiteral("линия.mrd") + kEditorTitle);
    // Saving again writes without asking.
    editor.GetAction(CModelEditorDlg::kSave).trigger();
    QCOMPARE(f.files.Requests().size(), std::size_t{1});
    // Save As names a model as one: "v1.2" is written as "v1.2.mrd".
    f.files.Answer(dir.filePath(QStringLiteral("v1.2")));
    editor.GetAction(CModelEditorDlg::kSaveAs).trigger();
    QVERIFY(QFile::exists(dir.filePath(QStringLiteral("v1.2.mrd"))));
    QCOMPARE(editor.windowTitle(), QStringLiteral("v1.2.mrd") + kEditorTitle);

    // New, answered Yes, saves to the file and leaves a model that has none.
    f.messages.Answer(EMessageAnswer::kYes);
    editor.GetAction(CModelEditorDlg::kNew).trigger();
    QCOMPARE(f.messages.Texts(), QStringList{"Сохранить текущую модель в файле?"});
    QCOMPARE(f.messages.Messages()[0].nButtons, EMessageButtons::kYesNoCancel);
    QCOMPARE(f.messages.Messages()[0].nIcon, EMessageIcon::kQuestion);
    QCOMPARE(editor.GetModel().GetBlockCount(), std::size_t{0});
    QVERIFY(!editor.HasFile());
    f.files.Answer(QString());
    editor.GetAction(CModelEditorDlg::kSave).trigger();
    QCOMPARE(f.files.Requests().size(), std::size_t{3});

    // Exit: No closes, Cancel does not, Yes with a cancelled name keeps the window open.
    f.messages.Clear();
    f.Add(3, {10, 10}, "О");
    f.messages.Answer(EMessageAnswer::kCancel);
    QVERIFY(!editor.close());
    f.messages.Answer(EMessageAnswer::kYes);
    f.files.Answer(QString());
    QVERIFY(!editor.close());
    QCOMPARE(editor.GetModel().GetBlockCount(), std::size_t{1});
    QCOMPARE(f.messages.Texts(), (QStringList{"Сохранить модель в файле?", "Сохранить модель в файле?"}));
    f.messages.Answer(EMessageAnswer::kNo);
    QVERIFY(editor.close());
}

void ModelEditorTest::opensFilesAndRejectsDamagedOnes() {
    QTemporaryDir dir;
    const QString strPath = dir.filePath(QStringLiteral("model.mrd"));
    SaveLine(strPath);
    SEditorFixture f;
    CModelEditorDlg& editor = f.Editor();
    f.Add(4, {10, 10}, "Старый");

    // Cancel in the file dialog: nothing is asked and nothing changes.
    editor.GetAction(CModelEditorDlg::kOpen).trigger();
    QVERIFY(f.messages.Messages().empty());
    QCOMPARE(editor.GetModel().GetBlockCount(), std::size_t{1});

    f.files.Answer(strPath);
    f.messages.Answer(EMessageAnswer::kNo);
    editor.GetAction(CModelEditorDlg::kOpen).trigger();
    const SFileDialogRequest& request = f.files.Requests()[1];
    QVERIFY(!request.bSave && request.strProposed.isEmpty());
    QCOMPARE(request.strFilter,
             QStringLiteral("Файлы \"Mardo\" (*.mrd);;Все файлы (*.*)"));
    QCOMPARE(f.messages.Texts(), QStringList{"Сохранить предыдущую модель в файле?"});
    QCOMPARE(f.messages.Messages()[0].nButtons, EMessageButtons::kYesNo);
    const CBlockList& blocks = editor.GetModel().GetBlocks();
    QCOMPARE(blocks.size(), std::size_t{4});
    QCOMPARE(blocks[1]->GetName(), std::string("Очередь"));
    QCOMPARE(blocks[0]->GetOutLink(0), blocks[1].get());
    QCOMPARE(blocks[2]->GetOutLink(0), blocks[3].get());
    QCOMPARE(f.Window(*blocks[2]).pos(), QPoint(420, 20));
    QCOMPARE(editor.GetSelectedBlock(), nullptr);
    QCOMPARE(EntryOf(editor.GetPalette(), "Терминатор"), -1);
    QCOMPARE(editor.windowTitle(), QStringLiteral("model.mrd") + kEditorTitle);
    QVERIFY(editor.HasFile());

    // One changed byte: the file is refused and an empty untitled model remains.
    QFile file(strPath);
    QVERIFY(file.open(QIODevice::ReadWrite));
    QByteArray bytes = file.readAll();
    bytes[20] = static_cast<char>(bytes[20] ^ 0x01);
    file.seek(0);
    file.write(bytes);
    file.close();
    f.messages.Clear();
    f.files.Answer(strPath);
    f.messages.Answer(EMessageAnswer::kNo);
    editor.GetAction(CModelEditorDlg::kOpen).trigger();
    QCOMPARE(f.messages.Texts(), (QStringList{"Сохранить предыдущую модель в файле?",
                                              "Неправильный формат открываемого файла!"}));
    QCOMPARE(f.messages.Messages()[1].nIcon, EMessageIcon::kError);
    QCOMPARE(editor.GetModel().GetBlockCount(), std::size_t{0});
    QCOMPARE(editor.windowTitle(), QStringLiteral("Без имени.mrd") + kEditorTitle);
    QVERIFY(!editor.HasFile());
    QVERIFY(EntryOf(editor.GetPalette(), "Терминатор") >= 0);
}

void ModelEditorTest::keepsTheModelWhenSavingFails() {
    QTemporaryDir dir;
    const QString strMissing = dir.filePath(QStringLiteral("нет/model.mrd"));
    SEditorFixture f;
    CModelEditorDlg& editor = f.Editor();
    BuildLine(f);

    f.files.Answer(strMissing);
    QVERIFY(!editor.OnSaveAs());
    QCOMPARE(f.messages.Texts(), QStringList{"Ошибка при сохранении модели."});
    QCOMPARE(f.messages.Messages()[0].nIcon, EMessageIcon::kError);
    QCOMPARE(editor.GetModelPath(), QStringLiteral("Без имени.mrd"));
    QVERIFY(!editor.HasFile());

    // Exit, New and Open whose save fails keep the window and the model.
    f.messages.Answer(EMessageAnswer::kYes);
    f.files.Answer(strMissing);
    QVERIFY(!editor.close());
    f.messages.Answer(EMessageAnswer::kYes);
    f.files.Answer(strMissing);
    editor.GetAction(CModelEditorDlg::kNew).trigger();
    f.files.Answer(dir.filePath(QStringLiteral("другая.mrd")));
    f.messages.Answer(EMessageAnswer::kYes);
    f.files.Answer(strMissing);
    editor.GetAction(CModelEditorDlg::kOpen).trigger();
    QCOMPARE(editor.GetModel().GetBlockCount(), std::size_t{4});
    QCOMPARE(f.Window(*editor.GetModel().GetBlocks()[0]).GetRowText(0),
             QStringLiteral("Генератор"));
    QCOMPARE(f.messages.Texts().count("Ошибка при сохранении модели."), 4);
    f.messages.Answer(EMessageAnswer::kNo);
    QVERIFY(editor.close());
}

void ModelEditorTest::fileDialogsOpenInTheModelsFolder() {
    QTemporaryDir dir;
    const QString strPath = dir.filePath(QStringLiteral("v1.2.mrd"));
    SaveLine(strPath);
    // Opened by a name relative to the folder the program started in, which then changes.
    const QString strStartFolder = QDir::currentPath();
    SEditorFixture f;
    QDir::setCurrent(dir.path());
    f.Editor().LoadFile(QStringLiteral("v1.2.mrd"));
    QDir::setCurrent(strStartFolder);

    QString strRunFile;
    f.Editor().SetRunHandler(
        [&](QWidget*, CModel&, const QString& strModelFile) { strRunFile = strModelFile; });
    f.Editor().GetAction(CModelEditorDlg::kRun).trigger();
    QCOMPARE(strRunFile, strPath);  // where its report is proposed
    QVERIFY(!f.Editor().OnSaveAs());
    QCOMPARE(f.files.Requests().at(0).strProposed, strPath);
}

// The last simulation's report opens from the main window, beside the diagram, until the next
// simulation, New or Open.
void ModelEditorTest::lastReportStaysAtHandUntilTheNextModel() {
    SEditorFixture f;
    CModelEditorDlg& editor = f.Editor();
    BuildLine(f);
    QVERIFY(!Enabled(editor, CModelEditorDlg::kLastReport));
    // The run window: Start without the report opening by itself, then close it.
    f.dialogs.Then<CModelStartDlg>([](CModelStartDlg& run) {
        run.show();
        run.findChild<QCheckBox*>()->setChecked(false);
        for (QPushButton* pButton : run.findChildren<QPushButton*>()) {
            if (pButton->text() == QStringLiteral("&Старт")) {
                pButton->click();
            }
        }
        QVERIFY(test::WaitUntil([&] { return run.IsIdle() && run.GetReport() != nullptr; }));
        run.close();
    });
    editor.GetAction(CModelEditorDlg::kRun).trigger();
    QVERIFY(Enabled(editor, CModelEditorDlg::kLastReport));
    editor.GetAction(CModelEditorDlg::kLastReport).trigger();
    QPointer<CReportDlg> pReport = editor.findChild<CReportDlg*>();
    QVERIFY(pReport != nullptr && pReport->isVisible() && !pReport->isModal());
    QCOMPARE(pReport->findChild<QTableView*>()->model()->rowCount(), 4);
    // Its fourth tab charts the queue and the device over model time.
    auto* pTabs = pReport->findChild<QTabWidget*>();
    QCOMPARE(pTabs->tabText(3), QStringLiteral("Графики"));
    pTabs->setCurrentIndex(3);
    auto* pCharts = pReport->findChild<CTraceChartsView*>();
    QCOMPARE(pCharts->GetChartCount(), 2);
    // The note asking for a tick shows only while no block is ticked, and the charts shown are
    // all of one height whatever was ticked before.
    QListWidget& blocks = pCharts->GetBlockList();
    const std::tuple<int, Qt::CheckState, int> ticks[] = {
        {0, Qt::Unchecked, 1}, {1, Qt::Unchecked, 0}, {1, Qt::Checked, 1}, {0, Qt::Checked, 2}};
    for (const auto& [nItem, nTick, nCharts] : ticks) {
        blocks.item(nItem)->setCheckState(nTick);
        QCOMPARE(pCharts->GetChartCount(), nCharts);
        QCOMPARE(pCharts->GetNote() != nullptr, nCharts == 0);
    }
    const auto charts = pCharts->GetCharts();
    QVERIFY(test::WaitUntil([&] { return charts[0]->isVisible() && charts[0]->height() == charts[1]->height(); }));
    // Every column of every table is seen whole (on a screen wide enough), and the title says
    // which simulation it was.
    for (int nTab = 0; nTab < 3; ++nTab) {
        pTabs->setCurrentIndex(nTab);
        const auto* pList = pReport->findChildren<QTableView*>().at(nTab);
        QVERIFY(test::WaitUntil([&] { return pList->isVisible(); }));
        QVERIFY(pList->horizontalHeader()->length() <= pList->viewport()->width() ||
                pReport->width() >= pReport->screen()->availableGeometry().width());
    }
    QVERIFY(pReport->windowTitle().contains(CModelEditorDlg::kUntitled));
    QVERIFY(pReport->windowTitle().contains(QStringLiteral("моделирование")));
    // The diagram can be edited meanwhile, and the report stays.
    QVERIFY(editor.isEnabled() && editor.GetDiagram().isEnabled());
    f.messages.Answer(EMessageAnswer::kNo);
    editor.GetAction(CModelEditorDlg::kNew).trigger();
    QVERIFY(!Enabled(editor, CModelEditorDlg::kLastReport));
    QVERIFY(pReport == nullptr);
}

// Each item of every menu is reached from the keyboard by a letter of its own within its menu.
void ModelEditorTest::everyMenuItemHasAMnemonicOfItsOwn() {
    SEditorFixture f;
    CReportDlg report(f.Editor().GetModel().GetBlocks(), 0, 0, "m.mrd", false);
    QStringList faults;
    std::function<void(const QList<QAction*>&)> check = [&](const QList<QAction*>& items) {
        QSet<QChar> letters;
        for (const QAction* pItem : items) {
            const QString strText = pItem->text();
            const qsizetype nAmp = strText.indexOf(QLatin1Char('&'));
            if (pItem->isSeparator()) {
                continue;
            }
            if (nAmp < 0 || nAmp + 1 >= strText.size() ||
                letters.contains(strText.at(nAmp + 1).toLower())) {
                faults << strText;
            } else {
                letters.insert(strText.at(nAmp + 1).toLower());
            }
            if (pItem->menu() != nullptr) {
                check(pItem->menu()->actions());
            }
        }
    };
    check(f.Editor().menuBar()->actions());
    check(report.findChild<QMenuBar*>()->actions());
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QStringLiteral(", "))));
}

void ModelEditorTest::seriesWindowKeepsItsSettingsUntilTheModelChanges() {
    SEditorFixture f;
    CModelEditorDlg& editor = f.Editor();
    BuildLine(f);
    QStringList seen;
    const auto open = [&](const QString& strTyped) {
        f.dialogs.Then<CSeriesDlg>([&seen, strTyped](CSeriesDlg& series) {
            auto* pEdit = series.findChild<QLineEdit*>(QStringLiteral("replications"));
            seen << pEdit->text();
            pEdit->setText(strTyped);
            series.close();
        });
        editor.GetAction(CModelEditorDlg::kSeries).trigger();
    };
    open(QStringLiteral("7"));
    open(QStringLiteral("8"));
    // An edit undone is another model too: the window starts afresh.
    editor.GetAction(CModelEditorDlg::kUndo).trigger();
    open(QStringLiteral("9"));
    QCOMPARE(seen, (QStringList{"10", "7", "10"}));
}

void ModelEditorTest::historyTakesEachEditAsOneStep() {
    SEditorFixture f;
    CModelEditorDlg& editor = f.Editor();
    QStringList menus;
    for (const QAction* pMenu : editor.menuBar()->actions()) {
        menus << pMenu->text();
    }
    QCOMPARE(menus.mid(0, 3), (QStringList{"&Файл", "&Правка", "&Вид"}));
    QAction& undo = editor.GetAction(CModelEditorDlg::kUndo);
    QAction& redo = editor.GetAction(CModelEditorDlg::kRedo);
    QVERIFY(!undo.isEnabled() && !redo.isEnabled());
    QCOMPARE(undo.text(), QStringLiteral("&Отменить"));
    BuildLine(f);
    const QUndoStack& history = editor.GetHistory();
    const int nSteps = history.count();
    CBlockDlg& queue = *editor.GetModel().BlockAt(1);
    CBlockDlg& device = *editor.GetModel().BlockAt(2);

    // A drag from press to release is one step, however many moves it takes.
    CBlockWindow& window = f.Window(queue);
    QTest::mousePress(&window, Qt::LeftButton, Qt::NoModifier, QPoint(20, 5));
    for (int i = 1; i <= 5; ++i) {
        SendMouseMove(window, QPoint(20 + 10 * i, 5 + 20 * i), Qt::LeftButton);
    }
    QTest::mouseRelease(&window, Qt::LeftButton, Qt::NoModifier, QPoint(70, 105));
    QCOMPARE(history.count(), nSteps + 1);
    const CPoint ptMoved = queue.GetPosition();
    QVERIFY(ptMoved != (CPoint{220, 20}));
    QCOMPARE(undo.text(), QStringLiteral("&Отменить: перемещение блока «Очередь»"));
    undo.trigger();
    QCOMPARE(queue.GetPosition(), (CPoint{220, 20}));
    QCOMPARE(window.pos(), QPoint(220, 20));
    QCOMPARE(redo.text(), QStringLiteral("&Повторить: перемещение блока «Очередь»"));
    redo.trigger();
    QCOMPARE(window.pos(), QPoint(ptMoved.x, ptMoved.y));

    // A sheet's OK is one step, and none when nothing changed.
    f.dialogs.Then<CBlockPropertySheet>([](CBlockPropertySheet& sheet) { sheet.OnOk(); });
    editor.EditBlockProperties(queue);
    QCOMPARE(history.count(), nSteps + 1);
    f.dialogs.Then<CBlockPropertySheet>([](CBlockPropertySheet& sheet) {
        sheet.show();
        dynamic_cast<CBlockPage&>(sheet.GetPage(0)).GetNameEdit().setText(QStringLiteral("Буфер"));
        sheet.OnOk();
    });
    editor.EditBlockProperties(queue);
    QCOMPARE(history.count(), nSteps + 2);
    QCOMPARE(undo.text(), QStringLiteral("&Отменить: свойства блока «Очередь»"));
    undo.trigger();
    QCOMPARE(f.Window(queue).GetRowText(0), QStringLiteral("Очередь"));

    // The Delete key removes the block with its links; undone, they all come back.
    editor.SelectBlock(device);
    QTest::keyClick(&editor, Qt::Key_Delete);
    QCOMPARE(editor.GetModel().GetBlockCount(), std::size_t{3});
    QCOMPARE(queue.GetOutLink(0), nullptr);
    QCOMPARE(undo.text(), QStringLiteral("&Отменить: удаление блока «Прибор»"));
    QTest::keyClick(&editor, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(editor.GetModel().BlockAt(2), &device);
    QCOMPARE(queue.GetOutLink(0), &device);
    QCOMPARE(device.GetOutLink(0), editor.GetModel().BlockAt(3));
    QVERIFY(f.Diagram().WindowOf(device) != nullptr);
    QTest::keyClick(&editor, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(editor.GetModel().GetBlockCount(), std::size_t{3});
    // The same key deletes a selected link.
    CBlockDlg& generator = *editor.GetModel().BlockAt(0);
    editor.SelectLink({&generator, 0, &queue});
    QTest::keyClick(&editor, Qt::Key_Delete);
    QCOMPARE(generator.GetOutLink(0), nullptr);
    QCOMPARE(undo.text(), QStringLiteral("&Отменить: удаление связи «Генератор» → «Очередь»"));

    // Saving keeps the history; a new model starts an empty one.
    f.messages.Answer(EMessageAnswer::kNo);
    editor.OnNew();
    QVERIFY(!undo.isEnabled() && !redo.isEnabled());
    QCOMPARE(redo.text(), QStringLiteral("&Повторить"));
}

void ModelEditorTest::exportsTheWholeDiagram() {
    SEditorFixture f;
    BuildLine(f);
    // Far beyond what the window shows.
    f.Add(3, {3000, 2000}, "Дальняя");
    QTemporaryDir folder;
    const QString strPng = folder.filePath(QStringLiteral("схема.png"));
    const QString strSvg = folder.filePath(QStringLiteral("схема.svg"));
    QCOMPARE(f.Editor().ExportDiagram(strPng), QString());
    QCOMPARE(f.Editor().ExportDiagram(strSvg), QString());
    const QImage image(strPng);
    QVERIFY(image.width() > 3000 - 20 && image.height() > 2000);
    QFile svg(strSvg);
    QVERIFY(svg.open(QIODevice::ReadOnly));
    const QString strText = QString::fromUtf8(svg.readAll());
    for (const char* pszName : {"Генератор", "Выход", "Дальняя"}) {
        QVERIFY2(strText.contains(QString::fromUtf8(pszName)), pszName);
    }
}

QTEST_MAIN(ModelEditorTest)
#include "ModelEditorTest.moc"
