#pragma once

#include <QIcon>
#include <QPixmap>

namespace mardo {

// The strip of five 15 × 15 images that the block rows and the block drop-downs show.
class CBlockImages {
public:
    enum EImage { kName = 0, kNameSelected = 1, kOutput = 2, kInput = 3, kNoBlock = 4 };
    static constexpr int kSize = 15;

    static const QPixmap& Get(EImage nImage);
    static QIcon Icon(EImage nImage) { return QIcon(Get(nImage)); }
    // The picture every palette entry shows.
    static const QPixmap& PaletteEntry();
};

}  // namespace mardo
