#include "Common/Tessel/ZellMessageBox.h"

#include "Common/Tessel/LibrarySettings.h"
#include "Common/Tessel/MsgBoxDialog.h"
#include "Common/Tessel/TesselExports.h"
#include "Platform/Controls/MessageBox.h"

namespace Tessel {

namespace {

constexpr int kMaxText = 65535;

// The top-level window of the active window, disabled while the box is up
// (and enabled again afterwards when the box disabled it).
class CDisabledTopLevel {
public:
    CDisabledTopLevel()
    {
        const HWND active = GetActiveWindow();
        m_window = active != nullptr ? GetAncestor(active, GA_ROOT) : nullptr;
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
