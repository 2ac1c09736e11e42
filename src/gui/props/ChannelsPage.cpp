#include "gui/props/ChannelsPage.h"

#include "core/model/MultiDeviceDlg.h"

namespace mardo {

CChannelsPage::CChannelsPage(std::int32_t nChannels, QWidget* pParent)
    : CCountPage(QStringLiteral("Каналы обслуживания"), QStringLiteral("Число каналов"), 1,
                 CMultiDeviceDlg::kMaxChannels, nChannels, pParent) {}

}  // namespace mardo
