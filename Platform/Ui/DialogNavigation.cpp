// Keyboard navigation in dialogs: Tab and the arrows, Enter and Esc,
// mnemonics, and the default push button that follows the focus.
#include "Platform/Ui/DialogManager.h"

#include <algorithm>
#include <cwctype>

using namespace Ui;

namespace {

constexpr std::size_t kMaxControls = 10000;

bool Usable(HWND control)
{
    return IsWindowVisible(control) && IsWindowEnabled(control);
}

void CollectControls(HWND parent, std::vector<HWND>& out)
{
    for (HWND child = GetWindow(parent, GW_CHILD); child != nullptr && out.size() < kMaxControls;
         child = GetWindow(child, GW_HWNDNEXT)) {
        if ((GetWindowLongPtrW(child, GWL_EXSTYLE) & WS_EX_CONTROLPARENT) != 0 && Usable(child))
            CollectControls(child, out);
        else
            out.push_back(child);
    }
}

bool IsPushButton(LRESULT code)
{
    return (code & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)) != 0;
}

// The character after the single '&' of a text, 0 when there is none.
wchar_t MnemonicOf(const std::wstring& text)
{
    for (std::size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != L'&')
            continue;
        if (text[i + 1] != L'&')
            return text[i + 1];
        ++i;  // "&&" is a plain ampersand
    }
    return 0;
}

std::wstring TextOf(HWND control)
{
    const int length = GetWindowTextLengthW(control);
    if (length <= 0)
        return {};
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(control, text.data(), length + 1)));
    return text;
}

// SS_NOPREFIX: a static whose '&' is a plain character.
constexpr LONG_PTR kStaticNoPrefix = 0x0080;

// The control whose mnemonic is `key`, searching after the focus and
// round; null when none has it.
HWND FindMnemonic(HWND root, HWND focus, wchar_t key)
{
    const std::vector<HWND> controls = DialogControls(root);
    if (controls.empty())
        return nullptr;
    std::size_t start = 0;
    for (std::size_t i = 0; i < controls.size(); ++i) {
        if (controls[i] == focus)
            start = i + 1;
    }
    const wchar_t wanted = static_cast<wchar_t>(std::towupper(static_cast<wint_t>(key)));
    for (std::size_t step = 0; step < controls.size(); ++step) {
        HWND control = controls[(start + step) % controls.size()];
        if (!IsWindowVisible(control))
            continue;
        const LRESULT code = DialogCodeOf(control);
        if ((code & DLGC_STATIC) != 0 && (GetWindowLongPtrW(control, GWL_STYLE) & kStaticNoPrefix) != 0)
            continue;
        const wchar_t mnemonic = MnemonicOf(TextOf(control));
        if (mnemonic != 0 && static_cast<wchar_t>(std::towupper(static_cast<wint_t>(mnemonic))) == wanted)
            return control;
    }
    return nullptr;
}

// What a mnemonic does: a label hands on to the next control that takes
// the focus, a push button is pressed, other buttons get the focus and a
// click, anything else the focus.
bool ActivateMnemonic(HWND root, HWND control)
{
    LRESULT code = DialogCodeOf(control);
    if ((code & DLGC_STATIC) != 0) {
        const std::vector<HWND> controls = DialogControls(root);
        auto it = std::find(controls.begin(), controls.end(), control);
        control = nullptr;
        for (++it; it < controls.end(); ++it) {
            if (Usable(*it) && (DialogCodeOf(*it) & DLGC_STATIC) == 0) {
                control = *it;
                break;
            }
        }
        if (control == nullptr)
            return true;
        code = DialogCodeOf(control);
    }
    if (!IsWindowEnabled(control))
        return true;
    if (IsPushButton(code)) {
        SendMessageW(control, kBmClick, 0, 0);
        return true;
    }
    SetDialogFocus(root, control);
    if ((code & (DLGC_BUTTON | DLGC_RADIOBUTTON)) != 0)
        SendMessageW(control, kBmClick, 0, 0);
    return true;
}

void SendCommand(HWND dialog, int id)
{
    HWND control = GetDlgItem(dialog, id);
    // A disabled button does not answer its key.
    if (control != nullptr && !IsWindowEnabled(control)) {
        MessageBeep(0);
        return;
    }
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(id), kBnClicked), reinterpret_cast<LPARAM>(control));
}

bool PressEnter(HWND dialog, HWND focus, LRESULT focusCode)
{
    int id = IDOK;
    if (focus != nullptr && IsPushButton(focusCode)) {
        id = GetDlgCtrlID(focus);
    } else {
        const LRESULT defId = SendMessageW(dialog, DM_GETDEFID, 0, 0);
        if (HIWORD(static_cast<DWORD>(defId)) == DC_HASDEFID)
            id = LOWORD(static_cast<DWORD>(defId));
    }
    SendCommand(dialog, id);
    return true;
}

bool IsRadio(HWND control)
{
    return (DialogCodeOf(control) & DLGC_RADIOBUTTON) != 0;
}

// The members of the control's group, the control included.
std::vector<HWND> GroupOf(HWND root, HWND control)
{
    std::vector<HWND> members{control};
    for (HWND member = GetNextDlgGroupItem(root, control, FALSE);
         member != nullptr && member != control && members.size() < kMaxControls;
         member = GetNextDlgGroupItem(root, member, FALSE)) {
        if (std::find(members.begin(), members.end(), member) != members.end())
            break;
        members.push_back(member);
    }
    return members;
}

// Tab enters a group of radio buttons at its checked one, so that moving
// the focus never moves the choice; with none checked, where it lands.
HWND CheckedRadioOf(HWND root, HWND radio)
{
    for (HWND member : GroupOf(root, radio)) {
        if (IsRadio(member) && SendMessageW(member, kBmGetCheck, 0, 0) == LRESULT{kBstChecked})
            return member;
    }
    return radio;
}

// The control Tab (or Shift+Tab) goes to. A group of radio buttons is one
// stop: leaving it passes over its other members, whichever carries a tab
// stop, and entering it lands on the checked one.
HWND NextTabStop(HWND root, HWND focus, bool back)
{
    std::vector<HWND> own;
    if (focus != nullptr && IsRadio(focus))
        own = GroupOf(root, focus);
    HWND next = focus;
    for (std::size_t step = 0; step <= own.size(); ++step) {
        next = GetNextDlgTabItem(root, next, back ? TRUE : FALSE);
        if (next == nullptr || next == focus || std::find(own.begin(), own.end(), next) == own.end())
            break;
    }
    if (next != nullptr && next != focus && IsRadio(next))
        next = CheckedRadioOf(root, next);
    return next;
}

bool MoveInGroup(HWND root, HWND focus, bool previous)
{
    HWND next = GetNextDlgGroupItem(root, focus, previous ? TRUE : FALSE);
    if (next == nullptr || next == focus)
        return true;
    SetDialogFocus(root, next);
    if ((DialogCodeOf(next) & DLGC_RADIOBUTTON) != 0)
        SendMessageW(next, kBmClick, 0, 0);
    return true;
}

// A control parent between the control and the root, or the root itself,
// that asks for a key (a property sheet holding its pages asks for Ctrl+Tab).
HWND ParentWantingKey(HWND root, const MSG& msg)
{
    HWND window = msg.hwnd;
    for (int depth = 0; window != nullptr && window != root && depth < 64; ++depth) {
        window = GetParent(window);
        if (window == nullptr)
            break;
        const bool controlParent = (GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_CONTROLPARENT) != 0;
        if ((controlParent || window == root) && (DialogCodeOf(window, &msg) & DLGC_WANTMESSAGE) != 0)
            return window;
    }
    return nullptr;
}

bool KeyDown(HWND root, const MSG& msg, HWND focus, LRESULT code)
{
    // Asked before the control, so that a sheet's page keys work from an
    // edit that wants all keys as well.
    if (HWND parent = ParentWantingKey(root, msg)) {
        SendMessageW(parent, WM_KEYDOWN, msg.wParam, msg.lParam);
        return true;
    }
    if ((code & DLGC_WANTMESSAGE) != 0)
        return false;
    switch (msg.wParam) {
    case VK_TAB: {
        if ((code & DLGC_WANTTAB) != 0)
            return false;
        const bool back = (GetKeyState(VK_SHIFT) & 0x8000) != 0;
        if (HWND next = NextTabStop(root, focus, back))
            SetDialogFocus(root, next);
        return true;
    }
    case VK_LEFT:
    case VK_UP:
    case VK_RIGHT:
    case VK_DOWN:
        if ((code & DLGC_WANTARROWS) != 0)
            return false;
        return MoveInGroup(root, focus, msg.wParam == VK_LEFT || msg.wParam == VK_UP);
    // Enter and Esc are the whole dialog's, also from a form or page that
    // sits in it as a control parent: the form has no buttons of its own
    // to close.
    case VK_RETURN:
        return PressEnter(root, focus, code);
    case VK_ESCAPE:
        SendCommand(root, IDCANCEL);
        return true;
    default:
        return false;
    }
}

}

LRESULT Ui::DialogCodeOf(HWND control, const MSG* msg)
{
    if (control == nullptr)
        return 0;
    return SendMessageW(control, WM_GETDLGCODE, msg != nullptr ? msg->wParam : 0, reinterpret_cast<LPARAM>(msg));
}

HWND Ui::NavigationRoot(HWND dialog)
{
    HWND root = dialog;
    for (int depth = 0; depth < 64; ++depth) {
        const LONG_PTR style = GetWindowLongPtrW(root, GWL_STYLE);
        const LONG_PTR exStyle = GetWindowLongPtrW(root, GWL_EXSTYLE);
        HWND parent = GetParent(root);
        if ((style & WS_CHILD) == 0 || (exStyle & WS_EX_CONTROLPARENT) == 0 || parent == nullptr)
            break;
        root = parent;
    }
    return root;
}

std::vector<HWND> Ui::DialogControls(HWND dialog)
{
    std::vector<HWND> controls;
    CollectControls(dialog, controls);
    return controls;
}

void Ui::UpdateDefaultButton(HWND dialog, HWND focus)
{
    HWND target = nullptr;
    if (focus != nullptr && IsPushButton(DialogCodeOf(focus))) {
        target = focus;
    } else if (auto state = DialogStateOf(dialog); state && state->hasDefaultId) {
        target = GetDlgItem(dialog, state->defaultId);
    }
    for (HWND control : DialogControls(dialog)) {
        if (control != target && (DialogCodeOf(control) & DLGC_DEFPUSHBUTTON) != 0)
            SendMessageW(control, kBmSetStyle, kBsPushButton, TRUE);
    }
    if (target != nullptr && (DialogCodeOf(target) & DLGC_UNDEFPUSHBUTTON) != 0)
        SendMessageW(target, kBmSetStyle, kBsDefPushButton, TRUE);
}

void Ui::SetDialogFocus(HWND dialog, HWND control)
{
    if (control == nullptr)
        return;
    if ((DialogCodeOf(control) & DLGC_HASSETSEL) != 0)
        SendMessageW(control, kEmSetSel, 0, -1);
    SetFocus(control);
    // The control may sit in a child dialog: its own buttons follow.
    HWND owner = GetParent(control);
    while (owner != nullptr && owner != dialog && !DialogStateOf(owner))
        owner = GetParent(owner);
    UpdateDefaultButton(owner != nullptr ? owner : dialog, control);
}

BOOL IsDialogMessageW(HWND dialog, LPMSG msg)
{
    if (msg == nullptr || dialog == nullptr || !IsWindow(dialog))
        return FALSE;
    if (msg->hwnd != dialog && !IsChild(dialog, msg->hwnd))
        return FALSE;
    HWND root = NavigationRoot(dialog);
    HWND focus = GetFocus();
    if (focus != nullptr && focus != root && !IsChild(root, focus))
        focus = nullptr;
    // Only keys and characters are the dialog manager's: the control is asked
    // what it wants of those alone.
    const bool keyboard = msg->message == WM_KEYDOWN || msg->message == WM_CHAR || msg->message == WM_SYSCHAR;
    const LRESULT code = keyboard ? DialogCodeOf(msg->hwnd, msg) : 0;
    switch (msg->message) {
    case WM_KEYDOWN:
        if (KeyDown(root, *msg, focus, code))
            return TRUE;
        break;
    case WM_CHAR:
        // A plain key is a mnemonic where the focus does not take characters.
        if ((code & (DLGC_WANTCHARS | DLGC_WANTMESSAGE)) == 0 && msg->wParam > L' ') {
            if (HWND target = FindMnemonic(root, focus, static_cast<wchar_t>(msg->wParam)))
                return ActivateMnemonic(root, target) ? TRUE : FALSE;
        }
        break;
    case WM_SYSCHAR:
        if (HWND target = FindMnemonic(root, focus, static_cast<wchar_t>(msg->wParam)))
            return ActivateMnemonic(root, target) ? TRUE : FALSE;
        break;
    default:
        break;
    }
    TranslateMessage(msg);
    DispatchMessageW(msg);
    return TRUE;
}
