#include "gui/experiment/StudySettings.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <limits>
#include <set>
#include <thread>

#include "core/experiment/ParamTargets.h"
#include "core/experiment/Series.h"
#include "core/model/Model.h"
#include "core/persist/ModelFile.h"
#include "gui/common/Dialogs.h"
#include "gui/common/TextConversion.h"

namespace mardo {

namespace {

const double kConfidences[] = {0.90, 0.95, 0.99};
constexpr int kDefaultConfidence = 1;
// The pages of the alternatives: the model alone, a parameter's values, other model files.
enum EVariants { kModelAlone, kParameter, kFiles };

// A parameter's value as the list of values takes it: the list separates values by commas, so
// a value that is a list itself is written with slashes, as the batch runner's sweeps take it.
std::string InListForm(std::string strValue) {
    std::replace(strValue.begin(), strValue.end(), ',', '/');
    return strValue;
}

// The owner of parameters as the window names it: a block by its name, the model as "Модель".
QString OwnerTitle(const std::string& strOwner) {
    return strOwner == kModelOwner ? Text("Модель") : Text(strOwner);
}

// A whole number typed in a field, or nothing, with the reason naming the field and the range.
std::optional<std::int64_t> FieldNumber(const QLineEdit& edit, const char* pszField,
                                        std::int64_t nMin, std::int64_t nMax, QString& strError) {
    const QString strText = edit.text().trimmed();
    if (const auto n = ParseWholeNumber(strText.toStdString(), nMin, nMax)) {
        return n;
    }
    strError =
        Text(pszField) +
        (strText.isEmpty() ? Text(": не указано") : Text(": «") + strText + Text("» не подходит")) +
        Text("; нужно целое число от %1 до %2").arg(nMin).arg(nMax);
    return std::nullopt;
}

// Another model as the program loads it, or nothing with the reason the program gives.
std::shared_ptr<const CModel> LoadAlternative(const QString& strPath, QString& strError) {
    auto pModel = std::make_shared<CModel>();
    const SLoadResult result = LoadModel(*pModel, ToFilePath(strPath));
    if (!result.IsLoaded()) {
        strError = QFileInfo(strPath).fileName() + QStringLiteral(": ") + Text(result.strMessage);
        return nullptr;
    }
    return pModel;
}

QLineEdit* NumberEdit(const QString& strText, const char* pszName, QWidget* pParent) {
    auto* pEdit = new QLineEdit(strText, pParent);
    pEdit->setObjectName(QString::fromLatin1(pszName));
    return pEdit;
}

}  // namespace

CStudySettings::CStudySettings(CModel& model, QWidget* pParent) : QWidget(pParent), m_model(model) {
    for (const SBlockParam& param : GetParamTargets(model)) {
        // A choice's value as the property sheet shows it.
        std::string strValue = param.strValue;
        for (std::size_t i = 0; i < param.words.size() && i < param.titles.size(); ++i) {
            if (param.words[i] == strValue) {
                strValue = param.titles[i];
            }
        }
        m_targets.push_back({SplitTarget(param.strName)->first, param.strName, param.strTitle,
                             strValue, param.strForm});
    }
    auto* pLayout = new QVBoxLayout(this);
    pLayout->setContentsMargins(0, 0, 0, 0);
    pLayout->addWidget(CreateRunsBox());
    pLayout->addWidget(CreateGoalsBox());
    pLayout->addWidget(CreateAlternativesBox());
    pLayout->addStretch();
    for (QAbstractButton* pButton :
         {static_cast<QAbstractButton*>(m_pWarmupAuto), static_cast<QAbstractButton*>(m_pPrecise),
          static_cast<QAbstractButton*>(m_pWaits)}) {
        connect(pButton, &QAbstractButton::toggled, this, &CStudySettings::EnableFields);
    }
    EnableFields();
}

QWidget* CStudySettings::CreateRunsBox() {
    auto* pBox = new QGroupBox(Text("Прогоны"), this);
    m_pReplications = NumberEdit(QStringLiteral("10"), "replications", pBox);
    m_pReplications->setToolTip(
        Text("От 1 до %1; с заданной точностью — наибольшее число").arg(kMostReplications));
    m_pSeed = NumberEdit(QStringLiteral("1"), "seed", pBox);
    m_pSeed->setToolTip(Text("От 0 до %1").arg(std::numeric_limits<std::uint32_t>::max()));

    m_pGenerator = new QComboBox(pBox);
    m_pGenerator->setObjectName(QStringLiteral("generator"));
    // The streams by default: the points and the models compared see the same arrivals.
    m_pGenerator->addItems({Text("Потоки"), Text("Точный")});
    m_pGenerator->setToolTip(
        Text("Потоки: у каждого источника случайности свой поток.\n"
             "Точный: генератор окна моделирования."));
    m_pWarmup = NumberEdit(QStringLiteral("0"), "warmup", pBox);
    // The largest seed and warm-up show whole.
    for (QLineEdit* pEdit : {m_pSeed, m_pWarmup}) {
        pEdit->setMinimumWidth(
            pEdit->fontMetrics().horizontalAdvance(QStringLiteral("4294967295")) + 12);
    }
    m_pWarmupAuto = new QCheckBox(Text("а&вто"), pBox);
    m_pWarmupAuto->setObjectName(QStringLiteral("warmupAuto"));
    m_pWarmupAuto->setToolTip(
        Text("Программа сама выбирает разогрев по ходу очередей и устройств"));
    m_pConfidence = new QComboBox(pBox);
    m_pConfidence->setObjectName(QStringLiteral("confidence"));
    m_pConfidence->addItems(
        {QStringLiteral("90 %"), QStringLiteral("95 %"), QStringLiteral("99 %")});
    m_pConfidence->setCurrentIndex(kDefaultConfidence);
    // Two fields a row, so that every setting shows at once.
    auto* pGrid = new QGridLayout(pBox);
    const auto add = [&](const char* pszLabel, QWidget* pField, int nRow, int nColumn) {
        auto* pLabel = new QLabel(Text(pszLabel), pBox);
        pLabel->setBuddy(pField);
        pGrid->addWidget(pLabel, nRow, nColumn);
        pGrid->addWidget(pField, nRow, nColumn + 1);
    };
    add("Ко&личество прогонов", m_pReplications, 0, 0);
    m_pReplicationsLabel = qobject_cast<QLabel*>(pGrid->itemAtPosition(0, 0)->widget());
    add("&Начальное значение", m_pSeed, 0, 2);
    add("&Генератор", m_pGenerator, 1, 0);
    auto* pWarmupLabel = new QLabel(Text("&Разогрев, тактов"), pBox);
    pWarmupLabel->setBuddy(m_pWarmup);
    pGrid->addWidget(pWarmupLabel, 1, 2);
    auto* pWarmup = new QHBoxLayout;
    pWarmup->addWidget(m_pWarmup, 1);
    pWarmup->addWidget(m_pWarmupAuto);
    pGrid->addLayout(pWarmup, 1, 3);
    // The longest label on a row of its own, so that it does not widen the first column.
    auto* pConfidence = new QHBoxLayout;
    auto* pConfidenceLabel = new QLabel(Text("&Доверительная вероятность"), pBox);
    pConfidenceLabel->setBuddy(m_pConfidence);
    pConfidence->addWidget(pConfidenceLabel);
    pConfidence->addWidget(m_pConfidence);
    pConfidence->addStretch();
    pGrid->addLayout(pConfidence, 2, 0, 1, 4);
    pGrid->setColumnStretch(1, 1);
    pGrid->setColumnStretch(3, 1);
    return pBox;
}

QWidget* CStudySettings::CreateGoalsBox() {
    auto* pBox = new QGroupBox(Text("Точность и время ожидания"), this);
    auto* pGrid = new QGridLayout(pBox);
    m_pPrecise = new QCheckBox(Text("&Точность: полуширина не больше"), pBox);
    m_pPrecise->setObjectName(QStringLiteral("precise"));
    m_pPrecise->setToolTip(
        Text("Прогоны добавляются, пока полуширина интервала каждого "
             "показателя не станет не больше этой доли его среднего;\n"
             "количество прогонов — тогда наибольшее"));
    m_pPercent = NumberEdit(QStringLiteral("5"), "percent", pBox);
    m_pPercent->setMaximumWidth(50);
    m_pFigures = new QLineEdit(pBox);
    m_pFigures->setObjectName(QStringLiteral("figures"));
    m_pFigures->setPlaceholderText(Text("время в очередях, загрузка устройств"));
    m_pFigures->setToolTip(Text("Показатели через запятую, например Q1.avgTime, D1.utilization"));
    m_pWaits = new QCheckBox(Text("&Ожидание в очередях; доля ждавших больше"), pBox);
    m_pWaits->setObjectName(QStringLiteral("waits"));
    m_pWaits->setToolTip(
        Text("Перцентили времени ожидания в каждой очереди и доля транзактов, "
             "ждавших больше указанного числа тактов"));
    m_pWaitOver = new QLineEdit(pBox);
    m_pWaitOver->setObjectName(QStringLiteral("waitOver"));
    m_pWaitOver->setPlaceholderText(Text("тактов: 10, 30"));
    pGrid->addWidget(m_pPrecise, 0, 0, 1, 2);
    auto* pPercent = new QHBoxLayout;
    pPercent->addWidget(m_pPercent);
    pPercent->addWidget(new QLabel(Text("% среднего"), pBox), 1);
    pGrid->addLayout(pPercent, 0, 2);
    auto* pFiguresLabel = new QLabel(Text("Показатели"), pBox);
    pFiguresLabel->setIndent(20);
    pGrid->addWidget(pFiguresLabel, 1, 0);
    pGrid->addWidget(m_pFigures, 1, 1, 1, 2);
    pGrid->addWidget(m_pWaits, 2, 0, 1, 2);
    pGrid->addWidget(m_pWaitOver, 2, 2);
    pGrid->setColumnStretch(1, 1);
    return pBox;
}

QWidget* CStudySettings::CreateParameterPage() {
    auto* pPage = new QWidget(this);
    m_pBlock = new QComboBox(pPage);
    m_pParam = new QComboBox(pPage);
    m_pBlock->setObjectName(QStringLiteral("block"));
    m_pParam->setObjectName(QStringLiteral("param"));
    std::set<std::string> seen;
    for (const STarget& target : m_targets) {
        if (seen.insert(target.strOwner).second) {
            m_pBlock->addItem(OwnerTitle(target.strOwner), Text(target.strOwner));
        }
    }
    connect(m_pBlock, &QComboBox::currentIndexChanged, this, &CStudySettings::FillParameters);
    FillParameters();
    m_pByList = new QRadioButton(Text("Список"), pPage);
    m_pByList->setObjectName(QStringLiteral("byList"));
    m_pByList->setChecked(true);
    auto* pByRange = new QRadioButton(Text("От, до, шаг"), pPage);
    pByRange->setObjectName(QStringLiteral("byRange"));
    m_pList = new QLineEdit(pPage);
    m_pList->setObjectName(QStringLiteral("values"));
    connect(m_pParam, &QComboBox::currentIndexChanged, this, &CStudySettings::ShowModelValue);
    ShowModelValue();
    m_pFrom = NumberEdit(QStringLiteral("1"), "from", pPage);
    m_pTo = NumberEdit(QStringLiteral("10"), "to", pPage);
    m_pStep = NumberEdit(QStringLiteral("1"), "step", pPage);
    m_pToFirst = new QCheckBox(Text("Сравнить с первым зна&чением"), pPage);
    m_pToFirst->setObjectName(QStringLiteral("toFirst"));
    auto* pGrid = new QGridLayout(pPage);
    pGrid->setContentsMargins(0, 0, 0, 0);
    // The parameters' titles are long: the choices take the width left, and show the whole
    // title when open.
    for (QComboBox* pCombo : {m_pBlock, m_pParam}) {
        pCombo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        pCombo->setMinimumContentsLength(6);
    }
    auto* pChoice = new QHBoxLayout;
    pChoice->addWidget(m_pBlock, 1);
    pChoice->addWidget(new QLabel(Text("Параметр"), pPage));
    pChoice->addWidget(m_pParam, 3);
    pGrid->addWidget(new QLabel(Text("Блок"), pPage), 0, 0);
    pGrid->addLayout(pChoice, 0, 1);
    pGrid->addWidget(m_pByList, 1, 0);
    pGrid->addWidget(m_pList, 1, 1);
    pGrid->addWidget(pByRange, 2, 0);
    auto* pRange = new QHBoxLayout;
    pRange->addWidget(m_pFrom);
    pRange->addWidget(m_pTo);
    pRange->addWidget(m_pStep);
    pGrid->addLayout(pRange, 2, 1);
    pGrid->addWidget(m_pToFirst, 3, 0, 1, 2);
    pGrid->setColumnStretch(1, 1);
    connect(m_pByList, &QRadioButton::toggled, this, &CStudySettings::EnableFields);
    return pPage;
}

QWidget* CStudySettings::CreateFilesPage() {
    auto* pPage = new QWidget(this);
    m_pFiles = new QListWidget(pPage);
    m_pFiles->setObjectName(QStringLiteral("files"));
    m_pFiles->setMaximumHeight(72);
    auto* pAdd = new QPushButton(Text("До&бавить..."), pPage);
    auto* pRemove = new QPushButton(Text("&Убрать"), pPage);
    connect(pAdd, &QPushButton::clicked, this, &CStudySettings::AddFiles);
    connect(pRemove, &QPushButton::clicked, this, [this] { delete m_pFiles->currentItem(); });
    auto* pGrid = new QGridLayout(pPage);
    pGrid->setContentsMargins(0, 0, 0, 0);
    pGrid->addWidget(new QLabel(Text("Каждая из этих моделей сравнивается с этой:"), pPage), 0, 0,
                     1, 2);
    pGrid->addWidget(m_pFiles, 1, 0, 2, 1);
    pGrid->addWidget(pAdd, 1, 1);
    pGrid->addWidget(pRemove, 2, 1, Qt::AlignTop);
    return pPage;
}

QWidget* CStudySettings::CreateAlternativesBox() {
    auto* pBox = new QGroupBox(Text("Варианты"), this);
    m_pVariants = new QComboBox(pBox);
    m_pVariants->setObjectName(QStringLiteral("variants"));
    m_pVariants->addItems(
        {Text("Только эта модель"), Text("Значения параметра"), Text("Другие файлы моделей")});
    m_pVariantPages = new QStackedWidget(pBox);
    m_pVariantPages->addWidget(new QWidget(pBox));
    m_pVariantPages->addWidget(CreateParameterPage());
    m_pVariantPages->addWidget(CreateFilesPage());
    connect(m_pVariants, &QComboBox::currentIndexChanged, m_pVariantPages,
            &QStackedWidget::setCurrentIndex);
    auto* pLayout = new QVBoxLayout(pBox);
    pLayout->addWidget(m_pVariants);
    pLayout->addWidget(m_pVariantPages);
    return pBox;
}

void CStudySettings::EnableFields() {
    m_pWarmup->setEnabled(!m_pWarmupAuto->isChecked());
    m_pPercent->setEnabled(m_pPrecise->isChecked());
    m_pFigures->setEnabled(m_pPrecise->isChecked());
    // With a precision goal the number typed is the most to make.
    m_pReplicationsLabel->setText(m_pPrecise->isChecked() ? Text("Прогонов не бо&льше")
                                                          : Text("Ко&личество прогонов"));
    m_pWaitOver->setEnabled(m_pWaits->isChecked());
    m_pList->setEnabled(m_pByList->isChecked());
    for (QLineEdit* pEdit : {m_pFrom, m_pTo, m_pStep}) {
        pEdit->setEnabled(!m_pByList->isChecked());
    }
}

void CStudySettings::FillParameters() {
    const std::string strOwner = m_pBlock->currentData().toString().toStdString();
    m_pParam->clear();
    for (const STarget& target : m_targets) {
        if (target.strOwner == strOwner) {
            m_pParam->addItem(Text(target.strTitle), Text(target.strName));
            // The same parameter for the batch runner's --set and --sweep.
            m_pParam->setItemData(m_pParam->count() - 1, Text(target.strName), Qt::ToolTipRole);
        }
    }
}

void CStudySettings::ShowModelValue() {
    const STarget* pTarget = FindTarget(m_pParam->currentData().toString().toStdString());
    m_pList->setPlaceholderText(
        pTarget != nullptr ? Text("в модели: " + InListForm(pTarget->strValue)) : QString());
}

const CStudySettings::STarget* CStudySettings::FindTarget(const std::string& strName) const {
    const auto it = std::find_if(m_targets.begin(), m_targets.end(),
                                 [&](const STarget& target) { return target.strName == strName; });
    return it != m_targets.end() ? &*it : nullptr;
}

void CStudySettings::AddFiles() {
    const QString strPath =
        ShowFileDialog(this, {false, QString(), Text("Модели (*.mrd);;Все файлы (*)"),
                              QStringLiteral("mrd"), QString()});
    if (strPath.isEmpty()) {
        return;
    }
    QString strError;
    if (!LoadAlternative(strPath, strError)) {
        ShowMessage(this, strError, EMessageIcon::kError);
        return;
    }
    m_pFiles->addItem(QFileInfo(strPath).absoluteFilePath());
    m_pFiles->setCurrentRow(m_pFiles->count() - 1);
}

std::optional<std::vector<SSweep>> CStudySettings::MakeSweeps(QString& strError) const {
    SSweep sweep;
    sweep.strTarget = m_pParam->currentData().toString().toStdString();
    const STarget* pTarget = FindTarget(sweep.strTarget);
    if (pTarget == nullptr) {
        strError = Text("У модели нет параметров, которые можно изменять");
        return std::nullopt;
    }
    if (m_pByList->isChecked()) {
        sweep.values = ListValues(m_pList->text().toStdString());
    } else {
        const auto nFrom = FieldNumber(*m_pFrom, "От", INT32_MIN, INT32_MAX, strError);
        const auto nTo =
            nFrom ? FieldNumber(*m_pTo, "До", INT32_MIN, INT32_MAX, strError) : std::nullopt;
        const auto nStep =
            nTo ? FieldNumber(*m_pStep, "Шаг", 1, INT32_MAX, strError) : std::nullopt;
        if (!nStep) {
            return std::nullopt;
        }
        auto values = RangeValues(*nFrom, *nTo, *nStep, kMostSimulations);
        if (!values) {
            strError = Text("«От» больше, чем «до», или значений больше %1").arg(kMostSimulations);
            return std::nullopt;
        }
        sweep.values = std::move(*values);
    }
    if (sweep.values.empty()) {
        strError = Text("Не указано ни одного значения параметра");
        return std::nullopt;
    }
    // A value the parameter cannot take is named, with the values it can.
    if (std::string strValue; !CheckSweep(m_model, sweep, &strValue).empty()) {
        strError =
            Text("Значение «" + strValue + "» не подходит для параметра «" + pTarget->strTitle +
                 "»: нужно " + pTarget->strForm + "; в модели: " + InListForm(pTarget->strValue));
        return std::nullopt;
    }
    return std::vector<SSweep>{std::move(sweep)};
}

std::optional<SStudy> CStudySettings::MakeStudy(QString& strError) const {
    SStudy study;
    SExperimentPlan& plan = study.plan;
    const auto nReplications =
        FieldNumber(*m_pReplications, "Количество прогонов", 1, kMostReplications, strError);
    const auto nSeed = nReplications
                           ? FieldNumber(*m_pSeed, "Начальное значение", 0,
                                         std::numeric_limits<std::uint32_t>::max(), strError)
                           : std::nullopt;
    if (!nSeed) {
        return std::nullopt;
    }
    plan.nReplications = static_cast<std::int32_t>(*nReplications);
    plan.nSeed = static_cast<std::uint32_t>(*nSeed);
    plan.generator = m_pGenerator->currentIndex() == 0 ? EGenerator::kStreams : EGenerator::kExact;
    plan.nJobs = std::max(1u, std::thread::hardware_concurrency());
    study.bWarmupAuto = m_pWarmupAuto->isChecked();
    if (!study.bWarmupAuto) {
        const auto nWarmup = FieldNumber(*m_pWarmup, "Разогрев", 0,
                                         std::numeric_limits<std::uint32_t>::max() - 1, strError);
        if (!nWarmup) {
            return std::nullopt;
        }
        plan.nWarmup = static_cast<std::uint32_t>(*nWarmup);
    }
    study.dConfidence = kConfidences[std::clamp(m_pConfidence->currentIndex(), 0, 2)];
    plan.bRecordWaits = m_pWaits->isChecked();
    if (plan.bRecordWaits) {
        for (const std::string& strItem : SplitList(m_pWaitOver->text().toStdString(), ", ")) {
            if (strItem.empty()) {
                continue;
            }
            const auto n = ParseWholeNumber(strItem, 0, std::numeric_limits<std::uint32_t>::max());
            if (!n) {
                strError = Text("Доля ждавших больше: «" + strItem +
                                "» не подходит; нужны целые числа от 0 до %1 через запятую")
                               .arg(std::numeric_limits<std::uint32_t>::max());
                return std::nullopt;
            }
            plan.waitOver.push_back(static_cast<std::uint64_t>(*n));
        }
    }
    if (m_pPrecise->isChecked()) {
        bool bNumber = false;
        const double dPercent = m_pPercent->text().trimmed().replace(',', '.').toDouble(&bNumber);
        if (!bNumber || !(dPercent > 0.0 && dPercent <= 100.0)) {
            strError = Text("Точность: «") + m_pPercent->text().trimmed() +
                       Text("» не подходит; нужно число процентов больше 0 и не больше 100");
            return std::nullopt;
        }
        if (plan.generator == EGenerator::kExact) {
            strError = Text(
                "Заданная точность требует генератора «Потоки»: у точного прогоны "
                "зависят от их числа");
            return std::nullopt;
        }
        SPrecisionGoal goal{dPercent, {}};
        for (const std::string& strFigure : SplitList(m_pFigures->text().toStdString(), ", ")) {
            if (!strFigure.empty()) {
                goal.figures.push_back(strFigure);
            }
        }
        study.precision = std::move(goal);
    }
    std::size_t nModels = 1;
    if (m_pVariants->currentIndex() == kParameter) {
        std::optional<std::vector<SSweep>> sweeps = MakeSweeps(strError);
        if (!sweeps) {
            return std::nullopt;
        }
        plan.points = SweepPoints(*sweeps);
        study.bCompareToFirst = m_pToFirst->isChecked();
        if (study.bCompareToFirst && (plan.points.size() < 2 || plan.nReplications < 2)) {
            strError = Text(
                "Для сравнения с первым значением нужны два значения и два прогона "
                "по меньшей мере");
            return std::nullopt;
        }
    } else if (m_pVariants->currentIndex() == kFiles) {
        if (m_pFiles->count() == 0 || plan.nReplications < 2 || study.precision) {
            strError = Text(
                "Для сравнения моделей нужны другие файлы моделей и два прогона по "
                "меньшей мере, без заданной точности");
            return std::nullopt;
        }
        for (int i = 0; i < m_pFiles->count(); ++i) {
            const QString strPath = m_pFiles->item(i)->text();
            std::shared_ptr<const CModel> pModel = LoadAlternative(strPath, strError);
            if (!pModel) {
                return std::nullopt;
            }
            study.alternatives.push_back({QFileInfo(strPath).fileName().toStdString(), pModel});
        }
        nModels += study.alternatives.size();
    }
    const std::uint64_t nSimulations =
        plan.points.size() * nModels * static_cast<std::uint64_t>(plan.nReplications);
    if (nSimulations > kMostSimulations) {
        strError = Text("Больше %1 прогонов (значения × прогоны × модели)").arg(kMostSimulations);
        return std::nullopt;
    }
    return study;
}

QString CStudySettings::VariedTitle(const SStudy& study) const {
    if (m_pVariants->currentIndex() != kParameter) {
        return {};
    }
    const STarget* pTarget = FindTarget(study.plan.points[0][0].strTarget);
    return OwnerTitle(pTarget->strOwner) + QStringLiteral(": ") + Text(pTarget->strTitle);
}

QVariantMap CStudySettings::GetFields() const {
    QVariantMap fields;
    for (QWidget* pWidget : findChildren<QWidget*>()) {
        const QString strName = pWidget->objectName();
        if (strName.isEmpty() || strName.startsWith(QStringLiteral("qt_"))) {
            continue;
        }
        if (auto* pEdit = qobject_cast<QLineEdit*>(pWidget)) {
            fields[strName] = pEdit->text();
        } else if (auto* pCombo = qobject_cast<QComboBox*>(pWidget)) {
            fields[strName] = pCombo->currentIndex();
        } else if (auto* pButton = qobject_cast<QAbstractButton*>(pWidget)) {
            fields[strName] = pButton->isChecked();
        } else if (auto* pList = qobject_cast<QListWidget*>(pWidget)) {
            QStringList items;
            for (int i = 0; i < pList->count(); ++i) {
                items << pList->item(i)->text();
            }
            fields[strName] = items;
        }
    }
    return fields;
}

void CStudySettings::SetFields(const QVariantMap& fields) {
    // In the order the fields were made: a block's choice comes before its parameter's.
    for (QWidget* pWidget : findChildren<QWidget*>()) {
        const auto it = fields.constFind(pWidget->objectName());
        if (it == fields.constEnd()) {
            continue;
        }
        if (auto* pEdit = qobject_cast<QLineEdit*>(pWidget)) {
            pEdit->setText(it->toString());
        } else if (auto* pCombo = qobject_cast<QComboBox*>(pWidget)) {
            pCombo->setCurrentIndex(it->toInt());
        } else if (auto* pButton = qobject_cast<QAbstractButton*>(pWidget)) {
            pButton->setChecked(it->toBool());
        } else if (auto* pList = qobject_cast<QListWidget*>(pWidget)) {
            pList->clear();
            pList->addItems(it->toStringList());
        }
    }
}

}  // namespace mardo
