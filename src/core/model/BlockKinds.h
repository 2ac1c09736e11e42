#pragma once

#include <cstdint>
#include <memory>
#include <span>

#include "core/model/BlockKind.h"
#include "core/model/Point.h"

namespace mardo {

class CBlockDlg;

// The picture a kind's palette entry shows; the windows draw each.
enum class EKindPicture { kBlock, kChannels };

// One kind of block: its code, how a block of it is made with its defaults, and its picture.
// Its title and traits are the block's own (a made block tells them).
struct SBlockKindEntry {
    EBlockKind nKind;
    std::unique_ptr<CBlockDlg> (*create)(CPoint ptPos);
    EKindPicture nPicture;
};

// Every kind, in the order the palette offers them. The model file's reader, the palette, the
// tests' random models and the end-to-end scripts (through `mardo-run --list-kinds`) take the
// kinds from here, so adding a kind is its class and one entry.
std::span<const SBlockKindEntry> BlockKinds();

// The registry's entry of a kind, or null for a code no kind has.
const SBlockKindEntry* FindBlockKind(std::int32_t nKindCode);
inline const SBlockKindEntry* FindBlockKind(EBlockKind nKind) {
    return FindBlockKind(static_cast<std::int32_t>(nKind));
}

// A new block of the kind with the given code and its defaults, or null for an unknown code.
std::unique_ptr<CBlockDlg> CreateBlock(std::int32_t nKindCode, CPoint ptPos = {});

}  // namespace mardo
