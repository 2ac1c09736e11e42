#pragma once

#include <QDialog>
#include <QString>
#include <array>
#include <cstdint>
#include <ctime>
#include <functional>
#include <memory>
#include <vector>

#include "core/model/BlockEditor.h"
#include "core/sim/Trace.h"

class QDateTime;
class QMenuBar;
class QTabWidget;
class QTableView;

namespace mardo {

class CReportTables;

// The report of the last simulation: the tables of all named blocks, of the service devices
// and of the queues, each on its own tab, filled once from the figures the blocks hold when the
// window opens. Its menu saves the same tables as an HTML page.
class CReportDlg : public QDialog {
    Q_OBJECT

public:
    using CClockFunction = std::function<std::tm()>;

    // strModelFile names the model on the page; when it has an absolute folder, the page is
    // proposed in that folder.
    CReportDlg(const CBlockList& blocks, std::uint32_t nModelTime, std::uint32_t nDeparted,
               const QString& strModelFile, bool bMaximised, QWidget* pParent = nullptr);
    // The same over tables taken earlier, which may outlive the figures the blocks held.
    CReportDlg(const CReportTables& tables, const QString& strModelFile, bool bMaximised,
               QWidget* pParent = nullptr);
    ~CReportDlg() override;

    // The moment written on a saved page; the local time now unless replaced.
    void SetClock(CClockFunction clock);

    // "Сохранить как...": asks for a file name and writes the page.
    void SaveAs();

    // Adds the tab "Графики" after the tables: the figures followed over model time.
    void ShowTrace(std::vector<CTrace::SFollowed> followed);
    // Names in the title the model and the simulation, by the moment it ended.
    void ShowSimulation(const QDateTime& finished);

    int GetShownTab() const { return m_nShownTab; }

protected:
    void resizeEvent(QResizeEvent* pEvent) override;

private:
    void CreateMenu();
    QTableView* CreateList(int nTable);
    static int ReadableWidth(const QTableView& list, int nColumn);
    QSize InitialSize() const;
    void ApplyLayout();
    void OnTabChanged(int nTab);

    std::unique_ptr<CReportTables> m_pTables;
    QString m_strModelFile;
    CClockFunction m_clock;
    QMenuBar* m_pMenuBar = nullptr;
    QTabWidget* m_pTabs = nullptr;
    std::array<QTableView*, 3> m_lists{};
    std::vector<QWidget*> m_panes;  // what each tab shows: the lists, then the charts if any
    int m_nShownTab = 0;
};

}  // namespace mardo
