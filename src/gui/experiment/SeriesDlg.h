#pragma once

#include <QDialog>
#include <QElapsedTimer>
#include <QTimer>
#include <atomic>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "core/experiment/Experiment.h"
#include "core/experiment/Series.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QTableWidget;
class QChartView;

namespace mardo {

class CModel;

// The series window: replications of the model, optionally over the values of one parameter,
// run by the core's experiment on all processors off the window thread; a timer shows their
// progress. The result is a table of every figure's mean and 95% interval per point and a
// chart of a chosen figure. The window holds the settings and the views only.
//
// The main window opens it modally on its model and file name:
//     CSeriesDlg dlg(model, QStringLiteral("Без имени.mrd"), this);
//     dlg.exec();
class CSeriesDlg : public QDialog {
    Q_OBJECT

public:
    CSeriesDlg(CModel& model, const QString& strModelFile, QWidget* pParent = nullptr);
    ~CSeriesDlg() override;

    bool IsRunning() const { return m_worker.joinable(); }
    const std::vector<SSeriesRow>& GetRows() const { return m_rows; }
    QTableWidget& GetTable() const { return *m_pTable; }
    // The settings the window's fields stand for, or the reason they do not make a series.
    std::optional<SExperimentPlan> MakePlan(QString& strError) const;

protected:
    void reject() override;
    bool eventFilter(QObject* pWatched, QEvent* pEvent) override;

private:
    void CreateControls();
    void FillParameters();
    // Shows the chosen parameter's value in the model where the values are typed.
    void ShowModelValue();
    void OnStartStop();
    void Poll();
    void Finish();
    void ShowTable();
    void ShowChart();
public:
    // Puts the table's selected cells on the clipboard as tab-separated lines.
    void CopySelection() const;

private:
    void SaveAs();
    void Log(const QString& strLine);
    void StopAndWait();

    QSpinBox* m_pReplications = nullptr;
    QSpinBox* m_pSeed = nullptr;
    QSpinBox* m_pWarmup = nullptr;
    QCheckBox* m_pVary = nullptr;
    QComboBox* m_pBlock = nullptr;
    QComboBox* m_pParam = nullptr;
    QRadioButton* m_pByList = nullptr;
    QLineEdit* m_pList = nullptr;
    QSpinBox* m_pFrom = nullptr;
    QSpinBox* m_pTo = nullptr;
    QSpinBox* m_pStep = nullptr;
    QPushButton* m_pStartButton = nullptr;
    QPushButton* m_pSaveButton = nullptr;
    QProgressBar* m_pProgress = nullptr;
    QListWidget* m_pLog = nullptr;
    QTableWidget* m_pTable = nullptr;
    QComboBox* m_pFigure = nullptr;
    QChartView* m_pChart = nullptr;

    CModel& m_model;
    QString m_strModelFile;
    // What the series may vary: the owner (a block's name, or "model"), the target as the batch
    // runner names it, the parameter's title for the window and its value in the model.
    struct STarget {
        std::string strOwner;
        std::string strName;
        std::string strTitle;
        std::string strValue;
    };
    std::vector<STarget> m_targets;
    // The target of that name, or null.
    const STarget* FindTarget(const std::string& strName) const;

    // The series under way: the worker thread writes the result and then the flag.
    std::thread m_worker;
    std::atomic<bool> m_bStop{false};
    std::atomic<bool> m_bDone{false};
    std::atomic<std::size_t> m_nDone{0};
    std::atomic<std::size_t> m_nTotal{0};
    SExperimentResult m_result;
    std::int32_t m_nReplications = 0;
    std::string m_strVaried;       // the varied target, as the CSV names it
    std::string m_strVariedTitle;  // the same for the table and the chart
    QElapsedTimer m_clock;
    QTimer m_pollTimer;

    // The series made last, as the batch runner records an experiment.
    SExperimentRecord m_record;
    std::vector<SSeriesRow> m_rows;
};

}  // namespace mardo
