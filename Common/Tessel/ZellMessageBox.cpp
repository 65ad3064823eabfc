#include "Common/Tessel/ZellMessageBox.h"

#include "Common/Tessel/LibrarySettings.h"
#include "Common/Tessel/MsgBoxDialog.h"
#include "Common/Tessel/TesselExports.h"
#include "Platform/Base/Thread.h"
#include "Platform/Controls/MessageBox.h"

namespace Tessel {

namespace {

constexpr int kMaxText = 65535;

// When no window is active (another program has the focus, or another
// client just closed the main window), the question still belongs to the
// program's main window: unowned it would be free to end up beneath it.
HWND MainWindowOfThisThread()
{
    HWND found = nullptr;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND top, LPARAM result) -> BOOL {
            const LONG_PTR style = GetWindowLongPtrW(top, GWL_STYLE);
            if (!IsWindowVisible(top) || !IsWindowEnabled(top) || (style & WS_CAPTION) != WS_CAPTION ||
                GetWindow(top, GW_OWNER) != nullptr)
                return TRUE;
            *reinterpret_cast<HWND*>(result) = top;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

// The top-level window of the active window, disabled while the box is up
// (and enabled again afterwards when the box disabled it).
class CDisabledTopLevel {
public:
    CDisabledTopLevel()
    {
        const HWND active = GetActiveWindow();
        m_window = active != nullptr ? GetAncestor(active, GA_ROOT) : MainWindowOfThisThread();
        if (m_window != nullptr && IsWindowEnabled(m_window))
            m_disabledHere = EnableWindow(m_window, FALSE) == FALSE;
    }
    ~CDisabledTopLevel()
    {
        if (m_disabledHere && IsWindow(m_window))
            EnableWindow(m_window, TRUE);
    }
    CDisabledTopLevel(const CDisabledTopLevel&) = delete;
    CDisabledTopLevel& operator=(const CDisabledTopLevel&) = delete;
    HWND Window() const { return m_window; }

private:
    HWND m_window = nullptr;
    bool m_disabledHere = false;
};

}

CString ResolveMessageText(LPCWSTR text)
{
    if (text == nullptr)
        return CString();
    if (IS_INTRESOURCE(text))
        return LoadLangStringOrEnglish(static_cast<UINT>(reinterpret_cast<std::uintptr_t>(text)));
    return CString(text).Left(kMaxText);
}

bool UsesSystemBox(UINT type)
{
    return (type & MB_SYSTEMMODAL) != 0 && (type & MB_ICONMASK) == MB_ICONERROR;
}

int ShowZellMessageBox(LPCWSTR text, UINT type, LPCWSTR caption, UINT iconResId)
{
    type |= MB_ZELL_NO_SOUND;
    const CDisabledTopLevel topLevel;
    HWND owner = topLevel.Window();
    if (owner == nullptr)
        owner = GetActiveWindow();
    MsgBoxRequest request;
    request.text = ResolveMessageText(text);
    request.type = type;
    request.caption = caption != nullptr && *caption != L'\0' ? CString(caption) : GetAppName();
    request.iconResId = iconResId;
    if (UsesSystemBox(type))
        return MessageBoxW(owner, request.text.GetString(), request.caption.GetString(), type & ~MB_ZELL_OWN_FLAGS);
    CMsgBoxTemplate boxTemplate(request);
    CMsgBoxDialog dialog(boxTemplate);
    return dialog.Run(owner);
}

}
