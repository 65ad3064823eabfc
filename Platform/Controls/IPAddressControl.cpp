#include "Platform/Controls/IPAddressControl.h"

#include "Platform/Controls/MessageBox.h"
#include "Platform/Controls/TextAnswer.h"
#include "Platform/Gdi/Gdi.h"
#include "Platform/Ui/Caret.h"
#include "Platform/Ui/Clipboard.h"

#include <algorithm>
#include <cwchar>
#include <vector>

namespace ZELL::Controls {

namespace {

// The edit control's notifications, which the parent reads from this control too.
constexpr WORD kEditSetFocus = 0x0100;
constexpr WORD kEditKillFocus = 0x0200;
constexpr WORD kEditChange = 0x0300;
constexpr std::size_t kDigits = 3;
constexpr int kBorder = 2;
constexpr wchar_t kDot = L'.';

// "a.b.c.d" or a part of it: up to four runs of one to three digits.
std::optional<std::vector<int>> ParseDotted(const std::wstring& text)
{
    std::vector<int> parts;
    std::wstring run;
    const auto endRun = [&] {
        if (run.empty() || run.size() > kDigits || parts.size() == CIPAddressControl::kFields)
            return false;
        parts.push_back(std::stoi(run));
        run.clear();
        return true;
    };
    for (const wchar_t ch : text) {
        if (ch >= L'0' && ch <= L'9') {
            run += ch;
        } else if (ch == kDot) {
            if (!endRun())
                return std::nullopt;
        } else if (ch != L' ' && ch != L'\t' && ch != L'\r' && ch != L'\n') {
            return std::nullopt;
        }
    }
    if (!endRun())
        return std::nullopt;
    return parts;
}

std::wstring ClipboardText(HWND owner)
{
    std::wstring text;
    if (!OpenClipboard(owner))
        return text;
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        const SIZE_T bytes = GlobalSize(data);
        if (const auto* chars = static_cast<const wchar_t*>(GlobalLock(data))) {
            const std::size_t limit = bytes / sizeof(wchar_t);
            text.assign(chars, std::find(chars, chars + limit, L'\0'));
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return text;
}

}

std::optional<int> CIPAddressControl::ValueOf(int field) const
{
    const std::wstring& digits = m_fields[static_cast<std::size_t>(field)].digits;
    if (digits.empty())
        return std::nullopt;
    return std::stoi(digits);
}

// --- layout -------------------------------------------------------------------

RECT CIPAddressControl::FieldRect(int field) const
{
    RECT r = Client();
    const int inner = std::max(0, static_cast<int>(r.right - r.left) - 2 * kBorder);
    const int left = kBorder + inner * field / kFields;
    const int right = kBorder + inner * (field + 1) / kFields;
    return RECT{left, r.top + kBorder, right, r.bottom - kBorder};
}

int CIPAddressControl::FieldAt(POINT point) const
{
    for (int field = 0; field < kFields; ++field) {
        const RECT r = FieldRect(field);
        if (point.x < r.right)
            return field;
    }
    return kFields - 1;
}

void CIPAddressControl::PlaceCaret()
{
    if (!m_hasCaret)
        return;
    HDC dc = GetDC(Hwnd());
    const HGDIOBJ old = SelectObject(dc, Font());
    const std::wstring& digits = m_fields[static_cast<std::size_t>(m_current)].digits;
    SIZE whole{};
    SIZE before{};
    GetTextExtentPoint32W(dc, digits.c_str(), static_cast<int>(digits.size()), &whole);
    GetTextExtentPoint32W(dc, digits.c_str(), static_cast<int>(m_caret), &before);
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    SelectObject(dc, old);
    ReleaseDC(Hwnd(), dc);
    const RECT r = FieldRect(m_current);
    const int textLeft = (r.left + r.right - whole.cx) / 2;
    const int top = (r.top + r.bottom - metrics.tmHeight) / 2;
    SetCaretPos(textLeft + before.cx, top);
}

void CIPAddressControl::Paint(HDC dc)
{
    RECT all = Client();
    const bool enabled = Enabled();
    FillRect(dc, &all, GetSysColorBrush(enabled ? COLOR_WINDOW : COLOR_3DFACE));
    DrawEdge(dc, &all, EDGE_SUNKEN, BF_RECT);
    SetBkMode(dc, TRANSPARENT);
    const COLORREF text = GetSysColor(enabled ? COLOR_WINDOWTEXT : COLOR_GRAYTEXT);
    for (int field = 0; field < kFields; ++field) {
        RECT r = FieldRect(field);
        const Field& f = m_fields[static_cast<std::size_t>(field)];
        const bool selected = Focused() && field == m_current && m_selected && !f.digits.empty();
        if (selected) {
            SIZE size{};
            GetTextExtentPoint32W(dc, f.digits.c_str(), static_cast<int>(f.digits.size()), &size);
            const int left = (r.left + r.right - size.cx) / 2;
            RECT mark{left, r.top + 1, left + size.cx, r.bottom - 1};
            FillRect(dc, &mark, GetSysColorBrush(COLOR_HIGHLIGHT));
        }
        SetTextColor(dc, selected ? GetSysColor(COLOR_HIGHLIGHTTEXT) : text);
        DrawTextW(dc, f.digits.c_str(), static_cast<int>(f.digits.size()), &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        if (field + 1 < kFields) {
            SetTextColor(dc, text);
            SIZE dot{};
            GetTextExtentPoint32W(dc, &kDot, 1, &dot);
            RECT at{r.right - dot.cx / 2, r.top, r.right - dot.cx / 2 + dot.cx, r.bottom};
            DrawTextW(dc, &kDot, 1, &at, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
        }
    }
}

// --- notifications --------------------------------------------------------------

void CIPAddressControl::Changed()
{
    Redraw();
    NotifyParent(kEditChange);
}

void CIPAddressControl::NotifyFieldChanged(int field)
{
    HWND parent = Parent();
    if (parent == nullptr)
        return;
    NMIPADDRESS note;
    note.hdr.hwndFrom = Hwnd();
    note.hdr.idFrom = static_cast<UINT_PTR>(Id());
    note.hdr.code = IPN_FIELDCHANGED;
    note.iField = field;
    note.iValue = ValueOf(field).value_or(-1);
    const int sent = note.iValue;
    SendMessageW(parent, WM_NOTIFY, note.hdr.idFrom, reinterpret_cast<LPARAM>(&note));
    if (note.iValue == sent || Gone())
        return;
    // The parent put another value in; it is held to the field's range.
    Field& f = m_fields[static_cast<std::size_t>(field)];
    f.digits = note.iValue < 0 ? std::wstring() : std::to_wstring(std::clamp<int>(note.iValue, f.low, f.high));
    m_caret = std::min(m_caret, f.digits.size());
    Changed();
}

void CIPAddressControl::ClampToRange(int field)
{
    Field& f = m_fields[static_cast<std::size_t>(field)];
    const std::optional<int> value = ValueOf(field);
    if (!value || (*value >= f.low && *value <= f.high) || m_inNotice)
        return;
    const int clamped = *value > f.high ? f.high : f.low;
    f.digits = std::to_wstring(clamped);
    m_caret = std::min(m_caret, f.digits.size());
    Changed();
    wchar_t text[128];
    std::swprintf(text, std::size(text), L"%d is not a valid entry. Please specify a value between %d and %d.", *value,
                  static_cast<int>(f.low), static_cast<int>(f.high));
    // The box pumps messages; keystrokes that arrive meanwhile must not
    // open a second one.
    // The typing goes on in this field once the box is gone.
    m_inNotice = true;
    MessageBoxW(Hwnd(), text, L"Error", MB_OK | MB_ICONEXCLAMATION);
    if (!Gone() && GetFocus() != Hwnd())
        SetFocus(Hwnd());
    m_inNotice = false;
}

void CIPAddressControl::LeaveField()
{
    ClampToRange(m_current);
    NotifyFieldChanged(m_current);
}

// --- editing --------------------------------------------------------------------

void CIPAddressControl::EnterField(int field, std::size_t caret, bool select)
{
    field = std::clamp(field, 0, kFields - 1);
    if (field != m_current) {
        LeaveField();
        m_current = field;
    }
    const std::size_t size = m_fields[static_cast<std::size_t>(field)].digits.size();
    m_caret = std::min(caret, size);
    m_selected = select;
    Redraw();
    PlaceCaret();
}

void CIPAddressControl::TypeDigit(wchar_t digit)
{
    Field* f = &m_fields[static_cast<std::size_t>(m_current)];
    if (m_selected) {
        f->digits.clear();
        m_caret = 0;
        m_selected = false;
    } else if (f->digits.size() >= kDigits) {
        // A full field hands the digit on to the next one.
        if (m_current + 1 >= kFields || m_caret < kDigits) {
            MessageBeep(0);
            return;
        }
        EnterField(m_current + 1, 0, true);
        TypeDigit(digit);
        return;
    }
    f->digits.insert(m_caret, 1, digit);
    ++m_caret;
    Changed();
    PlaceCaret();
    if (f->digits.size() == kDigits && m_caret == kDigits) {
        if (m_current + 1 < kFields)
            EnterField(m_current + 1, 0, true);
        else
            ClampToRange(m_current);
    }
}

void CIPAddressControl::Backspace()
{
    Field& f = m_fields[static_cast<std::size_t>(m_current)];
    if (m_selected && !f.digits.empty()) {
        f.digits.clear();
        m_caret = 0;
        m_selected = false;
        Changed();
    } else if (m_caret > 0) {
        f.digits.erase(--m_caret, 1);
        Changed();
    } else if (m_current > 0) {
        // At a field's start the key goes on into the field before.
        EnterField(m_current - 1, std::wstring::npos, false);
        Backspace();
        return;
    }
    m_selected = false;
    PlaceCaret();
}

void CIPAddressControl::MoveLeft()
{
    if (m_caret > 0 && !m_selected)
        --m_caret;
    else if (m_current > 0)
        return EnterField(m_current - 1, std::wstring::npos, false);
    m_selected = false;
    Redraw();
    PlaceCaret();
}

void CIPAddressControl::MoveRight()
{
    const std::size_t size = m_fields[static_cast<std::size_t>(m_current)].digits.size();
    if (m_caret < size && !m_selected)
        ++m_caret;
    else if (m_current + 1 < kFields)
        return EnterField(m_current + 1, 0, false);
    else
        m_caret = size;
    m_selected = false;
    Redraw();
    PlaceCaret();
}

void CIPAddressControl::OnKey(WPARAM key)
{
    const bool control = ControlDown();
    switch (key) {
    case VK_LEFT: MoveLeft(); break;
    case VK_RIGHT: MoveRight(); break;
    case VK_HOME: EnterField(0, 0, false); break;
    case VK_END: EnterField(kFields - 1, std::wstring::npos, false); break;
    case VK_BACK: Backspace(); break;
    case 'V':
        if (control)
            Paste();
        break;
    case VK_INSERT:
        if (ShiftDown())
            Paste();
        break;
    default: break;
    }
}

void CIPAddressControl::OnChar(wchar_t ch)
{
    if (ch >= L'0' && ch <= L'9') {
        TypeDigit(ch);
    } else if (ch == kDot || ch == L' ') {
        const Field& f = m_fields[static_cast<std::size_t>(m_current)];
        if (!f.digits.empty() && m_current + 1 < kFields)
            EnterField(m_current + 1, 0, true);
    } else if (ch >= L' ') {
        MessageBeep(0);
    }
}

void CIPAddressControl::OnClick(POINT point)
{
    const int field = FieldAt(point);
    if (!Focused()) {
        m_current = field;
        SetFocus(Hwnd());
    }
    EnterField(field, std::wstring::npos, false);
}

void CIPAddressControl::OnSetFocus()
{
    HDC dc = GetDC(Hwnd());
    const HGDIOBJ old = SelectObject(dc, Font());
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    SelectObject(dc, old);
    ReleaseDC(Hwnd(), dc);
    m_hasCaret = CreateCaret(Hwnd(), nullptr, 1, metrics.tmHeight) != FALSE;
    if (!m_inNotice) {
        m_caret = m_fields[static_cast<std::size_t>(m_current)].digits.size();
        m_selected = true;
    }
    PlaceCaret();
    ShowCaret(Hwnd());
    Redraw();
    if (!m_inNotice)
        NotifyParent(kEditSetFocus);
}

void CIPAddressControl::OnKillFocus()
{
    if (m_hasCaret)
        DestroyCaret();
    m_hasCaret = false;
    Redraw();
    if (m_inNotice)
        return;
    m_selected = false;
    LeaveField();
    NotifyParent(kEditKillFocus);
}

// --- the address as a whole -----------------------------------------------------

void CIPAddressControl::Paste()
{
    if (!SetFromText(ClipboardText(Hwnd())))
        MessageBeep(0);
}

// A whole address fills all fields; a shorter dotted run fills the fields
// from the current one on.
bool CIPAddressControl::SetFromText(const std::wstring& text)
{
    const std::optional<std::vector<int>> parts = ParseDotted(text);
    if (!parts)
        return false;
    const int first = parts->size() == kFields ? 0 : m_current;
    const int count = std::min<int>(static_cast<int>(parts->size()), kFields - first);
    for (int i = 0; i < count; ++i) {
        Field& f = m_fields[static_cast<std::size_t>(first + i)];
        f.digits = std::to_wstring(std::clamp<int>((*parts)[static_cast<std::size_t>(i)], f.low, f.high));
    }
    m_current = first + count - 1;
    m_caret = m_fields[static_cast<std::size_t>(m_current)].digits.size();
    m_selected = false;
    Changed();
    PlaceCaret();
    return true;
}

LRESULT CIPAddressControl::SetAddress(DWORD address)
{
    for (int field = 0; field < kFields; ++field) {
        Field& f = m_fields[static_cast<std::size_t>(field)];
        const int value = static_cast<int>((address >> (8 * (kFields - 1 - field))) & 0xFF);
        f.digits = std::to_wstring(std::clamp<int>(value, f.low, f.high));
    }
    m_caret = std::min(m_caret, m_fields[static_cast<std::size_t>(m_current)].digits.size());
    Changed();
    PlaceCaret();
    return TRUE;
}

LRESULT CIPAddressControl::GetAddress(DWORD* address) const
{
    DWORD packed = 0;
    int filled = 0;
    for (int field = 0; field < kFields; ++field) {
        const std::optional<int> value = ValueOf(field);
        filled += value ? 1 : 0;
        packed = (packed << 8) | static_cast<DWORD>(value.value_or(0) & 0xFF);
    }
    if (address != nullptr)
        *address = packed;
    return filled;
}

void CIPAddressControl::Clear()
{
    for (Field& f : m_fields)
        f.digits.clear();
    m_caret = 0;
    m_selected = false;
    Changed();
    PlaceCaret();
}

LRESULT CIPAddressControl::SetRange(WPARAM field, LPARAM range)
{
    const BYTE low = LOBYTE(LOWORD(range));
    const BYTE high = HIBYTE(LOWORD(range));
    if (field >= kFields || low > high)
        return FALSE;
    Field& f = m_fields[field];
    f.low = low;
    f.high = high;
    if (const std::optional<int> value = ValueOf(static_cast<int>(field))) {
        f.digits = std::to_wstring(std::clamp<int>(*value, low, high));
        Redraw();
    }
    return TRUE;
}

// A field number past the last one means the first blank field.
void CIPAddressControl::FocusField(WPARAM field)
{
    int target = 0;
    if (field < kFields) {
        target = static_cast<int>(field);
    } else {
        while (target + 1 < kFields && ValueOf(target))
            ++target;
    }
    if (!Focused()) {
        m_current = target;
        SetFocus(Hwnd());
    }
    EnterField(target, std::wstring::npos, true);
}

std::wstring CIPAddressControl::Dotted() const
{
    std::wstring text;
    for (int field = 0; field < kFields; ++field) {
        text += std::to_wstring(ValueOf(field).value_or(0));
        if (field + 1 < kFields)
            text += kDot;
    }
    return text;
}

LRESULT CIPAddressControl::OnMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_GETDLGCODE: return DLGC_WANTCHARS | DLGC_WANTARROWS;
    case WM_SETFOCUS: OnSetFocus(); return 0;
    case WM_KILLFOCUS: OnKillFocus(); return 0;
    case WM_LBUTTONDOWN:
        OnClick(PointOf(lParam));
        return 0;
    case WM_KEYDOWN: OnKey(wParam); return 0;
    case WM_CHAR: OnChar(static_cast<wchar_t>(wParam)); return 0;
    case WM_PASTE: Paste(); return 0;
    case WM_GETTEXTLENGTH: return static_cast<LRESULT>(Dotted().size());
    case WM_GETTEXT: return AnswerGetText(Dotted(), wParam, lParam);
    case WM_SETTEXT:
        if (lParam == 0) {
            Clear();
            return TRUE;
        }
        return SetFromText(reinterpret_cast<LPCWSTR>(lParam)) ? TRUE : FALSE;
    case IPM_CLEARADDRESS: Clear(); return 0;
    case IPM_SETADDRESS: return SetAddress(static_cast<DWORD>(lParam));
    case IPM_GETADDRESS: return GetAddress(reinterpret_cast<DWORD*>(lParam));
    case IPM_SETRANGE: return SetRange(wParam, lParam);
    case IPM_SETFOCUS: FocusField(wParam); return 0;
    case IPM_ISBLANK: return GetAddress(nullptr) == 0 ? TRUE : FALSE;
    case WM_ENABLE:
        if (wParam == 0 && Focused())
            SetFocus(nullptr);
        return CControlWindow::OnMessage(message, wParam, lParam);
    default: return CControlWindow::OnMessage(message, wParam, lParam);
    }
}

}
