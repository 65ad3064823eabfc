#pragma once
// What an owner-drawn menu keeps for each of its items: the item's text, its
// flags and command, and where its image comes from.
#include "Platform/Framework/Drawing/ImageList.h"
#include "Platform/Ui/WinUser.h"

#include <memory>
#include <string>

namespace ZELL::Skin {

struct CZellMenuData {
    std::wstring text;
    UINT flags = 0;
    UINT_PTR command = 0;  // the sub-menu handle for a pop-up item
    // The list the item's own image sits in (shared by the items a toolbar
    // gave images to), and its index there; -1 for none.
    std::shared_ptr<CImageList> images;
    int imageIndex = -1;
    // The command's image in the class-wide list, so that every menu showing
    // the command can draw it; -1 for none.
    int globalImageIndex = -1;

    bool HasOwnImage() const { return images != nullptr && imageIndex >= 0; }
    bool IsSeparator() const { return (flags & MF_SEPARATOR) != 0; }
    bool IsPopup() const { return (flags & MF_POPUP) != 0; }
};

}  // namespace ZELL::Skin
