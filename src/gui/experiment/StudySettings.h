#pragma once

#include <QString>
#include <QVariantMap>
#include <QWidget>
#include <optional>
#include <string>
#include <vector>

#include "core/experiment/ExperimentSession.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QRadioButton;
class QStackedWidget;

namespace mardo {

class CModel;

// The settings of a study as the series window offers them, in three groups: the replications
// (their number, seed, generator, warm-up and confidence), the precision goal and the waiting
// times, and the alternatives (the model alone, a parameter's values, or other model files).
// A value is typed as the property sheets show it, and a field that does not make a study is
// refused with a reason, never corrected.
class CStudySettings : public QWidget {
    Q_OBJECT

public:
    CStudySettings(CModel& model, QWidget* pParent);

    // The study the fields stand for, or the reason they do not make one.
    std::optional<SStudy> MakeStudy(QString& strError) const;
    // The swept parameter as the results name it ("D1: Число каналов"), or empty.
    QString VariedTitle(const SStudy& study) const;

    // Every field's value by its object name, and back, for the window's next opening.
    QVariantMap GetFields() const;
    void SetFields(const QVariantMap& fields);

private:
    QWidget* CreateRunsBox();
    QWidget* CreateGoalsBox();
    QWidget* CreateAlternativesBox();
    QWidget* CreateParameterPage();
    QWidget* CreateFilesPage();
    void FillParameters();
    // Shows the chosen parameter's value in the model where the values are typed.
    void ShowModelValue();
    void EnableFields();
    void AddFiles();
    std::optional<std::vector<SSweep>> MakeSweeps(QString& strError) const;

    // Fields; every one has an object name, which the memory and the tests go by.
    QLineEdit* m_pReplications = nullptr;
    QLabel* m_pReplicationsLabel = nullptr;  // says "the most" with a precision goal
    QLineEdit* m_pSeed = nullptr;
    QComboBox* m_pGenerator = nullptr;
    QComboBox* m_pConfidence = nullptr;
    QLineEdit* m_pWarmup = nullptr;
    QCheckBox* m_pWarmupAuto = nullptr;
    QCheckBox* m_pPrecise = nullptr;
    QLineEdit* m_pPercent = nullptr;
    QLineEdit* m_pFigures = nullptr;
    QCheckBox* m_pWaits = nullptr;
    QLineEdit* m_pWaitOver = nullptr;
    QComboBox* m_pVariants = nullptr;
    QStackedWidget* m_pVariantPages = nullptr;
    QComboBox* m_pBlock = nullptr;
    QComboBox* m_pParam = nullptr;
    QRadioButton* m_pByList = nullptr;
    QLineEdit* m_pList = nullptr;
    QLineEdit* m_pFrom = nullptr;
    QLineEdit* m_pTo = nullptr;
    QLineEdit* m_pStep = nullptr;
    QCheckBox* m_pToFirst = nullptr;
    QListWidget* m_pFiles = nullptr;

    CModel& m_model;
    // What the series may vary: the owner (a block's name, or "model"), the target as the batch
    // runner names it, the parameter's title and its value as the sheets show them, and the
    // values it takes.
    struct STarget {
        std::string strOwner;
        std::string strName;
        std::string strTitle;
        std::string strValue;
        std::string strForm;
    };
    std::vector<STarget> m_targets;
    const STarget* FindTarget(const std::string& strName) const;
};

}  // namespace mardo
