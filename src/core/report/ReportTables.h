#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <variant>
#include <vector>

#include "core/model/BlockDlg.h"
#include "core/model/BlockEditor.h"

namespace mardo {

// One cell of the report as a figure: a counter or a row's number, an exact quotient, a state
// (true for free) or a text.
using SFigure = std::variant<std::int64_t, double, bool, std::string>;

// What a column of the report holds, which says how every output shows, aligns and checks it.
enum class EColumnKind {
    kNumber,    // the row's number in its table
    kText,      // a name or a kind, written left-aligned
    kCount,     // a counter, 0..4294967295
    kFraction,  // a quotient that cannot pass 1 (the utilization)
    kQuotient,  // a quotient of counters, 0 or more
    kState      // free (1) or busy (0) at the end: a share over replications
};

struct SReportColumn {
    const char* pszKey;    // as documents name it
    std::string strTitle;  // as the report's header names it
    EColumnKind eKind;
    int nDecimals = 0;     // of a quotient as the report shows it
    bool bShownLess = true;  // a quotient shown less 0.0005 (ShownQuotient), as the report's own

    bool IsText() const { return eKind == EColumnKind::kText; }
    bool IsQuotient() const { return eKind == EColumnKind::kFraction || eKind == EColumnKind::kQuotient; }
};

// The report of a simulation: one table of all named blocks, one of the service devices and
// one of the queues, each row numbered by its own table's counter, with the figures the blocks
// computed at the end of the runs. The report window, the HTML page and the batch runner all
// render from this one model; nothing else formats a figure.
class CReportTables {
public:
    // The tables the report shows, then the devices' channels, which only the data outputs
    // and the batch runner's text add.
    enum ETable : int { kBlocks = 0, kDevices = 1, kQueues = 2, kChannels = 3 };
    static constexpr int kTableCount = 3;
    // The tables the data outputs write, which the description below covers.
    static constexpr int kDataTableCount = 4;

    struct SBlockRow {
        std::int32_t nNumber;
        std::string strName;
        std::string strKind;
        std::uint32_t nEntered;
        std::uint32_t nLeft;
        std::uint32_t nRemaining;
    };
    // A device's or a queue's figures, numbered in their table and named.
    struct SDeviceRow : SDeviceFigures {
        std::int32_t nNumber;
        std::string strName;
    };
    struct SQueueRow : SQueueFigures {
        std::int32_t nNumber;
        std::string strName;
    };
    // The channels of a device row with several, numbered and named as that row; the report's
    // tables do not show them, the data outputs do.
    struct SChannelRow : SChannelFigures {
        std::int32_t nNumber;
        std::string strName;
    };

    // Reads the figures the blocks hold now; blocks without a name have no row anywhere.
    CReportTables(const CBlockList& blocks, std::uint32_t nModelTime, std::uint32_t nDeparted);

    // The one description of the tables that every output reads: their titles, their keys in
    // documents, their columns, and how many leading columns name a row rather than measure it.
    static const std::string& GetTitle(int nTable);
    static const char* GetKey(int nTable);
    static const std::vector<SReportColumn>& GetColumns(int nTable);
    static const std::vector<std::string>& GetColumnTitles(int nTable);
    static std::size_t GetNameColumnCount(int nTable);

    // The rows of a table as figures (quotients exact), in column order.
    std::vector<std::vector<SFigure>> GetFigures(int nTable) const;
    // The rows of a table as the texts of their cells, in column order.
    std::vector<std::vector<std::string>> GetCells(int nTable) const;
    // A figure of a column as the report shows it.
    static std::string FormatCell(const SReportColumn& column, const SFigure& figure);
    std::size_t GetRowCount(int nTable) const;

    const std::vector<SBlockRow>& GetBlockRows() const { return m_blockRows; }
    const std::vector<SDeviceRow>& GetDeviceRows() const { return m_deviceRows; }
    const std::vector<SQueueRow>& GetQueueRows() const { return m_queueRows; }
    const std::vector<SChannelRow>& GetChannelRows() const { return m_channelRows; }

    std::uint32_t GetModelTime() const { return m_nModelTime; }
    std::uint32_t GetDeparted() const { return m_nDeparted; }
    // The summary's figures as the report writes them.
    std::string FormatModelTime() const { return FormatInt(m_nModelTime); }
    std::string FormatDeparted() const { return FormatInt(m_nDeparted); }
    std::string FormatBlockCount() const { return FormatInt(static_cast<std::uint32_t>(m_blockRows.size())); }
    // The transacts left in the system: the sum of the blocks' remaining counts.
    std::string FormatTotalRemaining() const;

    // The cell texts: counters with "%d", the figures with "%.3f" or "%.2f", the state words.
    static std::string FormatInt(std::uint32_t n);
    static std::string FormatInt(std::int32_t n);
    static std::string FormatFixed(double d, int nDecimals);
    static const char* FormatState(bool bFree) { return bFree ? "Свободен" : "Занят"; }

private:
    std::uint32_t m_nModelTime;
    std::uint32_t m_nDeparted;
    std::vector<SBlockRow> m_blockRows;
    std::vector<SDeviceRow> m_deviceRows;
    std::vector<SQueueRow> m_queueRows;
    std::vector<SChannelRow> m_channelRows;
};

}  // namespace mardo
