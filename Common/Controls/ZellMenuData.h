#pragma once
// What an owner-drawn menu keeps for each of its items: the item's text, its
// flags and command, and where its image comes from.
#include "Platform/Framework/ImageList.h"

#include <memory>
#include <string>

struct CZellMenuData {
    std::wstring text;
    UINT flags = 0;
    UINT_PTR command = 0;  // the sub-menu handle for a pop-up item
    // The list the item's image sits in (shared by the items a toolbar gave
    // images to), and its index there; -1 for none.
    std::shared_ptr<CImageList> images;
    int imageIndex = -1;
};
