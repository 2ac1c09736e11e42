#pragma once

#include <QString>
#include <QWidget>
#include <cstddef>
#include <cstdint>

#include "core/experiment/ExperimentSession.h"

class QChartView;
class QTableView;

namespace mardo {

// The results of an experiment as the experiment window shows them: the summary of every
// figure at a confidence, the replications of a chosen figure, the differences between
// alternatives when there are any, and a chart (the means over a swept parameter with their
// intervals, the differences with theirs, or how the averaged content settled after the warm-up
// chosen). It holds a copy of the outcome and knows nothing of how it was made.
class CExperimentResultsView : public QWidget {
    Q_OBJECT

public:
    explicit CExperimentResultsView(QWidget* pParent = nullptr);
    ~CExperimentResultsView() override;

    // strVaried names the swept parameter for the tables and the chart ("D1: Число каналов"),
    // or is empty when nothing was swept.
    void Show(const SStudyOutcome& outcome, double dConfidence, const QString& strVaried);
    void Clear();
    bool IsEmpty() const;

    // Asks for a file and saves the results there: a CSV (plain, or for a Russian spreadsheet)
    // or the chart as PNG or SVG. strBaseName is the model's name without its suffix.
    void SaveAs(const QString& strBaseName);

    QTableView& GetSummaryTable() const;
    QTableView& GetReplicationsTable() const;
    QTableView& GetDifferencesTable() const;
    QChartView& GetChart() const;

signals:
    // The user asked to simulate replication nIndex of point nPoint again in the run window.
    void RerunRequested(std::size_t nPoint, std::int32_t nIndex);

private:
    struct SImpl;
    SImpl* m_pImpl = nullptr;
};

}  // namespace mardo
