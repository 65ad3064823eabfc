#include "Common/SystemHelper/Desktop/WindowHelpers.h"

#include "Platform/Base/GlobalMemory.h"
#include "Platform/Base/TextConversion.h"
#include "Platform/Framework/Windows/Wnd.h"
#include "Platform/Ui/Clipboard.h"

#include <algorithm>
#include <cstring>

namespace {

HWND HandleOf(CWnd* window) { return window ? window->GetSafeHwnd() : nullptr; }

// Closes the clipboard that the constructor opened.
class CClipboardSession {
public:
    explicit CClipboardSession(CWnd* owner) : m_open(::OpenClipboard(HandleOf(owner)) != FALSE) {}
    ~CClipboardSession()
    {
        if (m_open)
            ::CloseClipboard();
    }
    CClipboardSession(const CClipboardSession&) = delete;
    CClipboardSession& operator=(const CClipboardSession&) = delete;
    bool IsOpen() const { return m_open; }

private:
    bool m_open = false;
};

// A zeroed block with the bytes and their terminator; null when it cannot be had.
HGLOBAL TextBlock(const std::string& bytes)
{
    HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, bytes.size() + 1);
    if (!block)
        return nullptr;
    void* memory = ::GlobalLock(block);
    if (!memory) {
        ::GlobalFree(block);
        return nullptr;
    }
    std::memcpy(memory, bytes.c_str(), bytes.size() + 1);
    ::GlobalUnlock(block);
    return block;
}

// The text of a CF_TEXT block, which ends at its first NUL or at its end.
std::wstring TextOfBlock(HANDLE block)
{
    const auto* bytes = static_cast<const char*>(::GlobalLock(block));
    if (!bytes)
        return {};
    const std::wstring text = Text::Utf8ToWide(std::string_view(bytes, ::strnlen(bytes, ::GlobalSize(block))));
    ::GlobalUnlock(block);
    return text;
}

}

BOOL BringWindowToFront(CWnd* window)
{
    const HWND hwnd = HandleOf(window);
    const BOOL result = ::SetForegroundWindow(hwnd);
    ::SetWindowPos(hwnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    return result;
}

BOOL SetClipboardText(const std::wstring& text, CWnd* owner)
{
    const CClipboardSession clipboard(owner);
    if (!clipboard.IsOpen())
        return 0;
    ::EmptyClipboard();
    HGLOBAL block = TextBlock(Text::WideToUtf8(text));
    if (!block)
        return 0;
    // The clipboard owns the block once it took it; a refused one stays ours.
    if (!::SetClipboardData(CF_TEXT, block)) {
        ::GlobalFree(block);
        return 0;
    }
    return 1;
}

bool GetClipboardText(wchar_t* buffer, std::size_t size, CWnd* owner)
{
    if (!buffer || size == 0)
        return false;
    buffer[0] = L'\0';
    const CClipboardSession clipboard(owner);
    if (!clipboard.IsOpen())
        return false;
    HANDLE block = ::GetClipboardData(CF_TEXT);
    if (!block)
        return false;
    const std::wstring text = TextOfBlock(block);
    const std::size_t count = std::min(text.size(), size - 1);
    std::copy_n(text.data(), count, buffer);
    buffer[count] = L'\0';
    return true;
}
