#include "Platform/Controls/EditContextMenu.h"

#include "Platform/Controls/EditStyles.h"
#include "Platform/Ui/Caret.h"
#include "Platform/Ui/Clipboard.h"

namespace ZELL::Controls {

namespace {

// The items are named by the messages that carry them out.
constexpr UINT kUndo = WM_UNDO;
constexpr UINT kCut = WM_CUT;
constexpr UINT kCopy = WM_COPY;
constexpr UINT kPaste = WM_PASTE;
constexpr UINT kDelete = WM_CLEAR;
constexpr UINT kSelectAll = EM_SETSEL;

constexpr LPARAM kFromKeyboard = -1;

UINT Allowed(bool allowed)
{
    return allowed ? MF_ENABLED : MF_GRAYED;
}

}  // namespace

void CEditContextMenu::Show(LPARAM where) const
{
    if (!IsWindow(m_edit))
        return;
    // The edit takes the focus first, as a click would give it.
    if (GetFocus() != m_edit)
        SetFocus(m_edit);
    HMENU menu = Build();
    if (menu == nullptr)
        return;
    const POINT at = Anchor(where);
    const auto command = static_cast<UINT>(
        TrackPopupMenuEx(menu, TPM_RETURNCMD | TPM_NONOTIFY | TPM_RIGHTBUTTON | TPM_LEFTALIGN, at.x, at.y, m_edit, nullptr));
    DestroyMenu(menu);
    if (command != 0 && IsWindow(m_edit))
        Carry(command);
}

HMENU CEditContextMenu::Build() const
{
    DWORD start = 0;
    DWORD end = 0;
    SendMessageW(m_edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    const auto length = static_cast<DWORD>(SendMessageW(m_edit, WM_GETTEXTLENGTH, 0, 0));
    const auto style = static_cast<DWORD>(GetWindowLongPtrW(m_edit, GWL_STYLE));
    const bool writable = (style & ES_READONLY) == 0;
    const bool selected = start != end;
    // A password is never handed to the clipboard.
    const bool hidden = SendMessageW(m_edit, EM_GETPASSWORDCHAR, 0, 0) != 0 && (style & ES_PASSWORD) != 0;
    const bool canUndo = writable && SendMessageW(m_edit, EM_CANUNDO, 0, 0) != 0;
    const bool canPaste = writable && IsClipboardFormatAvailable(CF_UNICODETEXT);
    const bool allSelected = start == 0 && end >= length;

    HMENU menu = CreatePopupMenu();
    if (menu == nullptr)
        return nullptr;
    AppendMenuW(menu, MF_STRING | Allowed(canUndo), kUndo, L"&Undo");
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(menu, MF_STRING | Allowed(writable && selected && !hidden), kCut, L"Cu&t");
    AppendMenuW(menu, MF_STRING | Allowed(selected && !hidden), kCopy, L"&Copy");
    AppendMenuW(menu, MF_STRING | Allowed(canPaste), kPaste, L"&Paste");
    AppendMenuW(menu, MF_STRING | Allowed(writable && selected), kDelete, L"&Delete");
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(menu, MF_STRING | Allowed(length > 0 && !allSelected), kSelectAll, L"Select &All");
    return menu;
}

POINT CEditContextMenu::Anchor(LPARAM where) const
{
    if (where != kFromKeyboard && static_cast<DWORD>(where) != 0xFFFFFFFF)
        return {GET_X_LPARAM(where), GET_Y_LPARAM(where)};
    POINT caret{};
    if (GetFocus() != m_edit || !GetCaretPos(&caret)) {
        RECT client{};
        GetClientRect(m_edit, &client);
        caret = {client.right / 2, client.bottom / 2};
    }
    ClientToScreen(m_edit, &caret);
    return caret;
}

void CEditContextMenu::Carry(UINT command) const
{
    if (command == kSelectAll)
        SendMessageW(m_edit, EM_SETSEL, 0, -1);
    else
        SendMessageW(m_edit, command, 0, 0);
}

}
