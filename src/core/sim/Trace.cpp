#include "core/sim/Trace.h"

#include "core/model/BlockDlg.h"

namespace mardo {

void CTrace::Follow(const CBlockList& blocks) {
    m_sources.clear();
    m_followed.clear();
    for (const auto& pBlock : blocks) {
        const std::optional<STraceSource> where = pBlock->GetTraceSource();
        if (!pBlock->IsNamed() || !where) {
            continue;
        }
        SSource source;
        source.where = *where;
        source.nValue = source.Read();
        m_sources.push_back(source);
        m_followed.push_back({pBlock->GetName(), where->pszFigure, {}});
    }
}

void CTrace::Finish(std::uint32_t nTime) {
    for (std::size_t i = 0; i < m_sources.size(); ++i) {
        Close(i, nTime + 1);
    }
}

}  // namespace mardo
