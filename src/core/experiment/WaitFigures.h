#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/experiment/Replication.h"

namespace mardo {

class CModel;

// The waiting-time figures of the queues that recorded their waits, as columns added to the
// queue table: waitP50, waitP90, waitP95, waitP99 (ticks), and for every threshold X the share
// of transacts that waited more than X, as "waitOver.X" (documents nest it as "waitOver": {"X"}).
void AddWaitFigures(const CModel& model, const std::vector<std::uint64_t>& thresholds,
                    SFigureTable& queues);

// The title a table of text shows for a column AddWaitFigures adds ("Ожидание, 95%",
// "Доля ждавших > 10"); the key itself for any other.
std::string WaitColumnTitle(const std::string& strKey);

}  // namespace mardo
