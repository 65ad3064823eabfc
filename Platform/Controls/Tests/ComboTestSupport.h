#pragma once
// What the combo-box tests share: a modeless dialog made from a template
// with one combo box and OK/Cancel, that records every WM_COMMAND it gets
// (the combo's notifications and the dialog's own IDOK/IDCANCEL), and small
// helpers to fill a combo and reach its drop-down list.
#include "ListTestSupport.h"
#include "Platform/Controls/ComboStyles.h"
#include "Platform/Controls/Tests/TemplateItems.h"
#include "Platform/Ui/DialogTemplate.h"
#include "Platform/Ui/Dialogs.h"
#include "Platform/Ui/Tests/DialogDriver.h"
#include "Platform/Ui/Tests/WindowText.h"

#include <utility>
#include <vector>

namespace ComboTest {

constexpr int kComboId = 100;

struct Command {
    int id = 0;
    WORD code = 0;
    bool operator==(const Command&) const = default;
};

class ComboDialog {
public:
    explicit ComboDialog(DWORD comboStyle)
    {
        ZELL::Controls::RegisterStandardControls();
        Ui::CDialogTemplate dt;
        dt.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE | DS_SETFONT | DS_MODALFRAME;
        dt.x = 40;
        dt.y = 30;
        dt.cx = 160;
        dt.cy = 90;
        dt.caption = L"Combo";
        dt.pointSize = 8;
        dt.faceName = L"MS Shell Dlg";
        dt.items = {
            Item(Ui::kClassComboBox, L"", kComboId, comboStyle | WS_TABSTOP | WS_VSCROLL, 7, 7, 100, 60),
            Item(Ui::kClassButton, L"OK", IDOK, BS_DEFPUSHBUTTON | WS_TABSTOP, 110, 7, 44, 14),
            Item(Ui::kClassButton, L"Cancel", IDCANCEL, BS_PUSHBUTTON | WS_TABSTOP, 110, 25, 44, 14),
        };
        m_image = dt.ToImage();
        m_dialog = CreateDialogIndirectParamW(nullptr, reinterpret_cast<LPCDLGTEMPLATEW>(m_image.data()), nullptr,
                                              &Proc, reinterpret_cast<LPARAM>(this));
        SetActiveWindow(m_dialog);
        UiTest::CDialogDriver(m_dialog).PumpUntilIdle();
    }
    ~ComboDialog()
    {
        if (IsWindow(m_dialog))
            DestroyWindow(m_dialog);
        UiTest::Drain();
    }
    ComboDialog(const ComboDialog&) = delete;
    ComboDialog& operator=(const ComboDialog&) = delete;

    HWND Dialog() const { return m_dialog; }
    HWND Combo() const { return GetDlgItem(m_dialog, kComboId); }
    UiTest::CDialogDriver Driver() const { return UiTest::CDialogDriver(m_dialog); }
    // The notification codes of the combo, in order.
    std::vector<WORD> ComboCodes() const
    {
        std::vector<WORD> codes;
        for (const Command& c : commands)
            if (c.id == kComboId)
                codes.push_back(c.code);
        return codes;
    }
    // The ids of commands from anything but the combo (IDOK, IDCANCEL).
    std::vector<int> DialogCommands() const
    {
        std::vector<int> ids;
        for (const Command& c : commands)
            if (c.id != kComboId)
                ids.push_back(c.id);
        return ids;
    }

    std::vector<Command> commands;

private:
    static Ui::DialogItemTemplate Item(WORD atom, LPCWSTR text, int id, DWORD style, short x, short y, short cx,
                                       short cy)
    {
        return ControlTest::Item(Ui::NameOrOrdinal::Ordinal(atom), text, id, style, x, y, cx, cy);
    }

    static INT_PTR Proc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
    {
        if (message == WM_INITDIALOG)
            SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        auto* self = reinterpret_cast<ComboDialog*>(GetWindowLongPtrW(dialog, DWLP_USER));
        if (self == nullptr)
            return FALSE;
        if (message == WM_COMMAND) {
            self->commands.push_back({LOWORD(wParam), HIWORD(wParam)});
            return TRUE;
        }
        return message == WM_INITDIALOG ? TRUE : FALSE;
    }

    Platform::ManualClockScope m_clock{20000000};
    std::vector<BYTE> m_image;
    HWND m_dialog = nullptr;
};

inline LRESULT Send(HWND combo, UINT message, WPARAM wParam = 0, LPARAM lParam = 0)
{
    return SendMessageW(combo, message, wParam, lParam);
}

inline void Fill(HWND combo, std::initializer_list<LPCWSTR> texts)
{
    for (LPCWSTR text : texts)
        Send(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
    UiTest::Drain();
}

inline HWND ListOf(HWND combo)
{
    COMBOBOXINFO info;
    Send(combo, CB_GETCOMBOBOXINFO, 0, reinterpret_cast<LPARAM>(&info));
    return info.hwndList;
}

inline RECT ScreenRect(HWND hwnd)
{
    RECT r{};
    GetWindowRect(hwnd, &r);
    return r;
}

using UiTest::TextOf;

}
