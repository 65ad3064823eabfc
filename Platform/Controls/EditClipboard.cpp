#include "Platform/Controls/EditClipboard.h"

#include "Platform/Ui/Clipboard.h"

#include <cstring>

namespace ZELL::Controls {

namespace {

// Open for the lifetime of the object, when it could be opened.
class COpenClipboard {
public:
    explicit COpenClipboard(HWND owner) : m_open(OpenClipboard(owner) != FALSE) {}
    ~COpenClipboard()
    {
        if (m_open)
            CloseClipboard();
    }
    COpenClipboard(const COpenClipboard&) = delete;
    COpenClipboard& operator=(const COpenClipboard&) = delete;
    bool IsOpen() const { return m_open; }

private:
    bool m_open = false;
};

}

bool PutClipboardText(HWND owner, const std::wstring& text)
{
    COpenClipboard clipboard(owner);
    if (!clipboard.IsOpen())
        return false;
    const SIZE_T bytes = (text.size() + 1) * sizeof(wchar_t);
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes);
    if (block == nullptr)
        return false;
    if (void* data = GlobalLock(block)) {
        std::memcpy(data, text.c_str(), bytes);
        GlobalUnlock(block);
    }
    EmptyClipboard();
    if (SetClipboardData(CF_UNICODETEXT, block) != nullptr)
        return true;
    GlobalFree(block);
    return false;
}

std::optional<std::wstring> ClipboardText(HWND owner)
{
    COpenClipboard clipboard(owner);
    if (!clipboard.IsOpen())
        return std::nullopt;
    HANDLE block = GetClipboardData(CF_UNICODETEXT);
    if (block == nullptr)
        return std::nullopt;
    const SIZE_T count = GlobalSize(block) / sizeof(wchar_t);
    const auto* data = static_cast<const wchar_t*>(GlobalLock(block));
    if (data == nullptr)
        return std::nullopt;
    // A block without its NUL ends at the block's end.
    std::size_t length = 0;
    while (length < count && data[length] != L'\0')
        ++length;
    std::wstring text(data, length);
    GlobalUnlock(block);
    return text;
}

}
