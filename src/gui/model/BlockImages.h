#pragma once

#include <QIcon>
#include <QPixmap>

#include "core/model/BlockKinds.h"

namespace mardo {

// The strip of five 15 × 15 images that the block rows and the block drop-downs show.
class CBlockImages {
public:
    enum EImage { kName = 0, kNameSelected = 1, kOutput = 2, kInput = 3, kNoBlock = 4 };
    static constexpr int kSize = 15;

    static const QPixmap& Get(EImage nImage);
    static QIcon Icon(EImage nImage) { return QIcon(Get(nImage)); }
    // The picture a palette entry shows (32 × 32), the common one by default.
    static const QPixmap& PaletteEntry(EKindPicture nPicture = EKindPicture::kBlock);
};

}  // namespace mardo
