// The sheet framework, the name rule and the two dialogs the editor opens.

#include <QComboBox>
#include <QFontMetrics>
#include <QPushButton>
#include <QStyle>
#include <QLineEdit>
#include <QtTest>

#include "GuiTestDoubles.h"
#include "core/model/Model.h"
#include "gui/props/BlockPage.h"
#include "gui/props/BlockPropertyPage.h"
#include "gui/props/BlockPropertySheet.h"
#include "gui/props/ChangeInBlockDlg.h"
#include "gui/props/ChangeNameBlockDlg.h"
#include "gui/props/FieldText.h"

using namespace mardo;
using namespace mardo::test;

namespace {

// A page with one numeric field, validated as 1..10000.
class CNumberPage final : public CBlockPropertyPage {
public:
    explicit CNumberPage(const QString& strTitle)
        : CBlockPropertyPage(strTitle), m_pEdit(new QLineEdit(this)) {}

    QLineEdit* m_pEdit;
    int m_nValue = 0;

protected:
    bool OnValidate() override {
        return GetSheet()->ValidateInt(this, *m_pEdit, 1, 10000, m_nValue);
    }
};

const QString kRangeText = QStringLiteral("Значение параметра должно находиться в пределах от %1 до %2.");
const QString kNotNumeric = QStringLiteral("Не числовое значение.");

}  // namespace

class PropertySheetTest : public QObject {
    Q_OBJECT

private slots:
    void validateIntReadsNumbersStrictly_data();
    void validateIntReadsNumbersStrictly();
    void okStopsAtTheFirstInvalidPageAndSkipsUnshownOnes();
    void namePageAppliesTheNameRule();
    void renameDialogAppliesTheNameRule();
    void linkDialogOffersOnlyLinkableBlocks();
};

void PropertySheetTest::validateIntReadsNumbersStrictly_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("min");
    QTest::addColumn<int>("max");
    QTest::addColumn<QString>("message");  // empty when accepted
    QTest::addColumn<int>("value");  // -1: the value was left as it was
    QTest::newRow("empty reads as 0, out of range") << "" << 1 << 10000 << kRangeText.arg(1).arg(10000) << -1;
    QTest::newRow("empty reads as 0, in range") << "" << 0 << 1000 << "" << 0;
    QTest::newRow("spaces around") << "  25 " << 1 << 10000 << "" << 25;
    QTest::newRow("space inside") << "2 5" << 1 << 10000 << kNotNumeric << -1;
    QTest::newRow("plus sign") << "+5" << 1 << 10000 << kNotNumeric << -1;
    QTest::newRow("trailing letter") << "5a" << 1 << 10000 << kNotNumeric << -1;
    QTest::newRow("lone minus") << "-" << 1 << 10000 << kNotNumeric << -1;
    QTest::newRow("tab is not a space") << "\t5" << 1 << 10000 << kNotNumeric << -1;
    QTest::newRow("negative out of range") << "-5" << 0 << 1000 << kRangeText.arg(0).arg(1000) << -1;
    QTest::newRow("too long for 32 bits") << "99999999999" << 1 << 10000 << kRangeText.arg(1).arg(10000) << -1;
    QTest::newRow("lowest int") << "-2147483648" << std::numeric_limits<int>::min() << 0 << "" << std::numeric_limits<int>::min();
}

void PropertySheetTest::validateIntReadsNumbersStrictly() {
    QFETCH(QString, text);
    QFETCH(int, min);
    QFETCH(int, max);
    QFETCH(QString, message);
    QFETCH(int, value);
    CMessageRecorder messages;
    CBlockPropertySheet sheet(QStringLiteral("Свойства"), nullptr, nullptr);
    QLineEdit edit(&sheet);
    edit.setText(text);
    int nValue = -1;
    QCOMPARE(sheet.ValidateInt(&sheet, edit, min, max, nValue), message.isEmpty());
    QCOMPARE(nValue, value);
    if (message.isEmpty()) {
        QVERIFY(messages.Messages().empty());
    } else {
        QCOMPARE(messages.Texts(), QStringList{message});
        QCOMPARE(messages.Messages()[0].nIcon, EMessageIcon::kExclamation);
    }
}

void PropertySheetTest::okStopsAtTheFirstInvalidPageAndSkipsUnshownOnes() {
    CMessageRecorder messages;
    CBlockPropertySheet sheet(QStringLiteral("Свойства"), nullptr, nullptr);
    CNumberPage& first = sheet.AddPage<CNumberPage>(QStringLiteral("Первая"));
    CNumberPage& second = sheet.AddPage<CNumberPage>(QStringLiteral("Вторая"));
    CNumberPage& never = sheet.AddPage<CNumberPage>(QStringLiteral("Третья"));
    sheet.show();
    sheet.SetActivePage(second);
    sheet.SetActivePage(first);
    QVERIFY(first.IsInitialized() && second.IsInitialized() && !never.IsInitialized());
    first.m_pEdit->setText(QStringLiteral("abc"));
    second.m_pEdit->setText(QStringLiteral("0"));
    never.m_pEdit->setText(QStringLiteral("abc"));
    sheet.SetActivePage(second);

    sheet.OnOk();
    QCOMPARE(messages.Texts(), QStringList{kNotNumeric});
    QCOMPARE(sheet.GetActivePage(), &first);
    QVERIFY(sheet.isVisible());

    // Both shown pages valid: the page never opened is not looked at.
    messages.Clear();
    first.m_pEdit->setText(QStringLiteral("7"));
    second.m_pEdit->setText(QStringLiteral("8"));
    sheet.OnOk();
    QVERIFY(messages.Messages().empty());
    QCOMPARE(sheet.result(), int(QDialog::Accepted));
    QCOMPARE(first.m_nValue, 7);
    QCOMPARE(never.m_nValue, 0);
}

void PropertySheetTest::namePageAppliesTheNameRule() {
    CModel model;
    CBlockDlg& queue = model.AddBlock(CreateBlock(3));
    CBlockDlg& other = model.AddBlock(CreateBlock(2));
    other.SetName("Прибор");

    struct SCase {
        const char* pszCurrent;
        const char* pszTyped;
        const char* pszMessage;  // null when accepted
        const char* pszApplied;
    };
    const SCase cases[] = {
        {"", "", nullptr, ""},  // an unnamed block may stay unnamed
        {"Очередь", "", "Не задано имя блока.", nullptr},
        {"Очередь", "   ", "Не задано имя блока.", nullptr},
        {"Очередь", " Очередь ", nullptr, "Очередь"},
        {"Очередь", "Прибор", "Блок с таким именем уже существует.", nullptr},
        {"Очередь", "прибор", nullptr, "прибор"},  // letter case makes another name
        {"Очередь", "Очередь №2 ", nullptr, "Очередь №2"},
        {"Очередь", "Queue ☃",
         "Имя блока содержит символы, которые нельзя сохранить в файле модели.", nullptr},
    };
    for (const SCase& c : cases) {
        queue.SetName(c.pszCurrent);
        CMessageRecorder messages;
        CBlockPropertySheet sheet(QStringLiteral("Свойства очереди"), &queue, &model.GetBlocks());
        CBlockPage& page = sheet.AddPage<CBlockPage>();
        sheet.show();
        QCOMPARE(page.GetNameEdit().text(), QString::fromUtf8(c.pszCurrent));
        page.GetNameEdit().setText(QString::fromUtf8(c.pszTyped));
        QCOMPARE(page.Validate(), c.pszMessage == nullptr);
        if (c.pszMessage != nullptr) {
            QCOMPARE(messages.Texts(), QStringList{QString::fromUtf8(c.pszMessage)});
            QCOMPARE(messages.Messages()[0].nIcon, EMessageIcon::kExclamation);
        } else {
            QVERIFY2(messages.Messages().empty(), c.pszTyped);
            QCOMPARE(page.GetName(), QString::fromUtf8(c.pszApplied));
        }
        QCOMPARE(queue.GetName(), std::string(c.pszCurrent));  // nothing written before OK
    }
}

void PropertySheetTest::renameDialogAppliesTheNameRule() {
    CModel model;
    CBlockDlg& queue = model.AddBlock(CreateBlock(3));
    model.AddBlock(CreateBlock(2)).SetName("Прибор");
    queue.SetName("Очередь");
    CMessageRecorder messages;
    {
        CChangeNameBlockDlg dialog(model.GetBlocks(), queue);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Имя блока"));
        dialog.GetNameEdit().setText(QStringLiteral("  Очередь "));
        dialog.OnOk();
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        dialog.GetNameEdit().setText(QStringLiteral("  "));
        dialog.OnOk();
        QCOMPARE(dialog.GetNameEdit().text(), QString());
        dialog.GetNameEdit().setText(QStringLiteral("Прибор"));
        dialog.OnOk();
        dialog.GetNameEdit().setText(QStringLiteral("Ω"));
        dialog.OnOk();
        QCOMPARE(messages.Texts(),
                 (QStringList{QStringLiteral("Не задано имя блока."),
                              QStringLiteral("Блок с таким именем уже существует."),
                              QStringLiteral("Имя блока содержит символы, которые нельзя "
                                             "сохранить в файле модели.")}));
        QCOMPARE(queue.GetName(), std::string("Очередь"));
        dialog.GetNameEdit().setText(QStringLiteral(" Буфер "));
        QTest::mouseClick(&dialog.GetOkButton(), Qt::LeftButton);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(dialog.GetNewName(), std::string("Буфер"));
    }
    QCOMPARE(queue.GetName(), std::string("Очередь"));  // the editor renames through the model
}

void PropertySheetTest::linkDialogOffersOnlyLinkableBlocks() {
    CModel model;
    CBlockDlg& source = model.AddBlock(CreateBlock(4));
    source.SetName("Ключ");
    model.AddBlock(CreateBlock(0)).SetName("Генератор");  // no input
    CBlockDlg& queue = model.AddBlock(CreateBlock(3));
    queue.SetName("Очередь");
    model.AddBlock(CreateBlock(2));  // unnamed
    CBlockDlg& device = model.AddBlock(CreateBlock(2));
    device.SetName("Прибор");

    {
        CChangeInBlockDlg dialog(model.GetBlocks(), source, 1, CChangeInBlockDlg::EMode::kLink);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Связать с блоком"));
        QComboBox& choice = dialog.GetChoice();
        QCOMPARE(choice.count(), 3);
        QCOMPARE(choice.itemText(0), QStringLiteral("Нет блока"));
        QCOMPARE(choice.itemText(1), QStringLiteral("Очередь"));
        QCOMPARE(choice.itemText(2), QStringLiteral("Прибор"));
        QCOMPARE(choice.currentIndex(), 0);
        choice.setCurrentIndex(2);
        dialog.OnOk();
        QCOMPARE(dialog.GetDestination(), &device);
        QVERIFY(!model.SetLink(source, 1, dialog.GetDestination()).IsEmpty());
        QCOMPARE(source.GetOutLink(1), &device);
        QCOMPARE(source.GetOutLink(0), nullptr);
    }
    {
        CChangeInBlockDlg dialog(model.GetBlocks(), source, 1, CChangeInBlockDlg::EMode::kChange);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Изменить блок приемник"));
        // Wide enough for its caption in a bold title bar, beside the window's icon and the
        // three title bar buttons.
        QFont titleFont = dialog.font();
        titleFont.setBold(true);
        dialog.show();
        const int nTitleBar =
            dialog.style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, &dialog);
        QVERIFY(dialog.width() >=
                QFontMetrics(titleFont).horizontalAdvance(dialog.windowTitle()) + 4 * nTitleBar);
        QCOMPARE(dialog.GetChoice().count(), 2);
        QCOMPARE(dialog.GetChoice().currentText(), QStringLiteral("Прибор"));
        dialog.GetChoice().setCurrentIndex(0);
        dialog.OnOk();
        QCOMPARE(dialog.GetDestination(), &queue);
    }
    {
        // Nothing to choose from: OK leaves the output as it is.
        CModel lonely;
        CBlockDlg& generator = lonely.AddBlock(CreateBlock(0));
        generator.SetName("Генератор");
        CChangeInBlockDlg dialog(lonely.GetBlocks(), generator, 0, CChangeInBlockDlg::EMode::kChange);
        QCOMPARE(dialog.GetChoice().count(), 0);
        dialog.OnOk();
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QCOMPARE(generator.GetOutLink(0), nullptr);
    }
}

QTEST_MAIN(PropertySheetTest)
#include "PropertySheetTest.moc"
