#pragma once

namespace mardo {

class CBlockDlg;

// One link of the diagram: output nOutput of the source leads to the destination. The empty
// link (no source, output -1) stands for "no link selected".
struct SDiagramLink {
    CBlockDlg* pSource = nullptr;
    int nOutput = -1;
    CBlockDlg* pDestination = nullptr;

    bool IsSet() const { return pSource != nullptr; }
    bool Involves(const CBlockDlg* pBlock) const {
        return pBlock != nullptr && (pSource == pBlock || pDestination == pBlock);
    }
    friend bool operator==(const SDiagramLink&, const SDiagramLink&) = default;
};

}  // namespace mardo
