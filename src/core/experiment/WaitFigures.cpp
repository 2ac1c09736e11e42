#include "core/experiment/WaitFigures.h"

#include <array>
#include <string>
#include <string_view>

#include "core/model/Model.h"
#include "core/model/WaitRecordingQueue.h"

namespace mardo {

namespace {

struct SPercentile {
    const char* pszKey;
    const char* pszTitle;
    double dQ;
};
constexpr std::array<SPercentile, 4> kPercentiles = {{{"waitP50", "Ожидание, 50%", 0.50},
                                                      {"waitP90", "Ожидание, 90%", 0.90},
                                                      {"waitP95", "Ожидание, 95%", 0.95},
                                                      {"waitP99", "Ожидание, 99%", 0.99}}};
constexpr std::string_view kOverPrefix = "waitOver.";

}  // namespace

void AddWaitFigures(const CModel& model, const std::vector<std::uint64_t>& thresholds,
                    SFigureTable& queues) {
    for (const SPercentile& percentile : kPercentiles) {
        queues.columns.emplace_back(percentile.pszKey);
    }
    for (const std::uint64_t nTicks : thresholds) {
        queues.columns.push_back(std::string(kOverPrefix) + std::to_string(nTicks));
    }
    // The queue table has a row for every named block with queue figures, in the model's order.
    std::size_t nRow = 0;
    for (const auto& pBlock : model.GetBlocks()) {
        if (!pBlock->IsNamed() || !pBlock->GetQueueFigures() || nRow >= queues.rows.size()) {
            continue;
        }
        const auto* pQueue = dynamic_cast<const CWaitRecordingQueue*>(pBlock.get());
        const CWaitHistogram none;
        const CWaitHistogram& waits = pQueue != nullptr ? pQueue->GetWaits() : none;
        std::vector<SFigure>& row = queues.rows[nRow++];
        for (const SPercentile& percentile : kPercentiles) {
            row.emplace_back(static_cast<std::int64_t>(waits.Percentile(percentile.dQ)));
        }
        for (const std::uint64_t nTicks : thresholds) {
            row.emplace_back(waits.ShareOver(nTicks));
        }
    }
}

std::string WaitColumnTitle(const std::string& strKey) {
    for (const SPercentile& percentile : kPercentiles) {
        if (strKey == percentile.pszKey) {
            return percentile.pszTitle;
        }
    }
    if (strKey.starts_with(kOverPrefix)) {
        return "Доля ждавших > " + strKey.substr(kOverPrefix.size());
    }
    return strKey;
}

}  // namespace mardo
