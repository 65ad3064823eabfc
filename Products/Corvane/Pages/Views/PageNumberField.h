#pragma once
// Numbers in a page's edit fields: read as the range checks read them, and
// shown in the page's formats. A text that is no number (an empty one, or
// one with letters) leaves the member as it was and is reported, so that
// the field's range check names it and nothing of it is written.

#include "Platform/Framework/Windows/Wnd.h"

namespace Corvane {

class CPageNumberField {
public:
    // False, and `value` kept, when the field's text is not one number.
    static bool Read(const CWnd& page, int id, bool hex, int& value);
    // The whole text, blanks around it aside, is one number of the base.
    static bool Parse(const CString& text, bool hex, int& value);
    static void Show(CWnd& page, int id, const wchar_t* format, int value);
};

}  // namespace Corvane
