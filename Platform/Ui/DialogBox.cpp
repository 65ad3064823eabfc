// Dialogs from templates: creation, the modal loop and its end.
#include "Platform/Base/LastError.h"
#include "Platform/Gdi/DeviceContext.h"
#include "Platform/Gdi/Text.h"
#include "Platform/Ui/DialogManager.h"
#include "Platform/Ui/WindowSystem.h"

#include <algorithm>
#include <cwchar>
#include <map>
#include <mutex>

using namespace Ui;

namespace {

// Code that hands over a template without its size is trusted to hand over
// a whole one; the bound only keeps garbage counts and unterminated texts
// from running on without end.
constexpr std::size_t kUnsizedImageLimit = 16u << 20;
// A template point size that asks for the message font.
constexpr WORD kMessageFontPoints = 0x7FFF;

std::mutex g_statesMutex;
std::map<HWND, std::shared_ptr<DialogState>> g_states;

bool IsShellFaceName(const std::wstring& face)
{
    return face.empty() || face == L"MS Shell Dlg" || face == L"MS Shell Dlg 2";
}

// The template's font; null without DS_SETFONT (the dialog then uses the
// font GetDialogBaseUnits measures).
HFONT CreateTemplateFont(const CDialogTemplate& dt)
{
    NONCLIENTMETRICSW metrics;
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    if (!dt.HasFont() || dt.pointSize == kMessageFontPoints)
        return CreateFontIndirectW(&metrics.lfMessageFont);
    LOGFONTW font = metrics.lfMessageFont;
    HDC screen = GetDC(nullptr);
    const int dpi = screen != nullptr ? GetDeviceCaps(screen, LOGPIXELSY) : 96;
    if (screen != nullptr)
        ReleaseDC(nullptr, screen);
    font.lfHeight = -MulDiv(dt.pointSize, dpi > 0 ? dpi : 96, 72);
    font.lfWeight = dt.weight != 0 ? dt.weight : FW_NORMAL;
    font.lfItalic = dt.italic != 0 ? 1 : 0;
    font.lfCharSet = dt.charSet;
    // The shell's dialog face is the message font here.
    if (!IsShellFaceName(dt.faceName)) {
        std::wmemset(font.lfFaceName, 0, LF_FACESIZE);
        std::wcsncpy(font.lfFaceName, dt.faceName.c_str(), LF_FACESIZE - 1);
    }
    return CreateFontIndirectW(&font);
}

DWORD DialogStyle(const CDialogTemplate& dt)
{
    DWORD style = dt.style & ~WS_VISIBLE;
    if ((dt.style & DS_CONTROL) != 0) {
        style &= ~(WS_CAPTION | WS_SYSMENU);
        style |= WS_CHILD;
    }
    return style;
}

DWORD DialogExStyle(const CDialogTemplate& dt)
{
    DWORD exStyle = dt.exStyle;
    if ((dt.style & DS_MODALFRAME) != 0)
        exStyle |= WS_EX_DLGMODALFRAME;
    if ((dt.style & DS_CONTROL) != 0)
        exStyle |= WS_EX_CONTROLPARENT;
    if ((dt.style & DS_SYSMODAL) != 0)
        exStyle |= WS_EX_TOPMOST;
    return exStyle;
}

RECT WorkAreaNear(HWND owner)
{
    MONITORINFO info;
    HMONITOR monitor = owner != nullptr ? MonitorFromWindow(owner, MONITOR_DEFAULTTONEAREST)
                                        : MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY);
    if (GetMonitorInfoW(monitor, &info))
        return info.rcWork;
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    return work;
}

// The dialog's window rectangle: a child's in its parent's client
// coordinates, a pop-up's on the screen (relative to the owner's client area
// unless DS_ABSALIGN; centred on the owner or the work area with DS_CENTER).
RECT DialogWindowRect(const CDialogTemplate& dt, DWORD style, DWORD exStyle, SIZE units, HWND owner)
{
    const RECT client = DialogUnitsToPixels(RECT{0, 0, dt.cx, dt.cy}, units);
    RECT window = client;
    AdjustWindowRectEx(&window, style, FALSE, exStyle);
    const RECT offset = DialogUnitsToPixels(RECT{dt.x, dt.y, 0, 0}, units);
    OffsetRect(&window, offset.left, offset.top);
    if ((style & WS_CHILD) != 0)
        return window;
    if (owner != nullptr && (dt.style & DS_ABSALIGN) == 0) {
        POINT origin{0, 0};
        ClientToScreen(owner, &origin);
        OffsetRect(&window, origin.x, origin.y);
    }
    const RECT work = WorkAreaNear(owner);
    const LONG width = window.right - window.left;
    const LONG height = window.bottom - window.top;
    LONG left = window.left;
    LONG top = window.top;
    if ((dt.style & DS_CENTER) != 0) {
        RECT around = work;
        if (owner != nullptr && IsWindowVisible(owner))
            GetWindowRect(owner, &around);
        left = around.left + (around.right - around.left - width) / 2;
        top = around.top + (around.bottom - around.top - height) / 2;
    }
    // Kept on the work area wherever the template puts it, its caption above all.
    left = std::max(work.left, std::min(left, work.right - width));
    top = std::max(work.top, std::min(top, work.bottom - height));
    return {left, top, left + width, top + height};
}

std::wstring ItemClassName(const DialogItemTemplate& item)
{
    if (item.windowClass.isOrdinal)
        return CDialogTemplate::PredefinedClassName(item.windowClass.ordinal);
    return item.windowClass.name;
}

// A resource id as the text of a control travels as 0xFFFF and the id, as
// the platform passes it.
std::wstring ItemText(const DialogItemTemplate& item)
{
    if (!item.text.isOrdinal)
        return item.text.name;
    return std::wstring{static_cast<wchar_t>(0xFFFF), static_cast<wchar_t>(item.text.ordinal)};
}

bool CreateItem(HWND dialog, HINSTANCE instance, const DialogItemTemplate& item, const DialogState& state)
{
    const std::wstring className = ItemClassName(item);
    const std::wstring text = ItemText(item);
    const RECT r = DialogUnitsToPixels(RECT{item.x, item.y, item.x + item.cx, item.y + item.cy}, state.baseUnits);
    void* creationData = item.creationData.empty() ? nullptr : const_cast<BYTE*>(item.creationData.data());
    HWND control = CreateWindowExW(item.exStyle | WS_EX_NOPARENTNOTIFY, className.c_str(), text.c_str(),
                                   (item.style | WS_CHILD) & ~WS_POPUP, r.left, r.top, r.right - r.left,
                                   r.bottom - r.top, dialog,
                                   reinterpret_cast<HMENU>(static_cast<std::uintptr_t>(item.id)), instance,
                                   creationData);
    if (control == nullptr)
        return false;
    if (state.font != nullptr)
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(state.font), FALSE);
    return true;
}

// The first control that asks to be the default push button sets the
// default id, as DM_SETDEFID would.
void NoteDefaultButton(HWND dialog, DialogState& state)
{
    for (HWND control : DialogControls(dialog)) {
        if ((DialogCodeOf(control) & DLGC_DEFPUSHBUTTON) != 0) {
            state.defaultId = static_cast<WORD>(GetDlgCtrlID(control));
            state.hasDefaultId = true;
            return;
        }
    }
}

// WM_INITDIALOG's answer TRUE gives the focus to the first tab stop, even
// when the procedure moved it elsewhere; FALSE keeps what the procedure
// chose. A top-level dialog that is not active yet takes the focus when it
// is activated; one the procedure already activated (setting the focus
// does) takes it now, as a child dialog does.
void GiveInitialFocus(HWND dialog, HWND firstTab, LRESULT initResult)
{
    auto state = DialogStateOf(dialog);
    if (!state || !IsWindow(dialog))
        return;
    HWND focus = GetFocus();
    HWND target = focus != nullptr && IsChild(dialog, focus) ? focus : nullptr;
    if (initResult != 0 && firstTab != nullptr)
        target = firstTab;
    state->savedFocus = target;
    if (target == nullptr)
        return;
    const bool takesFocusNow =
        (GetWindowLongPtrW(dialog, GWL_STYLE) & WS_CHILD) != 0 || GetActiveWindow() == dialog;
    if (takesFocusNow && target != focus)
        SetDialogFocus(dialog, target);
    else
        UpdateDefaultButton(dialog, target);
}

// The dialog window with its state: the template's font and the base units
// measured from it. Without DS_SETFONT the dialog keeps the system's font,
// which GetDialogBaseUnits measures.
HWND CreateDialogWindow(HINSTANCE instance, const CDialogTemplate& dt, HWND owner, DLGPROC proc, LPARAM initParam)
{
    RegisterDialogClass();
    const DWORD style = DialogStyle(dt);
    const DWORD exStyle = DialogExStyle(dt);
    if ((style & WS_CHILD) != 0 && owner == nullptr) {
        SetLastError(ERROR_TLW_WITH_WSCHILD);
        return nullptr;
    }
    HFONT font = CreateTemplateFont(dt);
    const SIZE units = MeasureBaseUnits(font);
    if (!dt.HasFont()) {
        DeleteObject(font);
        font = nullptr;
    }
    const RECT window = DialogWindowRect(dt, style, exStyle, units, owner);
    LPCWSTR className = dt.windowClass.isOrdinal ? MAKEINTRESOURCEW(dt.windowClass.ordinal)
                        : dt.windowClass.IsEmpty() ? WC_DIALOG
                                                   : dt.windowClass.name.c_str();
    HWND dialog = CreateWindowExW(exStyle, className, dt.caption.c_str(), style, window.left, window.top,
                                  window.right - window.left, window.bottom - window.top, owner, nullptr, instance,
                                  reinterpret_cast<LPVOID>(initParam));
    if (dialog == nullptr) {
        if (font != nullptr)
            DeleteObject(font);
        return nullptr;
    }
    auto state = AttachDialogState(dialog);
    state->font = font;
    state->ownsFont = font != nullptr;
    state->baseUnits = units;
    SetWindowLongPtrW(dialog, DWLP_DLGPROC, reinterpret_cast<LONG_PTR>(proc));
    if (font != nullptr)
        SendMessageW(dialog, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return dialog;
}

// False when a control could not be made and the template does not allow
// that (the dialog is destroyed then) or the dialog went meanwhile.
bool CreateItems(HWND dialog, HINSTANCE instance, const CDialogTemplate& dt)
{
    auto state = DialogStateOf(dialog);
    for (const DialogItemTemplate& item : dt.items) {
        if (!state || !IsWindow(dialog))
            return false;
        if (!CreateItem(dialog, instance, item, *state) && (dt.style & DS_NOFAILCREATE) == 0) {
            const DWORD error = GetLastError();
            DestroyWindow(dialog);
            SetLastError(error != 0 ? error : ERROR_CANNOT_FIND_WND_CLASS);
            return false;
        }
    }
    return state != nullptr;
}

HWND CreateFromTemplate(HINSTANCE instance, const CDialogTemplate& dt, HWND owner, DLGPROC proc, LPARAM initParam,
                        bool showNow)
{
    HWND dialog = CreateDialogWindow(instance, dt, owner, proc, initParam);
    if (dialog == nullptr || !CreateItems(dialog, instance, dt))
        return nullptr;
    if (auto state = DialogStateOf(dialog))
        NoteDefaultButton(dialog, *state);
    HWND firstTab = GetNextDlgTabItem(dialog, nullptr, FALSE);
    const LRESULT initResult = SendMessageW(dialog, WM_INITDIALOG, reinterpret_cast<WPARAM>(firstTab), initParam);
    GiveInitialFocus(dialog, firstTab, initResult);
    if (showNow && IsWindow(dialog) && (dt.style & WS_VISIBLE) != 0 && !IsWindowVisible(dialog)) {
        ShowWindow(dialog, SW_SHOWNORMAL);
        UpdateWindow(dialog);
    }
    return IsWindow(dialog) ? dialog : nullptr;
}

}  // namespace

// The window system's record of the native top-level, told whether it is modal.
void Ui::MarkModal(HWND dialog, bool modal)
{
    auto& ws = WindowSystem::Get();
    std::lock_guard lock(ws.Lock());
    auto w = ws.Peek(dialog);
    if (w && w->native != 0)
        DisplayLocked(ws).SetModal(w->native, modal);
}

namespace {

// The loop of a modal dialog: ends on EndDialog, on the dialog's
// destruction, or on WM_QUIT, which is handed on to the loop outside.
INT_PTR RunModalLoop(HWND dialog, HWND owner, const std::shared_ptr<DialogState>& state, bool idleMessages)
{
    bool quit = false;
    int quitCode = 0;
    bool idleSent = false;
    MSG msg;
    while (!state->ended && IsWindow(dialog)) {
        if (!PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (idleMessages && !idleSent && owner != nullptr) {
                idleSent = true;
                SendMessageW(owner, WM_ENTERIDLE, MSGF_DIALOGBOX, reinterpret_cast<LPARAM>(dialog));
                continue;
            }
            WaitMessage();
            continue;
        }
        idleSent = false;
        if (msg.message == WM_QUIT) {
            quit = true;
            quitCode = static_cast<int>(msg.wParam);
            break;
        }
        // A message-filter hook may take the message before the dialog sees it.
        if (CallMsgFilterW(&msg, MSGF_DIALOGBOX))
            continue;
        if (!IsDialogMessageW(dialog, &msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    const INT_PTR result = state->result;
    if (owner != nullptr && IsWindow(owner)) {
        EnableWindow(owner, TRUE);
        if (IsWindow(dialog))
            ShowWindow(dialog, SW_HIDE);
        SetActiveWindow(owner);
    }
    if (IsWindow(dialog))
        DestroyWindow(dialog);
    if (quit)
        PostQuitMessage(quitCode);
    return result;
}

}

std::shared_ptr<DialogState> Ui::DialogStateOf(HWND dialog)
{
    std::lock_guard lock(g_statesMutex);
    auto it = g_states.find(dialog);
    return it == g_states.end() ? nullptr : it->second;
}

std::shared_ptr<DialogState> Ui::AttachDialogState(HWND dialog)
{
    std::lock_guard lock(g_statesMutex);
    auto& state = g_states[dialog];
    if (!state)
        state = std::make_shared<DialogState>();
    return state;
}

void Ui::DetachDialogState(HWND dialog)
{
    std::shared_ptr<DialogState> state;
    {
        std::lock_guard lock(g_statesMutex);
        auto it = g_states.find(dialog);
        if (it == g_states.end())
            return;
        state = it->second;
        g_states.erase(it);
    }
    if (state->ownsFont && state->font != nullptr)
        DeleteObject(state->font);
    state->font = nullptr;
}

void Ui::RegisterDialogClass()
{
    static const bool registered = [] {
        WNDCLASSEXW wc;
        wc.style = CS_DBLCLKS | CS_SAVEBITS;
        wc.lpfnWndProc = DefDlgProcW;
        wc.cbWndExtra = DLGWINDOWEXTRA;
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<std::uintptr_t>(COLOR_3DFACE + 1));
        wc.lpszClassName = L"#32770";
        if (RegisterClassExW(&wc) == 0)
            return false;
        // The dialog class answers to its platform atom as well.
        auto& ws = WindowSystem::Get();
        std::lock_guard lock(ws.Lock());
        if (auto it = ws.Classes().find(UpperName(L"#32770")); it != ws.Classes().end())
            it->second->atom = kDialogClassAtom;
        return true;
    }();
    (void)registered;
}

HWND Ui::CreateDialogFromImage(HINSTANCE instance, const void* image, std::size_t size, HWND owner, DLGPROC proc,
                               LPARAM initParam)
{
    CDialogTemplate dt;
    if (!dt.Parse(image, size))
        return nullptr;
    return CreateFromTemplate(instance, dt, owner, proc, initParam, true);
}

INT_PTR Ui::DialogBoxFromImage(HINSTANCE instance, const void* image, std::size_t size, HWND owner, DLGPROC proc,
                               LPARAM initParam)
{
    CDialogTemplate dt;
    if (!dt.Parse(image, size))
        return -1;
    if (owner != nullptr && !IsWindow(owner)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return -1;
    }
    // A modal dialog is a pop-up owned by the owner's top-level.
    if (owner != nullptr)
        owner = GetAncestor(owner, GA_ROOT);
    dt.style &= ~DS_CONTROL;
    HWND dialog = CreateFromTemplate(instance, dt, owner, proc, initParam, false);
    if (dialog == nullptr)
        return -1;
    auto state = DialogStateOf(dialog);
    if (!state)
        return -1;
    const bool disableOwner = owner != nullptr && IsWindowEnabled(owner);
    if (disableOwner) {
        state->disabledOwner = owner;
        EnableWindow(owner, FALSE);
    }
    if (!state->ended && IsWindow(dialog)) {
        MarkModal(dialog, true);
        ShowWindow(dialog, SW_SHOWNORMAL);
        UpdateWindow(dialog);
    }
    const INT_PTR result = RunModalLoop(dialog, disableOwner ? owner : nullptr, state, (dt.style & DS_NOIDLEMSG) == 0);
    return result;
}

HWND CreateDialogIndirectParamW(HINSTANCE instance, LPCDLGTEMPLATEW dialogTemplate, HWND owner, DLGPROC proc,
                                LPARAM initParam)
{
    return CreateDialogFromImage(instance, dialogTemplate, kUnsizedImageLimit, owner, proc, initParam);
}

INT_PTR DialogBoxIndirectParamW(HINSTANCE instance, LPCDLGTEMPLATEW dialogTemplate, HWND owner, DLGPROC proc,
                                LPARAM initParam)
{
    return DialogBoxFromImage(instance, dialogTemplate, kUnsizedImageLimit, owner, proc, initParam);
}

BOOL EndDialog(HWND dialog, INT_PTR result)
{
    auto state = DialogStateOf(dialog);
    if (!state) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    state->result = result;
    state->ended = true;  // after the result: the loop reads them in the other order
    // The owner comes back before the dialog leaves, so the activation
    // goes to it and not to some other window.
    if (state->disabledOwner != nullptr && IsWindow(state->disabledOwner))
        EnableWindow(state->disabledOwner, TRUE);
    ShowWindow(dialog, SW_HIDE);
    // Wakes the modal loop should it be waiting.
    PostMessageW(dialog, WM_NULL, 0, 0);
    return TRUE;
}
