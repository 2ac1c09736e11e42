#include "gui/experiment/ExperimentResultsView.h"

#include <QTableView>
#include <QVBoxLayout>
#include <QtCharts/QChartView>

namespace mardo {

// A placeholder until the views are built: empty tables and chart.
struct CExperimentResultsView::SImpl {
    QTableView* pSummary = nullptr;
    QTableView* pReplications = nullptr;
    QTableView* pDifferences = nullptr;
    QChartView* pChart = nullptr;
    bool bEmpty = true;
};

CExperimentResultsView::CExperimentResultsView(QWidget* pParent)
    : QWidget(pParent), m_pImpl(new SImpl) {
    auto* pLayout = new QVBoxLayout(this);
    m_pImpl->pSummary = new QTableView(this);
    m_pImpl->pReplications = new QTableView(this);
    m_pImpl->pDifferences = new QTableView(this);
    m_pImpl->pChart = new QChartView(this);
    pLayout->addWidget(m_pImpl->pSummary);
    pLayout->addWidget(m_pImpl->pReplications);
    pLayout->addWidget(m_pImpl->pDifferences);
    pLayout->addWidget(m_pImpl->pChart);
}

CExperimentResultsView::~CExperimentResultsView() { delete m_pImpl; }

void CExperimentResultsView::Show(const SStudyOutcome&, double, const QString&) {
    m_pImpl->bEmpty = false;
}

void CExperimentResultsView::Clear() { m_pImpl->bEmpty = true; }

bool CExperimentResultsView::IsEmpty() const { return m_pImpl->bEmpty; }

void CExperimentResultsView::SaveAs(const QString&) {}

QTableView& CExperimentResultsView::GetSummaryTable() const { return *m_pImpl->pSummary; }
QTableView& CExperimentResultsView::GetReplicationsTable() const {
    return *m_pImpl->pReplications;
}
QTableView& CExperimentResultsView::GetDifferencesTable() const { return *m_pImpl->pDifferences; }
QChartView& CExperimentResultsView::GetChart() const { return *m_pImpl->pChart; }

}  // namespace mardo
