#include "core/report/ReportTables.h"

#include <cstdio>
#include <optional>

#include "core/model/BlockDlg.h"
#include "core/model/Statistics.h"

namespace mardo {

namespace {

const std::array<std::string, CReportTables::kDataTableCount> kTitles = {
    "Блоки", "Устройства обслуживания", "Очереди", "Каналы устройств"};

constexpr std::array<const char*, CReportTables::kDataTableCount> kKeys = {"blocks", "devices",
                                                                           "queues", "channels"};

using K = EColumnKind;
const std::array<std::vector<SReportColumn>, CReportTables::kDataTableCount> kColumns = {{
    {{"number", "Номер блока", K::kNumber},
     {"name", "Имя блока", K::kText},
     {"kind", "Тип блока", K::kText},
     {"entered", "Количество транзактов, вошедших в блок", K::kCount},
     {"left", "Количество транзактов, вышедших из блока", K::kCount},
     {"remaining", "Количество транзактов, оставшихся на конец периода моделирования", K::kCount}},
    {{"number", "Номер устройства", K::kNumber},
     {"name", "Имя устройства", K::kText},
     {"left", "Количество транзактов, прошедших через устройство", K::kCount},
     {"utilization", "Коэффициент использования устройства", K::kFraction, 3},
     {"avgTime", "Среднее время обработки или задержки одного транзакта в устройстве обслуживания",
      K::kQuotient, 2},
     {"free", "Состояние готовности устройства в конце периода моделирования", K::kState},
     {"waiting", "Количество транзактов, ожидающих устройство в конце периода моделирования",
      K::kCount}},
    {{"number", "Номер очереди", K::kNumber},
     {"name", "Имя очереди", K::kText},
     {"entered", "Общее количество входов в очередь", K::kCount},
     {"zeroEntries", "Количество входов в очередь с нулевым временем ожидания", K::kCount},
     {"maxContent", "Максимальное содержимое очереди в течение периода моделирования", K::kCount},
     {"remaining", "Текущее содержимое очереди в конце периода моделирования", K::kCount},
     {"avgContent", "Среднее значение содержимого очереди", K::kQuotient, 2},
     {"avgTimeAll", "Среднее время, проведенное в очереди с учетом всех входов в очередь",
      K::kQuotient, 2},
     {"avgTimeNonZero",
      "Среднее время, проведенное в очереди без учета “нулевых” входов в очередь", K::kQuotient, 2},
     {"free", "Состояние готовности очереди в конце периода моделирования", K::kState},
     {"waiting", "Количество транзактов, ожидающих очередь в конце периода моделирования",
      K::kCount}},
    // The mean of busy channels is shown as divided: the 0.0005 belongs to the report's own
    // figures.
    {{"number", "Номер устройства", K::kNumber},
     {"name", "Имя устройства", K::kText},
     {"channels", "Число каналов", K::kCount},
     {"meanBusy", "Среднее число занятых каналов", K::kQuotient, 3, false}},
}};

std::int64_t Count(std::uint32_t n) { return std::int64_t{n}; }

}  // namespace

CReportTables::CReportTables(const CBlockList& blocks, std::uint32_t nModelTime,
                             std::uint32_t nDeparted)
    : m_nModelTime(nModelTime), m_nDeparted(nDeparted) {
    for (const auto& pBlock : blocks) {
        if (!pBlock->IsNamed()) {
            continue;
        }
        const CBlockDlg& block = *pBlock;
        m_blockRows.push_back({static_cast<std::int32_t>(m_blockRows.size() + 1), block.GetName(),
                               block.GetKindTitle(), block.GetEntered(), block.GetLeft(),
                               block.GetRemaining()});
        if (const std::optional<SDeviceFigures> device = block.GetDeviceFigures()) {
            m_deviceRows.push_back(
                {*device, static_cast<std::int32_t>(m_deviceRows.size() + 1), block.GetName()});
            if (const std::optional<SChannelFigures> channels = block.GetChannelFigures()) {
                m_channelRows.push_back({*channels, m_deviceRows.back().nNumber, block.GetName()});
            }
        }
        if (const std::optional<SQueueFigures> queue = block.GetQueueFigures()) {
            m_queueRows.push_back(
                {*queue, static_cast<std::int32_t>(m_queueRows.size() + 1), block.GetName()});
        }
    }
}

const std::string& CReportTables::GetTitle(int nTable) {
    return kTitles.at(static_cast<std::size_t>(nTable));
}

const char* CReportTables::GetKey(int nTable) { return kKeys.at(static_cast<std::size_t>(nTable)); }

const std::vector<SReportColumn>& CReportTables::GetColumns(int nTable) {
    return kColumns.at(static_cast<std::size_t>(nTable));
}

const std::vector<std::string>& CReportTables::GetColumnTitles(int nTable) {
    static const std::array<std::vector<std::string>, kDataTableCount> titles = [] {
        std::array<std::vector<std::string>, kDataTableCount> all;
        for (int t = 0; t < kDataTableCount; ++t) {
            for (const SReportColumn& column : GetColumns(t)) {
                all[static_cast<std::size_t>(t)].push_back(column.strTitle);
            }
        }
        return all;
    }();
    return titles.at(static_cast<std::size_t>(nTable));
}

std::size_t CReportTables::GetNameColumnCount(int nTable) {
    const std::vector<SReportColumn>& columns = GetColumns(nTable);
    std::size_t n = 0;
    while (n < columns.size() &&
           (columns[n].eKind == EColumnKind::kNumber || columns[n].IsText())) {
        ++n;
    }
    return n;
}

std::size_t CReportTables::GetRowCount(int nTable) const {
    switch (nTable) {
        case kBlocks:
            return m_blockRows.size();
        case kDevices:
            return m_deviceRows.size();
        case kChannels:
            return m_channelRows.size();
        default:
            return m_queueRows.size();
    }
}

std::vector<std::vector<SFigure>> CReportTables::GetFigures(int nTable) const {
    std::vector<std::vector<SFigure>> rows;
    if (nTable == kBlocks) {
        for (const SBlockRow& row : m_blockRows) {
            rows.push_back({std::int64_t{row.nNumber}, row.strName, row.strKind,
                            Count(row.nEntered), Count(row.nLeft), Count(row.nRemaining)});
        }
    } else if (nTable == kDevices) {
        for (const SDeviceRow& row : m_deviceRows) {
            rows.push_back({std::int64_t{row.nNumber}, row.strName, Count(row.nLeft),
                            row.dUtilization, row.dAvgTime, row.bFree, Count(row.nWaiting)});
        }
    } else if (nTable == kChannels) {
        for (const SChannelRow& row : m_channelRows) {
            rows.push_back({std::int64_t{row.nNumber}, row.strName,
                            std::int64_t{row.nChannels}, row.dMeanBusy});
        }
    } else {
        for (const SQueueRow& row : m_queueRows) {
            rows.push_back({std::int64_t{row.nNumber}, row.strName, Count(row.nEntered),
                            Count(row.nZeroEntries), Count(row.nMaxContent),
                            Count(row.nRemaining), row.dAvgContent, row.dAvgTimeAll,
                            row.dAvgTimeNonZero, row.bFree, Count(row.nWaiting)});
        }
    }
    return rows;
}

std::vector<std::vector<std::string>> CReportTables::GetCells(int nTable) const {
    const std::vector<SReportColumn>& columns = GetColumns(nTable);
    std::vector<std::vector<std::string>> rows;
    for (const std::vector<SFigure>& figures : GetFigures(nTable)) {
        std::vector<std::string>& cells = rows.emplace_back();
        for (std::size_t c = 0; c < figures.size(); ++c) {
            cells.push_back(FormatCell(columns[c], figures[c]));
        }
    }
    return rows;
}

std::string CReportTables::FormatCell(const SReportColumn& column, const SFigure& figure) {
    if (const auto* pText = std::get_if<std::string>(&figure)) {
        return *pText;
    }
    if (const auto* pBool = std::get_if<bool>(&figure)) {
        return FormatState(*pBool);
    }
    if (const auto* pDouble = std::get_if<double>(&figure)) {
        return FormatFixed(column.bShownLess ? ShownQuotient(*pDouble) : *pDouble,
                           column.nDecimals);
    }
    return FormatInt(static_cast<std::uint32_t>(std::get<std::int64_t>(figure)));
}

std::string CReportTables::FormatTotalRemaining() const {
    std::uint32_t nTotal = 0;
    for (const SBlockRow& row : m_blockRows) {
        nTotal += row.nRemaining;
    }
    return FormatInt(nTotal);
}

// Counters are 32-bit and written as signed numbers, as the report always wrote them.
std::string CReportTables::FormatInt(std::uint32_t n) {
    return FormatInt(static_cast<std::int32_t>(n));
}

std::string CReportTables::FormatInt(std::int32_t n) { return std::to_string(n); }

std::string CReportTables::FormatFixed(double d, int nDecimals) {
    const int nLength = std::snprintf(nullptr, 0, "%.*f", nDecimals, d);
    std::string strText(static_cast<std::size_t>(nLength) + 1, '\0');
    std::snprintf(strText.data(), strText.size(), "%.*f", nDecimals, d);
    strText.resize(static_cast<std::size_t>(nLength));
    return strText;
}

}  // namespace mardo
