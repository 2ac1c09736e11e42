#include "core/report/ReportTables.h"

#include <cstdio>
#include <optional>

#include "core/model/BlockDlg.h"

namespace mardo {

namespace {

const std::array<std::string, CReportTables::kTableCount> kTitles = {
    "Блоки", "Устройства обслуживания", "Очереди"};

const std::array<std::vector<std::string>, CReportTables::kTableCount> kColumns = {{
    {"Номер блока", "Имя блока", "Тип блока", "Количество транзактов, вошедших в блок",
     "Количество транзактов, вышедших из блока",
     "Количество транзактов, оставшихся на конец периода моделирования"},
    {"Номер устройства", "Имя устройства", "Количество транзактов, прошедших через устройство",
     "Коэффициент использования устройства",
     "Среднее время обработки или задержки одного транзакта в устройстве обслуживания",
     "Состояние готовности устройства в конце периода моделирования",
     "Количество транзактов, ожидающих устройство в конце периода моделирования"},
    {"Номер очереди", "Имя очереди", "Общее количество входов в очередь",
     "Количество входов в очередь с нулевым временем ожидания",
     "Максимальное содержимое очереди в течение периода моделирования",
     "Текущее содержимое очереди в конце периода моделирования",
     "Среднее значение содержимого очереди",
     "Среднее время, проведенное в очереди с учетом всех входов в очередь",
     "Среднее время, проведенное в очереди без учета “нулевых” входов в очередь",
     "Состояние готовности очереди в конце периода моделирования",
     "Количество транзактов, ожидающих очередь в конце периода моделирования"},
}};

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

const std::vector<std::string>& CReportTables::GetColumnTitles(int nTable) {
    return kColumns.at(static_cast<std::size_t>(nTable));
}

std::size_t CReportTables::GetRowCount(int nTable) const {
    switch (nTable) {
        case kBlocks:
            return m_blockRows.size();
        case kDevices:
            return m_deviceRows.size();
        default:
            return m_queueRows.size();
    }
}

std::vector<std::vector<std::string>> CReportTables::GetCells(int nTable) const {
    std::vector<std::vector<std::string>> rows;
    if (nTable == kBlocks) {
        for (const SBlockRow& row : m_blockRows) {
            rows.push_back({FormatInt(row.nNumber), row.strName, row.strKind,
                            FormatInt(row.nEntered), FormatInt(row.nLeft),
                            FormatInt(row.nRemaining)});
        }
    } else if (nTable == kDevices) {
        for (const SDeviceRow& row : m_deviceRows) {
            rows.push_back({FormatInt(row.nNumber), row.strName, FormatInt(row.nLeft),
                            FormatFixed(row.dUtilization, 3), FormatFixed(row.dAvgTime, 2),
                            FormatState(row.bFree), FormatInt(row.nWaiting)});
        }
    } else {
        for (const SQueueRow& row : m_queueRows) {
            rows.push_back({FormatInt(row.nNumber), row.strName, FormatInt(row.nEntered),
                            FormatInt(row.nZeroEntries), FormatInt(row.nMaxContent),
                            FormatInt(row.nRemaining), FormatFixed(row.dAvgContent, 2),
                            FormatFixed(row.dAvgTimeAll, 2), FormatFixed(row.dAvgTimeNonZero, 2),
                            FormatState(row.bFree), FormatInt(row.nWaiting)});
        }
    }
    return rows;
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
