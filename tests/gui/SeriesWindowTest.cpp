// The series window driven as a person would: a swept series of a shipped model against the
// batch runner's file for the same seeds, fields refused rather than corrected, results kept for
// the next opening, one replication seen again in the run window, stopping and closing while a
// series runs.

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QtTest>

#include "GuiTestDoubles.h"
#include "core/experiment/FlatFigures.h"
#include "core/model/Model.h"
#include "core/persist/ModelFile.h"
#include "gui/experiment/ExperimentResultsView.h"
#include "gui/experiment/SeriesDlg.h"
#include "gui/experiment/StudySettings.h"
#include "gui/sim/ModelStartDlg.h"

using namespace mardo;
using namespace mardo::test;

namespace {

const QString kModelPath = QStringLiteral(MARDO_SOURCE_DIR "/examples/two-phases.mrd");

QPushButton* Button(QWidget& window, const QString& strText) {
    for (QPushButton* pButton : window.findChildren<QPushButton*>()) {
        if (pButton->text() == strText) {
            return pButton;
        }
    }
    return nullptr;
}

template <typename TField>
TField* Field(QWidget& window, const char* pszName) {
    return window.findChild<TField*>(QString::fromLatin1(pszName));
}

// The values of a parameter of a block, typed as a list.
void SetUpSweep(CSeriesDlg& dlg, const QString& strBlock, const QString& strParam,
                const QString& strValues) {
    Field<QComboBox>(dlg, "variants")->setCurrentIndex(1);
    auto* pBlock = Field<QComboBox>(dlg, "block");
    pBlock->setCurrentIndex(pBlock->findData(strBlock));
    auto* pParam = Field<QComboBox>(dlg, "param");
    pParam->setCurrentIndex(pParam->findData(strParam));
    Field<QLineEdit>(dlg, "values")->setText(strValues);
}

QString LastLog(QWidget& dlg) {
    auto* pLog = Field<QListWidget>(dlg, "log");
    return pLog->count() > 0 ? pLog->item(pLog->count() - 1)->text() : QString();
}

bool RunSeries(CSeriesDlg& dlg) {
    QTest::mouseClick(Button(dlg, QStringLiteral("&Старт")), Qt::LeftButton);
    return test::WaitUntil([&] { return !dlg.IsRunning(); });
}

}  // namespace

class SeriesWindowTest : public QObject {
    Q_OBJECT

private slots:
    void SweptSeriesMatchesTheBatchRunner();
    void FieldsAreRefusedNotCorrected();
    void ReplicationSeenAgainInTheRunWindow();
    void StopAndCloseDuringASeries();
};

void SeriesWindowTest::SweptSeriesMatchesTheBatchRunner() {
    CModel model;
    QVERIFY(LoadModel(model, kModelPath.toStdString()).IsLoaded());
    SSeriesMemory memory;
    {
        CSeriesDlg dlg(model, QStringLiteral("two-phases.mrd"), nullptr, &memory);
        dlg.show();
        Field<QLineEdit>(dlg, "replications")->setText(QStringLiteral("5"));
        SetUpSweep(dlg, QStringLiteral("D1"), QStringLiteral("D1.service"),
                   QStringLiteral("2..4, 3..5"));
        QVERIFY(RunSeries(dlg));
        QCOMPARE(LastLog(dlg), QStringLiteral("Серия закончена: 10 прогонов"));
        QVERIFY(dlg.GetOutcome() != nullptr && !dlg.GetResults().IsEmpty());

        // The batch runner's CSV for the same seeds and values, line for line.
        QTemporaryDir dir;
        const QString strCsv = dir.filePath(QStringLiteral("series.csv"));
        QProcess run;
        run.start(QStringLiteral(MARDO_RUN_PATH),
                  {"--quiet", "--replications", "5", "--csv", strCsv, "--sweep",
                   "D1.service=2..4,3..5", kModelPath});
        QVERIFY(run.waitForFinished(-1) && run.exitCode() == 0);
        QFile csv(strCsv);
        QVERIFY(csv.open(QIODevice::ReadOnly));
        QCOMPARE(QString::fromUtf8(csv.readAll()),
                 QString::fromStdString(ExperimentCsv(dlg.GetOutcome()->record)));
        QTest::mouseClick(Button(dlg, QStringLiteral("З&акрыть")), Qt::LeftButton);
    }
    // Opened again for the same model: the fields and the results are as they were left.
    CSeriesDlg again(model, QStringLiteral("two-phases.mrd"), nullptr, &memory);
    QCOMPARE(Field<QLineEdit>(again, "replications")->text(), QStringLiteral("5"));
    QCOMPARE(Field<QComboBox>(again, "param")->currentData().toString(),
             QStringLiteral("D1.service"));
    QCOMPARE(Field<QLineEdit>(again, "values")->text(), QStringLiteral("2..4, 3..5"));
    QVERIFY(again.GetOutcome() == memory.pOutcome.get() && !again.GetResults().IsEmpty());
    QCOMPARE(LastLog(again), QStringLiteral("Серия закончена: 10 прогонов"));
    // A refusal clears them.
    Field<QLineEdit>(again, "replications")->setText(QString());
    QTest::mouseClick(Button(again, QStringLiteral("&Старт")), Qt::LeftButton);
    QVERIFY(again.GetOutcome() == nullptr && again.GetResults().IsEmpty());
}

void SeriesWindowTest::FieldsAreRefusedNotCorrected() {
    CModel model;
    QVERIFY(LoadModel(model, kModelPath.toStdString()).IsLoaded());
    CSeriesDlg dlg(model, QStringLiteral("two-phases.mrd"));
    QString strError;
    const auto refused = [&](const char* pszField, const QString& strText) {
        auto* pEdit = Field<QLineEdit>(dlg, pszField);
        const QString strBefore = pEdit->text();
        pEdit->setText(strText);
        strError.clear();
        const bool bRefused = !dlg.GetSettings().MakeStudy(strError) && !strError.isEmpty();
        pEdit->setText(strBefore);
        return bRefused;
    };
    QVERIFY(refused("replications", QStringLiteral("0")));
    QCOMPARE(
        strError,
        QStringLiteral("Количество прогонов: «0» не подходит; нужно целое число от 1 до 100000"));
    QVERIFY(refused("replications", QString()));
    QVERIFY(refused("replications", QStringLiteral("100001")));
    QVERIFY(!refused("replications", QStringLiteral("100000")));
    QVERIFY(refused("seed", QStringLiteral("4294967296")));
    QVERIFY(strError.contains(QStringLiteral("от 0 до 4294967295")));
    const auto seed = [&](const QString& strText) {
        Field<QLineEdit>(dlg, "seed")->setText(strText);
        return dlg.GetSettings().MakeStudy(strError)->plan.nSeed;
    };
    QCOMPARE(seed(QStringLiteral("4294967295")), 4294967295u);
    QCOMPARE(seed(QStringLiteral("0")), 0u);

    Field<QComboBox>(dlg, "variants")->setCurrentIndex(1);
    Field<QRadioButton>(dlg, "byRange")->setChecked(true);
    QVERIFY(refused("step", QStringLiteral("0")));
    QVERIFY(strError.startsWith(QStringLiteral("Шаг")));
    // Over the batch runner's limit of simulations: values times replications.
    Field<QLineEdit>(dlg, "replications")->setText(QStringLiteral("100000"));
    QVERIFY(refused("to", QStringLiteral("2")));
    Field<QLineEdit>(dlg, "replications")->setText(QStringLiteral("10"));

    // A choice is typed as its sheet shows it; a refused value is named with those allowed.
    Field<QRadioButton>(dlg, "byList")->setChecked(true);
    SetUpSweep(dlg, QStringLiteral("Q1"), QStringLiteral("Q1.discipline"),
               QStringLiteral("Раньше поступил - раньше обслужился, Выбор из очереди случайный"));
    QCOMPARE(Field<QLineEdit>(dlg, "values")->placeholderText(),
             QStringLiteral("в модели: Раньше поступил - раньше обслужился"));
    std::optional<SStudy> study = dlg.GetSettings().MakeStudy(strError);
    SetUpSweep(dlg, QStringLiteral("D1"), QStringLiteral("D1.service"), QStringLiteral("2..1"));
    QVERIFY(!dlg.GetSettings().MakeStudy(strError));
    QVERIFY(
        strError.contains(QStringLiteral("«2..1» не подходит для параметра «Время "
                                         "обслуживания»: нужно число N или диапазон A..B, "
                                         "целые числа от 1 до 10000; в модели: ")));
    SetUpSweep(dlg, QStringLiteral("Q1"), QStringLiteral("Q1.discipline"),
               QStringLiteral("Раньше поступил - раньше обслужился, Выбор из очереди случайный"));
    QVERIFY(study && study->plan.points.size() == 2);
    QVERIFY(refused("values", QStringLiteral("Первым")));
    QVERIFY(strError.contains(QStringLiteral("«Первым»")));
    QVERIFY(strError.contains(QStringLiteral("«Последний поступил - первый обслужился»")));
    SetUpSweep(dlg, QStringLiteral("model"), QStringLiteral("model.stopRule"),
               QStringLiteral("По числу транзактов"));
    QVERIFY(dlg.GetSettings().MakeStudy(strError));

    // A damaged model to compare with is refused with the program's own message.
    QTemporaryDir dir;
    const QString strBad = dir.filePath(QStringLiteral("bad.mrd"));
    QFile bad(strBad);
    QVERIFY(bad.open(QIODevice::WriteOnly) && bad.write("not a model") > 0);
    bad.close();
    Field<QComboBox>(dlg, "variants")->setCurrentIndex(2);
    CFileDialogRecorder files;
    CMessageRecorder messages;
    files.Answer(strBad);
    QTest::mouseClick(Button(dlg, QStringLiteral("До&бавить...")), Qt::LeftButton);
    QCOMPARE(messages.Texts().size(), 1);
    QVERIFY(messages.Texts()[0].startsWith(QStringLiteral("bad.mrd: ")));
    QCOMPARE(Field<QListWidget>(dlg, "files")->count(), 0);
    files.Answer(kModelPath);
    QTest::mouseClick(Button(dlg, QStringLiteral("До&бавить...")), Qt::LeftButton);
    study = dlg.GetSettings().MakeStudy(strError);
    QVERIFY(study && study->alternatives.size() == 1);
    QCOMPARE(study->alternatives[0].strName, std::string("two-phases.mrd"));
}

void SeriesWindowTest::ReplicationSeenAgainInTheRunWindow() {
    CModel model;
    QVERIFY(LoadModel(model, kModelPath.toStdString()).IsLoaded());
    for (const bool bExact : {false, true}) {
        CSeriesDlg dlg(model, QStringLiteral("two-phases.mrd"));
        Field<QLineEdit>(dlg, "replications")->setText(QStringLiteral("3"));
        Field<QLineEdit>(dlg, "warmup")->setText(QStringLiteral("50"));
        Field<QComboBox>(dlg, "generator")->setCurrentIndex(bExact ? 1 : 0);
        SetUpSweep(dlg, QStringLiteral("D1"), QStringLiteral("D1.service"),
                   QStringLiteral("2..4, 3..5"));
        QVERIFY(RunSeries(dlg));
        const SReplication& chosen = dlg.GetOutcome()->record.points[1].replications[2];
        // The run window, on the copy the series window hands it, simulates that replication.
        std::optional<std::uint32_t> departed;
        dlg.SetRerunHandler([&](CModel& copy, const QString& strFile, const CRandomContext& random,
                                std::uint32_t nWarmup) {
            CModelStartDlg run(copy, strFile);
            run.SetReplication(random, nWarmup);
            run.findChild<QCheckBox*>()->setChecked(false);
            QTest::mouseClick(Button(run, QStringLiteral("&Старт")), Qt::LeftButton);
            QVERIFY(test::WaitUntil([&] { return run.IsIdle() && run.GetReport() != nullptr; }));
            departed = run.GetReport()->tables.GetDeparted();
        });
        emit dlg.GetResults().RerunRequested(1, chosen.nIndex);
        QVERIFY(departed.has_value());
        QCOMPARE(*departed, chosen.nDeparted);
    }
}

void SeriesWindowTest::StopAndCloseDuringASeries() {
    CModel model;
    QVERIFY(LoadModel(model, kModelPath.toStdString()).IsLoaded());
    // A name may hold a dot: the block still offers its own parameter, by its title.
    model.FindBlock("D1")->SetName("D.1");
    // No replication can end before the test stops it, however fast the machine.
    model.m_experiment = {CExperimentParams::kByTime, CExperimentParams::kMaxValue,
                          CExperimentParams::kMaxValue};
    CSeriesDlg dlg(model, QStringLiteral("two-phases.mrd"));
    dlg.show();
    Field<QComboBox>(dlg, "variants")->setCurrentIndex(1);
    auto* pBlock = Field<QComboBox>(dlg, "block");
    pBlock->setCurrentIndex(pBlock->findData(QStringLiteral("D.1")));
    auto* pParam = Field<QComboBox>(dlg, "param");
    QCOMPARE(pParam->count(), 1);
    QCOMPARE(pParam->currentText(), QStringLiteral("Время обслуживания"));
    QCOMPARE(pParam->currentData().toString(), QStringLiteral("D.1.service"));
    Field<QComboBox>(dlg, "variants")->setCurrentIndex(0);
    Field<QLineEdit>(dlg, "replications")->setText(QStringLiteral("1000"));
    QPushButton* pStart = Button(dlg, QStringLiteral("&Старт"));
    QTest::mouseClick(pStart, Qt::LeftButton);
    QVERIFY(dlg.IsRunning());
    QCOMPARE(pStart->text(), QStringLiteral("&Стоп"));
    // The fields stay as they are while it runs.
    QVERIFY(!Field<QLineEdit>(dlg, "replications")->isEnabled());
    QTest::mouseClick(pStart, Qt::LeftButton);
    QVERIFY(test::WaitUntil([&] { return !dlg.IsRunning(); }));
    QCOMPARE(LastLog(dlg), QStringLiteral("Серия остановлена: выполнено 0 прогонов из 1000"));
    QVERIFY(Field<QLineEdit>(dlg, "replications")->isEnabled());
    QVERIFY(dlg.GetResults().IsEmpty());

    // Closing asks; "No" keeps the series running, "Yes" ends it with the window.
    CMessageRecorder messages;
    QTest::mouseClick(pStart, Qt::LeftButton);
    messages.Answer(EMessageAnswer::kNo);
    QTest::mouseClick(Button(dlg, QStringLiteral("З&акрыть")), Qt::LeftButton);
    QVERIFY(dlg.IsRunning() && dlg.isVisible());
    messages.Answer(EMessageAnswer::kYes);
    QTest::mouseClick(Button(dlg, QStringLiteral("З&акрыть")), Qt::LeftButton);
    QVERIFY(!dlg.IsRunning() && !dlg.isVisible());
    QCOMPARE(messages.Texts().size(), 2);
}

QTEST_MAIN(SeriesWindowTest)
#include "SeriesWindowTest.moc"
