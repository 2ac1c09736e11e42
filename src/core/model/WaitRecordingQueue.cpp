#include "core/model/WaitRecordingQueue.h"

namespace mardo {

void CWaitRecordingQueue::PrepareRun() {
    CQueueDlg::PrepareRun();
    m_waits.Clear();
}

void CWaitRecordingQueue::ClearTransacts() {
    m_waits.ForgetEntries();
    CQueueDlg::ClearTransacts();
}

void CWaitRecordingQueue::ResetStatistics(std::uint32_t nTime) {
    CQueueDlg::ResetStatistics(nTime);
    if (IsActive()) {
        m_waits.ResetFigures();
    }
}

SQuietTicks CWaitRecordingQueue::QuietUntil(std::uint32_t nTime) { return Quiet(nTime, m_waits); }

}  // namespace mardo
