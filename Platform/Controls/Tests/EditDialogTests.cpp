// The edit inside a dialog: what the dialog manager does with Enter, Tab
// and the focus given by Tab.
#include "Platform/Controls/ControlStyles.h"
#include "Platform/Controls/EditStyles.h"
#include "Platform/Controls/StandardControls.h"
#include "Platform/Controls/Tests/TemplateItems.h"
#include "Platform/Ui/DialogTemplate.h"
#include "Platform/Ui/Dialogs.h"
#include "Platform/Ui/Tests/DialogDriver.h"
#include "Platform/Ui/Tests/UiTestSupport.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

using UiTest::CDialogDriver;

namespace {

constexpr int kName = 101;
constexpr int kNotes = 102;   // multi-line, Enter for the dialog
constexpr int kLetter = 103;  // multi-line with ES_WANTRETURN

std::vector<int> g_commands;

Ui::DialogItemTemplate Item(WORD atom, LPCWSTR text, int id, DWORD style, short y, short cy)
{
    return ControlTest::Item(Ui::NameOrOrdinal::Ordinal(atom), text, id, style, 7, y, 120, cy);
}

INT_PTR EditDialogProc(HWND, UINT message, WPARAM wParam, LPARAM)
{
    if (message == WM_INITDIALOG)
        return TRUE;
    if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
        g_commands.push_back(LOWORD(wParam));
        return TRUE;
    }
    return FALSE;
}

class EditDialog : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(ZELL::Controls::RegisterStandardControls());
        g_commands.clear();
        Ui::CDialogTemplate dt;
        dt.style = WS_POPUP | WS_CAPTION | DS_SETFONT | DS_MODALFRAME;
        dt.cx = 140;
        dt.cy = 120;
        dt.caption = L"Edits";
        dt.pointSize = 8;
        dt.faceName = L"MS Shell Dlg";
        const DWORD tab = WS_TABSTOP | WS_BORDER;
        dt.items = {
            Item(Ui::kClassEdit, L"Jane Doe", kName, tab | ES_AUTOHSCROLL, 7, 12),
            Item(Ui::kClassEdit, L"", kNotes, tab | ES_MULTILINE, 24, 24),
            Item(Ui::kClassEdit, L"", kLetter, tab | ES_MULTILINE | ES_WANTRETURN, 52, 24),
            Item(Ui::kClassButton, L"OK", IDOK, WS_TABSTOP | BS_DEFPUSHBUTTON, 82, 14),
            Item(Ui::kClassButton, L"Cancel", IDCANCEL, WS_TABSTOP, 100, 14),
        };
        m_image = dt.ToImage();
        m_dialog = CreateDialogIndirectParamW(nullptr, reinterpret_cast<LPCDLGTEMPLATEW>(m_image.data()), nullptr,
                                              &EditDialogProc, 0);
        ASSERT_NE(m_dialog, nullptr);
        ShowWindow(m_dialog, SW_SHOW);
        SetActiveWindow(m_dialog);
        m_driver.emplace(m_dialog);
        m_driver->PumpUntilIdle();
    }
    void TearDown() override
    {
        if (m_dialog != nullptr)
            DestroyWindow(m_dialog);
        UiTest::Drain();
    }
    std::pair<int, int> Selection(int id) const
    {
        DWORD start = 0;
        DWORD end = 0;
        SendMessageW(m_driver->Control(id), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
        return {static_cast<int>(start), static_cast<int>(end)};
    }

    std::vector<BYTE> m_image;
    HWND m_dialog = nullptr;
    std::optional<CDialogDriver> m_driver;
};

}

TEST_F(EditDialog, TabSelectsTheWholeTextAndLeavesMultiLineEdits)
{
    CDialogDriver& d = *m_driver;
    EXPECT_EQ(d.FocusId(), kName);
    EXPECT_EQ(Selection(kName), std::make_pair(0, 8)) << "the first edit got the focus with its text selected";
    d.Press(VK_RIGHT);
    d.PumpUntilIdle();
    EXPECT_EQ(Selection(kName), std::make_pair(8, 8)) << "the edit keeps the arrows";
    d.Press(VK_TAB);
    d.PumpUntilIdle();
    EXPECT_EQ(d.FocusId(), kNotes);
    d.Press(VK_TAB);
    d.PumpUntilIdle();
    EXPECT_EQ(d.FocusId(), kLetter) << "Tab stays with the dialog in a multi-line edit";
    EXPECT_EQ(d.Text(kLetter), L"");
    d.Press(VK_TAB, UiTest::kShift);
    d.Press(VK_TAB, UiTest::kShift);
    d.PumpUntilIdle();
    EXPECT_EQ(d.FocusId(), kName);
    EXPECT_EQ(Selection(kName), std::make_pair(0, 8)) << "coming back by Tab selects all again";
    d.Type(L"Max");
    d.PumpUntilIdle();
    EXPECT_EQ(d.Text(kName), L"Max");
}

TEST_F(EditDialog, EnterGoesToTheDefaultButtonUnlessTheEditWantsIt)
{
    CDialogDriver& d = *m_driver;
    d.Press(VK_RETURN);
    d.PumpUntilIdle();
    EXPECT_EQ(g_commands, std::vector<int>{IDOK}) << "a single line leaves Enter to the dialog";

    g_commands.clear();
    ASSERT_TRUE(d.TypeInto(kNotes, L"ab"));
    d.Press(VK_RETURN);
    d.PumpUntilIdle();
    EXPECT_EQ(g_commands, std::vector<int>{IDOK});
    EXPECT_EQ(d.Text(kNotes), L"ab");

    g_commands.clear();
    ASSERT_TRUE(d.TypeInto(kLetter, L"ab"));
    d.Press(VK_RETURN);
    d.Type(L"cd");
    d.PumpUntilIdle();
    EXPECT_TRUE(g_commands.empty());
    EXPECT_EQ(d.Text(kLetter), L"ab\r\ncd");
    EXPECT_EQ(SendMessageW(d.Control(kLetter), EM_GETLINECOUNT, 0, 0), 2);

    d.Press(VK_ESCAPE);
    d.PumpUntilIdle();
    EXPECT_EQ(g_commands, std::vector<int>{IDCANCEL}) << "Esc still cancels the dialog";
}
