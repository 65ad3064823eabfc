#pragma once
// One row of a list view: its sub-items' texts (or the note that the parent
// gives them on request), image, state, data and indent.
#include "Platform/Controls/ListViewStyles.h"

#include <string>
#include <vector>

namespace ZELL::Controls {

struct ListViewText {
    std::wstring text;
    bool callback = false;  // LPSTR_TEXTCALLBACK: asked for with LVN_GETDISPINFO
};

struct ListViewItem {
    std::vector<ListViewText> texts;  // by sub-item number
    UINT state = 0;
    int image = I_IMAGENONE;
    LPARAM data = 0;
    int indent = 0;

    const ListViewText* Text(int subItem) const
    {
        return subItem >= 0 && subItem < static_cast<int>(texts.size()) ? &texts[static_cast<size_t>(subItem)] : nullptr;
    }
    ListViewText& TextForWrite(int subItem)
    {
        if (subItem >= static_cast<int>(texts.size()))
            texts.resize(static_cast<size_t>(subItem) + 1);
        return texts[static_cast<size_t>(subItem)];
    }
};

}
