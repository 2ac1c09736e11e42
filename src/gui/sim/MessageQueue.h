#pragma once

#include <QTime>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "sim/MessageLog.h"

namespace mardo {

// The local time of day that stamps a log line; tests replace it with a fixed clock.
using CTimeOfDayFunction = std::function<QTime()>;

// The worker's side of the run window's log. The simulation appends lines from its own thread
// and never waits for the window: a line costs one short lock, and the window takes the lines
// in the order they were issued whenever it gets round to it. A timed line keeps the moment
// it was issued, not the moment it was shown.
class CMessageQueue final : public IMessageLog {
public:
    struct SLine {
        std::string strText;
        int nKind = kInformation;
        bool bWithTime = false;
        QTime time;
    };

    explicit CMessageQueue(CTimeOfDayFunction clock);

    void AddMessage(const std::string& strText, int nKind, bool bWithTime) override;

    // Removes and answers at most nMost of the oldest lines, oldest first.
    std::vector<SLine> Take(std::size_t nMost);
    bool IsEmpty() const;

private:
    const CTimeOfDayFunction m_clock;
    mutable std::mutex m_mutex;
    std::deque<SLine> m_lines;
};

}  // namespace mardo
