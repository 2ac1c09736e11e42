// The pages of the block sheets other than the flow law and the outputs: generator, priority,
// queue and awaited transacts; how a sheet validates them and writes them back; and the model's
// sheet of experiment conditions.

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QRadioButton>
#include <QtTest>

#include "EditorFixture.h"
#include "SheetFixture.h"
#include "core/model/DeviceDlg.h"
#include "core/model/GatherDlg.h"
#include "core/model/MultiDeviceDlg.h"
#include "core/model/GenerateDlg.h"
#include "core/model/Model.h"
#include "core/model/QueueDlg.h"
#include "core/persist/Error.h"
#include "core/persist/ModelFile.h"
#include "gui/props/BlockPage.h"
#include "gui/props/BlockSheetEditor.h"
#include "gui/props/CheckedField.h"
#include "gui/props/ExperimentPage.h"
#include "gui/props/FlowPage.h"
#include "gui/props/GeneratePage.h"
#include "gui/props/PriorityPage.h"
#include "gui/props/QueuePage.h"
#include "gui/props/RadioGroup.h"
#include "gui/props/WaitTransactPage.h"
#include "gui/props/ChannelsPage.h"

using namespace mardo;
using namespace mardo::test;

namespace {

// A model whose blocks' sheets open through the block editor, as the main window opens them.
struct SModelSheets {
    CModel model;
    CBlockSheetEditor editor{nullptr};
    CDialogScript dialogs;
    CMessageRecorder messages;

    template <typename TBlock>
    TBlock& Add(const char* pszName) {
        auto& block = model.Add<TBlock>();
        block.SetName(pszName);
        return block;
    }
    bool Edit(CBlockDlg& block) { return block.EditProperties(editor, model.GetBlocks()); }
};

}  // namespace

class BlockPagesTest : public QObject {
    Q_OBJECT

private slots:
    void generatorRowsFollowTheirBoxes();
    void generatorValidatesCheckedRowsOnly();
    void priorityValueCountsOnlyWhenItChanges();
    void queueLimitAndDiscipline();
    void sheetWritesBackOnOkOnly();
    void firstInvalidPageInTabOrderIsTheOneShown();
    void pageNeverShownKeepsItsValues();
    void refusedNumbersAreNotTakenOver();
    void multichannelSheetSetsLawChannelsAndPriority();
    void experimentPageRangesAndRule();
    void modelSheetOpensFromThreePlaces();
};

void BlockPagesTest::generatorRowsFollowTheirBoxes() {
    SSheetFixture f;
    CGenerateParams params;
    params.m_bLimit = 1;
    params.m_nLimit = 40;
    params.m_nDelay = 7;
    CGeneratePage& page = f.Add<CGeneratePage>(params);
    f.Show(page);
    CCheckedField& delay = page.GetRow(CGeneratePage::kDelay);
    CCheckedField& limit = page.GetRow(CGeneratePage::kLimit);
    QVERIFY(!delay.GetCheck().isChecked() && !delay.GetField().isEnabled());
    QVERIFY(limit.GetCheck().isChecked() && limit.GetField().isEnabled());
    QCOMPARE(TextOf(delay.GetField()), QStringLiteral("7"));
    QCOMPARE(TextOf(limit.GetField()), QStringLiteral("40"));

    // A box flips its flag and its field at once; the arrows write the copy and the text.
    delay.GetCheck().click();
    QCOMPARE(page.GetParams().m_bDelay, 1);
    QVERIFY(delay.GetField().isEnabled());
    delay.GetField().GetSpin().stepUp();
    QCOMPARE(page.GetParams().m_nDelay, 8);
    QCOMPARE(TextOf(delay.GetField()), QStringLiteral("8"));
    QTest::keyClick(&delay.GetField().GetEdit(), Qt::Key_Up);  // the arrow key moves the spin
    QCOMPARE(TextOf(delay.GetField()), QStringLiteral("9"));
    QTest::keyClick(&delay.GetField().GetEdit(), Qt::Key_Down);
    limit.GetCheck().click();
    QCOMPARE(page.GetParams().m_bLimit, 0);
    QVERIFY(!limit.GetField().isEnabled());

    // Typed text waits for validation.
    Type(delay.GetField(), QStringLiteral("12"));
    QCOMPARE(page.GetParams().m_nDelay, 8);
    QVERIFY(page.Validate());
    QCOMPARE(page.GetParams().m_nDelay, 12);
}

void BlockPagesTest::generatorValidatesCheckedRowsOnly() {
    SSheetFixture f;
    CGeneratePage& page = f.Add<CGeneratePage>(CGenerateParams{});
    f.Show(page);
    CCheckedField& delay = page.GetRow(CGeneratePage::kDelay);
    CCheckedField& limit = page.GetRow(CGeneratePage::kLimit);
    CCheckedField& priority = page.GetRow(CGeneratePage::kPriority);
    Type(delay.GetField(), QStringLiteral("x"));
    Type(limit.GetField(), QStringLiteral("0"));
    Type(priority.GetField(), QStringLiteral("1001"));
    QVERIFY(page.Validate());  // no box checked: nothing is read
    QVERIFY(f.messages.Messages().empty());

    priority.GetCheck().click();
    limit.GetCheck().click();
    QVERIFY(!page.Validate());
    QCOMPARE(f.messages.Texts(), QStringList{RangeText(1, 10000)});  // the limit comes first
    QCOMPARE(f.sheet.focusWidget(), &limit.GetField().GetEdit());
    Type(limit.GetField(), QStringLiteral("10000"));
    QVERIFY(!page.Validate());
    QCOMPARE(f.messages.Texts().last(), RangeText(0, 1000));
    Type(priority.GetField(), QStringLiteral(" 1000 "));
    QVERIFY(page.Validate());
    QCOMPARE(page.GetParams().m_nLimit, 10000);
    QCOMPARE(page.GetParams().m_nPriority, 1000);
    QCOMPARE(page.GetParams().m_nDelay, 0);  // unchecked: keeps its value
}

void BlockPagesTest::priorityValueCountsOnlyWhenItChanges() {
    SSheetFixture f;
    CPriorityPage& page = f.Add<CPriorityPage>(CPriorityChange{CPriorityChange::kLower, 30});
    f.Show(page);
    CRadioGroup& modes = page.GetModes();
    QCOMPARE(modes.GetChecked(), int(CPriorityChange::kLower));
    QVERIFY(page.GetValueLabel().isEnabled() && page.GetValueField().isEnabled());
    QCOMPARE(TextOf(page.GetValueField()), QStringLiteral("30"));

    modes.GetButton(CPriorityChange::kUnchanged).click();
    QCOMPARE(page.GetPriority().m_nMode, int(CPriorityChange::kUnchanged));
    QVERIFY(!page.GetValueLabel().isEnabled() && !page.GetValueField().isEnabled());
    Type(page.GetValueField(), QStringLiteral("-1"));
    QVERIFY(page.Validate());
    QCOMPARE(page.GetPriority().m_nValue, 30);

    modes.GetButton(CPriorityChange::kRaise).click();
    QVERIFY(page.GetValueField().isEnabled());
    QVERIFY(!page.Validate());
    QCOMPARE(f.messages.Texts(), QStringList{RangeText(0, 1000)});
    Type(page.GetValueField(), QString());  // empty reads as 0, which this range allows
    QVERIFY(page.Validate());
    QCOMPARE(page.GetPriority(), (CPriorityChange{CPriorityChange::kRaise, 0}));
}

void BlockPagesTest::queueLimitAndDiscipline() {
    SSheetFixture f;
    CQueuePage& page = f.Add<CQueuePage>(CQueueParams{CQueueParams::kPriority, 0, 5});
    f.Show(page);
    QCOMPARE(page.GetDiscipline().count(), 4);
    QCOMPARE(page.GetDiscipline().currentText(), QStringLiteral("Выбор из очереди по приоритету"));
    page.GetDiscipline().setCurrentIndex(CQueueParams::kLifo);
    QCOMPARE(page.GetParams().m_nDiscipline, int(CQueueParams::kLifo));

    CCheckedField& limit = page.GetLimit();
    QVERIFY(!limit.GetField().isEnabled());
    Type(limit.GetField(), QStringLiteral("много"));
    QVERIFY(page.Validate());
    limit.GetCheck().click();
    QVERIFY(!page.Validate());
    QCOMPARE(f.messages.Texts(), QStringList{kNotNumeric});
    Type(limit.GetField(), QStringLiteral("20001"));
    QVERIFY(!page.Validate());
    QCOMPARE(f.messages.Texts().last(), RangeText(1, 20000));
    Type(limit.GetField(), QStringLiteral("20000"));
    QVERIFY(page.Validate());
    QCOMPARE(page.GetParams(), (CQueueParams{CQueueParams::kLifo, 1, 20000}));
}

void BlockPagesTest::sheetWritesBackOnOkOnly() {
    SModelSheets m;
    auto& generator = m.Add<CGenerateDlg>("Поток");

    // Cancel after the arrows were moved leaves the block as it was.
    m.dialogs.Then<CBlockPropertySheet>([](CBlockPropertySheet& sheet) {
        QCOMPARE(sheet.windowTitle(), QStringLiteral("Свойства генератора"));
        QCOMPARE(sheet.GetPageCount(), 3);
        sheet.show();
        // Ready for typing the name.
        QCOMPARE(sheet.focusWidget(), &dynamic_cast<CBlockPage&>(sheet.GetPage(0)).GetNameEdit());
        auto& page = dynamic_cast<CGeneratePage&>(sheet.GetPage(1));
        sheet.SetActivePage(page);
        page.GetRow(CGeneratePage::kDelay).GetCheck().click();
        page.GetRow(CGeneratePage::kDelay).GetField().GetSpin().stepUp();
        sheet.reject();
    });
    QVERIFY(!m.Edit(generator));
    QCOMPARE(generator.m_params, CGenerateParams{});

    // OK takes the typed values of every page.
    m.dialogs.Then<CBlockPropertySheet>([](CBlockPropertySheet& sheet) {
        sheet.show();
        auto& params = dynamic_cast<CGeneratePage&>(sheet.GetPage(1));
        auto& law = dynamic_cast<CFlowPage&>(sheet.GetPage(2));
        sheet.SetActivePage(params);
        params.GetRow(CGeneratePage::kPriority).GetCheck().click();
        Type(params.GetRow(CGeneratePage::kPriority).GetField(), QStringLiteral("700"));
        sheet.SetActivePage(law);
        law.GetKindChoice().setCurrentIndex(CFlowLaw::kUniform);
        Type(law.GetMinField(), QStringLiteral("2"));
        Type(law.GetMaxField(), QStringLiteral("9"));
        sheet.OnOk();
    });
    QVERIFY(m.Edit(generator));
    QVERIFY(m.messages.Messages().empty());
    QCOMPARE(generator.m_params.m_bPriority, 1);
    QCOMPARE(generator.m_params.m_nPriority, 700);
    QCOMPARE(generator.m_law, CFlowLaw(CFlowLaw::kUniform, 2, 9));
    QCOMPARE(generator.GetName(), std::string("Поток"));
}

void BlockPagesTest::firstInvalidPageInTabOrderIsTheOneShown() {
    SModelSheets m;
    auto& queue = m.Add<CQueueDlg>("Очередь");
    m.dialogs.Then<CBlockPropertySheet>([&messages = m.messages](CBlockPropertySheet& sheet) {
        sheet.show();
        auto& params = dynamic_cast<CQueuePage&>(sheet.GetPage(1));
        auto& priority = dynamic_cast<CPriorityPage&>(sheet.GetPage(2));
        sheet.SetActivePage(priority);
        priority.GetModes().GetButton(CPriorityChange::kRaise).click();
        Type(priority.GetValueField(), QStringLiteral("5000"));
        sheet.SetActivePage(params);
        params.GetLimit().GetCheck().click();
        Type(params.GetLimit().GetField(), QStringLiteral("0"));
        sheet.SetActivePage(sheet.GetPage(0));

        sheet.OnOk();
        QCOMPARE(messages.Texts(), QStringList{RangeText(1, 20000)});
        QCOMPARE(sheet.GetActivePage(), &params);
        QCOMPARE(sheet.result(), int(QDialog::Rejected));
        Type(params.GetLimit().GetField(), QStringLiteral("3"));
        sheet.OnOk();
        QCOMPARE(messages.Texts().last(), RangeText(0, 1000));
        QCOMPARE(sheet.GetActivePage(), &priority);
        sheet.reject();
    });
    QVERIFY(!m.Edit(queue));
    QCOMPARE(queue.m_params, CQueueParams{});
    QCOMPARE(queue.m_priority, CPriorityChange{});
}

void BlockPagesTest::pageNeverShownKeepsItsValues() {
    SModelSheets m;
    auto& gather = m.Add<CGatherDlg>("Сбор");
    gather.m_nWaitCount = 0;  // a model file may hold it; the page would refuse it
    gather.m_priority = {CPriorityChange::kRaise, 20};
    m.dialogs.Then<CBlockPropertySheet>([](CBlockPropertySheet& sheet) {
        QCOMPARE(sheet.windowTitle(), QStringLiteral("Свойства ожидающего блока"));
        sheet.show();
        auto& priority = dynamic_cast<CPriorityPage&>(sheet.GetPage(2));
        sheet.SetActivePage(priority);
        priority.GetValueField().GetSpin().stepUp();
        sheet.OnOk();
    });
    QVERIFY(m.Edit(gather));
    QCOMPARE(gather.m_nWaitCount, 0);
    QCOMPARE(gather.m_priority, (CPriorityChange{CPriorityChange::kRaise, 21}));

    // Once shown, the count is read and must be corrected.
    m.dialogs.Then<CBlockPropertySheet>([&messages = m.messages](CBlockPropertySheet& sheet) {
        sheet.show();
        auto& page = dynamic_cast<CWaitTransactPage&>(sheet.GetPage(1));
        sheet.SetActivePage(page);
        QCOMPARE(TextOf(page.GetField()), QStringLiteral("0"));
        sheet.OnOk();
        QCOMPARE(messages.Texts(), QStringList{RangeText(1, 10000)});
        Type(page.GetField(), QStringLiteral("3"));
        sheet.OnOk();
    });
    QVERIFY(m.Edit(gather));
    QCOMPARE(gather.m_nWaitCount, 3);
}

void BlockPagesTest::multichannelSheetSetsLawChannelsAndPriority() {
    SModelSheets m;
    auto& device = m.Add<CMultiDeviceDlg>("Банк");
    m.dialogs.Then<CBlockPropertySheet>([&messages = m.messages](CBlockPropertySheet& sheet) {
        QCOMPARE(sheet.windowTitle(), QStringLiteral("Свойства многоканального устройства"));
        sheet.show();
        auto& law = dynamic_cast<CFlowPage&>(sheet.GetPage(1));
        auto& channels = dynamic_cast<CChannelsPage&>(sheet.GetPage(2));
        auto& priority = dynamic_cast<CPriorityPage&>(sheet.GetPage(3));
        QCOMPARE(channels.GetTitle(), QStringLiteral("Каналы обслуживания"));
        sheet.SetActivePage(law);
        Type(law.GetMinField(), QStringLiteral("4"));
        sheet.SetActivePage(channels);
        QCOMPARE(TextOf(channels.GetField()), QStringLiteral("2"));
        Type(channels.GetField(), QStringLiteral("1001"));
        sheet.OnOk();
        QCOMPARE(messages.Texts(), QStringList{RangeText(1, 1000)});
        QCOMPARE(sheet.GetActivePage(), &channels);
        Type(channels.GetField(), QStringLiteral("3"));
        sheet.SetActivePage(priority);
        priority.GetModes().GetButton(CPriorityChange::kLower).click();
        Type(priority.GetValueField(), QStringLiteral("7"));
        sheet.OnOk();
    });
    QVERIFY(m.Edit(device));
    QCOMPARE(device.m_nChannels, 3);
    QCOMPARE(device.m_law.m_nMin, 4);
    QCOMPARE(device.m_priority, (CPriorityChange{CPriorityChange::kLower, 7}));
}

void BlockPagesTest::refusedNumbersAreNotTakenOver() {
    SModelSheets m;
    auto& queue = m.Add<CQueueDlg>("Очередь");
    auto& device = m.Add<CDeviceDlg>("Прибор");
    device.m_law = CFlowLaw(CFlowLaw::kUniform, 2, 9);

    // Each number is refused, its field is then switched off, and OK takes the sheet.
    m.dialogs.Then<CBlockPropertySheet>([](CBlockPropertySheet& sheet) {
        sheet.show();
        auto& params = dynamic_cast<CQueuePage&>(sheet.GetPage(1));
        auto& priority = dynamic_cast<CPriorityPage&>(sheet.GetPage(2));
        sheet.SetActivePage(priority);
        priority.GetModes().GetButton(CPriorityChange::kRaise).click();
        Type(priority.GetValueField(), QStringLiteral("1001"));
        sheet.SetActivePage(params);
        params.GetLimit().GetCheck().click();
        Type(params.GetLimit().GetField(), QStringLiteral("20001"));
        sheet.OnOk();
        params.GetLimit().GetCheck().click();
        sheet.OnOk();
        priority.GetModes().GetButton(CPriorityChange::kUnchanged).click();
        sheet.OnOk();
    });
    QVERIFY(m.Edit(queue));
    m.dialogs.Then<CBlockPropertySheet>([](CBlockPropertySheet& sheet) {
        sheet.show();
        auto& law = dynamic_cast<CFlowPage&>(sheet.GetPage(1));
        sheet.SetActivePage(law);
        Type(law.GetMaxField(), QStringLiteral("10001"));
        sheet.OnOk();
        law.GetKindChoice().setCurrentIndex(CFlowLaw::kDeterministic);
        sheet.OnOk();
    });
    QVERIFY(m.Edit(device));
    QCOMPARE(m.messages.Texts(),
             (QStringList{RangeText(1, 20000), RangeText(0, 1000), RangeText(1, 10000)}));
    QCOMPARE(queue.m_params, (CQueueParams{CQueueParams::kFifo, 0, 1}));
    QCOMPARE(queue.m_priority, CPriorityChange{});
    QCOMPARE(device.m_law, CFlowLaw(CFlowLaw::kDeterministic, 2, 9));

    // What the sheets took over, the model file takes back.
    CModel reopened;
    try {
        ReadModelBytes(reopened, WriteModelBytes(m.model).value());
    } catch (const CError&) {
        QFAIL("the saved model is refused by its reader");
    }
    QCOMPARE(reopened.GetBlockCount(), std::size_t{2});
}

void BlockPagesTest::experimentPageRangesAndRule() {
    {
        SSheetFixture f;
        CExperimentPage& page = f.Add<CExperimentPage>(CExperimentParams{});
        f.Show(page);
        QCOMPARE(page.GetStopRules().GetChecked(), int(CExperimentParams::kByTime));
        QCOMPARE(TextOf(page.GetValueField()), QStringLiteral("1"));
        QCOMPARE(TextOf(page.GetRunsField()), QStringLiteral("1"));
        page.GetStopRules().GetButton(CExperimentParams::kByCount).click();
        QCOMPARE(page.GetParams().nStopRule, int(CExperimentParams::kByCount));
        QVERIFY(page.GetValueField().isEnabled());
        for (const char* pszText : {"30001", "0"}) {
            Type(page.GetValueField(), QString::fromUtf8(pszText));
            QVERIFY(!page.Validate());
            QCOMPARE(f.messages.Texts().last(), RangeText(1, 30000));
        }
        Type(page.GetValueField(), QStringLiteral("30000"));
        Type(page.GetRunsField(), QStringLiteral("30001"));
        QVERIFY(!page.Validate());
        Type(page.GetRunsField(), QStringLiteral("12"));
        QVERIFY(page.Validate());
        QCOMPARE(page.GetParams(), (CExperimentParams{CExperimentParams::kByCount, 30000, 12}));
    }
    {
        // Conditions read from a file may hold 0: shown as they are, refused until corrected.
        SSheetFixture f;
        CExperimentPage& page = f.Add<CExperimentPage>(CExperimentParams{7, 0, 0});
        f.Show(page);
        QCOMPARE(page.GetStopRules().GetChecked(), -1);
        QCOMPARE(TextOf(page.GetValueField()), QStringLiteral("0"));
        QCOMPARE(TextOf(page.GetRunsField()), QStringLiteral("0"));
        QCOMPARE(page.GetParams().nStopValue, 0);
        QVERIFY(!page.Validate());
        QCOMPARE(f.messages.Texts(), QStringList{RangeText(1, 30000)});
    }
}

void BlockPagesTest::modelSheetOpensFromThreePlaces() {
    SEditorFixture f;
    CModelEditorDlg& editor = f.Editor();
    CExperimentParams& conditions = editor.GetModel().m_experiment;
    const auto setValue = [&editor](const char* pszValue, bool bOk) {
        return [&editor, pszValue, bOk](CBlockPropertySheet& sheet) {
            QCOMPARE(sheet.windowTitle(), QStringLiteral("Свойства модели"));
            QCOMPARE(sheet.GetPageCount(), 1);
            QCOMPARE(sheet.GetPage(0).GetTitle(), QStringLiteral("Условия эксперимента"));
            QVERIFY(!editor.GetPalette().isEnabled());
            sheet.show();
            auto& page = dynamic_cast<CExperimentPage&>(sheet.GetPage(0));
            page.GetValueField().GetSpin().stepUp();
            Type(page.GetValueField(), QString::fromUtf8(pszValue));
            if (bOk) {
                sheet.OnOk();
            } else {
                sheet.reject();
            }
        };
    };
    QVERIFY(editor.GetAction(CModelEditorDlg::kModelProperties).isEnabled());
    f.dialogs.Then<CBlockPropertySheet>(setValue("500", true));
    editor.GetAction(CModelEditorDlg::kModelProperties).trigger();
    QCOMPARE(conditions.nStopValue, 500);
    QVERIFY(editor.GetPalette().isEnabled());

    f.dialogs.Then<CBlockPropertySheet>(setValue("600", false));
    editor.GetAction(CModelEditorDlg::kModelProperties).trigger();
    QCOMPARE(conditions.nStopValue, 500);

    f.dialogs.Then<CBlockPropertySheet>(setValue("700", true));
    const std::unique_ptr<QMenu> pMenu = editor.CreateBackgroundMenu(QPoint(400, 400));
    QVERIFY(pMenu->actions()[1]->isEnabled());
    pMenu->actions()[1]->trigger();
    QCOMPARE(conditions.nStopValue, 700);

    f.dialogs.Then<CBlockPropertySheet>(setValue("800", true));
    QTest::mouseDClick(f.Diagram().viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(400, 400));
    QCOMPARE(conditions.nStopValue, 800);
    QCOMPARE(f.dialogs.Titles().size(), 4);
}

QTEST_MAIN(BlockPagesTest)
#include "BlockPagesTest.moc"
