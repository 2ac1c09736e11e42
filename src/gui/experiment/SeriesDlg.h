#pragma once

#include <QDialog>
#include <QElapsedTimer>
#include <QStringList>
#include <QTimer>
#include <QVariantMap>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/experiment/ExperimentSession.h"
#include "core/sim/RandomContext.h"

class QListWidget;
class QProgressBar;
class QPushButton;

namespace mardo {

class CExperimentResultsView;
class CModel;
class CStudySettings;

// What the window leaves to its next opening on the same model: its fields (by their names) and
// the results it showed last. The main window keeps it until the model changes.
struct SSeriesMemory {
    QVariantMap fields;
    std::shared_ptr<const SStudyOutcome> pOutcome;
    double dConfidence = 0.95;
    QString strVaried;
    QStringList log;
};

// The experiment window ("Серия прогонов"): the settings of a study on the left, a view of one
// experiment session's progress below them, and its results on the right. The session simulates
// on threads of its own; a timer reads its progress and takes its outcome.
//
// The main window opens it modally on its model, its file name and the memory it keeps:
//     CSeriesDlg dlg(model, QStringLiteral("Без имени.mrd"), this, &memory);
//     dlg.exec();
class CSeriesDlg : public QDialog {
    Q_OBJECT

public:
    // Opens one replication in the run window: a copy of the model with the point's settings
    // applied, and the random numbers and warm-up the replication had.
    using FRerunHandler = std::function<void(CModel& model, const QString& strModelFile,
                                             const CRandomContext& random, std::uint32_t nWarmup)>;

    CSeriesDlg(CModel& model, const QString& strModelFile, QWidget* pParent = nullptr,
               SSeriesMemory* pMemory = nullptr);
    ~CSeriesDlg() override;

    bool IsRunning() const { return m_session.IsRunning(); }
    CExperimentResultsView& GetResults() const { return *m_pResults; }
    // The outcome shown, or null.
    const SStudyOutcome* GetOutcome() const { return m_pOutcome.get(); }
    CStudySettings& GetSettings() const { return *m_pSettings; }
    void SetRerunHandler(FRerunHandler handler) { m_rerun = std::move(handler); }
    // Opens replication nIndex of point nPoint of the outcome shown, as the results view asks.
    void Rerun(std::size_t nPoint, std::int32_t nIndex);

protected:
    void reject() override;

private:
    void CreateControls();
    void OnStartStop();
    void Poll();
    void Finish();
    void ShowOutcome(std::shared_ptr<const SStudyOutcome> pOutcome);
    void ClearResults();
    void Log(const QString& strLine);
    void StopAndWait();
    void Remember() const;
    void Recall();

    CStudySettings* m_pSettings = nullptr;
    QPushButton* m_pStartButton = nullptr;
    QPushButton* m_pSaveButton = nullptr;
    QProgressBar* m_pProgress = nullptr;
    QListWidget* m_pLog = nullptr;
    CExperimentResultsView* m_pResults = nullptr;

    CModel& m_model;
    QString m_strModelFile;
    SSeriesMemory* m_pMemory = nullptr;
    FRerunHandler m_rerun;
    // The study under way and what it was asked.
    CExperimentSession m_session;
    std::size_t m_nPlanned = 0;
    double m_dConfidence = 0.95;
    QString m_strVaried;
    std::optional<SPrecisionGoal> m_goal;
    QElapsedTimer m_clock;
    QTimer m_pollTimer;

    std::shared_ptr<const SStudyOutcome> m_pOutcome;
};

}  // namespace mardo
