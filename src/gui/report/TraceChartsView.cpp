#include "gui/report/TraceChartsView.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QScrollArea>
#include <QVBoxLayout>

#include "gui/common/TextConversion.h"
#include "gui/report/TraceChartView.h"

namespace mardo {

namespace {

const char* const kHint =
    "Протяните мышью по графику, чтобы увеличить отрезок времени; двойной щелчок возвращает весь "
    "интервал. Правая кнопка сохраняет график.";

}  // namespace

CTraceChartsView::CTraceChartsView(std::vector<CTrace::SFollowed> followed, QWidget* pParent)
    : QWidget(pParent), m_followed(std::move(followed)) {
    auto* pLayout = new QHBoxLayout(this);
    m_pBlocks = new QListWidget(this);
    m_pBlocks->setMaximumWidth(160);
    for (std::size_t i = 0; i < m_followed.size(); ++i) {
        auto* pItem = new QListWidgetItem(Text(m_followed[i].strBlock), m_pBlocks);
        pItem->setToolTip(Text(m_followed[i].strFigure));
        pItem->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        pItem->setCheckState(static_cast<int>(i) < kFirstShown ? Qt::Checked : Qt::Unchecked);
    }
    pLayout->addWidget(m_pBlocks);

    auto* pRight = new QVBoxLayout;
    auto* pScroll = new QScrollArea(this);
    pScroll->setWidgetResizable(true);
    auto* pCharts = new QWidget(pScroll);
    m_pCharts = new QVBoxLayout(pCharts);
    pScroll->setWidget(pCharts);
    pRight->addWidget(pScroll, 1);
    m_pReading = new QLabel(this);
    m_pReading->setWordWrap(true);
    pRight->addWidget(m_pReading);
    pLayout->addLayout(pRight, 1);

    connect(m_pBlocks, &QListWidget::itemChanged, this, [this] { ShowCharts(); });
    ShowCharts();
    ShowReading(QString());
}

std::vector<CTraceChartView*> CTraceChartsView::GetCharts() const {
    std::vector<CTraceChartView*> charts;
    for (int i = 0; i < m_pCharts->count(); ++i) {
        if (auto* pChart = qobject_cast<CTraceChartView*>(m_pCharts->itemAt(i)->widget())) {
            charts.push_back(pChart);
        }
    }
    return charts;
}

void CTraceChartsView::ShowCharts() {
    while (QLayoutItem* pItem = m_pCharts->takeAt(0)) {
        delete pItem->widget();
        delete pItem;
    }
    m_pNote = nullptr;
    int nShown = 0;
    for (int i = 0; i < m_pBlocks->count(); ++i) {
        if (m_pBlocks->item(i)->checkState() == Qt::Checked) {
            auto* pChart = new CTraceChartView(m_followed[static_cast<std::size_t>(i)]);
            connect(pChart, &CTraceChartView::readingChanged, this, &CTraceChartsView::ShowReading);
            // Each chart the same share of the height, none less than its least.
            m_pCharts->addWidget(pChart, 1);
            ++nShown;
        }
    }
    if (nShown == 0) {
        m_pNote = new QLabel(m_followed.empty()
                                 ? QStringLiteral("В модели нет очередей и устройств обслуживания.")
                                 : QStringLiteral("Отметьте блоки в списке слева."));
        m_pNote->setAlignment(Qt::AlignCenter);
        m_pCharts->addWidget(m_pNote);
        m_pCharts->addStretch();
    }
}

void CTraceChartsView::ShowReading(const QString& strReading) {
    m_pReading->setText(strReading.isEmpty() ? Text(kHint) : strReading);
}

}  // namespace mardo
