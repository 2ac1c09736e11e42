#pragma once

#include <string>

namespace mardo {

// The one log of the system: the run window's message list, the batch runner's output.
// The model check and the simulation write to it; the receiver adds the local time of day
// to a line written with bWithTime.
class IMessageLog {
public:
    enum EKind : int { kInformation = 0, kWarning = 1, kError = 2 };

    virtual ~IMessageLog() = default;
    virtual void AddMessage(const std::string& strText, int nKind, bool bWithTime) = 0;
};

}  // namespace mardo
