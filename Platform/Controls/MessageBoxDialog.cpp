#include "Platform/Controls/MessageBoxDialog.h"

#include "Platform/Base/LastError.h"
#include "Platform/Base/Thread.h"
#include "Platform/Controls/ControlStyles.h"
#include "Platform/Controls/MessageBoxIcon.h"
#include "Platform/Controls/StandardControls.h"
#include "Platform/Gdi/Gdi.h"

#include <algorithm>
#include <atomic>
#include <cstring>

namespace ZELL::Controls {

namespace {

// The box as text on the clipboard, as CF_UNICODETEXT (the other text forms
// are made from it on demand).
bool CopyToClipboard(HWND owner, const std::wstring& text)
{
    const SIZE_T bytes = (text.size() + 1) * sizeof(wchar_t);
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes);
    if (block == nullptr)
        return false;
    std::memcpy(GlobalLock(block), text.c_str(), bytes);
    GlobalUnlock(block);
    if (!OpenClipboard(owner)) {
        GlobalFree(block);
        return false;
    }
    EmptyClipboard();
    const bool placed = SetClipboardData(CF_UNICODETEXT, block) != nullptr;
    if (!placed)
        GlobalFree(block);
    CloseClipboard();
    return placed;
}

// The original procedure of a button whose copy keys the box takes.
constexpr LPCWSTR kOriginalProcProperty = L"ZellMessageBoxButtonProc";

// Measures in dialog units, as the platform lays its boxes out.
constexpr LONG kMarginDlu = 7;
constexpr LONG kButtonGapDlu = 4;
constexpr LONG kButtonWidthDlu = 50;
constexpr LONG kButtonHeightDlu = 14;
constexpr LONG kMaxTextWidthDlu = 240;

constexpr UINT kMeasureFormat = DT_WORDBREAK | DT_EXPANDTABS | DT_NOPREFIX | DT_CALCRECT;

const MessageBoxButton kOk{IDOK, L"OK"};
const MessageBoxButton kCancel{IDCANCEL, L"Cancel"};
const MessageBoxButton kAbort{IDABORT, L"&Abort"};
const MessageBoxButton kRetry{IDRETRY, L"&Retry"};
const MessageBoxButton kIgnore{IDIGNORE, L"&Ignore"};
const MessageBoxButton kYes{IDYES, L"&Yes"};
const MessageBoxButton kNo{IDNO, L"&No"};
const MessageBoxButton kTryAgain{IDTRYAGAIN, L"&Try Again"};
const MessageBoxButton kContinue{IDCONTINUE, L"&Continue"};
const MessageBoxButton kHelp{IDHELP, L"Help"};

Ui::DialogItemTemplate Item(WORD atom, const wchar_t* text, int id, DWORD style)
{
    Ui::DialogItemTemplate item;
    item.windowClass = Ui::NameOrOrdinal::Ordinal(atom);
    item.text = Ui::NameOrOrdinal::Name(text);
    item.id = static_cast<DWORD>(id);
    item.style = WS_CHILD | WS_VISIBLE | style;
    return item;
}

std::wstring WithoutMnemonics(const wchar_t* caption)
{
    std::wstring plain;
    for (const wchar_t* c = caption; *c != 0; ++c) {
        if (*c == L'&' && c[1] != 0)
            ++c;
        plain += *c;
    }
    return plain;
}

SIZE Pixels(HWND dialog, LONG cx, LONG cy)
{
    RECT r{0, 0, cx, cy};
    MapDialogRect(dialog, &r);
    return {r.right, r.bottom};
}

// The extent of a text in a font; wrapped at `maxWidth` when that is not 0.
SIZE Measure(HWND dialog, HFONT font, const std::wstring& text, LONG maxWidth)
{
    HDC dc = GetDC(dialog);
    const HGDIOBJ old = SelectObject(dc, font);
    RECT r{0, 0, maxWidth, 0};
    const UINT format = maxWidth != 0 ? kMeasureFormat : (kMeasureFormat & ~DT_WORDBREAK) | DT_SINGLELINE;
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, format);
    SelectObject(dc, old);
    ReleaseDC(dialog, dc);
    return {r.right - r.left, r.bottom - r.top};
}

SIZE Measure(HWND dialog, const std::wstring& text, LONG maxWidth)
{
    return Measure(dialog, reinterpret_cast<HFONT>(SendMessageW(dialog, WM_GETFONT, 0, 0)), text, maxWidth);
}

// What the caption needs: its text in the caption font and the close box.
LONG CaptionWidth(HWND dialog, const std::wstring& caption)
{
    NONCLIENTMETRICSW metrics;
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    HFONT font = CreateFontIndirectW(&metrics.lfCaptionFont);
    const LONG width = Measure(dialog, font, caption, 0).cx;
    DeleteObject(font);
    return width + 2 * GetSystemMetrics(SM_CXSIZE);
}

// The work area of the owner's monitor, or of the primary one.
RECT WorkArea(HWND near)
{
    MONITORINFO info;
    GetMonitorInfoW(MonitorFromWindow(near, MONITOR_DEFAULTTOPRIMARY), &info);
    return info.rcWork;
}

CMessageBoxDialog* BoxOf(HWND dialog)
{
    return reinterpret_cast<CMessageBoxDialog*>(GetWindowLongPtrW(dialog, DWLP_USER));
}

}

CMessageBoxDialog::CMessageBoxDialog(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type)
    : m_ownerGone(owner != nullptr && !IsWindow(owner)),
      m_owner(owner != nullptr ? GetAncestor(owner, GA_ROOT) : nullptr),
      m_text(text != nullptr ? text : L""),
      m_caption(caption != nullptr ? caption : L"Error"),
      m_type(type),
      m_buttons(ButtonsOf(type))
{
}

std::vector<MessageBoxButton> CMessageBoxDialog::ButtonsOf(UINT type)
{
    std::vector<MessageBoxButton> buttons;
    switch (type & MB_TYPEMASK) {
    case MB_OK: buttons = {kOk}; break;
    case MB_OKCANCEL: buttons = {kOk, kCancel}; break;
    case MB_ABORTRETRYIGNORE: buttons = {kAbort, kRetry, kIgnore}; break;
    case MB_YESNOCANCEL: buttons = {kYes, kNo, kCancel}; break;
    case MB_YESNO: buttons = {kYes, kNo}; break;
    case MB_RETRYCANCEL: buttons = {kRetry, kCancel}; break;
    case MB_CANCELTRYCONTINUE: buttons = {kCancel, kTryAgain, kContinue}; break;
    default: return {};
    }
    if ((type & MB_HELP) != 0)
        buttons.push_back(kHelp);
    return buttons;
}

std::wstring CMessageBoxDialog::AsText() const
{
    const std::wstring rule = L"---------------------------\r\n";
    std::wstring captions;
    for (const MessageBoxButton& button : m_buttons)
        captions += WithoutMnemonics(button.caption) + L"   ";
    return rule + m_caption + L"\r\n" + rule + m_text + L"\r\n" + rule + captions + L"\r\n" + rule;
}

int CMessageBoxDialog::DefaultIndex() const
{
    const int index = static_cast<int>((m_type & MB_DEFMASK) >> 8);
    return index < static_cast<int>(m_buttons.size()) ? index : 0;
}

Ui::CDialogTemplate CMessageBoxDialog::Template() const
{
    Ui::CDialogTemplate dt;
    // No font of its own: a dialog without one takes the message font.
    dt.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE | DS_MODALFRAME | DS_ABSALIGN;
    if ((m_type & MB_MODEMASK) == MB_SYSTEMMODAL)
        dt.style |= DS_SYSMODAL;
    if ((m_type & MB_TOPMOST) != 0)
        dt.exStyle |= WS_EX_TOPMOST;
    dt.caption = m_caption;
    // The real places come from the measured text once the font is known.
    dt.items.push_back(Item(Ui::kClassStatic, m_text.c_str(), kTextId, SS_LEFT | SS_NOPREFIX | WS_GROUP));
    for (std::size_t i = 0; i < m_buttons.size(); ++i) {
        DWORD style = WS_TABSTOP | (static_cast<int>(i) == DefaultIndex() ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
        if (i == 0)
            style |= WS_GROUP;
        dt.items.push_back(Item(Ui::kClassButton, m_buttons[i].caption, m_buttons[i].id, style));
    }
    return dt;
}

int CMessageBoxDialog::Run()
{
    if (m_ownerGone) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    if (m_buttons.empty()) {
        SetLastError(ERROR_INVALID_MSGBOX_STYLE);
        return 0;
    }
    if (!RegisterStandardControls())
        return 0;
    const std::vector<BYTE> image = Template().ToImage();
    if ((m_type & MB_MODEMASK) == MB_TASKMODAL && m_owner == nullptr)
        DisableTaskWindows();
    MessageBeep(m_type & MB_ICONMASK);
    const INT_PTR answer = DialogBoxIndirectParamW(nullptr, reinterpret_cast<LPCDLGTEMPLATEW>(image.data()), m_owner,
                                                   &CMessageBoxDialog::Proc, reinterpret_cast<LPARAM>(this));
    EnableTaskWindows();
    return answer > 0 ? static_cast<int>(answer) : 0;
}

INT_PTR CMessageBoxDialog::Proc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG)
        SetWindowLongPtrW(dialog, DWLP_USER, lParam);
    CMessageBoxDialog* box = BoxOf(dialog);
    return box != nullptr ? box->OnMessage(dialog, message, wParam, lParam) : FALSE;
}

INT_PTR CMessageBoxDialog::OnMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        OnInit(dialog);
        return FALSE;  // the focus is set
    case WM_COMMAND:
        OnCommand(dialog, LOWORD(wParam), HIWORD(wParam));
        return TRUE;
    case WM_PAINT:
        Paint(dialog);
        return TRUE;
    default:
        return FALSE;
    }
}

void CMessageBoxDialog::OnInit(HWND dialog)
{
    Layout(dialog);
    HookCopyKeys(dialog);
    // Without a Cancel answer there is nothing for closing to mean.
    const UINT buttons = m_type & MB_TYPEMASK;
    if (buttons == MB_YESNO || buttons == MB_ABORTRETRYIGNORE)
        EnableMenuItem(GetSystemMenu(dialog, FALSE), static_cast<UINT>(SC_CLOSE), MF_BYCOMMAND | MF_GRAYED);
    const MessageBoxButton& preferred = m_buttons[static_cast<std::size_t>(DefaultIndex())];
    SendMessageW(dialog, DM_SETDEFID, static_cast<WPARAM>(preferred.id), 0);
    SendMessageW(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(dialog, preferred.id)), TRUE);
    if ((m_type & (MB_SETFOREGROUND | MB_SYSTEMMODAL)) != 0)
        SetForegroundWindow(dialog);
}

// Text beside the picture, wrapped at a fixed width in dialog units; the
// buttons centred in a row below; the box as wide as the wider of the two
// and as its caption needs.
void CMessageBoxDialog::Layout(HWND dialog)
{
    const SIZE margin = Pixels(dialog, kMarginDlu, kMarginDlu);
    const SIZE gap = Pixels(dialog, kButtonGapDlu, 0);
    SIZE button = Pixels(dialog, kButtonWidthDlu, kButtonHeightDlu);
    for (const MessageBoxButton& b : m_buttons)
        button.cx = std::max(button.cx, Measure(dialog, WithoutMnemonics(b.caption), 0).cx + 2 * margin.cx);

    const bool hasIcon = (m_type & MB_ICONMASK) != 0 && (m_type & MB_ICONMASK) <= MB_ICONASTERISK;
    const LONG iconWidth = hasIcon ? kMessageBoxIconSize + margin.cx : 0;
    const RECT work = WorkArea(m_owner);
    const LONG widest = (work.right - work.left) - 4 * margin.cx - iconWidth;
    const LONG wrapAt = std::max<LONG>(1, std::min(Pixels(dialog, kMaxTextWidthDlu, 0).cx, widest));
    const SIZE text = Measure(dialog, m_text.empty() ? L" " : m_text, wrapAt);

    const LONG contentHeight = std::max<LONG>(hasIcon ? kMessageBoxIconSize : 0, text.cy);
    const LONG count = static_cast<LONG>(m_buttons.size());
    const LONG rowWidth = count * button.cx + (count - 1) * gap.cx;
    const LONG captionWidth = CaptionWidth(dialog, m_caption);
    const SIZE client{std::max({iconWidth + text.cx, rowWidth, captionWidth}) + 2 * margin.cx,
                      margin.cy + contentHeight + margin.cy + button.cy + margin.cy};

    m_iconAt = {margin.cx, margin.cy};
    const LONG textTop = margin.cy + (contentHeight - text.cy) / 2;
    MoveWindow(GetDlgItem(dialog, kTextId), margin.cx + iconWidth, textTop, text.cx + 1, text.cy, FALSE);
    LONG x = (client.cx - rowWidth) / 2;
    const LONG rowTop = client.cy - margin.cy - button.cy;
    for (const MessageBoxButton& b : m_buttons) {
        MoveWindow(GetDlgItem(dialog, b.id), x, rowTop, button.cx, button.cy, FALSE);
        x += button.cx + gap.cx;
    }
    PlaceWindow(dialog, client);
}

// Centred on the owner, or on the work area without one, and kept on it.
void CMessageBoxDialog::PlaceWindow(HWND dialog, SIZE client) const
{
    RECT frame{0, 0, client.cx, client.cy};
    AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongPtrW(dialog, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongPtrW(dialog, GWL_EXSTYLE)));
    const LONG width = frame.right - frame.left;
    const LONG height = frame.bottom - frame.top;
    const RECT work = WorkArea(m_owner);
    RECT around = work;
    if (m_owner != nullptr && IsWindowVisible(m_owner) && !IsIconic(m_owner))
        GetWindowRect(m_owner, &around);
    LONG left = around.left + (around.right - around.left - width) / 2;
    LONG top = around.top + (around.bottom - around.top - height) / 2;
    left = std::max(work.left, std::min(left, work.right - width));
    top = std::max(work.top, std::min(top, work.bottom - height));
    MoveWindow(dialog, left, top, width, height, FALSE);
}

int CMessageBoxDialog::CloseAnswer() const
{
    for (const MessageBoxButton& b : m_buttons)
        if (b.id == IDCANCEL)
            return IDCANCEL;
    return (m_type & MB_TYPEMASK) == MB_OK ? IDOK : 0;
}

void CMessageBoxDialog::OnCommand(HWND dialog, int id, WORD code)
{
    if (code != BN_CLICKED)
        return;
    if (id == IDHELP && (m_type & MB_HELP) != 0) {
        SendHelp(dialog);
        return;
    }
    // Esc and the close box come as IDCANCEL, also where no Cancel button is.
    const int answer = id == IDCANCEL ? CloseAnswer() : id;
    const bool known = std::any_of(m_buttons.begin(), m_buttons.end(),
                                   [answer](const MessageBoxButton& b) { return b.id == answer; });
    if (known)
        EndDialog(dialog, answer);
}

void CMessageBoxDialog::SetHelp(MSGBOXCALLBACK callback, DWORD_PTR contextId)
{
    m_helpCallback = callback;
    m_helpContext = contextId;
}

void CMessageBoxDialog::SendHelp(HWND dialog) const
{
    HELPINFO info;
    info.hItemHandle = reinterpret_cast<HANDLE>(dialog);
    info.iCtrlId = GetDlgCtrlID(dialog);
    info.dwContextId = m_helpContext;
    GetCursorPos(&info.MousePos);
    if (m_helpCallback != nullptr)
        m_helpCallback(&info);
    else if (m_owner != nullptr)
        SendMessageW(m_owner, WM_HELP, 0, reinterpret_cast<LPARAM>(&info));
}

void CMessageBoxDialog::Paint(HWND dialog) const
{
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(dialog, &ps);
    DrawMessageBoxIcon(dc, m_iconAt.x, m_iconAt.y, m_type);
    EndPaint(dialog, &ps);
}

// The buttons have the focus, so the keys reach them, not the box.
void CMessageBoxDialog::HookCopyKeys(HWND dialog) const
{
    for (const MessageBoxButton& b : m_buttons) {
        HWND button = GetDlgItem(dialog, b.id);
        const LONG_PTR original = SetWindowLongPtrW(button, GWLP_WNDPROC,
                                                    reinterpret_cast<LONG_PTR>(&CMessageBoxDialog::ButtonProc));
        SetPropW(button, kOriginalProcProperty, reinterpret_cast<HANDLE>(original));
    }
}

LRESULT CMessageBoxDialog::ButtonProc(HWND button, UINT message, WPARAM wParam, LPARAM lParam)
{
    const auto original = reinterpret_cast<WNDPROC>(GetPropW(button, kOriginalProcProperty));
    const bool control = (GetKeyState(VK_CONTROL) & 0x8000) != 0;
    if (message == WM_KEYDOWN && control && (wParam == 'C' || wParam == VK_INSERT)) {
        if (CMessageBoxDialog* box = BoxOf(GetParent(button)))
            CopyToClipboard(GetParent(button), box->AsText());
        return 0;
    }
    if (message == WM_NCDESTROY) {
        RemovePropW(button, kOriginalProcProperty);
        SetWindowLongPtrW(button, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
    }
    return original != nullptr ? CallWindowProcW(original, button, message, wParam, lParam)
                               : DefWindowProcW(button, message, wParam, lParam);
}

void CMessageBoxDialog::DisableTaskWindows()
{
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND hwnd, LPARAM self) {
            auto* box = reinterpret_cast<CMessageBoxDialog*>(self);
            if (GetParent(hwnd) == nullptr && IsWindowEnabled(hwnd)) {
                EnableWindow(hwnd, FALSE);
                box->m_disabledByTask.push_back(hwnd);
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(this));
}

void CMessageBoxDialog::EnableTaskWindows()
{
    for (HWND hwnd : m_disabledByTask)
        if (IsWindow(hwnd))
            EnableWindow(hwnd, TRUE);
    m_disabledByTask.clear();
}

}
