// The outputs of switching and copying blocks: the rule's page, the number of outputs, the
// values of each output with their dialogs, the candidate rule of state conditions, and what
// the sheet writes back into the block and its window.

#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QtTest>

#include "EditorFixture.h"
#include "SheetFixture.h"
#include "core/model/DeviceDlg.h"
#include "core/model/Model.h"
#include "core/model/QueueDlg.h"
#include "core/model/SplitDlg.h"
#include "core/model/TransferDlg.h"
#include "core/sim/TransferRule.h"
#include "gui/props/ChangeCountTransactDlg.h"
#include "gui/props/ChangeProbabilityDlg.h"
#include "gui/props/ChangeStateBlockDlg.h"
#include "gui/props/OutCountPage.h"
#include "gui/props/ProbabilityTrackbar.h"
#include "gui/props/RadioGroup.h"
#include "gui/props/SetOutPage.h"
#include "gui/props/StateCandidates.h"
#include "gui/props/TransferPage.h"

using namespace mardo;
using namespace mardo::test;

namespace {

QStringList Headers(const CReportList& list) {
    QStringList headers;
    for (int i = 0; i < list.columnCount(); ++i) {
        headers << list.headerItem()->text(i);
    }
    return headers;
}

QStringList ChoiceTexts(const QComboBox& choice) {
    QStringList texts;
    for (int i = 0; i < choice.count(); ++i) {
        texts << choice.itemText(i);
    }
    return texts;
}

// A switching block's sheet of pages, as the block editor builds it, over a model with a queue
// and a device to name in conditions.
struct SSwitchSheet {
    CModel model;
    CQueueDlg& queue = model.Add<CQueueDlg>();
    CDeviceDlg& device = model.Add<CDeviceDlg>();
    CTransferDlg& block = model.Add<CTransferDlg>();
    CTransferRule rule;
    SSheetFixture f{&block, &model.GetBlocks()};
    CTransferPage& kinds;
    COutCountPage& outputs;
    CSetOutPage& values;

    explicit SSwitchSheet(int nOutputs)
        : rule(nOutputs),
          kinds(f.Add<CTransferPage>(rule)),
          outputs(f.Add<COutCountPage>(nOutputs)),
          values(f.Add<CSetOutPage>(outputs, rule)) {
        queue.SetName("Q");
        device.SetName("D");
        block.SetName("Ключ");
    }
};

}  // namespace

class OutputPagesTest : public QObject {
    Q_OBJECT

private slots:
    void copyCountsFollowTheOutputCount();
    void switchingValuesByRuleKind();
    void probabilitiesNeverPassOne();
    void candidateRule();
    void stateDialogOffersAllowedStates();
    void conditionsAreStoredPerRow();
    void sheetResizesTheBlockAndItsWindow();
};

void OutputPagesTest::copyCountsFollowTheOutputCount() {
    SSheetFixture f;
    std::vector<std::int32_t> counts{2, 3};
    COutCountPage& outputs = f.Add<COutCountPage>(2);
    CSetOutPage& values = f.Add<CSetOutPage>(outputs, counts);
    CReportList& list = values.GetList();
    f.Show(values);
    QCOMPARE(Headers(list), (QStringList{"Выходы", "Количество транзактов"}));
    QCOMPARE(Column(list, 0), (QStringList{"Выход №01", "Выход №02"}));
    QCOMPARE(Column(list, 1), (QStringList{"2", "3"}));
    QCOMPARE(list.GetMarkedRow(), 0);

    f.Show(outputs);
    QCOMPARE(outputs.GetCountLabel().text(), QStringLiteral("2"));
    outputs.GetTrackbar().setValue(4);
    QCOMPARE(outputs.GetCount(), 4);
    QCOMPARE(outputs.GetCountLabel().text(), QStringLiteral("4"));
    f.Show(values);
    QCOMPARE(Column(list, 0), (QStringList{"Выход №01", "Выход №02", "Выход №03", "Выход №04"}));
    QCOMPARE(Column(list, 1), (QStringList{"2", "3", "1", "1"}));

    // A refused count keeps the dialog open; the one accepted goes into its row.
    list.MarkRow(2);
    f.dialogs.Then<CChangeCountTransactDlg>([&f](CChangeCountTransactDlg& dialog) {
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Изменить количество транзактов"));
        QCOMPARE(TextOf(dialog.GetField()), QStringLiteral("1"));
        Type(dialog.GetField(), QStringLiteral("1001"));
        dialog.OnOk();
        QCOMPARE(f.messages.Texts(), QStringList{RangeText(1, 1000)});
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        dialog.GetField().GetSpin().stepUp();
        dialog.OnOk();
    });
    QTest::mouseClick(&values.GetEditButton(), Qt::LeftButton);
    QCOMPARE(counts, (std::vector<std::int32_t>{2, 3, 2, 1}));
    QCOMPARE(list.GetCell(2, 1), QStringLiteral("2"));

    f.Show(outputs);
    outputs.GetTrackbar().setValue(1);
    f.Show(values);
    QCOMPARE(Column(list, 0), QStringList{"Выход"});
    QCOMPARE(counts, std::vector<std::int32_t>{2});
}

void OutputPagesTest::switchingValuesByRuleKind() {
    SSwitchSheet s(3);
    CReportList& list = s.values.GetList();
    s.f.Show(s.kinds);
    QCOMPARE(s.kinds.GetKinds().GetChecked(), int(CTransferRule::kEqual));
    s.f.Show(s.values);
    QCOMPARE(Headers(list), (QStringList{"Выходы", "Вероятность"}));
    QCOMPARE(Column(list, 1), (QStringList{"0.333", "0.333", "0.333"}));
    QVERIFY(!s.values.GetEditButton().isEnabled());
    s.values.OnEdit();
    QVERIFY(s.f.dialogs.Titles().isEmpty());

    // The rule's kind chosen on the first page shows at once on "Значение выходов".
    s.f.Show(s.kinds);
    s.kinds.GetKinds().GetButton(CTransferRule::kByState).click();
    QCOMPARE(s.rule.m_nKind, int(CTransferRule::kByState));
    s.f.Show(s.values);
    QCOMPARE(Headers(list), (QStringList{"Выходы", "Имя блока", "Состояние"}));
    QVERIFY(s.values.GetEditButton().isEnabled());
    QCOMPARE(Column(list, 1), (QStringList{"", "", ""}));

    // One more output: an empty condition, equal weights rebuilt.
    s.f.Show(s.outputs);
    s.outputs.GetTrackbar().setValue(4);
    s.f.Show(s.values);
    QCOMPARE(Column(list, 2), (QStringList{"", "", "", ""}));
    QCOMPARE(s.rule.m_weights, (std::vector<std::int32_t>{250, 250, 250, 250}));

    s.f.Show(s.kinds);
    s.kinds.GetKinds().GetButton(CTransferRule::kByProbability).click();
    s.f.Show(s.values);
    QCOMPARE(Headers(list), (QStringList{"Выходы", "Вероятность"}));
    QCOMPARE(Column(list, 1), (QStringList{"0.000", "0.000", "0.000", "0.000"}));
    QVERIFY(s.values.GetEditButton().isEnabled());
}

void OutputPagesTest::probabilitiesNeverPassOne() {
    SSwitchSheet s(2);
    s.rule.m_nKind = CTransferRule::kByProbability;
    s.rule.m_probabilities = {600, 300};
    CReportList& list = s.values.GetList();
    s.f.Show(s.values);
    QCOMPARE(Column(list, 1), (QStringList{"0.600", "0.300"}));

    // Row 2 may take what row 1 leaves: its own 0.300 and the free 0.100.
    list.MarkRow(1);
    s.f.dialogs.Then<CChangeProbabilityDlg>([](CChangeProbabilityDlg& dialog) {
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Изменить вероятность"));
        QCOMPARE(dialog.GetTrackbar().GetLabel().text(), QStringLiteral("0.300"));
        QCOMPARE(dialog.GetTrackbar().GetSlider().maximum(), 400);
        dialog.GetTrackbar().GetSlider().setValue(1000);
        QCOMPARE(dialog.GetTrackbar().GetLabel().text(), QStringLiteral("0.400"));
        dialog.OnOk();
    });
    emit list.rowDoubleClicked();
    QCOMPARE(s.rule.m_probabilities, (std::vector<std::int32_t>{600, 400}));
    QCOMPARE(list.GetCell(1, 1), QStringLiteral("0.400"));

    // Growing keeps the values and gives the new output nothing.
    s.f.Show(s.outputs);
    s.outputs.GetTrackbar().setValue(3);
    s.f.Show(s.values);
    QCOMPARE(Column(list, 1), (QStringList{"0.600", "0.400", "0.000"}));
    list.MarkRow(2);
    s.f.dialogs.Then<CChangeProbabilityDlg>([](CChangeProbabilityDlg& dialog) {
        QCOMPARE(dialog.GetTrackbar().GetSlider().maximum(), 0);
        dialog.reject();
    });
    s.values.OnEdit();
    QCOMPARE(s.rule.m_probabilities[2], 0);
}

void OutputPagesTest::candidateRule() {
    CModel model;
    CQueueDlg& queue = model.Add<CQueueDlg>();
    CDeviceDlg& device = model.Add<CDeviceDlg>();
    CTransferRule rule(3);
    const auto candidates = [&](int nRow) {
        return FindStateCandidates(model.GetBlocks(), rule, nRow);
    };
    using S = SStateCandidate;

    // Output 1 on Q "Свободен": output 2 may name Q "Занят" only.
    rule.m_conditionBlocks[0] = &queue;
    QCOMPARE(candidates(1), (std::vector<S>{{&queue, S::kBusyOnly}, {&device, S::kBoth}}));
    // The row's own block keeps both states while the other one is free.
    QCOMPARE(candidates(0), (std::vector<S>{{&queue, S::kBoth}, {&device, S::kBoth}}));

    // Both of Q's states used by other outputs: Q is not offered to output 2.
    rule.m_conditionBlocks[2] = &queue;
    rule.m_conditionStates[2] = CTransferRule::kBusy;
    QCOMPARE(candidates(1), (std::vector<S>{{&device, S::kBoth}}));
    QCOMPARE(candidates(0), (std::vector<S>{{&queue, S::kFreeOnly}, {&device, S::kBoth}}));
    QCOMPARE(candidates(2), (std::vector<S>{{&queue, S::kBusyOnly}, {&device, S::kBoth}}));

    // Only the busy state used: the free one is offered.
    rule.m_conditionBlocks[0] = &device;
    QCOMPARE(candidates(1), (std::vector<S>{{&queue, S::kFreeOnly}, {&device, S::kBusyOnly}}));
}

void OutputPagesTest::stateDialogOffersAllowedStates() {
    CModel model;
    CQueueDlg& queue = model.Add<CQueueDlg>();
    queue.SetName("Q");
    CDeviceDlg& device = model.Add<CDeviceDlg>();
    device.SetName("D");
    CDeviceDlg& unnamed = model.Add<CDeviceDlg>();
    CTransferDlg& other = model.Add<CTransferDlg>();
    other.SetName("K");
    using S = SStateCandidate;
    const std::vector<S> candidates{
        {&queue, S::kBusyOnly}, {&unnamed, S::kBoth}, {&other, S::kBoth}, {&device, S::kBoth}};

    CChangeStateBlockDlg dialog(candidates, &queue, CTransferRule::kFree);
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Изменить блок и его состояние"));
    QCOMPARE(ChoiceTexts(dialog.GetChoice()), (QStringList{"Нет блока", "Q", "D"}));
    QCOMPARE(dialog.GetChoice().currentIndex(), 1);
    CRadioGroup& states = dialog.GetStateGroup();
    QCOMPARE(states.title(), QStringLiteral("Состояние блока"));
    QVERIFY(!states.GetButton(CTransferRule::kFree).isEnabled());
    QVERIFY(states.GetButton(CTransferRule::kBusy).isEnabled());
    QCOMPARE(states.GetChecked(), int(CTransferRule::kBusy));
    QCOMPARE(dialog.GetState(), int(CTransferRule::kBusy));

    dialog.GetChoice().setCurrentIndex(0);
    QVERIFY(!states.isEnabled());
    QVERIFY(!states.GetButton(CTransferRule::kBusy).isEnabled());
    QCOMPARE(dialog.GetBlock(), nullptr);

    dialog.GetChoice().setCurrentIndex(2);
    QVERIFY(states.GetButton(CTransferRule::kFree).isEnabled());
    QVERIFY(states.GetButton(CTransferRule::kBusy).isEnabled());
    QCOMPARE(states.GetChecked(), int(CTransferRule::kBusy));  // the state it had
    states.GetButton(CTransferRule::kFree).click();
    QCOMPARE(dialog.GetState(), int(CTransferRule::kFree));
    QCOMPARE(dialog.GetBlock(), &device);

    // A row without a condition opens on "Нет блока".
    CChangeStateBlockDlg empty(candidates, nullptr, CTransferRule::kFree);
    QCOMPARE(empty.GetChoice().currentIndex(), 0);
    QVERIFY(!empty.GetStateGroup().isEnabled());
}

void OutputPagesTest::conditionsAreStoredPerRow() {
    SSwitchSheet s(2);
    s.rule.m_nKind = CTransferRule::kByState;
    s.rule.m_conditionBlocks[0] = &s.queue;
    CReportList& list = s.values.GetList();
    s.f.Show(s.values);
    QCOMPARE(Column(list, 1), (QStringList{"Q", ""}));
    QCOMPARE(Column(list, 2), (QStringList{"Свободен", ""}));

    list.MarkRow(1);
    s.f.dialogs.Then<CChangeStateBlockDlg>([&s](CChangeStateBlockDlg& dialog) {
        QCOMPARE(ChoiceTexts(dialog.GetChoice()), (QStringList{"Нет блока", "Q", "D"}));
        dialog.GetChoice().setCurrentIndex(1);
        QVERIFY(!dialog.GetStateGroup().GetButton(CTransferRule::kFree).isEnabled());
        dialog.OnOk();
        QCOMPARE(dialog.GetBlock(), &s.queue);
    });
    s.values.OnEdit();
    QCOMPARE(s.rule.m_conditionBlocks[1], &s.queue);
    QCOMPARE(s.rule.m_conditionStates[1], int(CTransferRule::kBusy));
    QCOMPARE(Column(list, 2), (QStringList{"Свободен", "Занят"}));

    // "Нет блока" clears the row.
    s.f.dialogs.Then<CChangeStateBlockDlg>([](CChangeStateBlockDlg& dialog) {
        dialog.GetChoice().setCurrentIndex(0);
        dialog.OnOk();
    });
    s.values.OnEdit();
    QCOMPARE(s.rule.m_conditionBlocks[1], nullptr);
    QCOMPARE(s.rule.m_conditionStates[1], int(CTransferRule::kFree));
    QCOMPARE(Column(list, 1), (QStringList{"Q", ""}));
    QCOMPARE(Column(list, 2), (QStringList{"Свободен", ""}));
}

void OutputPagesTest::sheetResizesTheBlockAndItsWindow() {
    SEditorFixture f;
    auto& block = static_cast<CTransferDlg&>(f.Add(4, {10, 10}, "Ключ"));
    CBlockDlg& queue = f.Add(3, {300, 10}, "Q");
    CBlockDlg& device = f.Add(2, {300, 200}, "D");
    block.SetOutLink(0, &queue);
    block.SetOutLink(1, &device);
    block.m_rule.m_nKind = CTransferRule::kByProbability;
    block.m_rule.m_probabilities = {700, 300};
    block.m_rule.m_conditionBlocks[1] = &queue;
    const auto setCount = [](int nCount, bool bOk) {
        return [nCount, bOk](CBlockPropertySheet& sheet) {
            QCOMPARE(sheet.windowTitle(), QStringLiteral("Свойства коммутирующего блока"));
            QCOMPARE(sheet.GetPageCount(), 5);
            sheet.show();
            auto& outputs = dynamic_cast<COutCountPage&>(sheet.GetPage(2));
            sheet.SetActivePage(outputs);
            outputs.GetTrackbar().setValue(nCount);
            if (bOk) {
                sheet.OnOk();
            } else {
                sheet.reject();
            }
        };
    };
    f.dialogs.Then<CBlockPropertySheet>(setCount(4, false));
    f.Editor().EditBlockProperties(block);
    QCOMPARE(block.GetOutputCount(), 2);

    f.dialogs.Then<CBlockPropertySheet>(setCount(4, true));
    f.Editor().EditBlockProperties(block);
    QCOMPARE(block.GetOutputCount(), 4);
    QCOMPARE(block.GetOutLink(0), &queue);
    QCOMPARE(block.GetOutLink(1), &device);
    QCOMPARE(block.GetOutLink(3), nullptr);
    QCOMPARE(block.m_rule.m_probabilities, (std::vector<std::int32_t>{700, 300, 0, 0}));
    QCOMPARE(block.m_rule.m_conditionBlocks,
             (std::vector<CBlockDlg*>{nullptr, &queue, nullptr, nullptr}));
    QCOMPARE(block.m_rule.m_weights, (std::vector<std::int32_t>{250, 250, 250, 250}));
    CBlockWindow& window = f.Window(block);
    QCOMPARE(window.GetRowCount(), 6);
    QCOMPARE(window.GetRowText(5), QStringLiteral("Выход №04"));
    QVERIFY(window.IsFitted());

    f.dialogs.Then<CBlockPropertySheet>(setCount(1, true));
    f.Editor().EditBlockProperties(block);
    QCOMPARE(block.GetOutputCount(), 1);
    QCOMPARE(block.GetOutLink(0), &queue);
    QCOMPARE(block.m_rule.GetOutputCount(), 1);
    QCOMPARE(window.GetRowText(2), QStringLiteral("Выход"));

    // A copying block: the counts follow the new number of outputs.
    auto& split = static_cast<CSplitDlg&>(f.Add(5, {10, 300}, "Копии"));
    split.m_copyCounts = {4, 5};
    f.dialogs.Then<CBlockPropertySheet>([](CBlockPropertySheet& sheet) {
        QCOMPARE(sheet.windowTitle(), QStringLiteral("Свойства копирующего блока"));
        sheet.show();
        auto& outputs = dynamic_cast<COutCountPage&>(sheet.GetPage(1));
        sheet.SetActivePage(outputs);
        outputs.GetTrackbar().setValue(3);
        sheet.OnOk();
    });
    f.Editor().EditBlockProperties(split);
    QCOMPARE(split.GetOutputCount(), 3);
    QCOMPARE(split.m_copyCounts, (std::vector<std::int32_t>{4, 5, 1}));
    QCOMPARE(f.Window(split).GetRowCount(), 5);
}

QTEST_MAIN(OutputPagesTest)
#include "OutputPagesTest.moc"
