#include "core/sim/Trace.h"

#include "core/model/BlockDlg.h"

namespace mardo {

void CTrace::Follow(const std::vector<const CBlockDlg*>& blocks) {
    m_sources.clear();
    m_followed.clear();
    for (const CBlockDlg* pBlock : blocks) {
        const std::optional<STraceSource> where = pBlock->GetTraceSource();
        if (!pBlock->IsNamed() || !where) {
            continue;
        }
        SSource source;
        source.where = *where;
        source.nValue = source.Read();
        source.nFollowed = m_followed.size();
        m_sources.push_back(source);
        m_followed.push_back({pBlock->GetName(), where->pszFigure, {}});
    }
}

void CTrace::Finish(std::uint32_t nTime) {
    for (SSource& source : m_sources) {
        Close(source, nTime + 1);
    }
}

}  // namespace mardo
