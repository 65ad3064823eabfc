// The dialog manager's keys over real buttons and edits: Tab only moves the
// focus (a radio group is one stop, entered at its checked button), the
// arrows move the choice, Enter presses the focused push button or else the
// default one, and mnemonics reach their controls.
#include "Platform/Controls/ControlStyles.h"
#include "Platform/Controls/StandardControls.h"
#include "Platform/Controls/Tests/TemplateItems.h"
#include "Platform/Ui/Dialogs.h"
#include "Platform/Ui/Tests/DialogDriver.h"
#include "Platform/Ui/Tests/UiTestSupport.h"

#include <gtest/gtest.h>

#include <vector>

using UiTest::CDialogDriver;

namespace {

constexpr int kName = 101;
constexpr int kAlpha = 110;
constexpr int kBeta = 111;
constexpr int kGamma = 112;
constexpr int kVerbose = 120;
constexpr int kNotes = 130;
constexpr int kApply = 140;

std::vector<int> g_commands;

INT_PTR KeysDialogProc(HWND, UINT message, WPARAM wParam, LPARAM)
{
    if (message == WM_INITDIALOG)
        return TRUE;
    if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED &&
        (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL || LOWORD(wParam) == kApply)) {
        g_commands.push_back(LOWORD(wParam));
        return TRUE;
    }
    return FALSE;
}

// An edit, a group of three radio buttons, a check box, a second edit and
// three push buttons, OK the default: the shape of a settings form.
std::vector<BYTE> KeysDialogImage()
{
    using ControlTest::Button;
    const auto edit = [](int id, short y) {
        return ControlTest::Predefined(Ui::kClassEdit, id, WS_TABSTOP | WS_BORDER | WS_GROUP, 7, y, 120, 12);
    };
    return ControlTest::DialogImage(
        L"Keys", 200, 150,
        {edit(kName, 7), Button(L"&Alpha", kAlpha, BS_AUTORADIOBUTTON | WS_GROUP | WS_TABSTOP, 7, 24, 80, 10),
         Button(L"&Beta", kBeta, BS_AUTORADIOBUTTON, 7, 36, 80, 10),
         Button(L"&Gamma", kGamma, BS_AUTORADIOBUTTON, 7, 48, 80, 10),
         Button(L"&Verbose", kVerbose, BS_AUTOCHECKBOX | WS_TABSTOP | WS_GROUP, 7, 62, 80, 10), edit(kNotes, 76),
         Button(L"OK", IDOK, BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP, 7, 120, 50, 14),
         Button(L"Cancel", IDCANCEL, BS_PUSHBUTTON | WS_TABSTOP, 60, 120, 50, 14),
         Button(L"A&pply", kApply, BS_PUSHBUTTON | WS_TABSTOP, 113, 120, 50, 14)});
}

struct tStroke {
    UINT key;
    unsigned modifiers = UiTest::kNoModifier;
};

const tStroke kTab{VK_TAB};
const tStroke kBackTab{VK_TAB, UiTest::kShift};
const tStroke kDown{VK_DOWN};
const tStroke kUp{VK_UP};
const tStroke kEnter{VK_RETURN};

struct tKeyCase {
    const char* what;
    int checkedAtStart;  // 0: no radio button checked
    int focusAtStart;
    std::vector<tStroke> keys;
    std::vector<int> focusAfterEach;
    int checkedAtEnd;
    std::vector<int> commands;
};

const tKeyCase kKeyCases[] = {
    {"Tab four times and Enter keeps the choice and presses OK", kAlpha, kName,
     {kTab, kTab, kTab, kTab, kEnter}, {kAlpha, kVerbose, kNotes, IDOK, IDOK}, kAlpha, {IDOK}},
    {"Tab enters the group at its checked button and leaves it whole", kGamma, kName,
     {kTab, kTab, kBackTab, kBackTab}, {kGamma, kVerbose, kGamma, kName}, kGamma, {}},
    {"with nothing checked Tab lands on the group's tab stop and checks nothing", 0, kName,
     {kTab, kTab, kBackTab}, {kAlpha, kVerbose, kAlpha}, 0, {}},
    {"the arrows move the choice round the group", kAlpha, kName,
     {kTab, kDown, kDown, kDown, kUp, kTab}, {kAlpha, kBeta, kGamma, kAlpha, kGamma, kVerbose}, kGamma, {}},
    {"after an arrow moved the choice Tab enters the group at the new one", kAlpha, kName,
     {kTab, kDown, kTab, kBackTab}, {kAlpha, kBeta, kVerbose, kBeta}, kBeta, {}},
    {"Enter on a focused push button presses that one", kAlpha, kNotes,
     {kTab, kTab, kTab, kEnter, kBackTab, kEnter}, {IDOK, IDCANCEL, kApply, kApply, IDCANCEL, IDCANCEL}, kAlpha,
     {kApply, IDCANCEL}},
    {"Enter in an edit presses the default button", kBeta, kNotes, {kEnter}, {kNotes}, kBeta, {IDOK}},
    {"a mnemonic focuses and checks its radio button", kAlpha, kNotes, {{'G', UiTest::kAlt}}, {kGamma}, kGamma, {}},
    {"a push button's mnemonic presses it as a click does", kAlpha, kName, {{'P', UiTest::kAlt}}, {kApply}, kAlpha,
     {kApply}},
};

class DialogKeys : public testing::TestWithParam<tKeyCase> {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(ZELL::Controls::RegisterStandardControls());
        g_commands.clear();
        m_image = KeysDialogImage();
        m_dialog = CreateDialogIndirectParamW(nullptr, reinterpret_cast<LPCDLGTEMPLATEW>(m_image.data()), nullptr,
                                              &KeysDialogProc, 0);
        ASSERT_NE(m_dialog, nullptr);
        ShowWindow(m_dialog, SW_SHOW);
        SetActiveWindow(m_dialog);
        CDialogDriver(m_dialog).PumpUntilIdle();
    }
    void TearDown() override
    {
        if (m_dialog != nullptr)
            DestroyWindow(m_dialog);
        UiTest::Drain();
    }

    int Checked(const CDialogDriver& driver) const
    {
        for (int id : {kAlpha, kBeta, kGamma})
            if (driver.IsChecked(id))
                return id;
        return 0;
    }

    std::vector<BYTE> m_image;
    HWND m_dialog = nullptr;
};

}

TEST_P(DialogKeys, MoveTheFocusAndTheChoiceAsTheDialogManagerRules)
{
    const tKeyCase& c = GetParam();
    SCOPED_TRACE(c.what);
    CDialogDriver driver(m_dialog);
    if (c.checkedAtStart != 0)
        CheckRadioButton(m_dialog, kAlpha, kGamma, c.checkedAtStart);
    SetFocus(driver.Control(c.focusAtStart));
    driver.PumpUntilIdle();
    std::vector<int> focus;
    for (const tStroke& stroke : c.keys) {
        driver.Press(stroke.key, stroke.modifiers);
        driver.PumpUntilIdle();
        focus.push_back(driver.FocusId());
    }
    EXPECT_EQ(focus, c.focusAfterEach);
    EXPECT_EQ(Checked(driver), c.checkedAtEnd);
    EXPECT_EQ(g_commands, c.commands);
    EXPECT_FALSE(driver.IsChecked(kVerbose)) << "no key here toggles the check box";
}

INSTANTIATE_TEST_SUITE_P(Table, DialogKeys, testing::ValuesIn(kKeyCases));

// A push button with the focus is the default one meanwhile: it draws the
// dark frame, and OK gets it back when the focus leaves the buttons.
TEST_F(DialogKeys, TheFocusedPushButtonIsTheDefaultWhileItHasTheFocus)
{
    CDialogDriver driver(m_dialog);
    const auto type = [&](int id) { return GetWindowLongPtrW(driver.Control(id), GWL_STYLE) & BS_TYPEMASK; };
    SetFocus(driver.Control(kNotes));
    driver.Press(VK_TAB);
    driver.Press(VK_TAB);
    driver.PumpUntilIdle();
    ASSERT_EQ(driver.FocusId(), IDCANCEL);
    EXPECT_EQ(type(IDCANCEL), BS_DEFPUSHBUTTON);
    EXPECT_EQ(type(IDOK), BS_PUSHBUTTON);
    driver.Press(VK_TAB, UiTest::kShift);
    driver.Press(VK_TAB, UiTest::kShift);
    driver.PumpUntilIdle();
    ASSERT_EQ(driver.FocusId(), kNotes);
    EXPECT_EQ(type(IDCANCEL), BS_PUSHBUTTON);
    EXPECT_EQ(type(IDOK), BS_DEFPUSHBUTTON);
}
