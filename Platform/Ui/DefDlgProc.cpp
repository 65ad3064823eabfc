// The window procedure of dialogs: the dialog procedure first, then what
// every dialog does by default.
#include "Platform/Ui/DialogManager.h"

using namespace Ui;

namespace {

DLGPROC DialogProcOf(HWND dialog)
{
    return reinterpret_cast<DLGPROC>(GetWindowLongPtrW(dialog, DWLP_DLGPROC));
}

// Messages whose answer is the dialog procedure's return value itself
// rather than DWLP_MSGRESULT.
bool AnswersDirectly(UINT message)
{
    switch (message) {
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
    case WM_COMPAREITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
    case WM_QUERYDRAGICON:
    case WM_INITDIALOG:
        return true;
    default:
        return false;
    }
}

bool IsUsableChild(HWND dialog, HWND control)
{
    return control != nullptr && IsWindow(control) && IsChild(dialog, control) && IsWindowVisible(control) &&
           IsWindowEnabled(control);
}

void RestoreFocus(HWND dialog)
{
    auto state = DialogStateOf(dialog);
    HWND target = state ? state->savedFocus : nullptr;
    if (!IsUsableChild(dialog, target))
        target = GetNextDlgTabItem(dialog, nullptr, FALSE);
    if (target != nullptr && target != GetFocus())
        SetDialogFocus(dialog, target);
}

void SaveFocus(HWND dialog)
{
    HWND focus = GetFocus();
    if (focus == nullptr || !IsChild(dialog, focus))
        return;
    if (auto state = DialogStateOf(dialog))
        state->savedFocus = focus;
}

LRESULT SetDefaultId(HWND dialog, WPARAM id)
{
    auto state = DialogStateOf(dialog);
    if (!state)
        state = AttachDialogState(dialog);
    state->defaultId = static_cast<WORD>(id);
    state->hasDefaultId = true;
    HWND focus = GetFocus();
    UpdateDefaultButton(dialog, focus != nullptr && IsChild(dialog, focus) ? focus : nullptr);
    return TRUE;
}

LRESULT DefaultId(HWND dialog)
{
    auto state = DialogStateOf(dialog);
    if (!state || !state->hasDefaultId)
        return 0;
    return MAKELRESULT(state->defaultId, DC_HASDEFID);
}

void NextControl(HWND dialog, WPARAM wParam, LPARAM lParam)
{
    HWND root = NavigationRoot(dialog);
    HWND target = nullptr;
    if (LOWORD(static_cast<std::uintptr_t>(lParam)) != 0)
        target = reinterpret_cast<HWND>(wParam);
    else
        target = GetNextDlgTabItem(root, GetFocus(), wParam != 0 ? TRUE : FALSE);
    if (target != nullptr && IsWindow(target))
        SetDialogFocus(root, target);
}

// Closing a dialog is its Cancel button, unless that one is disabled.
void Close(HWND dialog)
{
    HWND cancel = GetDlgItem(dialog, IDCANCEL);
    if (cancel != nullptr && !IsWindowEnabled(cancel)) {
        MessageBeep(0);
        return;
    }
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, kBnClicked), reinterpret_cast<LPARAM>(cancel));
}

LRESULT DefaultHandling(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        return 0;
    case WM_ACTIVATE:
        if (LOWORD(wParam) == WA_INACTIVE)
            SaveFocus(dialog);
        else
            RestoreFocus(dialog);
        return 0;
    case WM_SETFOCUS:
        RestoreFocus(dialog);
        return 0;
    case WM_SHOWWINDOW:
        if (wParam == FALSE)
            SaveFocus(dialog);
        return DefWindowProcW(dialog, message, wParam, lParam);
    case WM_CLOSE:
        Close(dialog);
        return 0;
    case WM_NEXTDLGCTL:
        NextControl(dialog, wParam, lParam);
        return 0;
    case DM_GETDEFID:
        return DefaultId(dialog);
    case DM_SETDEFID:
        return SetDefaultId(dialog, wParam);
    case WM_GETFONT: {
        auto state = DialogStateOf(dialog);
        return state ? reinterpret_cast<LRESULT>(state->font) : 0;
    }
    case WM_NCDESTROY:
        DetachDialogState(dialog);
        return DefWindowProcW(dialog, message, wParam, lParam);
    default:
        return DefWindowProcW(dialog, message, wParam, lParam);
    }
}

}

LRESULT DefDlgProcW(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (DLGPROC proc = DialogProcOf(dialog)) {
        SetWindowLongPtrW(dialog, DWLP_MSGRESULT, 0);
        const INT_PTR handled = proc(dialog, message, wParam, lParam);
        if (message == WM_NCDESTROY)
            DetachDialogState(dialog);
        if (handled != 0 || !IsWindow(dialog)) {
            if (AnswersDirectly(message))
                return handled;
            return IsWindow(dialog) ? GetWindowLongPtrW(dialog, DWLP_MSGRESULT) : 0;
        }
    }
    return DefaultHandling(dialog, message, wParam, lParam);
}
