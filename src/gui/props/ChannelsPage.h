#pragma once

#include <cstdint>

#include "gui/props/CountPage.h"

namespace mardo {

// "Каналы обслуживания": how many channels a multichannel device has.
class CChannelsPage final : public CCountPage {
public:
    explicit CChannelsPage(std::int32_t nChannels, QWidget* pParent = nullptr);

    std::int32_t GetChannels() const { return GetCount(); }
};

}  // namespace mardo
