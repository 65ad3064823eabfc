// The system message box, driven as a user meets it: from inside its modal
// loop, with injected keys and clicks only.
#include "Platform/Base/LastError.h"
#include "Platform/Controls/MessageBox.h"
#include "Platform/Controls/StandardControls.h"
#include "Platform/Gdi/Gdi.h"
#include "Platform/Ui/Tests/DialogDriver.h"
#include "Platform/Ui/Tests/GoldenImage.h"
#include "Platform/Ui/Tests/UiTestSupport.h"
#include "Platform/Ui/Tests/WindowText.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <string>
#include <unistd.h>
#include <vector>

using namespace UiTest;

namespace {

constexpr int kTextId = 0xFFFF;
constexpr UINT kRunScript = WM_APP + 7;

RECT ScreenRect(HWND hwnd)
{
    RECT r{};
    GetWindowRect(hwnd, &r);
    return r;
}

// What the box showed while it was up.
struct Seen {
    HWND box = nullptr;
    std::wstring caption;
    std::vector<int> buttonIds;         // left to right
    std::vector<std::wstring> captions; // of those buttons
    int focusId = 0;
    bool ownerEnabled = true;
    bool boxActive = false;
    bool topmost = false;
    bool stillOpen = false;  // after the script: the keys did not close it
    RECT boxRect{};
    RECT textRect{};  // in the box's client coordinates
    LONG textNeeds = 0;  // the height its lines need at its width, in its font
};

LONG HeightNeeded(HWND label)
{
    RECT r{};
    GetClientRect(label, &r);
    const std::wstring text = TextOf(label);
    HDC dc = GetDC(label);
    const HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(label, WM_GETFONT, 0, 0)));
    DrawTextW(dc, text.c_str(), -1, &r, DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS | DT_CALCRECT);
    SelectObject(dc, old);
    ReleaseDC(label, dc);
    return r.bottom - r.top;
}

class MessageBoxTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(ZELL::Controls::RegisterStandardControls());
        m_owner.hwnd = Create(&m_ownerLog, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 80, 640, 480);
        SetActiveWindow(m_owner.hwnd);
        Drain();
    }

    // Shows a box owned by the test window (through `show` when given);
    // `script` runs once the box's modal loop is idle. A box the script
    // leaves open ends with 99.
    int Show(LPCWSTR text, LPCWSTR caption, UINT type, std::function<void(CDialogDriver&)> script, HWND owner,
             const std::function<int()>& show = {})
    {
        bool ran = false;
        m_ownerLog.m_onMessage = [&, script](HWND, UINT m, WPARAM, LPARAM l, LRESULT&) {
            if (m == WM_HELP)
                m_help.push_back(*reinterpret_cast<const HELPINFO*>(l));
            const bool idle = m == WM_ENTERIDLE && owner != nullptr;
            if ((idle || m == kRunScript) && !ran) {
                ran = true;
                HWND box = idle ? reinterpret_cast<HWND>(l) : GetActiveWindow();
                Observe(box);
                CDialogDriver driver(box);
                script(driver);
                driver.PumpUntilIdle();
                m_seen.stillOpen = IsWindow(box) && IsWindowVisible(box);
                if (m_seen.stillOpen)
                    EndDialog(box, 99);
            }
            return false;
        };
        if (owner == nullptr)
            PostMessageW(m_owner.hwnd, kRunScript, 0, 0);
        const int answer = show ? show() : MessageBoxW(owner, text, caption, type);
        m_ownerLog.m_onMessage = nullptr;
        EXPECT_TRUE(ran) << "the box never came up";
        return answer;
    }
    int Show(LPCWSTR text, LPCWSTR caption, UINT type, std::function<void(CDialogDriver&)> script)
    {
        return Show(text, caption, type, std::move(script), m_owner.hwnd);
    }

    void Observe(HWND box)
    {
        m_seen = Seen{};
        m_seen.box = box;
        m_seen.caption = TextOf(box);
        m_seen.ownerEnabled = IsWindowEnabled(m_owner.hwnd) != FALSE;
        m_seen.boxActive = GetActiveWindow() == box;
        m_seen.boxRect = ScreenRect(box);
        m_seen.topmost = (GetWindowLongPtrW(box, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
        std::vector<std::pair<LONG, HWND>> buttons;
        for (HWND child = GetWindow(box, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
            if (GetDlgCtrlID(child) == kTextId) {
                m_seen.textNeeds = HeightNeeded(child);
                GetWindowRect(child, &m_seen.textRect);
                MapWindowPoints(nullptr, box, reinterpret_cast<POINT*>(&m_seen.textRect), 2);
            } else {
                buttons.emplace_back(ScreenRect(child).left, child);
            }
        }
        std::sort(buttons.begin(), buttons.end());
        for (const auto& [left, button] : buttons) {
            m_seen.buttonIds.push_back(GetDlgCtrlID(button));
            m_seen.captions.push_back(TextOf(button));
        }
        m_seen.focusId = CDialogDriver(box).FocusId();
    }

    Handler m_ownerLog;
    WindowGuard m_owner;
    Seen m_seen;
    std::vector<HELPINFO> m_help;
};

struct ButtonSet {
    UINT type;
    std::vector<int> ids;
    std::vector<std::wstring> captions;
};

const std::vector<ButtonSet>& ButtonSets()
{
    static const std::vector<ButtonSet> sets = {
        {MB_OK, {IDOK}, {L"OK"}},
        {MB_OKCANCEL, {IDOK, IDCANCEL}, {L"OK", L"Cancel"}},
        {MB_ABORTRETRYIGNORE, {IDABORT, IDRETRY, IDIGNORE}, {L"&Abort", L"&Retry", L"&Ignore"}},
        {MB_YESNOCANCEL, {IDYES, IDNO, IDCANCEL}, {L"&Yes", L"&No", L"Cancel"}},
        {MB_YESNO, {IDYES, IDNO}, {L"&Yes", L"&No"}},
        {MB_RETRYCANCEL, {IDRETRY, IDCANCEL}, {L"&Retry", L"Cancel"}},
        {MB_CANCELTRYCONTINUE, {IDCANCEL, IDTRYAGAIN, IDCONTINUE}, {L"Cancel", L"&Try Again", L"&Continue"}},
    };
    return sets;
}

}

TEST_F(MessageBoxTest, EachButtonSetShowsItsButtonsInOrderAndAnswersWithTheClickedOne)
{
    for (const ButtonSet& set : ButtonSets()) {
        for (int id : set.ids) {
            const int answer = Show(L"Proceed?", L"Sets", set.type, [id](CDialogDriver& d) { d.Click(id); });
            EXPECT_EQ(answer, id) << "type " << set.type;
            EXPECT_EQ(m_seen.buttonIds, set.ids) << "type " << set.type;
            EXPECT_EQ(m_seen.captions, set.captions) << "type " << set.type;
        }
    }
    // Help comes last and does not end the box.
    Show(L"Proceed?", L"Sets", MB_YESNO | MB_HELP, [](CDialogDriver& d) { d.Click(IDHELP); });
    EXPECT_EQ(m_seen.buttonIds, (std::vector<int>{IDYES, IDNO, IDHELP}));
    EXPECT_EQ(m_seen.captions.back(), L"Help");
    EXPECT_TRUE(m_seen.stillOpen);
}

TEST_F(MessageBoxTest, TheDefaultButtonFollowsDefButtonAndEnterPressesIt)
{
    const std::vector<std::pair<UINT, int>> cases = {
        {MB_DEFBUTTON1, IDYES}, {MB_DEFBUTTON2, IDNO}, {MB_DEFBUTTON3, IDCANCEL},
        // A fourth button that the set does not have: the first one.
        {MB_DEFBUTTON4, IDYES},
    };
    for (const auto& [flag, expected] : cases) {
        LRESULT defId = 0;
        const int answer = Show(L"Save the changes?", L"Default", MB_YESNOCANCEL | flag, [&defId](CDialogDriver& d) {
            defId = SendMessageW(d.Dialog(), DM_GETDEFID, 0, 0);
            d.Press(VK_RETURN);
        });
        EXPECT_EQ(answer, expected);
        EXPECT_EQ(m_seen.focusId, expected);
        EXPECT_EQ(LOWORD(defId), expected);
        EXPECT_EQ(HIWORD(defId), DC_HASDEFID);
    }
    // Arrows move along the row as well.
    EXPECT_EQ(Show(L"Save?", L"Default", MB_YESNOCANCEL, [](CDialogDriver& d) {
                  d.Press(VK_RIGHT);
                  d.Press(VK_RIGHT);
                  d.PumpUntilIdle();
                  d.Press(VK_RETURN);
              }),
              IDCANCEL);
    // Tab moves the focus and Enter then presses the focused button.
    EXPECT_EQ(Show(L"Save?", L"Default", MB_YESNOCANCEL, [](CDialogDriver& d) {
                  d.Press(VK_TAB);
                  d.PumpUntilIdle();
                  d.Press(VK_RETURN);
              }),
              IDNO);
}

TEST_F(MessageBoxTest, EscapeAndAltF4EndOnlyBoxesThatHaveAWayOut)
{
    const std::vector<std::pair<UINT, int>> rules = {
        {MB_OK, IDOK},         {MB_OKCANCEL, IDCANCEL}, {MB_ABORTRETRYIGNORE, 0}, {MB_YESNOCANCEL, IDCANCEL},
        {MB_YESNO, 0},         {MB_RETRYCANCEL, IDCANCEL}, {MB_CANCELTRYCONTINUE, IDCANCEL},
    };
    for (const auto& [type, closed] : rules) {
        for (const bool altF4 : {false, true}) {
            const int answer = Show(L"Leave?", L"Escape", type, [altF4](CDialogDriver& d) {
                if (altF4)
                    d.Press(VK_F4, kAlt);
                else
                    d.Press(VK_ESCAPE);
            });
            EXPECT_EQ(answer, closed != 0 ? closed : 99) << "type " << type << (altF4 ? " Alt+F4" : " Esc");
            EXPECT_EQ(m_seen.stillOpen, closed == 0) << "type " << type;
        }
    }
}

TEST_F(MessageBoxTest, MnemonicsPressTheirButtons)
{
    EXPECT_EQ(Show(L"Delete?", L"Keys", MB_YESNO, [](CDialogDriver& d) { d.Press('N', kAlt); }), IDNO);
    EXPECT_EQ(Show(L"Failed.", L"Keys", MB_ABORTRETRYIGNORE, [](CDialogDriver& d) { d.Press('I', kAlt); }), IDIGNORE);
    // Buttons take no characters, so the letter alone does it as well.
    EXPECT_EQ(Show(L"Failed.", L"Keys", MB_CANCELTRYCONTINUE, [](CDialogDriver& d) { d.Type(L"t"); }), IDTRYAGAIN);
    // OK and Cancel have none: the letters do nothing.
    Show(L"Go?", L"Keys", MB_OKCANCEL, [](CDialogDriver& d) { d.Press('O', kAlt); d.Type(L"c"); });
    EXPECT_TRUE(m_seen.stillOpen);
}

TEST_F(MessageBoxTest, TheOwnerIsDisabledWhileTheBoxIsUpWhichSitsCentredOnIt)
{
    EXPECT_EQ(Show(L"Done.", L"Owner", MB_OK | MB_ICONINFORMATION, [](CDialogDriver& d) { d.Press(VK_RETURN); }), IDOK);
    EXPECT_FALSE(m_seen.ownerEnabled);
    EXPECT_TRUE(m_seen.boxActive);
    EXPECT_TRUE(IsWindowEnabled(m_owner.hwnd));
    EXPECT_EQ(GetActiveWindow(), m_owner.hwnd);
    EXPECT_FALSE(IsWindow(m_seen.box));
    const RECT owner = ScreenRect(m_owner.hwnd);
    EXPECT_NEAR((m_seen.boxRect.left + m_seen.boxRect.right) / 2, (owner.left + owner.right) / 2, 1);
    EXPECT_NEAR((m_seen.boxRect.top + m_seen.boxRect.bottom) / 2, (owner.top + owner.bottom) / 2, 1);

    // A child as the owner: its top-level is disabled.
    WindowGuard child;
    child.hwnd = Create(nullptr, WS_CHILD | WS_VISIBLE, 10, 10, 50, 50, m_owner.hwnd);
    Show(L"Done.", L"Owner", MB_OK, [](CDialogDriver& d) { d.Press(VK_RETURN); }, child.hwnd);
    EXPECT_FALSE(m_seen.ownerEnabled);
    EXPECT_TRUE(IsWindowEnabled(m_owner.hwnd));
}

TEST_F(MessageBoxTest, ATaskModalBoxWithoutOwnerDisablesTheThreadsWindowsAndSitsOnTheScreenCentre)
{
    EXPECT_EQ(Show(L"Stop.", nullptr, MB_OK | MB_TASKMODAL, [](CDialogDriver& d) { d.Press(VK_RETURN); }, nullptr),
              IDOK);
    EXPECT_FALSE(m_seen.ownerEnabled);
    EXPECT_TRUE(IsWindowEnabled(m_owner.hwnd));
    // A null caption reads "Error".
    EXPECT_EQ(m_seen.caption, L"Error");
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    EXPECT_NEAR((m_seen.boxRect.left + m_seen.boxRect.right) / 2, (work.left + work.right) / 2, 1);

    EXPECT_FALSE(m_seen.topmost);

    // Application modal without an owner disables nothing.
    Show(L"Stop.", L"Plain", MB_OK, [](CDialogDriver& d) { d.Press(VK_RETURN); }, nullptr);
    EXPECT_TRUE(m_seen.ownerEnabled);
}

TEST_F(MessageBoxTest, SystemModalAndTopmostBoxesStayAboveOtherWindows)
{
    const auto end = [](CDialogDriver& d) { d.Press(VK_RETURN); };
    for (UINT flag : {MB_SYSTEMMODAL, MB_TOPMOST}) {
        EXPECT_EQ(Show(L"Careful.", L"Top", MB_OK | MB_ICONERROR | flag, end), IDOK);
        EXPECT_TRUE(m_seen.topmost);
        EXPECT_FALSE(m_seen.ownerEnabled);
        EXPECT_TRUE(IsWindowEnabled(m_owner.hwnd));
    }
}

TEST_F(MessageBoxTest, LongTextWrapsAndTheBoxGrowsToHoldItUncut)
{
    const auto end = [](CDialogDriver& d) { d.Press(VK_RETURN); };
    Show(L"Short.", L"Wrap", MB_OK | MB_ICONWARNING, end);
    const Seen small = m_seen;
    std::wstring longText;
    for (int i = 0; i < 30; ++i)
        longText += L"The connection to the coupler was lost while its settings were written. ";
    Show(longText.c_str(), L"Wrap", MB_OK | MB_ICONWARNING, end);
    const Seen large = m_seen;

    const LONG smallWidth = small.boxRect.right - small.boxRect.left;
    const LONG largeWidth = large.boxRect.right - large.boxRect.left;
    EXPECT_GT(largeWidth, smallWidth);
    EXPECT_GT(large.boxRect.bottom - large.boxRect.top, 3 * (small.boxRect.bottom - small.boxRect.top));
    // Wrapped well inside the screen, the text beside the picture.
    EXPECT_LT(largeWidth, GetSystemMetrics(SM_CXSCREEN) / 2);
    EXPECT_GE(large.textRect.left, 32);
    // The label is as tall as its lines need at its width: nothing is cut.
    EXPECT_LE(large.textNeeds, large.textRect.bottom - large.textRect.top);
    EXPECT_GT(large.textNeeds, 10 * small.textNeeds);

    // A long caption widens the box past its text and buttons, uncut.
    const std::wstring caption = L"Settings of the coupler in the second cabinet on the left";
    Show(L"Short.", caption.c_str(), MB_OK, end);
    NONCLIENTMETRICSW metrics;
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    HFONT bold = CreateFontIndirectW(&metrics.lfCaptionFont);
    HDC dc = GetDC(nullptr);
    const HGDIOBJ old = SelectObject(dc, bold);
    SIZE captionSize{};
    GetTextExtentPoint32W(dc, caption.c_str(), static_cast<int>(caption.size()), &captionSize);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    DeleteObject(bold);
    EXPECT_GT(m_seen.boxRect.right - m_seen.boxRect.left, captionSize.cx + 2 * GetSystemMetrics(SM_CXSIZE));
}

TEST_F(MessageBoxTest, HelpTellsTheOwnerAndLeavesTheBoxOpen)
{
    const int answer = Show(L"Read on?", L"Help", MB_OKCANCEL | MB_HELP | MB_DEFBUTTON3, [](CDialogDriver& d) {
        d.Press(VK_RETURN);
        d.PumpUntilIdle();
        d.Click(IDHELP);
        d.PumpUntilIdle();
        d.Click(IDOK);
    });
    EXPECT_EQ(answer, IDOK);
    ASSERT_EQ(m_help.size(), 2u);
    EXPECT_EQ(m_help[0].cbSize, sizeof(HELPINFO));
    EXPECT_EQ(m_help[0].iContextType, HELPINFO_WINDOW);
    EXPECT_EQ(m_help[0].hItemHandle, reinterpret_cast<HANDLE>(m_seen.box));
}

TEST_F(MessageBoxTest, AnIndirectBoxHandsHelpToItsCallbackWithTheContextId)
{
    static std::vector<HELPINFO> called;
    called.clear();
    MSGBOXPARAMSW params;
    params.hwndOwner = m_owner.hwnd;
    params.lpszText = L"Read on?";
    params.lpszCaption = L"Indirect";
    params.dwStyle = MB_YESNO | MB_HELP | MB_ICONQUESTION;
    params.dwContextHelpId = 4711;
    params.lpfnMsgBoxCallback = [](LPHELPINFO help) { called.push_back(*help); };
    const MSGBOXPARAMSW* record = &params;
    const int answer = Show(L"", L"", 0, [](CDialogDriver& d) {
        d.Click(IDHELP);
        d.PumpUntilIdle();
        d.Press('Y', kAlt);
    }, m_owner.hwnd, [record] { return MessageBoxIndirectW(record); });
    EXPECT_EQ(answer, IDYES);
    EXPECT_EQ(m_seen.caption, L"Indirect");
    ASSERT_EQ(called.size(), 1u);
    EXPECT_EQ(called[0].dwContextId, 4711u);
    EXPECT_EQ(called[0].hItemHandle, reinterpret_cast<HANDLE>(m_seen.box));
    EXPECT_TRUE(m_help.empty());

    SetLastError(0);
    EXPECT_EQ(MessageBoxIndirectW(nullptr), 0);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    params.cbSize = 8;
    EXPECT_EQ(MessageBoxIndirectW(&params), 0);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
}

TEST_F(MessageBoxTest, CtrlCPutsTheBoxOnTheClipboardAsText)
{
    const auto clipboardText = [] {
        std::wstring text;
        if (OpenClipboard(nullptr)) {
            if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
                text = static_cast<const wchar_t*>(GlobalLock(data));
                GlobalUnlock(data);
            }
            CloseClipboard();
        }
        return text;
    };
    const int answer = Show(L"Write the settings?", L"Coupler", MB_YESNOCANCEL | MB_ICONQUESTION, [](CDialogDriver& d) {
        d.Press('C', kControl);
        d.PumpUntilIdle();
        d.Press(VK_ESCAPE);
    });
    EXPECT_EQ(answer, IDCANCEL);
    EXPECT_EQ(clipboardText(), L"---------------------------\r\nCoupler\r\n---------------------------\r\n"
                               L"Write the settings?\r\n---------------------------\r\nYes   No   Cancel   \r\n"
                               L"---------------------------\r\n");
    // Ctrl+Insert copies too, and a plain C does not.
    Show(L"Second", L"Copy", MB_OK, [](CDialogDriver& d) { d.Press(VK_INSERT, kControl); d.PumpUntilIdle(); d.Press(VK_RETURN); });
    EXPECT_NE(clipboardText().find(L"Second"), std::wstring::npos);
    Show(L"Third", L"Copy", MB_OK, [](CDialogDriver& d) { d.Press('C'); d.PumpUntilIdle(); d.Press(VK_RETURN); });
    EXPECT_EQ(clipboardText().find(L"Third"), std::wstring::npos);
}

TEST_F(MessageBoxTest, AnUnknownButtonSetOrAGoneOwnerIsRefused)
{
    SetLastError(0);
    EXPECT_EQ(MessageBoxW(m_owner.hwnd, L"?", L"Bad", 7), 0);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_MSGBOX_STYLE);
    EXPECT_TRUE(IsWindowEnabled(m_owner.hwnd));

    HWND gone = Create(nullptr, WS_OVERLAPPED, 0, 0, 10, 10);
    DestroyWindow(gone);
    SetLastError(0);
    EXPECT_EQ(MessageBoxW(gone, L"?", L"Bad", MB_OK), 0);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_WINDOW_HANDLE);
}

TEST_F(MessageBoxTest, InformationAndQuestionBoxesLookAsTheyShould)
{
    const auto capture = [](const std::string& name) {
        return [name](CDialogDriver& d) {
            UpdateWindow(d.Dialog());
            d.PumpUntilIdle();
            const std::string file = name + "-" + std::to_string(getpid()) + ".png";
            const std::string png = (std::filesystem::temp_directory_path() / file).string();
            ASSERT_TRUE(Headless().SaveWithFrameAsPng(NativeWindowOf(d.Dialog()), png));
            EXPECT_TRUE(MatchesGolden(png, name, ZELL_CONTROLS_GOLDEN_DIR));
            std::filesystem::remove(png);
            d.Press(VK_ESCAPE);
        };
    };
    Show(L"The settings were written to the coupler.", L"Coupler", MB_OK | MB_ICONINFORMATION,
         capture("MessageBoxInformation"));
    Show(L"The settings have changed.\nWrite them to the coupler before you leave?", L"Coupler",
         MB_YESNOCANCEL | MB_ICONQUESTION, capture("MessageBoxQuestion"));
    // The other two pictures, with the widest captions.
    Show(L"The coupler does not answer.", L"Connection", MB_CANCELTRYCONTINUE | MB_ICONWARNING,
         capture("MessageBoxWarning"));
    Show(L"The settings file could not be written.", nullptr, MB_ABORTRETRYIGNORE | MB_ICONERROR,
         capture("MessageBoxError"));
}
