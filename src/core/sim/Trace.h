#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "core/model/BlockEditor.h"
#include "core/sim/TimeSeries.h"
#include "core/sim/TraceSource.h"

namespace mardo {

// The figures over model time of one simulation: for every named block that offers one, its
// series, kept by run lengths so that a tick in which nothing changed costs no more than the
// look at each figure. Made before the simulation starts and read once it has ended.
class CTrace {
public:
    struct SFollowed {
        std::string strBlock;   // the block's name
        std::string strFigure;  // what the figure is
        CTimeSeries series;
    };

    // Follows the blocks' figures; the blocks must stay while the simulation runs.
    void Follow(const CBlockList& blocks);
    // After tick nTime: notes every figure that changed. As in the report's figures, what a
    // block holds at the end of a tick is what it holds through the next one (the content a
    // queue carries into a tick, a device busy through a tick's service step).
    void Sample(std::uint32_t nTime) {
        for (std::size_t i = 0; i < m_sources.size(); ++i) {
            const std::uint32_t nValue = m_sources[i].Read();
            if (nValue != m_sources[i].nValue) {
                Close(i, nTime + 1);
                m_sources[i].nValue = nValue;
            }
        }
    }
    // After tick nTime, the last: the figures' last runs go into the series.
    void Finish(std::uint32_t nTime);

    const std::vector<SFollowed>& GetFollowed() const { return m_followed; }

private:
    struct SSource {
        STraceSource where;
        std::uint32_t nValue = 0;   // since nSince
        std::uint32_t nSince = 1;   // the first tick of the value's run

        std::uint32_t Read() const {
            return where.pCount != nullptr ? static_cast<std::uint32_t>(*where.pCount)
                                           : static_cast<std::uint32_t>(*where.pFlag);
        }
    };

    // Source i's value's run ends before tick nNext.
    void Close(std::size_t i, std::uint32_t nNext) {
        SSource& source = m_sources[i];
        if (nNext > source.nSince) {
            m_followed[i].series.Add(source.nValue, nNext - source.nSince);
        }
        source.nSince = nNext;
    }

    std::vector<SSource> m_sources;      // one for each of m_followed, in the same order
    std::vector<SFollowed> m_followed;
};

}  // namespace mardo
