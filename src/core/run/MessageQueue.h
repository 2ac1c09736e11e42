#pragma once

#include <chrono>
#include <deque>
#include <mutex>
#include <string>
#include <vector>

#include "core/run/TimeStamp.h"
#include "core/sim/MessageLog.h"

namespace mardo {

// The simulation's side of a client's log. The simulation appends lines from its own thread
// and never waits for the client: a line costs one short lock, and the client takes the lines
// in the order they were issued whenever it gets round to it. A timed line keeps the moment
// it was issued, not the moment it was shown.
class CMessageQueue final : public IMessageLog {
public:
    struct SLine {
        std::string strText;
        int nKind = kInformation;
        bool bWithTime = false;
        std::chrono::seconds time{0};  // the local time of day, for a timed line

        // The line as shown: the time stamp, if timed, then the text.
        std::string Format() const { return bWithTime ? TimeStamp(time) + strText : strText; }
    };

    explicit CMessageQueue(CTimeOfDayFunction clock);

    void AddMessage(const std::string& strText, int nKind, bool bWithTime) override;

    // Removes and answers at most nMost of the oldest lines, oldest first.
    std::vector<SLine> Take(std::size_t nMost);
    bool IsEmpty() const;
    // Drops every line; for when no simulation writes.
    void Clear();
    // The clock of the timed lines; for when no simulation writes.
    void SetClock(CTimeOfDayFunction clock);

private:
    CTimeOfDayFunction m_clock;
    mutable std::mutex m_mutex;
    std::deque<SLine> m_lines;
};

}  // namespace mardo
