// "Характеристика потока": the three kinds of law and what each shows, the interval table with
// its dialog and upper limits, the law's own messages, and the flow test button.

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QtTest>

#include "SheetFixture.h"
#include "gui/props/ChangeIntervalDlg.h"
#include "gui/props/FlowPage.h"
#include "gui/props/FlowTest.h"
#include "gui/props/PriorityPage.h"
#include "gui/props/ProbabilityTrackbar.h"

using namespace mardo;
using namespace mardo::test;

namespace {

const QString kMinAboveMax = QStringLiteral("Минимальное значение превысило максимальное.");
const QString kNoIntervals = QStringLiteral("Не существует интервалов.");
const QString kNotWhole =
    QStringLiteral("Полная вероятность всех интервалов должна быть равна единице.");

CFlowLaw SpecialLaw(std::initializer_list<CFlowLaw::SInterval> intervals) {
    CFlowLaw law(CFlowLaw::kSpecial, 1, 1);
    for (const CFlowLaw::SInterval& interval : intervals) {
        law.AddInterval(interval.m_nMin, interval.m_nMax, interval.m_nProbability);
    }
    return law;
}

// The interval dialog's step: checks the caption and the upper limit, sets the values and
// presses "O&K".
CDialogScript::CStep IntervalStep(const QString& strCaption, int nLimit, const char* pszMin,
                                  const char* pszMax, int nProbability) {
    return [=](QDialog& dialog) {
        auto& interval = dynamic_cast<CChangeIntervalDlg&>(dialog);
        QCOMPARE(interval.windowTitle(), strCaption);
        QCOMPARE(interval.GetTrackbar().GetSlider().maximum(), nLimit);
        Type(interval.GetMinField(), QString::fromUtf8(pszMin));
        Type(interval.GetMaxField(), QString::fromUtf8(pszMax));
        interval.GetTrackbar().GetSlider().setValue(nProbability);
        interval.OnOk();
    };
}

// Records the laws that the flow test was opened on.
class CFlowTestRecorder {
public:
    CFlowTestRecorder() {
        m_previous =
            SetFlowTestFunction([this](QWidget*, const CFlowLaw& law) { m_laws.push_back(law); });
    }
    ~CFlowTestRecorder() { SetFlowTestFunction(m_previous); }
    CFlowTestRecorder(const CFlowTestRecorder&) = delete;
    CFlowTestRecorder& operator=(const CFlowTestRecorder&) = delete;

    std::vector<CFlowLaw> m_laws;

private:
    CFlowTestFunction m_previous;
};

}  // namespace

class FlowPageTest : public QObject {
    Q_OBJECT

private slots:
    void eachKindShowsItsControls();
    void uniformLawNeedsMaximumNotBelowMinimum();
    void specialLawNeedsWholeProbability();
    void hiddenMinimumIsStillRead();
    void intervalRowsKeepTheirNumbers();
    void intervalDialogLimitsAndChecks();
    void testButtonChecksFirst();
    void keyboardAloneReachesPagesFieldsAndOk();
};

void FlowPageTest::eachKindShowsItsControls() {
    SSheetFixture f;
    CFlowPage& page = f.Add<CFlowPage>(CFlowLaw(CFlowLaw::kUniform, 4, 9));
    f.Show(page);
    QComboBox& kind = page.GetKindChoice();
    QCOMPARE(kind.count(), 3);
    QCOMPARE(kind.itemText(2), QStringLiteral("Специальный"));
    QCOMPARE(kind.currentIndex(), int(CFlowLaw::kUniform));
    QVERIFY(page.GetValueGroup().isVisible() && !page.GetIntervalGroup().isVisible());
    QVERIFY(page.GetMaxField().isEnabled() && page.GetMaxLabel().isEnabled());
    QCOMPARE(TextOf(page.GetMinField()), QStringLiteral("4"));
    QCOMPARE(TextOf(page.GetMaxField()), QStringLiteral("9"));

    // Deterministic: the maximum is disabled and keeps its value.
    kind.setCurrentIndex(CFlowLaw::kDeterministic);
    QCOMPARE(page.GetLaw().m_nKind, int(CFlowLaw::kDeterministic));
    QVERIFY(!page.GetMaxField().isEnabled() && !page.GetMaxLabel().isEnabled());
    QCOMPARE(page.GetLaw().m_nMax, 9);
    QVERIFY(page.GetTestButton().isVisible());

    // Back to uniform with the maximum below the minimum: it is raised to the minimum.
    for (int i = 0; i < 8; ++i) {
        page.GetMinField().GetSpin().stepUp();
    }
    QCOMPARE(page.GetLaw().m_nMin, 12);
    kind.setCurrentIndex(CFlowLaw::kUniform);
    QCOMPARE(page.GetLaw().m_nMax, 12);
    QCOMPARE(TextOf(page.GetMaxField()), QStringLiteral("12"));

    kind.setCurrentIndex(CFlowLaw::kSpecial);
    QVERIFY(!page.GetValueGroup().isVisible() && page.GetIntervalGroup().isVisible());
    QVERIFY(page.GetNewButton().isEnabled());
    QVERIFY(!page.GetChangeButton().isEnabled() && !page.GetRemoveButton().isEnabled());
    QVERIFY(page.GetTestButton().isVisible());
}

void FlowPageTest::uniformLawNeedsMaximumNotBelowMinimum() {
    SSheetFixture f;
    CFlowPage& page = f.Add<CFlowPage>(CFlowLaw(CFlowLaw::kUniform, 4, 9));
    f.Show(page);
    Type(page.GetMinField(), QStringLiteral("10"));
    QVERIFY(!page.Validate());
    QCOMPARE(f.messages.Texts(), QStringList{kMinAboveMax});
    QCOMPARE(f.messages.Messages()[0].nIcon, EMessageIcon::kExclamation);
    QCOMPARE(f.sheet.focusWidget(), &page.GetMinField().GetEdit());
    Type(page.GetMaxField(), QStringLiteral("10001"));
    QVERIFY(!page.Validate());
    QCOMPARE(f.messages.Texts().last(), RangeText(1, 10000));
    Type(page.GetMaxField(), QStringLiteral("10"));
    QVERIFY(page.Validate());
    QCOMPARE(page.GetLaw(), CFlowLaw(CFlowLaw::kUniform, 10, 10));

    // A deterministic law reads only its minimum.
    page.GetKindChoice().setCurrentIndex(CFlowLaw::kDeterministic);
    Type(page.GetMaxField(), QStringLiteral("zzz"));
    Type(page.GetMinField(), QStringLiteral("50"));
    QVERIFY(page.Validate());
    QCOMPARE(page.GetLaw().m_nMin, 50);
    QCOMPARE(page.GetLaw().m_nMax, 10);
}

void FlowPageTest::specialLawNeedsWholeProbability() {
    SSheetFixture f;
    CFlowPage& page = f.Add<CFlowPage>(CFlowLaw(CFlowLaw::kSpecial, 1, 1));
    f.Show(page);
    QVERIFY(!page.Validate());
    QCOMPARE(f.messages.Texts(), QStringList{kNoIntervals});
    QCOMPARE(f.sheet.focusWidget(), &page.GetIntervalList());

    f.dialogs.Then<QDialog>(IntervalStep("Добавить новый интервал", 1000, "1", "10", 300));
    page.OnNew();
    f.dialogs.Then<QDialog>(IntervalStep("Добавить новый интервал", 700, "20", "30", 600));
    page.OnNew();
    QVERIFY(!page.Validate());
    QCOMPARE(f.messages.Texts().last(), kNotWhole);
    f.dialogs.Then<QDialog>(IntervalStep("Добавить новый интервал", 100, "31", "31", 100));
    page.OnNew();
    QVERIFY(page.Validate());
    QCOMPARE(page.GetLaw(), SpecialLaw({{1, 10, 300}, {20, 30, 600}, {31, 31, 100}}));
    // All probability given away: a new interval can only have none.
    f.dialogs.Then<QDialog>(IntervalStep("Добавить новый интервал", 0, "5", "6", 500));
    page.OnNew();
    QCOMPARE(page.GetLaw().GetIntervals().back(), (CFlowLaw::SInterval{5, 6, 0}));
    QCOMPARE(page.GetIntervalList().GetCell(3, 3), QStringLiteral("0.000"));
}

void FlowPageTest::hiddenMinimumIsStillRead() {
    SSheetFixture f;
    CFlowPage& page = f.Add<CFlowPage>(SpecialLaw({{1, 10, 1000}}));
    f.Show(page);
    QVERIFY(!page.GetMinField().isVisible());
    Type(page.GetMinField(), QStringLiteral("1a"));
    QVERIFY(!page.Validate());
    QCOMPARE(f.messages.Texts(), QStringList{kNotNumeric});
    Type(page.GetMinField(), QStringLiteral("0"));
    QVERIFY(!page.Validate());
    QCOMPARE(f.messages.Texts().last(), RangeText(1, 10000));
}

void FlowPageTest::intervalRowsKeepTheirNumbers() {
    SSheetFixture f;
    CFlowPage& page = f.Add<CFlowPage>(SpecialLaw({{1, 2, 200}, {3, 4, 300}, {5, 6, 500}}));
    f.Show(page);
    CReportList& list = page.GetIntervalList();
    QCOMPARE(list.GetRowCount(), 3);
    QCOMPARE(list.GetMarkedRow(), 0);
    QCOMPARE(Column(list, 3), (QStringList{"0.200", "0.300", "0.500"}));
    QVERIFY(page.GetChangeButton().isEnabled() && page.GetRemoveButton().isEnabled());

    list.MarkRow(1);
    page.OnRemove();
    QCOMPARE(Column(list, 0), (QStringList{"1", "3"}));
    QCOMPARE(page.GetLaw(), SpecialLaw({{1, 2, 200}, {5, 6, 500}}));
    f.dialogs.Then<QDialog>(IntervalStep("Добавить новый интервал", 300, "7", "9", 300));
    page.OnNew();
    QCOMPARE(Column(list, 0), (QStringList{"1", "3", "3"}));
    QCOMPARE(list.GetMarkedRow(), 2);
    QCOMPARE(list.GetCell(2, 1), QStringLiteral("7"));

    // Changing a row: its own probability is free to take again.
    list.MarkRow(0);
    f.dialogs.Then<QDialog>(IntervalStep("Изменить интервал", 200, "2", "2", 150));
    page.OnChange();
    QCOMPARE((QStringList{list.GetCell(0, 0), list.GetCell(0, 1), list.GetCell(0, 2),
                          list.GetCell(0, 3)}),
             (QStringList{"1", "2", "2", "0.150"}));
    // Cancel changes nothing.
    page.OnChange();
    QCOMPARE(page.GetLaw().GetIntervals()[0], (CFlowLaw::SInterval{2, 2, 150}));

    while (list.GetRowCount() > 0) {
        list.MarkRow(0);
        page.OnRemove();
    }
    QCOMPARE(page.GetLaw().GetIntervalCount(), 0);
    QVERIFY(!page.GetChangeButton().isEnabled() && !page.GetRemoveButton().isEnabled());
    const int nTitles = static_cast<int>(f.dialogs.Titles().size());
    page.OnChange();  // no row: no dialog
    QCOMPARE(f.dialogs.Titles().size(), nTitles);
}

void FlowPageTest::intervalDialogLimitsAndChecks() {
    SSheetFixture f;
    CChangeIntervalDlg dialog(f.sheet, QStringLiteral("Изменить интервал"), {3, 8, 250}, 400);
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Изменить интервал"));
    QCOMPARE(TextOf(dialog.GetMinField()), QStringLiteral("3"));
    QCOMPARE(TextOf(dialog.GetMaxField()), QStringLiteral("8"));
    QCOMPARE(dialog.GetTrackbar().GetLabel().text(), QStringLiteral("0.250"));
    dialog.GetTrackbar().GetSlider().setValue(1000);
    QCOMPARE(dialog.GetInterval().m_nProbability, 400);
    QCOMPARE(dialog.GetTrackbar().GetLabel().text(), QStringLiteral("0.400"));

    Type(dialog.GetMaxField(), QStringLiteral("2"));
    dialog.OnOk();
    QCOMPARE(f.messages.Texts(), QStringList{kMinAboveMax});
    QCOMPARE(dialog.focusWidget(), &dialog.GetMinField().GetEdit());
    Type(dialog.GetMinField(), QStringLiteral("-"));
    dialog.OnOk();
    QCOMPARE(f.messages.Texts().last(), kNotNumeric);
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    Type(dialog.GetMinField(), QStringLiteral("2"));
    dialog.OnOk();
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(dialog.GetInterval(), (CFlowLaw::SInterval{2, 2, 400}));
    QCOMPARE(f.messages.Messages().size(), std::size_t(2));

    CChangeIntervalDlg full(f.sheet, QStringLiteral("Добавить новый интервал"), {}, 0);
    full.GetTrackbar().GetSlider().setValue(500);
    QCOMPARE(full.GetInterval().m_nProbability, 0);
    QCOMPARE(full.GetTrackbar().GetLabel().text(), QStringLiteral("0.000"));
}

void FlowPageTest::testButtonChecksFirst() {
    CFlowTestRecorder tests;
    SSheetFixture f;
    CFlowPage& page = f.Add<CFlowPage>(SpecialLaw({{1, 10, 300}, {20, 30, 600}}));
    f.Show(page);
    QTest::mouseClick(&page.GetTestButton(), Qt::LeftButton);
    QCOMPARE(f.messages.Texts(), QStringList{kNotWhole});
    QVERIFY(tests.m_laws.empty());

    page.GetKindChoice().setCurrentIndex(CFlowLaw::kUniform);
    Type(page.GetMinField(), QStringLiteral("3"));
    Type(page.GetMaxField(), QStringLiteral("7"));
    QTest::mouseClick(&page.GetTestButton(), Qt::LeftButton);
    QCOMPARE(tests.m_laws.size(), std::size_t(1));
    QCOMPARE(tests.m_laws[0].m_nKind, int(CFlowLaw::kUniform));
    QCOMPARE(tests.m_laws[0].m_nMin, 3);
    QCOMPARE(tests.m_laws[0].m_nMax, 7);
    QCOMPARE(tests.m_laws[0].GetIntervalCount(), 2);  // the table stays, whatever the kind
}

void FlowPageTest::keyboardAloneReachesPagesFieldsAndOk() {
    SSheetFixture f;
    CFlowPage& page = f.Add<CFlowPage>(SpecialLaw({}));
    CPriorityPage& priority = f.Add<CPriorityPage>(CPriorityChange{CPriorityChange::kRaise, 5});
    f.Show(page);
    f.sheet.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&f.sheet));

    // Ctrl+Tab turns the pages from a drop-down too, and Ctrl+Shift+Tab turns them back.
    page.GetKindChoice().setFocus();
    QTest::keyClick(&page.GetKindChoice(), Qt::Key_Tab, Qt::ControlModifier);
    QCOMPARE(f.sheet.GetActivePage(), &priority);
    QTest::keyClick(&priority.GetValueField().GetEdit(), Qt::Key_Backtab,
                    Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(f.sheet.GetActivePage(), &page);

    // The interval dialog opens in its first field; Tab leads through the fields to O&K and
    // &Отмена, and Enter in a field takes the values.
    f.dialogs.Then<CChangeIntervalDlg>([](CChangeIntervalDlg& dialog) {
        dialog.show();
        QLineEdit& minimum = dialog.GetMinField().GetEdit();
        QCOMPARE(dialog.focusWidget(), &minimum);
        QWidget* pCancel = nullptr;
        for (QPushButton* pButton : dialog.findChildren<QPushButton*>()) {
            pCancel = pButton->text() == QStringLiteral("&Отмена") ? pButton : pCancel;
        }
        QList<QWidget*> order{&minimum};
        for (int i = 0; i < 4; ++i) {
            QTest::keyClick(dialog.focusWidget(), Qt::Key_Tab);
            order << dialog.focusWidget();
        }
        QCOMPARE(order, (QList<QWidget*>{&minimum, &dialog.GetMaxField().GetEdit(),
                                         &dialog.GetTrackbar().GetSlider(), &dialog.GetOkButton(),
                                         pCancel}));
        Type(dialog.GetMaxField(), QStringLiteral("4"));
        dialog.GetTrackbar().GetSlider().setValue(1000);
        QTest::keyClick(&dialog.GetMaxField().GetEdit(), Qt::Key_Return);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
    });
    page.GetNewButton().setFocus();
    page.GetNewButton().click();
    QCOMPARE(page.GetLaw().GetIntervals(), (std::vector<CFlowLaw::SInterval>{{1, 4, 1000}}));

    // Enter after the dialog presses the sheet's OK, not "Но&вый" again.
    QCOMPARE(f.sheet.focusWidget(), &page.GetNewButton());
    QTest::keyClick(&page.GetNewButton(), Qt::Key_Return);
    QCOMPARE(f.dialogs.Titles().size(), 1);
    QCOMPARE(f.sheet.result(), int(QDialog::Accepted));
}

QTEST_MAIN(FlowPageTest)
#include "FlowPageTest.moc"
