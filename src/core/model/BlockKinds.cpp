#include "core/model/BlockKinds.h"

#include <array>

#include "core/model/AssembleDlg.h"
#include "core/model/DeviceDlg.h"
#include "core/model/GatherDlg.h"
#include "core/model/GenerateDlg.h"
#include "core/model/MultiDeviceDlg.h"
#include "core/model/QueueDlg.h"
#include "core/model/SplitDlg.h"
#include "core/model/TerminateDlg.h"
#include "core/model/TransferDlg.h"

namespace mardo {

namespace {

template <typename TKind>
std::unique_ptr<CBlockDlg> Make(CPoint ptPos) {
    return std::make_unique<TKind>(ptPos);
}

template <typename TKind>
constexpr SBlockKindEntry Entry(EBlockKind nKind, EKindPicture nPicture = EKindPicture::kBlock) {
    return {nKind, &Make<TKind>, nPicture};
}

constexpr std::array kKinds = {
    Entry<CGenerateDlg>(EBlockKind::kGenerate),
    Entry<CTerminateDlg>(EBlockKind::kTerminate),
    Entry<CDeviceDlg>(EBlockKind::kDevice),
    Entry<CMultiDeviceDlg>(EBlockKind::kMultiDevice, EKindPicture::kChannels),
    Entry<CQueueDlg>(EBlockKind::kQueue),
    Entry<CTransferDlg>(EBlockKind::kTransfer),
    Entry<CSplitDlg>(EBlockKind::kSplit),
    Entry<CAssembleDlg>(EBlockKind::kAssemble),
    Entry<CGatherDlg>(EBlockKind::kGather),
};
static_assert(kKinds.size() == kBlockKindCount);

}  // namespace

std::span<const SBlockKindEntry> BlockKinds() {
    return kKinds;
}

const SBlockKindEntry* FindBlockKind(std::int32_t nKindCode) {
    for (const SBlockKindEntry& entry : kKinds) {
        if (static_cast<std::int32_t>(entry.nKind) == nKindCode) {
            return &entry;
        }
    }
    return nullptr;
}

std::unique_ptr<CBlockDlg> CreateBlock(std::int32_t nKindCode, CPoint ptPos) {
    const SBlockKindEntry* pEntry = FindBlockKind(nKindCode);
    return pEntry != nullptr ? pEntry->create(ptPos) : nullptr;
}

}  // namespace mardo
