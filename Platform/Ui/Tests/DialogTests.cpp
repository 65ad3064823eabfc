// A dialog from a template, driven by injected keyboard and mouse input.
#include "Platform/Base/LastError.h"
#include "Platform/Gdi/DeviceContext.h"
#include "Platform/Gdi/Text.h"
#include "Platform/Ui/DialogTemplate.h"
#include "Platform/Ui/Tests/DialogDriver.h"
#include "Platform/Ui/Tests/FakeControls.h"
#include "Platform/Ui/Tests/UiTestSupport.h"

#include <functional>
#include <thread>

using namespace UiTest;
using Ui::CDialogTemplate;
using Ui::DialogItemTemplate;
using Ui::NameOrOrdinal;

namespace {

constexpr int kLabel = 100;
constexpr int kName = 101;
constexpr int kHidden = 102;
constexpr int kDisabled = 103;
constexpr int kVerbose = 104;
constexpr int kNoTabStop = 105;
constexpr int kPane = 110;
constexpr int kPaneEdit = 111;
constexpr int kPaneCheck = 112;
constexpr int kAlpha = 120;
constexpr int kBeta = 121;
constexpr int kGamma = 122;
constexpr int kApply = 131;
constexpr UINT kRunScript = WM_APP;
constexpr UINT kWorkerAsks = WM_APP + 1;

DialogItemTemplate Item(NameOrOrdinal cls, std::wstring text, DWORD id, DWORD style, short x, short y, short cx,
                        short cy, DWORD exStyle = 0)
{
    DialogItemTemplate item;
    item.windowClass = std::move(cls);
    item.text = NameOrOrdinal::Name(std::move(text));
    item.id = id;
    item.style = WS_CHILD | style;
    item.exStyle = exStyle;
    item.x = x;
    item.y = y;
    item.cx = cx;
    item.cy = cy;
    return item;
}

DialogItemTemplate Button(std::wstring text, DWORD id, DWORD style, short x, short y, short cx = 40, short cy = 14)
{
    return Item(NameOrOrdinal::Ordinal(Ui::kClassButton), std::move(text), id, WS_VISIBLE | style, x, y, cx, cy);
}

DialogItemTemplate Edit(DWORD id, DWORD style, short x, short y)
{
    return Item(NameOrOrdinal::Ordinal(Ui::kClassEdit), L"", id, style, x, y, 100, 12);
}

CDialogTemplate BaseTemplate(DWORD extraStyle = 0)
{
    CDialogTemplate dt;
    dt.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE | DS_SETFONT | DS_MODALFRAME | extraStyle;
    dt.x = 10;
    dt.y = 10;
    dt.cx = 200;
    dt.cy = 160;
    dt.caption = L"Settings";
    dt.pointSize = 9;
    dt.faceName = L"DejaVu Sans";
    return dt;
}

// The dialog every navigation test uses: a label, edits that are hidden,
// disabled or no tab stop, a check box, a control-parent pane, a radio
// group and three push buttons, OK the default.
CDialogTemplate NavigationTemplate()
{
    CDialogTemplate dt = BaseTemplate();
    dt.items = {
        Item(NameOrOrdinal::Ordinal(Ui::kClassStatic), L"&Name:", kLabel, WS_VISIBLE, 4, 4, 40, 10),
        Edit(kName, WS_VISIBLE | WS_TABSTOP | WS_GROUP | WS_BORDER, 50, 4),
        Edit(kHidden, WS_TABSTOP, 50, 18),
        Edit(kDisabled, WS_VISIBLE | WS_TABSTOP | WS_DISABLED, 50, 32),
        Button(L"&Verbose", kVerbose, kBsAutoCheckBox | WS_TABSTOP | WS_GROUP, 4, 46, 80, 12),
        Edit(kNoTabStop, WS_VISIBLE, 90, 46),
        Item(NameOrOrdinal::Name(L"FakePane"), L"", kPane, WS_VISIBLE, 4, 60, 150, 24, WS_EX_CONTROLPARENT),
        Button(L"&Alpha", kAlpha, kBsAutoRadioButton | WS_TABSTOP | WS_GROUP, 4, 88, 60, 10),
        Button(L"&Beta", kBeta, kBsAutoRadioButton, 4, 100, 60, 10),
        Button(L"&Gamma", kGamma, kBsAutoRadioButton, 4, 112, 60, 10),
        Button(L"OK", IDOK, kBsDefPushButton | WS_TABSTOP | WS_GROUP, 40, 140),
        Button(L"Cancel", IDCANCEL, kBsPushButton | WS_TABSTOP, 84, 140),
        Button(L"A&pply", kApply, kBsPushButton | WS_TABSTOP, 128, 140),
    };
    return dt;
}

struct DialogRecord {
    std::vector<int> commands;
    std::vector<UINT> owned;  // messages the dialog procedure saw, in order
    LRESULT initResult = TRUE;
    int initFocus = 0;  // the control the procedure gives the focus in WM_INITDIALOG, if any
    bool endOnCommand = false;
    std::function<void(HWND)> script;  // run once the modal loop is up
    std::thread::id workerServedOn;
};

INT_PTR TestDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        if (HWND pane = GetDlgItem(dialog, kPane)) {
            CreateWindowExW(0, L"Edit", L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 4, 4, 100, 18, pane,
                            reinterpret_cast<HMENU>(static_cast<std::intptr_t>(kPaneEdit)), nullptr, nullptr);
            CreateWindowExW(0, L"Button", L"&Deep", WS_CHILD | WS_VISIBLE | WS_TABSTOP | kBsAutoCheckBox, 110, 4, 80,
                            18, pane, reinterpret_cast<HMENU>(static_cast<std::intptr_t>(kPaneCheck)), nullptr, nullptr);
        }
    }
    auto* record = reinterpret_cast<DialogRecord*>(GetWindowLongPtrW(dialog, DWLP_USER));
    if (record == nullptr)
        return FALSE;
    record->owned.push_back(message);
    switch (message) {
    case WM_INITDIALOG:
        if (record->script)
            PostMessageW(dialog, kRunScript, 0, 0);
        if (record->initFocus != 0)
            SetFocus(GetDlgItem(dialog, record->initFocus));
        return record->initResult;
    case WM_COMMAND:
        record->commands.push_back(LOWORD(wParam));
        if (record->endOnCommand && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL))
            EndDialog(dialog, LOWORD(wParam));
        return TRUE;
    case kRunScript:
        record->script(dialog);
        return TRUE;
    case kWorkerAsks:
        record->workerServedOn = std::this_thread::get_id();
        SetWindowLongPtrW(dialog, DWLP_MSGRESULT, static_cast<LONG_PTR>(wParam) * 7);
        return TRUE;
    default:
        return FALSE;
    }
}

LPCDLGTEMPLATEW AsTemplate(const std::vector<BYTE>& image)
{
    return reinterpret_cast<LPCDLGTEMPLATEW>(image.data());
}

class Dialog : public ::testing::Test {
protected:
    void SetUp() override
    {
        RegisterFakeControls();
        Fakes() = FakeLog{};
        Drain();
    }
    void TearDown() override
    {
        if (m_dialog != nullptr && IsWindow(m_dialog))
            DestroyWindow(m_dialog);
        Drain();
    }

    // A modeless dialog of the navigation template, shown and active.
    CDialogDriver Open(CDialogTemplate dt = NavigationTemplate())
    {
        m_image = dt.ToImage();
        m_dialog = CreateDialogIndirectParamW(nullptr, AsTemplate(m_image), nullptr, TestDialogProc,
                                              reinterpret_cast<LPARAM>(&m_record));
        CDialogDriver driver(m_dialog);
        driver.PumpUntilIdle();
        return driver;
    }

    DialogRecord m_record;
    std::vector<BYTE> m_image;
    HWND m_dialog = nullptr;
};

// The focus ids Tab (or Shift+Tab) visits, `count` presses.
std::vector<int> Walk(CDialogDriver& driver, UINT key, unsigned modifiers, int count)
{
    std::vector<int> visited;
    for (int i = 0; i < count; ++i) {
        driver.Press(key, modifiers);
        driver.PumpUntilIdle();
        visited.push_back(driver.FocusId());
    }
    return visited;
}

}

TEST_F(Dialog, InitialFocusGoesToTheFirstTabStopAndTheFontReachesEveryControl)
{
    CDialogDriver driver = Open();
    ASSERT_NE(m_dialog, nullptr);
    EXPECT_TRUE(IsWindowVisible(m_dialog));
    EXPECT_EQ(GetActiveWindow(), m_dialog);
    EXPECT_EQ(driver.FocusId(), kName);
    // The edit that got the focus from the dialog manager got its text selected.
    EXPECT_EQ(Fakes().setSelCount, 1);
    EXPECT_EQ(std::count(m_record.owned.begin(), m_record.owned.end(), WM_INITDIALOG), 1);
    HFONT font = reinterpret_cast<HFONT>(SendMessageW(m_dialog, WM_GETFONT, 0, 0));
    ASSERT_NE(font, nullptr);
    EXPECT_EQ(Fakes().lastFont, font);
    EXPECT_EQ(Fakes().setFontCount, 12);  // the template's controls but the pane; the pane's own are the procedure's
    // The OK button's style made it the default.
    EXPECT_EQ(SendMessageW(m_dialog, DM_GETDEFID, 0, 0), MAKELRESULT(IDOK, DC_HASDEFID));
    EXPECT_EQ(GetClassLongPtrW(m_dialog, GCLP_WNDPROC), reinterpret_cast<ULONG_PTR>(&DefDlgProcW));
}

TEST_F(Dialog, WithFalseFromInitDialogTheProcedureKeepsTheFocusItChose)
{
    m_record.initResult = FALSE;
    CDialogDriver driver = Open();
    // Nobody chose: the first tab stop still gets it when the dialog is activated.
    EXPECT_EQ(driver.FocusId(), kName);
    EXPECT_EQ(Fakes().setSelCount, 1);
}

TEST_F(Dialog, AProcedureThatSetsTheFocusKeepsItOnlyWhenItAnswersFalse)
{
    // Setting the focus activates the dialog before it is shown.
    for (const auto& [initResult, focus] : {std::pair{LRESULT{TRUE}, kName}, {LRESULT{FALSE}, kApply}}) {
        SCOPED_TRACE(initResult);
        m_record = DialogRecord{};
        m_record.initResult = initResult;
        m_record.initFocus = kApply;
        CDialogDriver driver = Open();
        EXPECT_EQ(driver.FocusId(), focus);
        DestroyWindow(m_dialog);
        Drain();
    }
}

TEST_F(Dialog, TabAndShiftTabSkipHiddenDisabledAndPlainControlsAndEnterControlParents)
{
    CDialogDriver driver = Open();
    ASSERT_EQ(driver.FocusId(), kName);
    const std::vector<int> forward{kVerbose, kPaneEdit, kPaneCheck, kAlpha, IDOK, IDCANCEL, kApply, kName};
    EXPECT_EQ(Walk(driver, VK_TAB, kNoModifier, 8), forward);
    const std::vector<int> backward{kApply, IDCANCEL, IDOK, kAlpha, kPaneCheck, kPaneEdit, kVerbose, kName};
    EXPECT_EQ(Walk(driver, VK_TAB, kShift, 8), backward);
    // Tab moved the focus and typed nothing into the edits.
    EXPECT_EQ(driver.Text(kName), L"");
    EXPECT_EQ(driver.Text(kPaneEdit), L"");
}

TEST_F(Dialog, AHiddenPaneTakesItsControlsOutOfTheTabOrder)
{
    CDialogDriver driver = Open();
    ShowWindow(driver.Control(kPane), SW_HIDE);
    const std::vector<int> forward{kVerbose, kAlpha};
    EXPECT_EQ(Walk(driver, VK_TAB, kNoModifier, 2), forward);
}

TEST_F(Dialog, ArrowsMoveWithinTheGroupAndCheckTheRadioButtons)
{
    CDialogDriver driver = Open();
    ASSERT_TRUE(driver.Click(kAlpha));
    driver.PumpUntilIdle();
    SetFocus(driver.Control(kAlpha));
    ASSERT_TRUE(driver.IsChecked(kAlpha));
    const std::vector<int> down{kBeta, kGamma, kAlpha};
    EXPECT_EQ(Walk(driver, VK_DOWN, kNoModifier, 3), down);
    const std::vector<int> up{kGamma};
    EXPECT_EQ(Walk(driver, VK_UP, kNoModifier, 1), up);
    EXPECT_TRUE(driver.IsChecked(kGamma));
    EXPECT_FALSE(driver.IsChecked(kAlpha));
    EXPECT_FALSE(driver.IsChecked(kBeta));
    // A disabled member is passed over.
    EnableWindow(driver.Control(kAlpha), FALSE);
    EXPECT_EQ(Walk(driver, VK_RIGHT, kNoModifier, 1), std::vector<int>{kBeta});
    // In an edit the arrows are the edit's: the focus stays.
    SetFocus(driver.Control(kName));
    EXPECT_EQ(Walk(driver, VK_DOWN, kNoModifier, 1), std::vector<int>{kName});
}

TEST_F(Dialog, EnterPressesTheDefaultButtonAndSetDefIdMovesIt)
{
    CDialogDriver driver = Open();
    ASSERT_EQ(driver.FocusId(), kName);
    driver.Type(L"ab");
    driver.Press(VK_RETURN);
    driver.PumpUntilIdle();
    EXPECT_EQ(driver.Text(kName), L"ab");
    EXPECT_EQ(m_record.commands, std::vector<int>{IDOK});

    EXPECT_TRUE(SendMessageW(m_dialog, DM_SETDEFID, kApply, 0));
    EXPECT_EQ(SendMessageW(m_dialog, DM_GETDEFID, 0, 0), MAKELRESULT(kApply, DC_HASDEFID));
    EXPECT_EQ(ButtonType(driver.Control(IDOK)), kBsPushButton);
    EXPECT_EQ(ButtonType(driver.Control(kApply)), kBsDefPushButton);
    driver.Press(VK_RETURN);
    driver.PumpUntilIdle();
    EXPECT_EQ(m_record.commands, (std::vector<int>{IDOK, kApply}));

    // On a push button Enter presses that one, which shows itself as the default meanwhile.
    Walk(driver, VK_TAB, kShift, 2);
    ASSERT_EQ(driver.FocusId(), IDCANCEL);
    EXPECT_EQ(ButtonType(driver.Control(IDCANCEL)), kBsDefPushButton);
    EXPECT_EQ(ButtonType(driver.Control(kApply)), kBsPushButton);
    driver.Press(VK_RETURN);
    driver.PumpUntilIdle();
    EXPECT_EQ(m_record.commands.back(), IDCANCEL);
    // Back on a non-button, the default id's button is the default again.
    Walk(driver, VK_TAB, kShift, 3);
    ASSERT_EQ(driver.FocusId(), kPaneCheck);
    EXPECT_EQ(ButtonType(driver.Control(IDCANCEL)), kBsPushButton);
    EXPECT_EQ(ButtonType(driver.Control(kApply)), kBsDefPushButton);

    // A disabled default button is not pressed.
    EnableWindow(driver.Control(kApply), FALSE);
    const std::size_t before = m_record.commands.size();
    driver.Press(VK_RETURN);
    driver.PumpUntilIdle();
    EXPECT_EQ(m_record.commands.size(), before);
}

TEST_F(Dialog, EscapeGivesCancelAndCloseDoesTooUnlessCancelIsDisabled)
{
    CDialogDriver driver = Open();
    driver.Press(VK_ESCAPE);
    driver.PumpUntilIdle();
    EXPECT_EQ(m_record.commands, std::vector<int>{IDCANCEL});
    SendMessageW(m_dialog, WM_CLOSE, 0, 0);
    driver.PumpUntilIdle();
    EXPECT_EQ(m_record.commands, (std::vector<int>{IDCANCEL, IDCANCEL}));
    EXPECT_TRUE(IsWindow(m_dialog));  // closing a dialog is its procedure's decision
    EnableWindow(driver.Control(IDCANCEL), FALSE);
    SendMessageW(m_dialog, WM_CLOSE, 0, 0);
    driver.PumpUntilIdle();
    EXPECT_EQ(m_record.commands.size(), 2u);
}

TEST_F(Dialog, AltMnemonicsAndPlainMnemonicsWhereTheFocusTakesNoCharacters)
{
    CDialogDriver driver = Open();
    driver.Press('V', kAlt);
    driver.PumpUntilIdle();
    EXPECT_EQ(driver.FocusId(), kVerbose);
    EXPECT_TRUE(driver.IsChecked(kVerbose));
    // A label hands on to the control after it.
    driver.Press('N', kAlt);
    driver.PumpUntilIdle();
    EXPECT_EQ(driver.FocusId(), kName);
    // Inside the control-parent pane.
    driver.Press('D', kAlt);
    driver.PumpUntilIdle();
    EXPECT_EQ(driver.FocusId(), kPaneCheck);
    EXPECT_TRUE(driver.IsChecked(kPaneCheck));
    // A push button is pressed where it is.
    driver.Press('P', kAlt);
    driver.PumpUntilIdle();
    EXPECT_EQ(m_record.commands.back(), kApply);
    EXPECT_EQ(driver.FocusId(), kPaneCheck);
    // On a check box a plain letter is a mnemonic...
    driver.Type(L"g");
    driver.PumpUntilIdle();
    EXPECT_EQ(driver.FocusId(), kGamma);
    EXPECT_TRUE(driver.IsChecked(kGamma));
    // ...in an edit it is text.
    SetFocus(driver.Control(kName));
    driver.Type(L"bg");
    driver.PumpUntilIdle();
    EXPECT_EQ(driver.FocusId(), kName);
    EXPECT_EQ(driver.Text(kName), L"bg");
    EXPECT_FALSE(driver.IsChecked(kBeta));
}

TEST_F(Dialog, NextDlgCtlAndTheItemHelpers)
{
    CDialogDriver driver = Open();
    SendMessageW(m_dialog, WM_NEXTDLGCTL, 0, FALSE);
    EXPECT_EQ(driver.FocusId(), kVerbose);
    SendMessageW(m_dialog, WM_NEXTDLGCTL, 1, FALSE);
    EXPECT_EQ(driver.FocusId(), kName);
    SendMessageW(m_dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(driver.Control(kApply)), TRUE);
    EXPECT_EQ(driver.FocusId(), kApply);

    BOOL ok = FALSE;
    EXPECT_TRUE(SetDlgItemInt(m_dialog, kName, static_cast<UINT>(-42), TRUE));
    EXPECT_EQ(driver.Text(kName), L"-42");
    EXPECT_EQ(static_cast<int>(GetDlgItemInt(m_dialog, kName, &ok, TRUE)), -42);
    EXPECT_TRUE(ok);
    GetDlgItemInt(m_dialog, kName, &ok, FALSE);
    EXPECT_FALSE(ok);  // a sign is no unsigned number
    struct Case {
        const wchar_t* text;
        BOOL isSigned;
        bool translated;
        UINT value;
    };
    const Case cases[] = {
        {L"  17 ", FALSE, true, 17},          {L"4294967295", FALSE, true, 0xFFFFFFFFu},
        {L"4294967296", FALSE, false, 0},     {L"2147483647", TRUE, true, 0x7FFFFFFFu},
        {L"2147483648", TRUE, false, 0},      {L"-2147483648", TRUE, true, 0x80000000u},
        {L"12abc", FALSE, false, 0},          {L"", FALSE, false, 0},
        {L"99999999999999999999", TRUE, false, 0},
    };
    for (const Case& c : cases) {
        SetDlgItemTextW(m_dialog, kName, c.text);
        EXPECT_EQ(GetDlgItemInt(m_dialog, kName, &ok, c.isSigned), c.value) << c.text;
        EXPECT_EQ(ok != FALSE, c.translated) << c.text;
    }
    wchar_t buffer[4];
    SetDlgItemTextW(m_dialog, kName, L"abcdef");
    EXPECT_EQ(GetDlgItemTextW(m_dialog, kName, buffer, 4), 3u);
    EXPECT_STREQ(buffer, L"abc");
    EXPECT_EQ(GetDlgItemTextW(m_dialog, 9999, buffer, 4), 0u);
    EXPECT_EQ(GetLastError(), ERROR_CONTROL_ID_NOT_FOUND);

    EXPECT_TRUE(CheckDlgButton(m_dialog, kVerbose, 1));
    EXPECT_EQ(IsDlgButtonChecked(m_dialog, kVerbose), 1u);
    EXPECT_TRUE(CheckRadioButton(m_dialog, kAlpha, kGamma, kBeta));
    EXPECT_FALSE(driver.IsChecked(kAlpha));
    EXPECT_TRUE(driver.IsChecked(kBeta));
    EXPECT_FALSE(CheckRadioButton(m_dialog, kAlpha, kGamma, kApply));
    EXPECT_EQ(SendDlgItemMessageW(m_dialog, kBeta, kBmGetCheck, 0, 0), 1);
}

// --- the modal loop ---------------------------------------------------------

class ModalDialog : public Dialog {
protected:
    void SetUp() override
    {
        Dialog::SetUp();
        m_owner.hwnd = Create(&m_ownerLog, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 600, 400);
        SetActiveWindow(m_owner.hwnd);
        Drain();
        m_record.endOnCommand = true;
    }

    INT_PTR Run(CDialogTemplate dt = NavigationTemplate())
    {
        m_image = dt.ToImage();
        return DialogBoxIndirectParamW(nullptr, AsTemplate(m_image), m_owner.hwnd, TestDialogProc,
                                       reinterpret_cast<LPARAM>(&m_record));
    }

    Handler m_ownerLog;
    WindowGuard m_owner;
};

TEST_F(ModalDialog, TheOwnerIsDisabledDuringTheLoopAndActiveAgainAfterwards)
{
    bool ownerEnabled = true;
    bool dialogActive = false;
    Display::TopLevelParams native;
    HWND seen = nullptr;
    m_record.script = [&](HWND dialog) {
        seen = dialog;
        ownerEnabled = IsWindowEnabled(m_owner.hwnd) != FALSE;
        dialogActive = GetActiveWindow() == dialog;
        native = Headless().StateOf(NativeWindowOf(dialog))->params;
    };
    // Once the loop has nothing to do, it tells the owner, and the user presses Esc.
    m_ownerLog.m_onMessage = [&](HWND, UINT m, WPARAM, LPARAM, LRESULT&) {
        if (m == WM_ENTERIDLE && m_ownerLog.Of(WM_ENTERIDLE).size() == 1)
            CDialogDriver(seen).Press(VK_ESCAPE);
        return false;
    };
    EXPECT_EQ(Run(), IDCANCEL);
    EXPECT_FALSE(ownerEnabled);
    EXPECT_TRUE(dialogActive);
    EXPECT_TRUE(native.modal);
    EXPECT_EQ(native.owner, NativeWindowOf(m_owner.hwnd));
    EXPECT_TRUE(IsWindowEnabled(m_owner.hwnd));
    EXPECT_EQ(GetActiveWindow(), m_owner.hwnd);
    ASSERT_FALSE(m_ownerLog.Of(WM_ENTERIDLE).empty());
    EXPECT_EQ(m_ownerLog.Of(WM_ENTERIDLE).front().wParam, MSGF_DIALOGBOX);
    EXPECT_EQ(m_ownerLog.Of(WM_ENTERIDLE).front().lParam, reinterpret_cast<LPARAM>(seen));
    // Nothing of the dialog is left.
    EXPECT_FALSE(IsWindow(seen));
}

TEST_F(ModalDialog, AltF4ClosesTheDialogAsCancel)
{
    m_record.script = [&](HWND dialog) { CDialogDriver(dialog).Press(VK_F4, kAlt); };
    EXPECT_EQ(Run(), IDCANCEL);
    EXPECT_TRUE(IsWindowEnabled(m_owner.hwnd));
}

namespace {

std::vector<std::pair<int, UINT>> g_dialogFilter;

// Takes Esc away from the dialog and notes what the loop showed it.
LRESULT SwallowEscape(int code, WPARAM, LPARAM lParam)
{
    const auto* msg = reinterpret_cast<const MSG*>(lParam);
    if (msg->message == WM_KEYDOWN || msg->message == WM_CHAR)
        g_dialogFilter.emplace_back(code, msg->message);
    return msg->message == WM_KEYDOWN && msg->wParam == VK_ESCAPE ? 1 : 0;
}

}

TEST_F(ModalDialog, AMessageFilterHookSeesTheLoopsMessagesFirst)
{
    g_dialogFilter.clear();
    HHOOK hook = SetWindowsHookExW(WH_MSGFILTER, SwallowEscape, nullptr, 0);
    ASSERT_NE(hook, nullptr);
    m_record.script = [&](HWND dialog) {
        CDialogDriver driver(dialog);
        driver.Press(VK_ESCAPE);
        driver.Type(L"x");
        driver.Press(VK_RETURN);
    };
    EXPECT_EQ(Run(), IDOK) << "Esc never reached the dialog";
    EXPECT_TRUE(UnhookWindowsHookEx(hook));
    ASSERT_FALSE(g_dialogFilter.empty());
    EXPECT_EQ(g_dialogFilter.front(), std::make_pair(MSGF_DIALOGBOX, static_cast<UINT>(WM_KEYDOWN)));
    EXPECT_TRUE(std::all_of(g_dialogFilter.begin(), g_dialogFilter.end(),
                            [](const auto& seen) { return seen.first == MSGF_DIALOGBOX; }));
    EXPECT_TRUE(std::any_of(g_dialogFilter.begin(), g_dialogFilter.end(),
                            [](const auto& seen) { return seen.second == WM_CHAR; }));
}

TEST_F(ModalDialog, EnterEndsTheDialogWithTheDefaultButton)
{
    m_record.script = [&](HWND dialog) {
        CDialogDriver driver(dialog);
        driver.Type(L"x");
        driver.Press(VK_RETURN);
    };
    EXPECT_EQ(Run(), IDOK);
}

TEST_F(ModalDialog, AWorkersSendIsServedWhileTheDialogIsUp)
{
    std::thread worker;
    LRESULT answer = 0;
    m_record.script = [&](HWND dialog) {
        worker = std::thread([&answer, dialog] {
            answer = SendMessageW(dialog, kWorkerAsks, 6, 0);
            PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, kBnClicked), 0);
        });
    };
    EXPECT_EQ(Run(), IDOK);
    worker.join();
    EXPECT_EQ(answer, 42);
    EXPECT_EQ(m_record.workerServedOn, std::this_thread::get_id());
}

TEST_F(ModalDialog, AQuitPostedInsideTheLoopEndsItAndReachesTheOuterLoop)
{
    HWND seen = nullptr;
    m_record.script = [&](HWND dialog) {
        seen = dialog;
        PostQuitMessage(5);
    };
    Run();
    EXPECT_FALSE(IsWindow(seen));
    EXPECT_TRUE(IsWindowEnabled(m_owner.hwnd));
    // The outer loop gets it once the rest of its queue is handled.
    MSG msg{};
    for (int i = 0; i < 1000 && PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE) && msg.message != WM_QUIT; ++i)
        DispatchMessageW(&msg);
    EXPECT_EQ(msg.message, WM_QUIT);
    EXPECT_EQ(msg.wParam, 5u);
}

TEST_F(ModalDialog, EndDialogFromInitDialogNeverShowsIt)
{
    struct Ender {
        static INT_PTR Proc(HWND dialog, UINT message, WPARAM, LPARAM)
        {
            if (message == WM_INITDIALOG)
                EndDialog(dialog, 77);
            return FALSE;
        }
    };
    m_image = NavigationTemplate().ToImage();
    EXPECT_EQ(DialogBoxIndirectParamW(nullptr, AsTemplate(m_image), m_owner.hwnd, &Ender::Proc, 0), 77);
    EXPECT_TRUE(IsWindowEnabled(m_owner.hwnd));
    EXPECT_EQ(EndDialog(m_owner.hwnd, 1), FALSE);  // no dialog
}

// --- dialog units and styles ------------------------------------------------

namespace {

SIZE UnitsOf(HFONT font)
{
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font);
    SIZE extent{};
    GetTextExtentPoint32W(dc, L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz", 52, &extent);
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    SelectObject(dc, old);
    DeleteDC(dc);
    return {(extent.cx / 26 + 1) / 2, metrics.tmHeight};
}

RECT ChildRectInParent(HWND child)
{
    RECT r{};
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

}

TEST_F(Dialog, BaseUnitsComeFromTheFontAndControlsLandOnTheMappedRectangles)
{
    CDialogDriver driver = Open();
    HFONT font = reinterpret_cast<HFONT>(SendMessageW(m_dialog, WM_GETFONT, 0, 0));
    const SIZE units = UnitsOf(font);
    RECT unit{0, 0, 4, 8};
    ASSERT_TRUE(MapDialogRect(m_dialog, &unit));
    EXPECT_EQ(unit.right, units.cx);
    EXPECT_EQ(unit.bottom, units.cy);
    EXPECT_GT(units.cx, 3);
    EXPECT_GT(units.cy, 8);

    RECT client{};
    GetClientRect(m_dialog, &client);
    RECT expected{0, 0, 200, 160};
    MapDialogRect(m_dialog, &expected);
    EXPECT_EQ(client.right, expected.right);
    EXPECT_EQ(client.bottom, expected.bottom);
    for (const DialogItemTemplate& item : NavigationTemplate().items) {
        RECT want{item.x, item.y, item.x + item.cx, item.y + item.cy};
        MapDialogRect(m_dialog, &want);
        const RECT got = ChildRectInParent(driver.Control(static_cast<int>(item.id)));
        EXPECT_TRUE(EqualRect(&got, &want)) << item.id;
    }

    // A larger font gives larger units, and a dialog of the same size in units grows.
    CDialogTemplate large = NavigationTemplate();
    large.pointSize = 14;
    std::vector<BYTE> image = large.ToImage();
    HWND bigger = CreateDialogIndirectParamW(nullptr, AsTemplate(image), nullptr, TestDialogProc, 0);
    ASSERT_NE(bigger, nullptr);
    RECT big{0, 0, 4, 8};
    MapDialogRect(bigger, &big);
    EXPECT_GT(big.right, unit.right);
    EXPECT_GT(big.bottom, unit.bottom);
    DestroyWindow(bigger);

    // Without DS_SETFONT the controls keep the system font, whose units GetDialogBaseUnits gives.
    const LONG base = GetDialogBaseUnits();
    EXPECT_GT(LOWORD(static_cast<DWORD>(base)), 3);
    EXPECT_GT(HIWORD(static_cast<DWORD>(base)), 8);
    CDialogTemplate plain = NavigationTemplate();
    plain.style &= ~DS_SETFONT;
    image = plain.ToImage();
    const int fontsBefore = Fakes().setFontCount;
    HWND systemFont = CreateDialogIndirectParamW(nullptr, AsTemplate(image), nullptr, TestDialogProc, 0);
    ASSERT_NE(systemFont, nullptr);
    EXPECT_EQ(Fakes().setFontCount, fontsBefore);
    EXPECT_EQ(SendMessageW(systemFont, WM_GETFONT, 0, 0), 0);
    RECT system{0, 0, 4, 8};
    MapDialogRect(systemFont, &system);
    EXPECT_EQ(system.right, LOWORD(static_cast<DWORD>(base)));
    EXPECT_EQ(system.bottom, HIWORD(static_cast<DWORD>(base)));
    DestroyWindow(systemFont);
}

TEST_F(Dialog, ALabelAsWideAsItsTextInDialogUnitsShowsItUncut)
{
    // Laid out at the usual four units per character; the font decides whether it fits.
    const std::wstring texts[] = {L"Connection settings of the device:", L"IP address", L"Wait for the restart (s):",
                                  L"MMMMMMMM WWWW"};
    CDialogTemplate dt = BaseTemplate();
    int id = 200;
    short y = 4;
    for (const std::wstring& text : texts) {
        dt.items.push_back(Item(NameOrOrdinal::Ordinal(Ui::kClassStatic), text, static_cast<DWORD>(id++), WS_VISIBLE, 4, y,
                                static_cast<short>(text.size() * 4), 8));
        y = static_cast<short>(y + 12);
    }
    CDialogDriver driver = Open(dt);
    HFONT font = reinterpret_cast<HFONT>(SendMessageW(m_dialog, WM_GETFONT, 0, 0));
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font);
    id = 200;
    for (const std::wstring& text : texts) {
        HWND label = driver.Control(id++);
        RECT r{};
        GetClientRect(label, &r);
        SIZE extent{};
        GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent);
        TEXTMETRICW metrics{};
        GetTextMetricsW(dc, &metrics);
        // Wide capitals are what a label of that size cannot promise.
        if (text.rfind(L"MMMM", 0) != 0) {
            EXPECT_LE(extent.cx, r.right) << std::string(text.begin(), text.end());
        }
        EXPECT_LE(metrics.tmHeight, r.bottom);
    }
    SelectObject(dc, old);
    DeleteDC(dc);
}

TEST_F(Dialog, TemplateStylesBecomeWindowStyles)
{
    Handler ownerLog;
    WindowGuard owner;
    owner.hwnd = Create(&ownerLog, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 300, 200, 500, 400);
    std::vector<BYTE> image = BaseTemplate(DS_CENTER | DS_SYSMODAL).ToImage();
    HWND centred = CreateDialogIndirectParamW(nullptr, AsTemplate(image), owner.hwnd, TestDialogProc, 0);
    ASSERT_NE(centred, nullptr);
    EXPECT_NE(GetWindowLongPtrW(centred, GWL_EXSTYLE) & WS_EX_DLGMODALFRAME, 0);
    EXPECT_NE(GetWindowLongPtrW(centred, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    EXPECT_EQ(GetWindow(centred, GW_OWNER), owner.hwnd);
    RECT o{};
    RECT d{};
    GetWindowRect(owner.hwnd, &o);
    GetWindowRect(centred, &d);
    EXPECT_NEAR((d.left + d.right) / 2, (o.left + o.right) / 2, 1);
    EXPECT_NEAR((d.top + d.bottom) / 2, (o.top + o.bottom) / 2, 1);
    DestroyWindow(centred);

    // Without DS_CENTER the position counts from the owner's client area.
    image = BaseTemplate().ToImage();
    HWND placed = CreateDialogIndirectParamW(nullptr, AsTemplate(image), owner.hwnd, TestDialogProc, 0);
    POINT origin{0, 0};
    ClientToScreen(owner.hwnd, &origin);
    RECT offset{10, 10, 0, 0};
    MapDialogRect(placed, &offset);
    POINT client{0, 0};
    ClientToScreen(placed, &client);
    EXPECT_EQ(client.x, origin.x + offset.left);
    EXPECT_EQ(client.y, origin.y + offset.top);
    DestroyWindow(placed);

    // An owner near the screen's corner would push it off: it lies whole on the work area.
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    SetWindowPos(owner.hwnd, nullptr, work.right - 40, work.bottom - 40, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    HWND pushed = CreateDialogIndirectParamW(nullptr, AsTemplate(image), owner.hwnd, TestDialogProc, 0);
    GetWindowRect(pushed, &d);
    EXPECT_EQ(d.right, work.right);
    EXPECT_EQ(d.bottom, work.bottom);
    DestroyWindow(pushed);
}

TEST_F(Dialog, AChildDialogOfDsControlJoinsItsParentsTabOrder)
{
    CDialogDriver driver = Open();
    CDialogTemplate page;
    page.style = WS_CHILD | WS_VISIBLE | DS_CONTROL | DS_SETFONT | WS_CAPTION;
    page.pointSize = 9;
    page.x = 150;
    page.y = 90;
    page.cx = 50;
    page.cy = 40;
    page.items = {Edit(301, WS_VISIBLE | WS_TABSTOP, 2, 2), Edit(302, WS_VISIBLE | WS_TABSTOP, 2, 16)};
    std::vector<BYTE> image = page.ToImage();
    HWND child = CreateDialogIndirectParamW(nullptr, AsTemplate(image), m_dialog, TestDialogProc, 0);
    ASSERT_NE(child, nullptr);
    EXPECT_NE(GetWindowLongPtrW(child, GWL_STYLE) & WS_CHILD, 0);
    EXPECT_EQ(GetWindowLongPtrW(child, GWL_STYLE) & WS_CAPTION, 0);
    EXPECT_NE(GetWindowLongPtrW(child, GWL_EXSTYLE) & WS_EX_CONTROLPARENT, 0);
    SetFocus(driver.Control(kApply));
    const std::vector<int> forward{301, 302, kName};
    EXPECT_EQ(Walk(driver, VK_TAB, kNoModifier, 3), forward);
    // From inside the page, with the page's own message routing, Tab goes on as well.
    SetFocus(GetDlgItem(child, 302));
    CDialogDriver pageDriver(child);
    pageDriver.Press(VK_TAB);
    pageDriver.PumpUntilIdle();
    EXPECT_EQ(driver.FocusId(), kName);
    // Esc and Enter in the page are the dialog's, which holds the buttons.
    SetFocus(GetDlgItem(child, 301));
    m_record.commands.clear();
    pageDriver.Press(VK_ESCAPE);
    pageDriver.Press(VK_RETURN);
    pageDriver.PumpUntilIdle();
    EXPECT_EQ(m_record.commands, (std::vector<int>{IDCANCEL, IDOK}));
}
