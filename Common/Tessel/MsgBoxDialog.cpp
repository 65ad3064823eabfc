#include "Common/Tessel/MsgBoxDialog.h"

#include "Common/SystemHelper/System/FileHelpers.h"
#include "Platform/Base/GlobalMemory.h"
#include "Platform/Base/Module.h"
#include "Platform/Base/WideRuntime.h"
#include "Platform/Controls/ControlStyles.h"
#include "Platform/Controls/MessageBox.h"
#include "Platform/Gdi/Gdi.h"
#include "Platform/Gdi/Icon.h"
#include "Platform/Shell/ShellExecute.h"
#include "Platform/Controls/EditClipboard.h"
#include "Platform/Ui/SystemMenu.h"

#include <algorithm>
#include <cstring>

namespace Tessel {

namespace {

constexpr int kMaxCopiedText = 4000;
constexpr int kMaxClipboardText = 8192;
constexpr LPCWSTR kRule = L"---------------------------\r\n";

CMsgBoxDialog* DialogOf(HWND dialog)
{
    return reinterpret_cast<CMsgBoxDialog*>(GetWindowLongPtrW(dialog, DWLP_USER));
}

CString WindowText(HWND hwnd, int maxLength)
{
    std::wstring text(static_cast<std::size_t>(maxLength) + 1, L'\0');
    const int length = GetWindowTextW(hwnd, text.data(), maxLength + 1);
    return CString(text.c_str(), std::max(length, 0));
}

bool IsButtonClass(HWND hwnd)
{
    wchar_t name[32] = {};
    GetClassNameW(hwnd, name, 32);
    return _wcsicmp(name, L"Button") == 0;
}

bool PutOnClipboard(HWND owner, const CString& text) { return ZELL::Controls::PutClipboardText(owner, text.str()); }

}

CString HelpFileOf(const CString& programPath)
{
    const int dot = programPath.ReverseFind(L'.');
    const int slash = std::max(programPath.ReverseFind(L'/'), programPath.ReverseFind(L'\\'));
    if (dot < 0 || dot < slash)
        return CString();
    return programPath.Left(dot) + L".hlp";
}

int CMsgBoxDialog::Run(HWND owner)
{
    const std::vector<BYTE> image = m_template.Image();
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, image.size());
    auto* locked = memory != nullptr ? static_cast<BYTE*>(GlobalLock(memory)) : nullptr;
    if (locked == nullptr) {
        if (memory != nullptr)
            GlobalFree(memory);
        return IDCANCEL;
    }
    std::memcpy(locked, image.data(), image.size());
    const HWND dialog = CreateDialogIndirectParamW(GetModuleHandleW(nullptr), reinterpret_cast<LPCDLGTEMPLATEW>(locked),
                                                   owner, &DialogProc, reinterpret_cast<LPARAM>(this));
    int result = -1;
    if (dialog != nullptr) {
        if (owner != nullptr)
            EnableWindow(owner, FALSE);
        result = RunLoop(dialog);
        if (owner != nullptr && IsWindow(owner))
            EnableWindow(owner, TRUE);
        if (IsWindow(dialog))
            DestroyWindow(dialog);
    }
    GlobalUnlock(memory);
    GlobalFree(memory);
    return result;
}

int CMsgBoxDialog::RunLoop(HWND dialog)
{
    bool quit = false;
    WPARAM quitCode = 0;
    MSG msg{};
    // A dialog destroyed from outside ends the loop as well.
    while (m_result == -1 && IsWindow(dialog)) {
        if (!PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            WaitMessage();
            continue;
        }
        if (msg.message == WM_QUIT) {
            quit = true;
            quitCode = msg.wParam;
            break;
        }
        if (msg.message == WM_KEYDOWN && HandleCopyKey(dialog, msg))
            continue;
        if (!IsDialogMessageW(dialog, &msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    if (quit)
        PostQuitMessage(static_cast<int>(quitCode));
    return m_result;
}

bool CMsgBoxDialog::HandleCopyKey(HWND dialog, const MSG& msg) const
{
    if (msg.wParam != 'C' || GetKeyState(VK_CONTROL) >= 0)
        return false;
    PutOnClipboard(dialog, BoxText(dialog));
    return true;
}

CString CMsgBoxDialog::BoxText(HWND dialog)
{
    CString text = kRule;
    text += WindowText(dialog, 1024) + L"\r\n" + kRule;
    text += WindowText(GetDlgItem(dialog, kMessageTextId), kMaxCopiedText) + L"\r\n" + kRule;
    for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        if (!IsButtonClass(child))
            continue;
        CString caption = WindowText(child, 256);
        caption.Remove(L'&');
        text += caption + L"   ";
    }
    text += CString(L"\r\n") + kRule;
    return text.Left(kMaxClipboardText);
}

INT_PTR CMsgBoxDialog::DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG)
        SetWindowLongPtrW(dialog, DWLP_USER, lParam);
    CMsgBoxDialog* self = DialogOf(dialog);
    return self != nullptr ? self->OnMessage(dialog, message, wParam, lParam) : FALSE;
}

INT_PTR CMsgBoxDialog::OnMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        return OnInitDialog(dialog);
    case WM_ERASEBKGND:
        return OnEraseBackground(dialog, reinterpret_cast<HDC>(wParam));
    case WM_CTLCOLORSTATIC:
        if (GetDlgCtrlID(reinterpret_cast<HWND>(lParam)) != kMessageTextId)
            return FALSE;
        SetBkColor(reinterpret_cast<HDC>(wParam), RGB(255, 255, 255));
        SetTextColor(reinterpret_cast<HDC>(wParam), RGB(0, 0, 0));
        return reinterpret_cast<INT_PTR>(m_template.WhiteBrush());
    case WM_COMMAND:
        return OnCommand(dialog, LOWORD(wParam));
    default:
        return FALSE;
    }
}

INT_PTR CMsgBoxDialog::OnInitDialog(HWND dialog)
{
    SetFonts(dialog);
    SetFocus(GetDlgItem(dialog, m_template.DefaultButtonId()));
    GreyCloseItem(dialog);
    if (HWND icon = GetDlgItem(dialog, kIconId))
        m_iconProc = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(icon, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&IconProc)));
    PlaceOnScreen(dialog);
    return FALSE;
}

void CMsgBoxDialog::SetFonts(HWND dialog) const
{
    const auto font = reinterpret_cast<WPARAM>(m_template.Font());
    for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        const int id = GetDlgCtrlID(child);
        if (id >= kMessageTextId || (id >= 1 && id <= 26) || id == kHelpButtonId)
            SendMessageW(child, WM_SETFONT, font, FALSE);
    }
}

void CMsgBoxDialog::GreyCloseItem(HWND dialog) const
{
    if (HasCancelButton(m_template.Type()) || IsOkOnly(m_template.Type()))
        return;
    if (HMENU menu = GetSystemMenu(dialog, FALSE))
        EnableMenuItem(menu, SC_CLOSE, MF_BYCOMMAND | MF_GRAYED);
}

void CMsgBoxDialog::PlaceOnScreen(HWND dialog) const
{
    const UINT type = m_template.Type();
    if (type & MB_TOPMOST)
        SetWindowPos(dialog, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    if (type & MB_SETFOREGROUND)
        SetForegroundWindow(dialog);
    if (HWND parent = GetWindow(dialog, GW_OWNER)) {
        RECT around{};
        RECT box{};
        GetWindowRect(parent, &around);
        GetWindowRect(dialog, &box);
        const int width = box.right - box.left;
        const int height = box.bottom - box.top;
        SetWindowPos(dialog, nullptr, around.left + (around.right - around.left - width) / 2,
                     around.top + (around.bottom - around.top - height) / 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    }
    SetForegroundWindow(dialog);
}

INT_PTR CMsgBoxDialog::OnEraseBackground(HWND dialog, HDC dc) const
{
    RECT client{};
    GetClientRect(dialog, &client);
    FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
    RECT text{};
    GetWindowRect(GetDlgItem(dialog, kMessageTextId), &text);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&text), 2);
    RECT message{client.left, client.top, client.right, text.bottom};
    FillRect(dc, &message, m_template.WhiteBrush());
    SetWindowLongPtrW(dialog, DWLP_MSGRESULT, TRUE);
    return TRUE;
}

INT_PTR CMsgBoxDialog::OnCommand(HWND dialog, int id)
{
    const UINT type = m_template.Type();
    switch (id) {
    case kHelpButtonId:
        ShowHelp(dialog);
        return TRUE;
    case kCheckBoxId:
    case IDCLOSE:
        return TRUE;
    case IDCANCEL:
        if (HasCancelButton(type))
            m_result = IDCANCEL;
        else if (IsOkOnly(type))
            m_result = IDOK;
        return TRUE;
    default:
        break;
    }
    m_result = id;
    const UINT flag = m_template.CheckBoxFlagOfType();
    if (flag != 0 && IsDlgButtonChecked(dialog, kCheckBoxId) == BST_CHECKED)
        m_result |= static_cast<int>(flag);
    return TRUE;
}

void CMsgBoxDialog::ShowHelp(HWND dialog) const
{
    wchar_t path[1024] = {};
    const DWORD length = GetModuleFileNameW(nullptr, path, 1023);
    const CString helpFile = HelpFileOf(CString(path, static_cast<int>(std::min<DWORD>(length, 1023))));
    // There is no help viewer of the old kind here: the desktop opens the file.
    if (!helpFile.IsEmpty() && FileExists(helpFile.str()))
        ShellExecuteW(dialog, L"open", helpFile.GetString(), nullptr, nullptr, SW_SHOWNORMAL);
}

LRESULT CMsgBoxDialog::IconProc(HWND icon, UINT message, WPARAM wParam, LPARAM lParam)
{
    CMsgBoxDialog* self = DialogOf(GetParent(icon));
    if (self == nullptr)
        return DefWindowProcW(icon, message, wParam, lParam);
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(icon, &ps);
        DrawIcon(dc, 0, 0, self->m_template.Icon());
        EndPaint(icon, &ps);
        return 0;
    }
    case WM_NCCREATE: case WM_CREATE: case WM_DESTROY: case WM_NCDESTROY:
        return CallWindowProcW(self->m_iconProc, icon, message, wParam, lParam);
    default:
        return DefWindowProcW(icon, message, wParam, lParam);
    }
}

}
