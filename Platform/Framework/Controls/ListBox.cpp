#include "Platform/Framework/Controls/ListBox.h"

IMPLEMENT_DYNAMIC(CListBox, CWnd)

#include <vector>

void CListBox::GetText(int index, CString& text) const
{
    const int length = GetTextLen(index);
    text.Empty();
    if (length <= 0)
        return;
    std::vector<wchar_t> buffer(static_cast<std::size_t>(length) + 1, L'\0');
    SendMessage(LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(buffer.data()));
    text = buffer.data();
}
