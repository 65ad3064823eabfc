// A parent that destroys a control from inside one of its notifications, as
// dialogs do when a click or a key ends what the control was there for: the
// control must neither touch its freed state nor go on acting for a window
// that is gone. One row per notification of each control and the input that
// raises it; the body is the same for all.
#include "AddressTestSupport.h"

#include "Platform/Base/Clock.h"
#include "Platform/Controls/ComboStyles.h"
#include "Platform/Controls/CommCtrl.h"
#include "Platform/Controls/ControlStyles.h"
#include "Platform/Controls/EditStyles.h"
#include "Platform/Controls/ListControlStyles.h"
#include "Platform/Controls/StandardControls.h"
#include "Platform/Ui/Tests/DialogDriver.h"
#include "Platform/Ui/Tests/UiTestSupport.h"

#include <gtest/gtest.h>

#include <string>

namespace {

constexpr int kId = 40;

class Host;
using Step = void (*)(Host&);

struct Case {
    const char* name;
    LPCWSTR className;
    DWORD style;
    UINT message;  // the parent destroys the control when this comes from it
    UINT code;     // WM_COMMAND's notification or WM_NOTIFY's code
    Step prepare;  // fills the control before the parent listens, may be null
    Step act;      // the input or message that raises the notification
};

void PrintTo(const Case& c, std::ostream* os) { *os << c.name; }

bool Short(LPCWSTR className)
{
    return std::wstring(className) == DATETIMEPICK_CLASSW || std::wstring(className) == WC_IPADDRESSW;
}

class Host {
public:
    explicit Host(const Case& c) : m_case(c)
    {
        ZELL::Controls::RegisterStandardControls();
        m_handler.m_onMessage = [this](HWND, UINT m, WPARAM w, LPARAM l, LRESULT& result) { return Heard(m, w, l, result); };
        m_top.hwnd = UiTest::Create(&m_handler, WS_POPUP | WS_VISIBLE, 300, 200, 320, 260, nullptr, 0, 0, true);
        SetActiveWindow(m_top.hwnd);
        m_control = CreateWindowExW(0, c.className, L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | c.style, 10, 10, 240,
                                  Short(c.className) ? 22 : 220, m_top.hwnd,
                                  reinterpret_cast<HMENU>(static_cast<std::intptr_t>(kId)), nullptr, nullptr);
        UiTest::Drain();
    }

    HWND m_control = nullptr;
    bool m_armed = false;
    bool m_destroyed = false;

    HWND Top() const { return m_top.hwnd; }
    LRESULT Send(UINT message, WPARAM w = 0, LPARAM l = 0) const { return SendMessageW(m_control, message, w, l); }
    void Focus() const
    {
        SetFocus(m_control);
        UiTest::Drain();
    }
    void Blur() const
    {
        SetFocus(Top());
        UiTest::Drain();
    }

    // --- input as a user gives it ------------------------------------------------
    static void Mouse(HWND hwnd, POINT at, Display::MouseButton button = Display::MouseButton::Left, bool up = true)
    {
        ClientToScreen(hwnd, &at);
        auto& display = UiTest::Headless();
        display.InjectMouseMove(at);
        display.InjectMouseDown(button, at);
        if (up)
            display.InjectMouseUp(button, at);
        UiTest::Drain();
    }
    void Click(POINT at, HWND in = nullptr) const
    {
        Platform::Clock::Advance(GetDoubleClickTime() + 1);
        Mouse(in != nullptr ? in : m_control, at);
    }
    void DoubleClick(POINT at) const
    {
        Click(at);
        Mouse(m_control, at);
    }
    void RightClick(POINT at) const
    {
        Platform::Clock::Advance(GetDoubleClickTime() + 1);
        Mouse(m_control, at, Display::MouseButton::Right);
    }
    void Drag(POINT from, POINT to) const
    {
        Platform::Clock::Advance(GetDoubleClickTime() + 1);
        Mouse(m_control, from, Display::MouseButton::Left, false);
        ClientToScreen(m_control, &to);
        UiTest::Headless().InjectMouseMove(to);
        UiTest::Headless().InjectMouseUp(Display::MouseButton::Left, to);
        UiTest::Drain();
    }
    void Press(UINT key, unsigned modifiers = UiTest::kNoModifier) const
    {
        UiTest::CDialogDriver driver(Top());
        driver.Press(key, modifiers);
        driver.PumpUntilIdle();
    }
    void Type(const std::wstring& text) const
    {
        UiTest::CDialogDriver driver(Top());
        driver.Type(text);
        driver.PumpUntilIdle();
    }
    // Timers and posted messages that the input left behind.
    void Settle() const
    {
        for (int i = 0; i < 60; ++i) {
            Platform::Clock::Advance(50);
            UiTest::Drain();
        }
    }

private:
    bool Heard(UINT m, WPARAM w, LPARAM l, LRESULT& result)
    {
        if (m == WM_ENTERIDLE)
            return AnswerBox(reinterpret_cast<HWND>(l));
        if (!m_armed || m_destroyed || !FromControl(m, w, l))
            return false;
        m_destroyed = true;
        DestroyWindow(m_control);
        result = m == WM_VKEYTOITEM || m == WM_CHARTOITEM ? -1 : 0;
        return true;
    }
    bool FromControl(UINT m, WPARAM w, LPARAM l) const
    {
        if (m != m_case.message)
            return false;
        if (m == WM_COMMAND)
            return reinterpret_cast<HWND>(l) == m_control && HIWORD(w) == m_case.code;
        if (m == WM_NOTIFY)
            return reinterpret_cast<const NMHDR*>(l)->code == m_case.code;
        return reinterpret_cast<HWND>(l) == m_control;
    }
    // A box the control raised: the parent may take its chance to destroy the
    // control while the box is up; Enter ends the box either way.
    bool AnswerBox(HWND box)
    {
        if (m_inBox)
            return false;
        m_inBox = true;
        if (m_armed && !m_destroyed && m_case.message == WM_ENTERIDLE) {
            m_destroyed = true;
            DestroyWindow(m_control);
        }
        if (IsWindow(box)) {
            UiTest::CDialogDriver driver(box);
            driver.Press(VK_RETURN);
            driver.PumpUntilIdle();
        }
        m_inBox = false;
        return false;
    }

    const Case& m_case;
    Platform::ManualClockScope m_clock{10000000};
    bool m_inBox = false;
    UiTest::Handler m_handler;
    UiTest::WindowGuard m_top;
};

// --- what the rows fill their controls with ---------------------------------------

void Focus(Host& h) { h.Focus(); }
void Blur(Host& h) { h.Blur(); }

void Strings(Host& h, UINT add)
{
    for (LPCWSTR s : {L"alpha", L"beta", L"gamma"})
        h.Send(add, 0, reinterpret_cast<LPARAM>(s));
}
void ListStrings(Host& h) { Strings(h, LB_ADDSTRING); }
void ComboStrings(Host& h) { Strings(h, CB_ADDSTRING); }
void OwnerDrawnItems(Host& h)
{
    for (LPARAM data = 1; data <= 3; ++data)
        h.Send(LB_ADDSTRING, 0, data);
}

void ListViewItems(Host& h)
{
    for (int i = 0; i < 2; ++i) {
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH;
        column.cx = 100;
        column.pszText = const_cast<LPWSTR>(L"Column");
        h.Send(LVM_INSERTCOLUMNW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&column));
    }
    for (int i = 0; i < 3; ++i) {
        LVITEMW item{};
        item.mask = LVIF_TEXT;
        item.iItem = i;
        item.pszText = const_cast<LPWSTR>(L"item");
        h.Send(LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
    }
}
void FocusedListView(Host& h)
{
    ListViewItems(h);
    h.Focus();
}
POINT ListViewRow(Host& h, int index)
{
    RECT r{};
    r.left = LVIR_LABEL;
    h.Send(LVM_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&r));
    return POINT{r.left + 10, (r.top + r.bottom) / 2};
}

void HeaderItems(Host& h)
{
    for (int i = 0; i < 2; ++i) {
        HDITEMW item{};
        item.mask = HDI_TEXT | HDI_WIDTH | HDI_FORMAT;
        item.cxy = 100;
        item.fmt = HDF_LEFT | HDF_STRING;
        item.pszText = const_cast<LPWSTR>(L"Name");
        h.Send(HDM_INSERTITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
    }
}
void HeaderWidth(Host& h)
{
    HDITEMW item{};
    item.mask = HDI_WIDTH;
    item.cxy = 60;
    h.Send(HDM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item));
}

void TabItems(Host& h)
{
    for (int i = 0; i < 3; ++i) {
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = const_cast<LPWSTR>(L"Page");
        h.Send(TCM_INSERTITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
    }
}
void ClickSecondTab(Host& h)
{
    RECT r{};
    h.Send(TCM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&r));
    h.Click(POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2});
}

void Range(Host& h)
{
    h.Send(UDM_SETRANGE32, 0, 100);
    h.Send(UDM_SETPOS32, 0, 50);
}

void OpenPicker(Host& h) { h.Click(POINT{230, 11}); }
void PickADay(Host& h)
{
    OpenPicker(h);
    if (HWND calendar = reinterpret_cast<HWND>(h.Send(DTM_GETMONTHCAL)))
        h.Click(AddressTest::CellCentre(calendar, 19), calendar);
}

void LongLines(Host& h)
{
    std::wstring text;
    for (int i = 0; i < 40; ++i)
        text += L"a line long enough to run past the right edge of the edit control\r\n";
    SetWindowTextW(h.m_control, text.c_str());
}

const Case kCases[] = {
    // clang-format off
    {"ButtonClick", L"Button", BS_PUSHBUTTON | BS_NOTIFY, WM_COMMAND, BN_CLICKED, nullptr, [](Host& h) { h.Click({20, 20}); }},
    {"ButtonSpace", L"Button", BS_PUSHBUTTON, WM_COMMAND, BN_CLICKED, Focus, [](Host& h) { h.Press(VK_SPACE); }},
    {"CheckBoxClick", L"Button", BS_AUTOCHECKBOX, WM_COMMAND, BN_CLICKED, nullptr, [](Host& h) { h.Click({20, 110}); }},
    {"RadioClick", L"Button", BS_AUTORADIOBUTTON, WM_COMMAND, BN_CLICKED, nullptr, [](Host& h) { h.Click({20, 110}); }},
    {"ButtonDoubleClick", L"Button", BS_PUSHBUTTON | BS_NOTIFY, WM_COMMAND, BN_DOUBLECLICKED, nullptr, [](Host& h) { h.DoubleClick({20, 20}); }},
    {"ButtonSetFocus", L"Button", BS_NOTIFY, WM_COMMAND, BN_SETFOCUS, nullptr, Focus},
    {"ButtonKillFocus", L"Button", BS_NOTIFY, WM_COMMAND, BN_KILLFOCUS, Focus, Blur},
    {"StaticClick", L"Static", SS_NOTIFY, WM_COMMAND, STN_CLICKED, nullptr, [](Host& h) { h.Click({20, 20}); }},
    {"StaticDoubleClick", L"Static", SS_NOTIFY, WM_COMMAND, STN_DBLCLK, nullptr, [](Host& h) { h.DoubleClick({20, 20}); }},
    {"StaticDisable", L"Static", SS_NOTIFY, WM_COMMAND, STN_DISABLE, nullptr, [](Host& h) { EnableWindow(h.m_control, FALSE); }},
    {"EditUpdate", L"Edit", 0, WM_COMMAND, EN_UPDATE, Focus, [](Host& h) { h.Type(L"a"); }},
    {"EditChange", L"Edit", 0, WM_COMMAND, EN_CHANGE, Focus, [](Host& h) { h.Type(L"a"); }},
    {"EditUpdateByDelete", L"Edit", 0, WM_COMMAND, EN_UPDATE, [](Host& h) { SetWindowTextW(h.m_control, L"abc"); h.Focus(); }, [](Host& h) { h.Press(VK_DELETE); }},
    {"EditMaxText", L"Edit", 0, WM_COMMAND, EN_MAXTEXT, [](Host& h) { h.Send(EM_LIMITTEXT, 1); h.Focus(); }, [](Host& h) { h.Type(L"ab"); }},
    {"EditSetFocus", L"Edit", 0, WM_COMMAND, EN_SETFOCUS, nullptr, Focus},
    {"EditKillFocus", L"Edit", 0, WM_COMMAND, EN_KILLFOCUS, Focus, Blur},
    {"EditVScroll", L"Edit", ES_MULTILINE | WS_VSCROLL, WM_COMMAND, EN_VSCROLL, LongLines, [](Host& h) { h.Send(WM_VSCROLL, SB_PAGEDOWN); }},
    {"EditHScroll", L"Edit", ES_MULTILINE | ES_AUTOHSCROLL | WS_HSCROLL, WM_COMMAND, EN_HSCROLL, LongLines, [](Host& h) { h.Send(WM_HSCROLL, SB_PAGEDOWN); }},
    {"ListBoxSelChangeByClick", L"ListBox", LBS_NOTIFY, WM_COMMAND, LBN_SELCHANGE, ListStrings, [](Host& h) { h.Click({20, 24}); }},
    {"ListBoxSelChangeByKey", L"ListBox", LBS_NOTIFY, WM_COMMAND, LBN_SELCHANGE, [](Host& h) { ListStrings(h); h.Focus(); }, [](Host& h) { h.Press(VK_DOWN); }},
    {"ListBoxMultipleBySpace", L"ListBox", LBS_NOTIFY | LBS_MULTIPLESEL, WM_COMMAND, LBN_SELCHANGE, [](Host& h) { ListStrings(h); h.Focus(); }, [](Host& h) { h.Press(VK_SPACE); }},
    {"ListBoxMultipleByClick", L"ListBox", LBS_NOTIFY | LBS_MULTIPLESEL, WM_COMMAND, LBN_SELCHANGE, ListStrings, [](Host& h) { h.Click({20, 24}); }},
    {"ListBoxMultipleDoubleClick", L"ListBox", LBS_NOTIFY | LBS_MULTIPLESEL, WM_COMMAND, LBN_DBLCLK, ListStrings, [](Host& h) { h.DoubleClick({20, 24}); }},
    {"ListBoxExtendedDoubleClick", L"ListBox", LBS_NOTIFY | LBS_EXTENDEDSEL, WM_COMMAND, LBN_DBLCLK, ListStrings, [](Host& h) { h.DoubleClick({20, 24}); }},
    {"ListBoxDoubleClick", L"ListBox", LBS_NOTIFY, WM_COMMAND, LBN_DBLCLK, ListStrings, [](Host& h) { h.DoubleClick({20, 24}); }},
    {"ListBoxSetFocus", L"ListBox", LBS_NOTIFY, WM_COMMAND, LBN_SETFOCUS, ListStrings, Focus},
    {"ListBoxKillFocus", L"ListBox", LBS_NOTIFY, WM_COMMAND, LBN_KILLFOCUS, [](Host& h) { ListStrings(h); h.Focus(); }, Blur},
    {"ListBoxVKeyToItem", L"ListBox", LBS_WANTKEYBOARDINPUT, WM_VKEYTOITEM, 0, [](Host& h) { ListStrings(h); h.Focus(); }, [](Host& h) { h.Press(VK_DOWN); }},
    {"ListBoxCharToItem", L"ListBox", LBS_WANTKEYBOARDINPUT | LBS_OWNERDRAWFIXED, WM_CHARTOITEM, 0, [](Host& h) { OwnerDrawnItems(h); h.Focus(); }, [](Host& h) { h.Type(L"b"); }},
    {"ComboDropDown", L"ComboBox", CBS_DROPDOWNLIST, WM_COMMAND, CBN_DROPDOWN, ComboStrings, [](Host& h) { h.Click({100, 10}); }},
    {"ComboCloseUp", L"ComboBox", CBS_DROPDOWNLIST, WM_COMMAND, CBN_CLOSEUP, ComboStrings, [](Host& h) { h.Click({100, 10}); h.Press(VK_ESCAPE); }},
    {"ComboSelEndCancel", L"ComboBox", CBS_DROPDOWNLIST, WM_COMMAND, CBN_SELENDCANCEL, ComboStrings, [](Host& h) { h.Click({100, 10}); h.Press(VK_ESCAPE); }},
    {"ComboSelEndOk", L"ComboBox", CBS_DROPDOWNLIST, WM_COMMAND, CBN_SELENDOK, ComboStrings, [](Host& h) { h.Click({100, 10}); h.Press(VK_DOWN); h.Press(VK_RETURN); }},
    {"ComboSelChangeInList", L"ComboBox", CBS_DROPDOWNLIST, WM_COMMAND, CBN_SELCHANGE, ComboStrings, [](Host& h) { h.Click({100, 10}); h.Press(VK_DOWN); }},
    {"ComboSelChangeClosed", L"ComboBox", CBS_DROPDOWNLIST, WM_COMMAND, CBN_SELCHANGE, [](Host& h) { ComboStrings(h); h.Focus(); }, [](Host& h) { h.Press(VK_DOWN); }},
    {"ComboSetFocus", L"ComboBox", CBS_DROPDOWNLIST, WM_COMMAND, CBN_SETFOCUS, ComboStrings, Focus},
    {"ComboKillFocus", L"ComboBox", CBS_DROPDOWNLIST, WM_COMMAND, CBN_KILLFOCUS, [](Host& h) { ComboStrings(h); h.Focus(); }, Blur},
    {"ComboEditUpdate", L"ComboBox", CBS_DROPDOWN, WM_COMMAND, CBN_EDITUPDATE, [](Host& h) { ComboStrings(h); h.Focus(); }, [](Host& h) { h.Type(L"a"); }},
    {"ComboEditChange", L"ComboBox", CBS_DROPDOWN, WM_COMMAND, CBN_EDITCHANGE, [](Host& h) { ComboStrings(h); h.Focus(); }, [](Host& h) { h.Type(L"a"); }},
    {"ComboSimpleDoubleClick", L"ComboBox", CBS_SIMPLE, WM_COMMAND, CBN_DBLCLK, ComboStrings, [](Host& h) { h.DoubleClick({20, 34}); }},
    {"ScrollBarClick", L"ScrollBar", SBS_VERT, WM_VSCROLL, 0, nullptr, [](Host& h) { h.Click({10, 210}); }},
    {"ScrollBarKey", L"ScrollBar", SBS_VERT, WM_VSCROLL, 0, Focus, [](Host& h) { h.Press(VK_DOWN); }},
    {"ListViewItemChangingByClick", WC_LISTVIEWW, LVS_REPORT, WM_NOTIFY, LVN_ITEMCHANGING, ListViewItems, [](Host& h) { h.Click(ListViewRow(h, 1)); }},
    {"ListViewItemChangedByClick", WC_LISTVIEWW, LVS_REPORT, WM_NOTIFY, LVN_ITEMCHANGED, ListViewItems, [](Host& h) { h.Click(ListViewRow(h, 1)); }},
    {"ListViewItemChangedByKey", WC_LISTVIEWW, LVS_REPORT, WM_NOTIFY, LVN_ITEMCHANGED, FocusedListView, [](Host& h) { h.Press(VK_DOWN); }},
    {"ListViewKeyDown", WC_LISTVIEWW, LVS_REPORT, WM_NOTIFY, LVN_KEYDOWN, FocusedListView, [](Host& h) { h.Press(VK_DOWN); }},
    {"ListViewReturn", WC_LISTVIEWW, LVS_REPORT, WM_NOTIFY, NM_RETURN, FocusedListView, [](Host& h) { h.Send(WM_KEYDOWN, VK_RETURN); }},
    {"ListViewClick", WC_LISTVIEWW, LVS_REPORT, WM_NOTIFY, NM_CLICK, ListViewItems, [](Host& h) { h.Click(ListViewRow(h, 1)); }},
    {"ListViewDoubleClick", WC_LISTVIEWW, LVS_REPORT, WM_NOTIFY, NM_DBLCLK, ListViewItems, [](Host& h) { h.DoubleClick(ListViewRow(h, 1)); }},
    {"ListViewRightClick", WC_LISTVIEWW, LVS_REPORT, WM_NOTIFY, NM_RCLICK, ListViewItems, [](Host& h) { h.RightClick(ListViewRow(h, 1)); }},
    {"ListViewSetFocus", WC_LISTVIEWW, LVS_REPORT, WM_NOTIFY, NM_SETFOCUS, ListViewItems, Focus},
    {"ListViewKillFocus", WC_LISTVIEWW, LVS_REPORT, WM_NOTIFY, NM_KILLFOCUS, FocusedListView, Blur},
    {"ListViewColumnClick", WC_LISTVIEWW, LVS_REPORT, WM_NOTIFY, LVN_COLUMNCLICK, ListViewItems, [](Host& h) { h.Click({50, 8}); }},
    {"ListViewInsertItem", WC_LISTVIEWW, LVS_REPORT, WM_NOTIFY, LVN_INSERTITEM, ListViewItems, [](Host& h) { ListViewItems(h); }},
    {"ListViewDeleteItem", WC_LISTVIEWW, LVS_REPORT, WM_NOTIFY, LVN_DELETEITEM, ListViewItems, [](Host& h) { h.Send(LVM_DELETEITEM, 1); }},
    {"ListViewDeleteAllItems", WC_LISTVIEWW, LVS_REPORT, WM_NOTIFY, LVN_DELETEALLITEMS, ListViewItems, [](Host& h) { h.Send(LVM_DELETEALLITEMS); }},
    {"ListViewDeleteEachItem", WC_LISTVIEWW, LVS_REPORT, WM_NOTIFY, LVN_DELETEITEM, ListViewItems, [](Host& h) { h.Send(LVM_DELETEALLITEMS); }},
    {"ListViewCustomDraw", WC_LISTVIEWW, LVS_REPORT, WM_NOTIFY, NM_CUSTOMDRAW, ListViewItems, [](Host& h) { RedrawWindow(h.m_control, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW); }},
    {"ListViewDispInfo", WC_LISTVIEWW, LVS_REPORT, WM_NOTIFY, LVN_GETDISPINFOW, ListViewItems, [](Host& h) {
        LVITEMW item{};
        item.mask = LVIF_TEXT;
        item.pszText = LPSTR_TEXTCALLBACKW;
        h.Send(LVM_SETITEMTEXTW, 0, reinterpret_cast<LPARAM>(&item));
        RedrawWindow(h.m_control, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW); }},
    {"HeaderItemClick", WC_HEADERW, HDS_BUTTONS, WM_NOTIFY, HDN_ITEMCLICKW, HeaderItems, [](Host& h) { h.Click({50, 10}); }},
    {"HeaderItemDoubleClick", WC_HEADERW, HDS_BUTTONS, WM_NOTIFY, HDN_ITEMDBLCLICKW, HeaderItems, [](Host& h) { h.DoubleClick({50, 10}); }},
    {"HeaderDividerDoubleClick", WC_HEADERW, HDS_BUTTONS, WM_NOTIFY, HDN_DIVIDERDBLCLICKW, HeaderItems, [](Host& h) { h.DoubleClick({100, 10}); }},
    {"HeaderBeginTrack", WC_HEADERW, HDS_BUTTONS, WM_NOTIFY, HDN_BEGINTRACKW, HeaderItems, [](Host& h) { h.Drag({100, 10}, {140, 10}); }},
    {"HeaderTrack", WC_HEADERW, HDS_BUTTONS, WM_NOTIFY, HDN_TRACKW, HeaderItems, [](Host& h) { h.Drag({100, 10}, {140, 10}); }},
    {"HeaderEndTrack", WC_HEADERW, HDS_BUTTONS, WM_NOTIFY, HDN_ENDTRACKW, HeaderItems, [](Host& h) { h.Drag({100, 10}, {140, 10}); }},
    {"HeaderItemChanging", WC_HEADERW, HDS_BUTTONS, WM_NOTIFY, HDN_ITEMCHANGINGW, HeaderItems, HeaderWidth},
    {"HeaderItemChanged", WC_HEADERW, HDS_BUTTONS, WM_NOTIFY, HDN_ITEMCHANGEDW, HeaderItems, HeaderWidth},
    {"TabSelChanging", WC_TABCONTROLW, 0, WM_NOTIFY, TCN_SELCHANGING, TabItems, ClickSecondTab},
    {"TabSelChange", WC_TABCONTROLW, 0, WM_NOTIFY, TCN_SELCHANGE, TabItems, ClickSecondTab},
    {"TabClick", WC_TABCONTROLW, 0, WM_NOTIFY, NM_CLICK, TabItems, ClickSecondTab},
    {"TabKeyDown", WC_TABCONTROLW, 0, WM_NOTIFY, TCN_KEYDOWN, [](Host& h) { TabItems(h); h.Focus(); }, [](Host& h) { h.Press(VK_RIGHT); }},
    {"TabSelChangingByKey", WC_TABCONTROLW, 0, WM_NOTIFY, TCN_SELCHANGING, [](Host& h) { TabItems(h); h.Focus(); }, [](Host& h) { h.Press(VK_RIGHT); }},
    {"UpDownDeltaPos", UPDOWN_CLASSW, 0, WM_NOTIFY, UDN_DELTAPOS, Range, [](Host& h) { h.Click({10, 10}); }},
    {"UpDownVScroll", UPDOWN_CLASSW, 0, WM_VSCROLL, 0, Range, [](Host& h) { h.Click({10, 10}); }},
    {"UpDownHScroll", UPDOWN_CLASSW, UDS_HORZ, WM_HSCROLL, 0, Range, [](Host& h) { h.Click({230, 100}); }},
    {"UpDownDeltaPosByKey", UPDOWN_CLASSW, UDS_ARROWKEYS, WM_NOTIFY, UDN_DELTAPOS, [](Host& h) { Range(h); h.Focus(); }, [](Host& h) { h.Press(VK_UP); }},
    {"MonthCalSelChangeByClick", MONTHCAL_CLASSW, 0, WM_NOTIFY, MCN_SELCHANGE, nullptr, [](Host& h) { h.Click(AddressTest::CellCentre(h.m_control, 19)); }},
    {"MonthCalSelectByClick", MONTHCAL_CLASSW, 0, WM_NOTIFY, MCN_SELECT, nullptr, [](Host& h) { h.Click(AddressTest::CellCentre(h.m_control, 19)); }},
    {"MonthCalSelChangeByKey", MONTHCAL_CLASSW, 0, WM_NOTIFY, MCN_SELCHANGE, Focus, [](Host& h) { h.Press(VK_RIGHT); }},
    {"MonthCalSelectByKey", MONTHCAL_CLASSW, 0, WM_NOTIFY, MCN_SELECT, Focus, [](Host& h) { h.Send(WM_KEYDOWN, VK_RETURN); }},
    {"PickerChangeByKey", DATETIMEPICK_CLASSW, 0, WM_NOTIFY, DTN_DATETIMECHANGE, Focus, [](Host& h) { h.Press(VK_UP); }},
    {"PickerDropDown", DATETIMEPICK_CLASSW, 0, WM_NOTIFY, DTN_DROPDOWN, nullptr, OpenPicker},
    {"PickerCloseUp", DATETIMEPICK_CLASSW, 0, WM_NOTIFY, DTN_CLOSEUP, nullptr, [](Host& h) { OpenPicker(h); h.Press(VK_ESCAPE); }},
    {"PickerPickInCalendar", DATETIMEPICK_CLASSW, 0, WM_NOTIFY, DTN_DATETIMECHANGE, nullptr, PickADay},
    {"PickerCloseUpByPick", DATETIMEPICK_CLASSW, 0, WM_NOTIFY, DTN_CLOSEUP, nullptr, PickADay},
    {"PickerFormat", DATETIMEPICK_CLASSW, 0, WM_NOTIFY, DTN_FORMATW, nullptr, [](Host& h) { h.Send(DTM_SETFORMATW, 0, reinterpret_cast<LPARAM>(L"X yyyy")); }},
    {"PickerFormatQuery", DATETIMEPICK_CLASSW, 0, WM_NOTIFY, DTN_FORMATQUERYW, nullptr, [](Host& h) { h.Send(DTM_SETFORMATW, 0, reinterpret_cast<LPARAM>(L"X yyyy")); }},
    {"PickerKeyInCallbackField", DATETIMEPICK_CLASSW, 0, WM_NOTIFY, DTN_WMKEYDOWNW, [](Host& h) { h.Send(DTM_SETFORMATW, 0, reinterpret_cast<LPARAM>(L"X")); h.Focus(); }, [](Host& h) { h.Press(VK_UP); }},
    {"PickerUserString", DATETIMEPICK_CLASSW, DTS_APPCANPARSE, WM_NOTIFY, DTN_USERSTRINGW, Focus, [](Host& h) { h.Press(VK_F2); h.Type(L"1"); h.Press(VK_RETURN); }},
    {"AddressChange", WC_IPADDRESSW, 0, WM_COMMAND, EN_CHANGE, Focus, [](Host& h) { h.Type(L"1"); }},
    {"AddressSetFocus", WC_IPADDRESSW, 0, WM_COMMAND, EN_SETFOCUS, nullptr, Focus},
    {"AddressKillFocus", WC_IPADDRESSW, 0, WM_COMMAND, EN_KILLFOCUS, Focus, Blur},
    {"AddressFieldChanged", WC_IPADDRESSW, 0, WM_NOTIFY, IPN_FIELDCHANGED, Focus, [](Host& h) { h.Type(L"1."); }},
    {"AddressRangeNotice", WC_IPADDRESSW, 0, WM_ENTERIDLE, 0, Focus, [](Host& h) { h.Type(L"300"); }},
    // clang-format on
};

class DestroyedByItsParent : public ::testing::TestWithParam<Case> {};

TEST_P(DestroyedByItsParent, InsideTheNotificationAndTheControlLetsGo)
{
    const Case& c = GetParam();
    Host host(c);
    ASSERT_NE(host.m_control, nullptr);
    if (c.prepare != nullptr)
        c.prepare(host);
    host.m_armed = true;
    c.act(host);
    host.Settle();
    EXPECT_TRUE(host.m_destroyed) << "the parent was not told";
    EXPECT_FALSE(IsWindow(host.m_control));
    // The parent and its input go on as before.
    host.Click(POINT{300, 240}, host.Top());
    host.Press(VK_TAB);
    EXPECT_TRUE(IsWindow(host.Top()));
}

INSTANTIATE_TEST_SUITE_P(EveryNotification, DestroyedByItsParent, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<Case>& info) { return std::string(info.param.name); });

}
