#include "gui/props/WaitTransactPage.h"

#include "core/model/GroupBlockDlg.h"

namespace mardo {

CWaitTransactPage::CWaitTransactPage(std::int32_t nWaitCount, QWidget* pParent)
    : CCountPage(QStringLiteral("Ожидаемые транзакты"),
                 QStringLiteral("Количество ожидаемых транзактов"), 1,
                 CGroupBlockDlg::kMaxWaitCount, nWaitCount, pParent) {}

}  // namespace mardo
