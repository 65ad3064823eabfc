// Arbitrary clipboard text (any UTF-16 units: NULs, lone surrogates, line
// breaks, very long lines) pasted into edits of each kind and into the
// IP-address control: an edit keeps within its limit, the address control
// holds a dotted address of at most four fields or nothing new. The first
// byte picks the edits' styles and limit; the rest is the text, two bytes a
// unit.
#include "Platform/Controls/EditClipboard.h"
#include "Platform/Controls/EditStyles.h"
#include "Platform/Controls/IPAddressStyles.h"
#include "Platform/Controls/StandardControls.h"
#include "Platform/Ui/Tests/WindowText.h"
#include "Platform/Ui/WinUser.h"

#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

HWND Parent()
{
    static const HWND parent = [] {
        ::setenv("ZELL_DISPLAY", "headless", 0);
        InitCommonControls();
        return CreateWindowExW(0, L"Static", L"", WS_POPUP, 0, 0, 400, 300, nullptr, nullptr, nullptr, nullptr);
    }();
    return parent;
}

using UiTest::TextOf;

void PasteIntoEdit(HWND parent, DWORD style, int limit)
{
    HWND edit = CreateWindowExW(0, L"Edit", L"before", WS_CHILD | WS_VISIBLE | style, 10, 10, 200, 60, parent,
                                nullptr, nullptr, nullptr);
    if (edit == nullptr)
        std::abort();
    if (limit > 0)
        SendMessageW(edit, EM_LIMITTEXT, static_cast<WPARAM>(limit), 0);
    SendMessageW(edit, EM_SETSEL, 3, 5);
    SendMessageW(edit, WM_PASTE, 0, 0);
    SendMessageW(edit, WM_PASTE, 0, 0);
    if (limit > 0 && TextOf(edit).size() > static_cast<std::size_t>(std::max(limit, 6)))
        std::abort();
    DestroyWindow(edit);
}

void PasteIntoAddress(HWND parent)
{
    HWND address = CreateWindowExW(0, WC_IPADDRESSW, L"", WS_CHILD | WS_VISIBLE, 10, 80, 160, 22, parent, nullptr,
                                   nullptr, nullptr);
    if (address == nullptr)
        std::abort();
    SendMessageW(address, WM_PASTE, 0, 0);
    DWORD value = 0;
    const LRESULT filled = SendMessageW(address, IPM_GETADDRESS, 0, reinterpret_cast<LPARAM>(&value));
    const std::wstring text = TextOf(address);
    if (filled < 0 || filled > 4 || text.size() > 15 || text.find_first_not_of(L"0123456789.") != std::wstring::npos)
        std::abort();
    DestroyWindow(address);
}

}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 1)
        return 0;
    std::wstring text;
    for (std::size_t at = 1; at + 1 < size; at += 2)
        text.push_back(static_cast<wchar_t>(data[at] | (data[at + 1] << 8)));
    const HWND parent = Parent();
    if (!ZELL::Controls::PutClipboardText(parent, text))
        std::abort();

    const std::uint8_t flags = data[0];
    DWORD style = ES_AUTOHSCROLL;
    if (flags & 1)
        style |= ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN;
    if (flags & 2)
        style |= ES_NUMBER;
    if (flags & 4)
        style |= (flags & 8) ? ES_UPPERCASE : ES_LOWERCASE;
    if (flags & 16)
        style |= ES_PASSWORD;
    const int limit = (flags & 32) ? 1 + (flags >> 6) * 7 : 0;
    PasteIntoEdit(parent, style, limit);
    PasteIntoAddress(parent);
    return 0;
}
