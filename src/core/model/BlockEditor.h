#pragma once

#include <memory>
#include <vector>

namespace mardo {

class CBlockDlg;
class CGenerateDlg;
class CTerminateDlg;
class CDeviceDlg;
class CQueueDlg;
class CTransferDlg;
class CSplitDlg;
class CAssembleDlg;
class CGatherDlg;
class CMultiDeviceDlg;

using CBlockList = std::vector<std::unique_ptr<CBlockDlg>>;

// Opens a block's property sheet. The windows implement it; each block kind calls the
// overload for its own type, so the sheets live with the windows and the kinds stay free of
// any toolkit. Each answers whether the user applied the sheet.
class IBlockEditor {
public:
    virtual ~IBlockEditor() = default;
    virtual bool Edit(CGenerateDlg& block, const CBlockList& blocks) = 0;
    virtual bool Edit(CTerminateDlg& block, const CBlockList& blocks) = 0;
    virtual bool Edit(CDeviceDlg& block, const CBlockList& blocks) = 0;
    virtual bool Edit(CQueueDlg& block, const CBlockList& blocks) = 0;
    virtual bool Edit(CTransferDlg& block, const CBlockList& blocks) = 0;
    virtual bool Edit(CSplitDlg& block, const CBlockList& blocks) = 0;
    virtual bool Edit(CAssembleDlg& block, const CBlockList& blocks) = 0;
    virtual bool Edit(CGatherDlg& block, const CBlockList& blocks) = 0;
    virtual bool Edit(CMultiDeviceDlg& block, const CBlockList& blocks) = 0;
};

}  // namespace mardo
