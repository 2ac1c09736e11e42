#pragma once

#include <vector>

namespace mardo {

class CBlockDlg;
class CModel;

// The blocks whose passes a simulation of the model reaches (from its named generators, through
// prepared blocks), each told the lists it is handed, so that together they can tell how long
// nothing would happen. Empty when ticks cannot be skipped safely: when a link leads into a
// generator, which counts down once per pass it receives rather than once per tick.
std::vector<CBlockDlg*> WatchForQuietTicks(const CModel& model);

}  // namespace mardo
