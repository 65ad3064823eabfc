// Dialogs through a CDialog subclass with a message map: the keyboard,
// data exchange of every kind, a failing validation, command UI at idle.
#include "Platform/Framework/Controls/Button.h"
#include "Platform/Framework/Core/CmdUI.h"
#include "Platform/Framework/Controls/ComboBox.h"
#include "Platform/Framework/Controls/Edit.h"
#include "Platform/Framework/Windows/Dialog.h"
#include "Platform/Framework/Windows/Menu.h"
#include "Platform/Framework/Tests/FrameworkTestSupport.h"
#include "Platform/Framework/Tests/ScriptedDialog.h"
#include "Platform/Controls/Tests/TemplateItems.h"
#include "Platform/Framework/App/WinThread.h"
#include "Platform/Ui/DialogTemplate.h"
#include "Platform/Ui/DisplayAccess.h"
#include "Platform/Ui/Tests/DialogDriver.h"
#include "Platform/Ui/Tests/WindowText.h"

#include <functional>
#include <string>
#include <vector>

using Ui::CDialogTemplate;
using Ui::DialogItemTemplate;
using Ui::NameOrOrdinal;
using UiTest::CDialogDriver;

namespace {

constexpr int kName = 201;
constexpr int kCount = 202;
constexpr int kPort = 203;
constexpr int kOffset = 204;
constexpr int kLevel = 205;
constexpr int kDelta = 206;
constexpr int kVerbose = 210;
constexpr int kFirstRadio = 211;
constexpr int kList = 220;
constexpr int kApply = 231;
constexpr UINT kRunScript = WM_APP + 1;

DialogItemTemplate Item(WORD cls, const wchar_t* text, int id, DWORD style, short x, short y, short cx = 60, short cy = 12)
{
    return ControlTest::Item(NameOrOrdinal::Ordinal(cls), text, id, style, x, y, cx, cy);
}

std::vector<BYTE> SettingsTemplate(DWORD visible = WS_VISIBLE)
{
    CDialogTemplate dt;
    dt.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_SETFONT | DS_MODALFRAME | visible;
    dt.cx = 220;
    dt.cy = 170;
    dt.caption = L"Settings";
    dt.pointSize = 9;
    dt.faceName = L"DejaVu Sans";
    dt.items = {
        Item(Ui::kClassStatic, L"", kName, 0, 4, 4),
        Item(Ui::kClassStatic, L"", kCount, 0, 4, 18),
        Item(Ui::kClassStatic, L"", kPort, 0, 4, 32),
        Item(Ui::kClassStatic, L"", kOffset, 0, 4, 46),
        Item(Ui::kClassStatic, L"", kLevel, 0, 4, 60),
        Item(Ui::kClassStatic, L"", kDelta, 0, 70, 60),
        Item(Ui::kClassButton, L"&Verbose", kVerbose, BS_AUTOCHECKBOX | WS_TABSTOP | WS_GROUP, 4, 74),
        Item(Ui::kClassButton, L"&Alpha", kFirstRadio, BS_AUTORADIOBUTTON | WS_TABSTOP | WS_GROUP, 4, 88),
        Item(Ui::kClassButton, L"&Beta", kFirstRadio + 1, BS_AUTORADIOBUTTON, 4, 100),
        Item(Ui::kClassButton, L"&Gamma", kFirstRadio + 2, BS_AUTORADIOBUTTON, 4, 112),
        Item(Ui::kClassListBox, L"", kList, WS_BORDER | WS_TABSTOP | WS_GROUP | LBS_NOTIFY, 100, 74, 100, 50),
        Item(Ui::kClassButton, L"OK", IDOK, BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP, 40, 150, 40, 14),
        Item(Ui::kClassButton, L"Cancel", IDCANCEL, BS_PUSHBUTTON | WS_TABSTOP, 84, 150, 40, 14),
        Item(Ui::kClassButton, L"A&pply", kApply, BS_PUSHBUTTON | WS_TABSTOP, 128, 150, 40, 14),
    };
    return dt.ToImage();
}

class CSettingsDialog : public CDialog {
public:
    CString m_name = L"coupler";
    int m_count = 5;
    UINT m_port = 502;
    long m_offset = -3;
    BYTE m_level = 7;
    short m_delta = -12;
    int m_verbose = 1;
    int m_radio = 1;
    int m_list = 2;
    CButton m_applyButton;

    int m_applyClicks = 0;
    bool m_applyEnabled = true;
    int m_verboseShown = 0;
    std::vector<std::wstring> m_boxTexts;
    std::vector<std::wstring> m_boxCaptions;
    std::function<void(CSettingsDialog&)> m_script;

    CDialogDriver Driver() const { return CDialogDriver(m_hWnd); }

protected:
    void DoDataExchange(CDataExchange* dx) override
    {
        DDX_Text(dx, kName, m_name);
        DDV_MaxChars(dx, m_name, 10);
        DDX_Text(dx, kCount, m_count);
        DDV_MinMaxInt(dx, m_count, 0, 100);
        DDX_Text(dx, kPort, m_port);
        DDV_MinMaxUInt(dx, m_port, 1, 65535);
        DDX_Text(dx, kOffset, m_offset);
        DDX_Text(dx, kLevel, m_level);
        DDV_MinMaxByte(dx, m_level, 0, 9);
        DDX_Text(dx, kDelta, m_delta);
        DDX_Check(dx, kVerbose, m_verbose);
        DDX_Radio(dx, kFirstRadio, m_radio);
        DDX_LBIndex(dx, kList, m_list);
        DDX_Control(dx, kApply, m_applyButton);
    }
    BOOL OnInitDialog() override
    {
        for (LPCWSTR item : {L"one", L"two", L"three"})
            SendDlgItemMessage(kList, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
        CDialog::OnInitDialog();
        PostMessage(kRunScript);
        return TRUE;
    }
    LRESULT OnRunScript(WPARAM, LPARAM)
    {
        if (m_script)
            m_script(*this);
        return 0;
    }
    // The message box of a failed exchange: noted, then closed as the user would.
    LRESULT OnEnterIdle(WPARAM reason, LPARAM lParam)
    {
        HWND box = reinterpret_cast<HWND>(lParam);
        if (reason == MSGF_DIALOGBOX && box != m_hWnd && ::IsWindow(box)) {
            std::wstring texts;
            for (HWND child = ::GetWindow(box, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT))
                texts += UiTest::TextOf(child) + L"|";
            m_boxTexts.push_back(texts);
            m_boxCaptions.push_back(UiTest::TextOf(box));
            ::PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        }
        return 0;
    }
    void OnApply() { ++m_applyClicks; }
    void OnUpdateApply(CCmdUI* ui) { ui->Enable(m_applyEnabled); }
    void OnUpdateVerbose(CCmdUI* ui) { ui->SetCheck(m_verboseShown); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CSettingsDialog, CDialog)
    ON_MESSAGE(kRunScript, OnRunScript)
    ON_MESSAGE(WM_ENTERIDLE, OnEnterIdle)
    ON_BN_CLICKED(kApply, OnApply)
    ON_UPDATE_COMMAND_UI(kApply, OnUpdateApply)
    ON_UPDATE_COMMAND_UI(kVerbose, OnUpdateVerbose)
END_MESSAGE_MAP()

// A modal settings dialog of the given class, ready for DoModal.
template<typename Dialog>
class DialogFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        FrameworkTest::RegisterControls();
        m_image = SettingsTemplate();
        ASSERT_TRUE(dialog.InitModalIndirect(reinterpret_cast<LPCDLGTEMPLATEW>(m_image.data())));
    }
    void TearDown() override { AfxDeleteTempObjects(); }

    std::vector<BYTE> m_image;
    Dialog dialog;
};

class FrameworkDialog : public DialogFixture<CSettingsDialog> {};

}

TEST_F(FrameworkDialog, TabWalksTheTabStopsAndEscCancelsWithoutReadingTheControls)
{
    std::vector<int> visited;
    dialog.m_script = [&](CSettingsDialog& d) {
        CDialogDriver driver = d.Driver();
        visited.push_back(driver.FocusId());
        for (int i = 0; i < 6; ++i) {
            driver.Press(VK_TAB);
            driver.PumpUntilIdle();
            visited.push_back(driver.FocusId());
        }
        driver.Press(VK_TAB, UiTest::kShift);
        driver.PumpUntilIdle();
        visited.push_back(driver.FocusId());
        d.SetDlgItemText(kName, L"changed");
        driver.Press(VK_ESCAPE);
    };
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    // The radio group is entered at its checked button.
    EXPECT_EQ(visited, (std::vector<int>{kVerbose, kFirstRadio + 1, kList, IDOK, IDCANCEL, kApply, kVerbose, kApply}));
    EXPECT_EQ(dialog.m_name, CString(L"coupler"));
    EXPECT_EQ(dialog.m_hWnd, nullptr);
    EXPECT_EQ(dialog.m_applyButton.m_hWnd, nullptr);
}

TEST_F(FrameworkDialog, EveryExchangeRoundTripsThroughItsControl)
{
    std::vector<std::wstring> shown;
    dialog.m_script = [&](CSettingsDialog& d) {
        for (int id : {kName, kCount, kPort, kOffset, kLevel, kDelta})
            shown.push_back(CDialogDriver(d.m_hWnd).Text(id));
        CDialogDriver driver = d.Driver();
        EXPECT_TRUE(driver.IsChecked(kVerbose));
        EXPECT_TRUE(driver.IsChecked(kFirstRadio + 1));
        EXPECT_EQ(d.SendDlgItemMessage(kList, LB_GETCURSEL), 2);
        EXPECT_EQ(CWnd::FromHandlePermanent(driver.Control(kApply)), &d.m_applyButton);
        driver.Press(VK_ESCAPE);
    };
    dialog.m_port = 8080;
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_EQ(shown, (std::vector<std::wstring>{L"coupler", L"5", L"8080", L"-3", L"7", L"-12"}));

    // Every control changed, then OK.
    CSettingsDialog second;
    std::vector<BYTE> image = SettingsTemplate();
    ASSERT_TRUE(second.InitModalIndirect(reinterpret_cast<LPCDLGTEMPLATEW>(image.data())));
    second.m_script = [](CSettingsDialog& d) {
        d.SetDlgItemText(kName, L"coupler 2");
        d.SetDlgItemText(kCount, L" 42 ");
        d.SetDlgItemText(kPort, L"65535");
        d.SetDlgItemText(kOffset, L"-2147483648");
        d.SetDlgItemText(kLevel, L"9");
        d.SetDlgItemText(kDelta, L"-32768");
        CDialogDriver driver = d.Driver();
        driver.Click(kVerbose);
        driver.Click(kFirstRadio + 2);
        d.SendDlgItemMessage(kList, LB_SETCURSEL, 0);
        driver.PumpUntilIdle();
        driver.Press(VK_RETURN);
    };
    EXPECT_EQ(second.DoModal(), IDOK);
    EXPECT_EQ(second.m_name, CString(L"coupler 2"));
    EXPECT_EQ(second.m_count, 42);
    EXPECT_EQ(second.m_port, 65535u);
    EXPECT_EQ(second.m_offset, -2147483648L);
    EXPECT_EQ(second.m_level, 9);
    EXPECT_EQ(second.m_delta, -32768);
    EXPECT_EQ(second.m_verbose, 0);
    EXPECT_EQ(second.m_radio, 2);
    EXPECT_EQ(second.m_list, 0);
    EXPECT_TRUE(second.m_boxTexts.empty());
}

TEST_F(FrameworkDialog, AFailedValueKeepsTheDialogOpenFocusedOnItsControl)
{
    CWinApp app(L"Coupler Tool");
    bool openAfterEnter = false;
    int focusAfterEnter = 0;
    dialog.m_script = [&](CSettingsDialog& d) {
        CDialogDriver driver = d.Driver();
        d.SetDlgItemText(kName, L"renamed");
        d.SetDlgItemText(kCount, L"500");
        d.SetDlgItemText(kPort, L"1");
        driver.Press(VK_RETURN);
        driver.PumpUntil([&] { return !d.m_boxTexts.empty(); });
        driver.PumpUntilIdle();
        openAfterEnter = IsWindow(d.m_hWnd) != FALSE;
        focusAfterEnter = driver.FocusId();
        // Letters are no number either.
        d.SetDlgItemText(kCount, L"12a");
        driver.Press(VK_RETURN);
        driver.PumpUntil([&] { return d.m_boxTexts.size() == 2; });
        d.SetDlgItemText(kName, L"far too long a name");
        d.SetDlgItemText(kCount, L"1");
        driver.Press(VK_RETURN);
        driver.PumpUntil([&] { return d.m_boxTexts.size() == 3; });
        driver.Press(VK_ESCAPE);
    };
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_TRUE(openAfterEnter);
    EXPECT_EQ(focusAfterEnter, kCount);
    ASSERT_EQ(dialog.m_boxTexts.size(), 3u);
    EXPECT_NE(dialog.m_boxTexts[0].find(L"Please enter an integer between 0 and 100."), std::wstring::npos)
        << dialog.m_boxTexts[0];
    EXPECT_NE(dialog.m_boxTexts[1].find(L"Please enter an integer."), std::wstring::npos);
    EXPECT_NE(dialog.m_boxTexts[2].find(L"Please enter no more than 10 characters."), std::wstring::npos);
    EXPECT_EQ(dialog.m_boxCaptions[0], L"Coupler Tool");
    // What comes after the failing control kept its value.
    EXPECT_EQ(dialog.m_port, 502u);
    EXPECT_EQ(dialog.m_verbose, 1);
}

TEST_F(FrameworkDialog, SetDefIdMakesEnterPressAnotherButton)
{
    int clicksBeforeEsc = 0;
    DWORD defId = 0;
    dialog.m_script = [&](CSettingsDialog& d) {
        d.SetDefID(kApply);
        defId = d.GetDefID();
        CDialogDriver driver = d.Driver();
        driver.Press(VK_RETURN);
        driver.PumpUntilIdle();
        clicksBeforeEsc = d.m_applyClicks;
        driver.Press(VK_ESCAPE);
    };
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_EQ(LOWORD(defId), kApply);
    EXPECT_EQ(clicksBeforeEsc, 1);
}

TEST_F(FrameworkDialog, CommandUiGreysAndChecksAtIdleAndInMenus)
{
    std::vector<BYTE> image = SettingsTemplate();
    CSettingsDialog modeless;
    ASSERT_TRUE(modeless.CreateIndirect(reinterpret_cast<LPCDLGTEMPLATEW>(image.data())));
    CWinThread thread;
    thread.m_bAutoDelete = FALSE;
    thread.m_pMainWnd = &modeless;
    CDialogDriver driver(modeless.m_hWnd);

    modeless.m_applyEnabled = false;
    modeless.m_verboseShown = 0;
    thread.OnIdle(0);
    EXPECT_FALSE(driver.IsEnabled(kApply));
    EXPECT_FALSE(driver.IsChecked(kVerbose));
    // Buttons without a handler keep their state.
    EXPECT_TRUE(driver.IsEnabled(IDCANCEL));

    modeless.m_applyEnabled = true;
    modeless.m_verboseShown = 1;
    thread.OnIdle(0);
    EXPECT_TRUE(driver.IsEnabled(kApply));
    EXPECT_TRUE(driver.IsChecked(kVerbose));

    CMenu popup;
    ASSERT_TRUE(popup.CreatePopupMenu());
    popup.AppendMenu(MF_STRING, kApply, L"Apply");
    popup.AppendMenu(MF_STRING, kVerbose, L"Verbose");
    modeless.m_applyEnabled = false;
    modeless.SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup.m_hMenu), 0);
    EXPECT_NE(popup.GetMenuState(kApply, MF_BYCOMMAND) & MF_GRAYED, 0u);
    EXPECT_NE(popup.GetMenuState(kVerbose, MF_BYCOMMAND) & MF_CHECKED, 0u);
    modeless.DestroyWindow();
    EXPECT_EQ(modeless.m_hWnd, nullptr);
}

namespace {

constexpr int kMode = 240;
constexpr int kHost = 241;
constexpr int kNote = 242;

std::vector<BYTE> ChoiceTemplate()
{
    CDialogTemplate dt;
    dt.style = WS_POPUP | WS_CAPTION | DS_SETFONT | DS_MODALFRAME | WS_VISIBLE;
    dt.cx = 200;
    dt.cy = 90;
    dt.caption = L"Choice";
    dt.pointSize = 9;
    dt.faceName = L"DejaVu Sans";
    dt.items = {
        Item(Ui::kClassComboBox, L"", kMode, CBS_DROPDOWNLIST | WS_TABSTOP | WS_VSCROLL, 4, 4, 100, 60),
        Item(Ui::kClassComboBox, L"", kHost, CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_TABSTOP, 4, 22, 100, 60),
        Item(Ui::kClassEdit, L"", kNote, ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, 4, 40, 100, 12),
        Item(Ui::kClassButton, L"OK", IDOK, BS_DEFPUSHBUTTON | WS_TABSTOP, 40, 70, 40, 14),
    };
    return dt.ToImage();
}

// The combo-box exchanges and the edit and combo wrappers on the real controls.
class CChoiceDialog : public FrameworkTest::CScriptedDialog<CChoiceDialog> {
public:
    int m_mode = 1;
    CString m_host = L"coupler-2";
    CEdit m_note;
    CComboBox m_hosts;

protected:
    void DoDataExchange(CDataExchange* dx) override
    {
        DDX_Control(dx, kHost, m_hosts);
        DDX_Control(dx, kNote, m_note);
        DDX_CBIndex(dx, kMode, m_mode);
        DDX_CBString(dx, kHost, m_host);
    }
    BOOL OnInitDialog() override
    {
        for (LPCWSTR mode : {L"DHCP", L"BootP", L"Fixed"})
            SendDlgItemMessage(kMode, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(mode));
        CDialog::OnInitDialog();  // the controls are attached from here on
        for (LPCWSTR host : {L"coupler-1", L"coupler-2"})
            m_hosts.AddString(host);
        PostScript();
        return TRUE;
    }
};

}

TEST_F(FrameworkDialog, ComboExchangesAndTheEditWrapperWorkOnTheRealControls)
{
    CChoiceDialog choice;
    const std::vector<BYTE> image = ChoiceTemplate();
    ASSERT_TRUE(choice.InitModalIndirect(reinterpret_cast<LPCDLGTEMPLATEW>(image.data())));
    choice.m_script = [](CChoiceDialog& d) {
        EXPECT_EQ(d.SendDlgItemMessage(kMode, CB_GETCURSEL), 1);
        EXPECT_EQ(CDialogDriver(d.m_hWnd).Text(kHost), L"coupler-2");
        EXPECT_EQ(d.m_hosts.GetCount(), 2);
        d.m_note.SetLimitText(4);
        CDialogDriver driver(d.m_hWnd);
        EXPECT_TRUE(driver.TypeInto(kNote, L"abcdef"));
        driver.PumpUntilIdle();
        EXPECT_EQ(driver.FocusId(), kNote);
        EXPECT_EQ(driver.Text(kNote), L"abcd");
        EXPECT_TRUE(d.m_note.GetModify());
        d.SendDlgItemMessage(kMode, CB_SETCURSEL, 2);
        d.SetDlgItemText(kHost, L"10.0.0.7");
        driver.PumpUntilIdle();
        driver.Press(VK_RETURN);
    };
    EXPECT_EQ(choice.DoModal(), IDOK);
    EXPECT_EQ(choice.m_mode, 2);
    EXPECT_EQ(choice.m_host, CString(L"10.0.0.7"));
}

namespace {

// The settings dialog with a script that runs one step at each idle of the
// modal loop, after the dialog's own idle work, and with a keyboard filter.
class CIdleStepsDialog : public CSettingsDialog {
public:
    std::vector<std::function<void(CIdleStepsDialog&)>> m_steps;
    std::size_t m_next = 0;
    int m_kicks = 0;
    std::vector<std::size_t> m_tempsAtKick;  // before the dialog's own idle work
    bool m_swallowEnter = false;
    int m_enterSeen = 0;

    // Another step wants another idle: any message ends the idle phase.
    void WakeUp() { PostMessage(kRunScript); }

    BOOL PreTranslateMessage(MSG* msg) override
    {
        if (msg->message == WM_KEYDOWN && msg->wParam == VK_RETURN) {
            ++m_enterSeen;
            if (m_swallowEnter)
                return TRUE;
        }
        return CSettingsDialog::PreTranslateMessage(msg);
    }

protected:
    LRESULT OnKickIdle(WPARAM wParam, LPARAM count)
    {
        m_tempsAtKick.push_back(AfxTempWindowCount());
        const LRESULT more = CDialog::OnKickIdle(wParam, count);
        ++m_kicks;
        if (count == 0 && m_next < m_steps.size())
            m_steps[m_next++](*this);
        return more;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CIdleStepsDialog, CSettingsDialog)
    ON_MESSAGE(WM_KICKIDLE, OnKickIdle)
END_MESSAGE_MAP()

class ModalLoop : public DialogFixture<CIdleStepsDialog> {};

}

TEST_F(ModalLoop, CommandUiOfTheDialogsButtonsRunsAtIdle)
{
    std::vector<bool> applyEnabled;
    std::vector<bool> verboseChecked;
    auto note = [&](CIdleStepsDialog& d) {
        applyEnabled.push_back(d.Driver().IsEnabled(kApply));
        verboseChecked.push_back(d.Driver().IsChecked(kVerbose));
    };
    dialog.m_applyEnabled = false;
    dialog.m_verboseShown = 1;
    dialog.m_steps = {
        [&](CIdleStepsDialog& d) {
            note(d);
            d.m_applyEnabled = true;
            d.m_verboseShown = 0;
            d.WakeUp();
        },
        [&](CIdleStepsDialog& d) {
            note(d);
            d.Driver().Press(VK_ESCAPE);
        },
    };
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_EQ(applyEnabled, (std::vector<bool>{false, true}));
    EXPECT_EQ(verboseChecked, (std::vector<bool>{true, false}));
    // One idle step per idle phase: the dialog answered that it had no more work.
    EXPECT_EQ(dialog.m_kicks, 2);
}

TEST_F(ModalLoop, TheDialogsPreTranslateMessageSeesItsKeysFirst)
{
    bool openAfterEnter = false;
    dialog.m_swallowEnter = true;
    dialog.m_steps = {
        [&](CIdleStepsDialog& d) { d.Driver().Press(VK_RETURN); },
        [&](CIdleStepsDialog& d) {
            openAfterEnter = d.IsWindowVisible() != FALSE;
            d.m_swallowEnter = false;
            d.Driver().Press(VK_RETURN);
        },
    };
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_TRUE(openAfterEnter);
    EXPECT_EQ(dialog.m_enterSeen, 2);
}

TEST_F(ModalLoop, TheOwnerIsDisabledToldOfIdleAndActiveAgainAfterwards)
{
    UiTest::Handler log;
    UiTest::WindowGuard owner;
    owner.hwnd = UiTest::Create(&log, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, 500, 400);
    ::SetActiveWindow(owner.hwnd);
    UiTest::Drain();
    CWnd* parent = CWnd::FromHandle(owner.hwnd);
    dialog.m_pParentWnd = parent;
    bool ownerEnabled = true;
    HWND active = nullptr;
    HWND ownerOfDialog = nullptr;
    bool shownAsModal = false;
    dialog.m_steps = {
        [&](CIdleStepsDialog& d) {
            ownerEnabled = ::IsWindowEnabled(owner.hwnd) != FALSE;
            active = ::GetActiveWindow();
            ownerOfDialog = ::GetWindow(d.m_hWnd, GW_OWNER);
            shownAsModal = UiTest::Headless().StateOf(NativeWindowOf(d.m_hWnd))->params.modal;
            d.WakeUp();
        },
        [&](CIdleStepsDialog& d) { d.Driver().Press(VK_ESCAPE); },
    };
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_FALSE(ownerEnabled);
    EXPECT_NE(active, owner.hwnd);
    EXPECT_EQ(ownerOfDialog, owner.hwnd);
    // The display is told, so that on X11 the window manager keeps it above its owner.
    EXPECT_TRUE(shownAsModal);
    // WM_ENTERIDLE once per idle phase, naming the dialog.
    const auto idles = log.Of(WM_ENTERIDLE);
    ASSERT_EQ(idles.size(), 2u);
    EXPECT_EQ(idles[0].wParam, static_cast<WPARAM>(MSGF_DIALOGBOX));
    EXPECT_TRUE(::IsWindowEnabled(owner.hwnd));
    EXPECT_EQ(::GetActiveWindow(), owner.hwnd);
    EXPECT_EQ(dialog.m_hWnd, nullptr);
}

TEST_F(ModalLoop, QuitEndsTheLoopAndIsPassedOnAndEndingEarlySkipsIt)
{
    dialog.m_steps = {[](CIdleStepsDialog&) { ::PostQuitMessage(3); }};
    dialog.DoModal();
    EXPECT_EQ(dialog.m_hWnd, nullptr);
    MSG msg{};
    ASSERT_TRUE(::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 3u);

    // Ended while it opens: no loop, the result comes back.
    class CClosingDialog : public CDialog {
        BOOL OnInitDialog() override
        {
            EndDialog(IDABORT);
            return TRUE;
        }
    } closing;
    ASSERT_TRUE(closing.InitModalIndirect(reinterpret_cast<LPCDLGTEMPLATEW>(m_image.data())));
    EXPECT_EQ(closing.DoModal(), IDABORT);
    EXPECT_EQ(closing.m_hWnd, nullptr);
    // A parent that is gone is refused.
    CWnd gone;
    gone.m_hWnd = reinterpret_cast<HWND>(static_cast<std::intptr_t>(0x7777));
    closing.m_pParentWnd = &gone;
    EXPECT_EQ(closing.DoModal(), -1);
    gone.m_hWnd = nullptr;
}

TEST_F(ModalLoop, TemporaryObjectsAreFreedAtIdleOnlyWhenNoHandlerHoldsThem)
{
    bool innerKeptTheTemporary = false;
    // The command UI leaves the controls as they are, so nothing repaints between the idles.
    dialog.m_verboseShown = 1;
    dialog.m_steps = {
        [&](CIdleStepsDialog& d) {
            CWnd::FromHandle(d.Driver().Control(kName));
            d.WakeUp();
        },
        [&](CIdleStepsDialog& d) {
            // A dialog opened from a handler: its idle leaves the handler's pointer alone.
            CWnd* label = CWnd::FromHandle(d.Driver().Control(kCount));
            std::vector<BYTE> image = SettingsTemplate();
            CIdleStepsDialog inner;
            ASSERT_TRUE(inner.InitModalIndirect(reinterpret_cast<LPCDLGTEMPLATEW>(image.data()), &d));
            inner.m_steps = {[](CIdleStepsDialog& i) { i.WakeUp(); },
                             [](CIdleStepsDialog& i) { i.Driver().Press(VK_ESCAPE); }};
            inner.DoModal();
            innerKeptTheTemporary = label->m_hWnd == d.Driver().Control(kCount);
            d.Driver().Press(VK_ESCAPE);
        },
    };
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    // The first idle's temporaries (the command UI's and the step's) were gone by the second.
    ASSERT_GE(dialog.m_tempsAtKick.size(), 2u);
    EXPECT_EQ(dialog.m_tempsAtKick[1], 0u);
    EXPECT_TRUE(innerKeptTheTemporary);
}

TEST_F(FrameworkDialog, TheCheckedRadioAndAnyDescendantAreFoundById)
{
    std::vector<BYTE> image = SettingsTemplate();
    CSettingsDialog modeless;
    modeless.m_radio = 2;
    ASSERT_TRUE(modeless.CreateIndirect(reinterpret_cast<LPCDLGTEMPLATEW>(image.data())));
    EXPECT_EQ(modeless.GetCheckedRadioButton(kFirstRadio, kFirstRadio + 2), kFirstRadio + 2);
    modeless.CheckRadioButton(kFirstRadio, kFirstRadio + 2, kFirstRadio);
    EXPECT_EQ(modeless.GetCheckedRadioButton(kFirstRadio, kFirstRadio + 2), kFirstRadio);
    EXPECT_EQ(modeless.GetCheckedRadioButton(kFirstRadio + 1, kFirstRadio + 2), 0);

    CWnd* list = modeless.GetDescendantWindow(kList);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->m_hWnd, modeless.Driver().Control(kList));
    EXPECT_EQ(modeless.GetDescendantWindow(4242), nullptr);
    // A control inside a child window is found below it.
    CWnd box;
    ASSERT_TRUE(box.CreateEx(0, nullptr, L"", WS_CHILD | WS_VISIBLE, 0, 0, 50, 50, modeless.m_hWnd, nullptr));
    CWnd inner;
    ASSERT_TRUE(inner.CreateEx(0, nullptr, L"", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, box.m_hWnd,
                               reinterpret_cast<HMENU>(static_cast<std::intptr_t>(4242))));
    EXPECT_EQ(modeless.GetDescendantWindow(4242), &inner);
    modeless.DestroyWindow();
}

// The template's position is relative to the owner's corner; a modal dialog
// that did not place itself opens centred over its owner.
TEST_F(ModalLoop, AModalDialogOpensCentredOverItsOwner)
{
    UiTest::Handler log;
    UiTest::WindowGuard owner;
    owner.hwnd = UiTest::Create(&log, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 80, 600, 500);
    // A form inside the owner as the parent (a search opened from a settings
    // form) centres the dialog over the form's top-level just the same.
    UiTest::WindowGuard form;
    form.hwnd = UiTest::Create(&log, WS_CHILD | WS_VISIBLE, 5, 5, 120, 90, owner.hwnd);
    UiTest::Drain();
    for (HWND parent : {owner.hwnd, form.hwnd}) {
        CIdleStepsDialog opened;
        std::vector<BYTE> image = SettingsTemplate();
        ASSERT_TRUE(opened.InitModalIndirect(reinterpret_cast<LPCDLGTEMPLATEW>(image.data()), CWnd::FromHandle(parent)));
        RECT placed{};
        opened.m_steps = {[&](CIdleStepsDialog& d) {
            ::GetWindowRect(d.m_hWnd, &placed);
            d.Driver().Press(VK_ESCAPE);
        }};
        EXPECT_EQ(opened.DoModal(), IDCANCEL);
        EXPECT_NEAR((placed.left + placed.right) / 2, 100 + 600 / 2, 1) << (parent == form.hwnd ? "form" : "owner");
        EXPECT_NEAR((placed.top + placed.bottom) / 2, 80 + 500 / 2, 1) << (parent == form.hwnd ? "form" : "owner");
    }
}
