#include "gui/model/CaptionScroller.h"

namespace mardo {

std::optional<QString> CCaptionScroller::Step() {
    if (m_nPause > 0) {
        const bool bRestart = m_nPause == kPauseSteps;
        --m_nPause;
        return bRestart ? std::optional<QString>(m_strTitle) : std::nullopt;
    }
    const auto nLength = static_cast<int>(m_strTitle.size());
    ++m_nPos;
    std::optional<QString> caption;
    if (m_nPos <= nLength) {
        caption = m_strTitle.right(nLength - m_nPos) + QLatin1Char(' ') + m_strTitle.left(m_nPos);
    }
    if (m_nPos >= nLength) {
        m_nPos = 0;
        m_nPause = kPauseSteps;
    }
    return caption;
}

void CCaptionScroller::Reset() {
    m_nPos = 0;
    m_nPause = kPauseSteps;
}

}  // namespace mardo
