#include "gui/report/ReportDlg.h"

#include <QFile>
#include <QFileInfo>
#include <QFontMetrics>
#include <QHeaderView>
#include <QMenu>
#include <QMenuBar>
#include <QResizeEvent>
#include <QScreen>
#include <QStyle>
#include <QTabWidget>
#include <QTableView>
#include <algorithm>
#include <filesystem>
#include <utility>

#include "core/report/HtmlReport.h"
#include "core/report/ReportTables.h"
#include "gui/common/Dialogs.h"
#include "gui/common/MenuKeys.h"
#include "gui/common/TabKeys.h"
#include "gui/common/TextConversion.h"
#include "gui/report/ReportTableModel.h"
#include "gui/report/TraceChartsView.h"
#include "gui/report/WrapHeaderView.h"
#include "gui/sim/RunIcons.h"

namespace mardo {

namespace {

const char* const kTitle = "Отчет о запуске модели";
const char* const kFileMenu = "&Файл";
const char* const kSaveAsText = "Сохранить &как...";
const char* const kExitText = "&Выход";
const char* const kHtmlFilter = "Файлы \"html\" (*.html)";

constexpr int kColumnWidth = 100;
// The window's size at its design proportions, for when it does not open maximised; wider when
// a table needs it to show every column.
constexpr QSize kInitialSize(640, 460);
// What the window's width adds to a list's: the list lies 20 pixels in from each side.
constexpr int kListMargins = 40;

}  // namespace

CReportDlg::CReportDlg(const CBlockList& blocks, std::uint32_t nModelTime, std::uint32_t nDeparted,
                       const QString& strModelFile, bool bMaximised, QWidget* pParent)
    : CReportDlg(CReportTables(blocks, nModelTime, nDeparted), strModelFile, bMaximised, pParent) {}

CReportDlg::CReportDlg(const CReportTables& tables, const QString& strModelFile, bool bMaximised,
                       QWidget* pParent)
    : QDialog(pParent, Qt::Dialog | Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint),
      m_pTables(std::make_unique<CReportTables>(tables)),
      m_strModelFile(strModelFile),
      m_clock([] { return ReportClock(false); }) {
    setWindowTitle(Text(kTitle));
    setWindowIcon(ReportWindowIcon());
    setSizeGripEnabled(true);
    CreateMenu();
    m_pTabs = new QTabWidget(this);
    for (int nTable = 0; nTable < CReportTables::kTableCount; ++nTable) {
        m_pTabs->addTab(new QWidget(m_pTabs), Text(CReportTables::GetTitle(nTable)));
    }
    // The lists lie over the tab control, not inside its pages, so that their place in the
    // window is fixed whatever the height of the tab headers.
    for (int nTable = 0; nTable < CReportTables::kTableCount; ++nTable) {
        m_lists[static_cast<std::size_t>(nTable)] = CreateList(nTable);
    }
    m_panes.assign(m_lists.begin(), m_lists.end());
    m_lists[1]->hide();
    m_lists[2]->hide();
    connect(m_pTabs, &QTabWidget::currentChanged, this, &CReportDlg::OnTabChanged);
    AddTabTurningKeys(*this, *m_pTabs);
    AddMenuBarKeys(*this, *m_pMenuBar);
    resize(InitialSize());
    if (bMaximised) {
        setWindowState(windowState() | Qt::WindowMaximized);
    }
}

CReportDlg::~CReportDlg() = default;

void CReportDlg::CreateMenu() {
    m_pMenuBar = new QMenuBar(this);
    QMenu* pFile = m_pMenuBar->addMenu(Text(kFileMenu));
    QAction* pSaveAs = pFile->addAction(Text(kSaveAsText));
    pSaveAs->setShortcut(QKeySequence::Save);
    connect(pSaveAs, &QAction::triggered, this, &CReportDlg::SaveAs);
    connect(pFile->addAction(Text(kExitText)), &QAction::triggered, this, &QDialog::reject);
}

QTableView* CReportDlg::CreateList(int nTable) {
    auto* pList = new QTableView(this);
    pList->setHorizontalHeader(new CWrapHeaderView(pList));
    pList->setModel(new CReportTableModel(*m_pTables, nTable, pList));
    pList->verticalHeader()->hide();
    pList->setShowGrid(true);
    pList->setSelectionMode(QAbstractItemView::SingleSelection);
    pList->setSelectionBehavior(QAbstractItemView::SelectRows);
    pList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    pList->setSortingEnabled(false);
    pList->setWordWrap(false);
    QHeaderView* pHeader = pList->horizontalHeader();
    pHeader->setSectionsClickable(false);
    pHeader->setSectionsMovable(true);
    pHeader->setStretchLastSection(false);
    pHeader->setDefaultSectionSize(kColumnWidth);
    pList->ensurePolished();  // the style may change the fonts measured below
    for (int nColumn = 0; nColumn < pList->model()->columnCount(); ++nColumn) {
        pList->setColumnWidth(nColumn, ReadableWidth(*pList, nColumn));
    }
    return pList;
}

// Columns are 100 pixels wide unless a cell or a word of the title needs more: a name or a
// kind title cut short is no use to the reader, and the title wraps onto as many lines as it
// needs.
int CReportDlg::ReadableWidth(const QTableView& list, int nColumn) {
    const auto& table = static_cast<const CReportTableModel&>(*list.model());
    const QFontMetrics cellMetrics(list.font());
    const QStyle* pStyle = list.style();
    const int nCellMargin =
        2 * (pStyle->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, &list) + 1);
    int nWidth = kColumnWidth;
    for (int nRow = 0; nRow < table.rowCount(); ++nRow) {
        nWidth = std::max(nWidth, cellMetrics.horizontalAdvance(table.GetCell(nRow, nColumn)) +
                                      nCellMargin + 4);
    }
    const QHeaderView* pHeader = list.horizontalHeader();
    const QFontMetrics titleMetrics(pHeader->font());
    const int nTitleMargin = 2 * pStyle->pixelMetric(QStyle::PM_HeaderMargin, nullptr, pHeader);
    const QString strTitle = table.headerData(nColumn, Qt::Horizontal).toString();
    for (const QString& strWord : strTitle.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        nWidth = std::max(nWidth, titleMetrics.boundingRect(strWord).width() + nTitleMargin + 6);
    }
    return nWidth;
}

QSize CReportDlg::InitialSize() const {
    int nWidest = 0;
    for (const QTableView* pList : m_lists) {
        int nWidth = 2 * pList->frameWidth() + style()->pixelMetric(QStyle::PM_ScrollBarExtent);
        for (int nColumn = 0; nColumn < pList->model()->columnCount(); ++nColumn) {
            nWidth += pList->columnWidth(nColumn);
        }
        nWidest = std::max(nWidest, nWidth);
    }
    QSize size(std::max(kInitialSize.width(), nWidest + kListMargins), kInitialSize.height());
    if (const QScreen* pScreen = screen()) {
        size = size.boundedTo(pScreen->availableGeometry().size());
    }
    return size;
}

void CReportDlg::ShowSimulation(const QDateTime& finished) {
    setWindowTitle(QStringLiteral("%1: %2, моделирование %3")
                       .arg(Text(kTitle), QFileInfo(m_strModelFile).fileName(),
                            finished.toString(QStringLiteral("dd.MM.yyyy HH:mm:ss"))));
}

void CReportDlg::resizeEvent(QResizeEvent* pEvent) {
    QDialog::resizeEvent(pEvent);
    ApplyLayout();
}

void CReportDlg::ApplyLayout() {
    const int nMenuHeight = m_pMenuBar->sizeHint().height();
    m_pMenuBar->setGeometry(0, 0, width(), nMenuHeight);
    // The client area is what lies below the menu.
    const int nWidth = width();
    const int nHeight = height() - nMenuHeight;
    m_pTabs->setGeometry(10, nMenuHeight + 10, nWidth - 20, nHeight - 20);
    for (QWidget* pPane : m_panes) {
        pPane->setGeometry(20, nMenuHeight + 40, nWidth - 40, nHeight - 60);
    }
}

void CReportDlg::OnTabChanged(int nTab) {
    if (nTab < 0 || nTab >= static_cast<int>(m_panes.size())) {
        return;
    }
    m_panes[static_cast<std::size_t>(m_nShownTab)]->hide();
    QWidget* pShown = m_panes[static_cast<std::size_t>(nTab)];
    pShown->show();
    pShown->setFocus();
    m_nShownTab = nTab;
}

void CReportDlg::ShowTrace(std::vector<CTrace::SFollowed> followed) {
    m_pTabs->addTab(new QWidget(m_pTabs), QStringLiteral("Графики"));
    auto* pCharts = new CTraceChartsView(std::move(followed), this);
    pCharts->hide();
    m_panes.push_back(pCharts);
    ApplyLayout();
}

void CReportDlg::SetClock(CClockFunction clock) {
    m_clock = std::move(clock);
}

void CReportDlg::SaveAs() {
    const QFileInfo modelFile(m_strModelFile);
    const std::string strModelName = modelFile.fileName().toStdString();
    SFileDialogRequest request;
    request.bSave = true;
    request.strProposed = Text(ProposedReportName(strModelName));
    if (modelFile.isAbsolute()) {
        request.strProposed = modelFile.absolutePath() + QLatin1Char('/') + request.strProposed;
    }
    request.strFilter = Text(kHtmlFilter);
    request.strDefaultSuffix = QStringLiteral("html");
    const QString strPath = ShowFileDialog(this, request);
    if (strPath.isEmpty()) {
        return;
    }
    const std::string strPage = BuildHtmlReport(*m_pTables, strModelName, m_clock());
    // A name proposed from "v1.2.mrd" is "v1.2": a page not named as one gets ".html".
    const QString strPagePath = WithSuffix(strPath, QStringLiteral("html"), {QStringLiteral("htm")});
    if (!SaveHtmlReport(strPage, ToFilePath(strPagePath))) {
        ShowMessage(this, Text(kReportSaveErrorText), EMessageIcon::kError);
    }
}

}  // namespace mardo
