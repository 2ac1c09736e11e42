#pragma once

#include <QString>
#include <optional>

namespace mardo {

// The scrolling caption of the blocks whose kind title is too long for their window: while the
// block is selected the caption rotates by one character per step, and rests on the plain title
// for ten steps after each full turn.
class CCaptionScroller {
public:
    static constexpr int kIntervalMs = 200;
    static constexpr int kPauseSteps = 10;

    explicit CCaptionScroller(QString strTitle) : m_strTitle(std::move(strTitle)) {}

    // One timer step: the caption to show now, or nothing when it stays as it is.
    std::optional<QString> Step();
    // Back to the plain title, at the start of a pause.
    void Reset();

private:
    QString m_strTitle;
    int m_nPos = 0;
    int m_nPause = kPauseSteps;
};

}  // namespace mardo
