#pragma once

namespace mardo {

// What a block tells the window that shows it. The core updates the block's own fields and
// then notifies its view, if one is attached; the batch runner attaches none.
class IBlockView {
public:
    virtual ~IBlockView() = default;
    virtual void OnSelected() = 0;
    virtual void OnDeselected() = 0;
    virtual void OnRenamed() = 0;
    virtual void OnOutputCountChanged() = 0;
};

// The block's popup menu, as far as a block adjusts it before it is shown.
class IBlockContextMenu {
public:
    enum ECommand : int { kCopy = 158, kDelete = 159, kProperties = 160 };

    virtual ~IBlockContextMenu() = default;
    virtual void EnableCommand(int nCommand, bool bEnable) = 0;
};

}  // namespace mardo
