#pragma once
// Numbers in a page's edit fields: read as the range checks read them, and
// shown in the page's formats. A text that is no number leaves the member
// as it was and is reported, so that the field's range check names it.

#include "Platform/Framework/Wnd.h"

class CPageNumberField {
public:
    // False, and `value` kept, when the text does not start with a number.
    static bool Read(const CWnd& page, int id, bool hex, int& value);
    static void Show(CWnd& page, int id, const wchar_t* format, int value);
};
