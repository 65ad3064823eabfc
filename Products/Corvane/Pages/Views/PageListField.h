#pragma once
// A page's drop-down lists: filled anew with their texts, an index selected
// (-1 for none) and the selection read back (-1 when nothing is selected).

#include "Platform/Base/CString.h"
#include "Platform/Framework/Windows/Wnd.h"

#include <vector>

namespace Corvane {

class CPageListField {
public:
    static void Fill(CWnd& page, int id, const std::vector<CString>& texts);
    static void Select(CWnd& page, int id, int index);
    static int Selection(const CWnd& page, int id);
};

}  // namespace Corvane
