#include "Platform/Framework/Controls/ComboBox.h"

IMPLEMENT_DYNAMIC(CComboBox, CWnd)

#include <vector>

void CComboBox::GetLBText(int index, CString& text) const
{
    const int length = GetLBTextLen(index);
    text.Empty();
    if (length <= 0)
        return;
    std::vector<wchar_t> buffer(static_cast<std::size_t>(length) + 1, L'\0');
    SendMessage(CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(buffer.data()));
    text = buffer.data();
}
