#pragma once

#include "core/sim/MessageLog.h"

namespace mardo {

class CModel;

// Checks, before a simulation, that the model can be simulated: it has blocks, a generator, a
// terminator and named blocks; every switching block's output values make sense; every output
// of a named block is linked and every named block with an input is fed by another named block;
// and no path from a generator runs in a circle. Findings go to the log without the time; a
// stage that fails ends the check after writing all its own messages. Changes nothing.
bool CheckModel(const CModel& model, IMessageLog& log);

}  // namespace mardo
