#include "ControlTestSupport.h"

using namespace ControlTest;

namespace {

constexpr POINT kInside{10, 8};

LRESULT Check(HWND button) { return SendMessageW(button, BM_GETCHECK, 0, 0); }

Note Command(int id, WORD code) { return {WM_COMMAND, code, id}; }

}

TEST(ButtonControl, PushButtonClicksOnlyWhenReleasedInside)
{
    Scene s;
    HWND ok = s.Add(L"Button", L"OK", BS_PUSHBUTTON, 10, 10, 75, 23, 1);
    s.Press(ok, kInside);
    EXPECT_EQ(GetFocus(), ok) << "a press takes the focus";
    EXPECT_EQ(SendMessageW(ok, BM_GETSTATE, 0, 0) & BST_PUSHED, BST_PUSHED);
    EXPECT_TRUE(s.Codes(WM_COMMAND).empty()) << "nothing before the release";
    s.Release(ok, kInside);
    EXPECT_EQ(s.Notes(WM_COMMAND), std::vector<Note>{Command(1, BN_CLICKED)});
    EXPECT_EQ(SendMessageW(ok, BM_GETSTATE, 0, 0), BST_FOCUS);

    // Dragged off, the button pops up and the release outside does nothing.
    s.Clear();
    Platform::Clock::Advance(GetDoubleClickTime() + 1);
    s.Press(ok, kInside);
    s.Move(ok, {200, 8});
    EXPECT_EQ(SendMessageW(ok, BM_GETSTATE, 0, 0) & BST_PUSHED, 0);
    s.Move(ok, kInside);
    EXPECT_EQ(SendMessageW(ok, BM_GETSTATE, 0, 0) & BST_PUSHED, BST_PUSHED) << "back inside, pushed again";
    s.Move(ok, {200, 8});
    s.Release(ok, {200, 8});
    EXPECT_TRUE(s.Codes(WM_COMMAND).empty());
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST(ButtonControl, SpaceAndBmClickClickAndADisabledButtonDoesNot)
{
    Scene s;
    HWND ok = s.Add(L"Button", L"OK", BS_PUSHBUTTON, 10, 10, 75, 23, 1);
    SetFocus(ok);
    s.Display().InjectKeyDown(VK_SPACE);
    UiTest::Drain();
    EXPECT_EQ(SendMessageW(ok, BM_GETSTATE, 0, 0) & BST_PUSHED, BST_PUSHED);
    EXPECT_TRUE(s.Codes(WM_COMMAND).empty());
    s.Display().InjectKeyUp(VK_SPACE);
    UiTest::Drain();
    EXPECT_EQ(s.Codes(WM_COMMAND), std::vector<WORD>{BN_CLICKED});

    s.Clear();
    SendMessageW(ok, BM_CLICK, 0, 0);
    EXPECT_EQ(s.Codes(WM_COMMAND), std::vector<WORD>{BN_CLICKED});
    EXPECT_EQ(GetCapture(), nullptr);

    s.Clear();
    EnableWindow(ok, FALSE);
    SendMessageW(ok, BM_CLICK, 0, 0);
    s.Click(ok, kInside);
    EXPECT_TRUE(s.Codes(WM_COMMAND).empty());
}

TEST(ButtonControl, CheckBoxesToggleAndThreeStateCycles)
{
    Scene s;
    HWND automatic = s.Add(L"Button", L"Auto", BS_AUTOCHECKBOX, 10, 10, 120, 16, 1);
    HWND manual = s.Add(L"Button", L"Manual", BS_CHECKBOX, 10, 30, 120, 16, 2);
    HWND three = s.Add(L"Button", L"Three", BS_AUTO3STATE, 10, 50, 120, 16, 3);
    s.Click(automatic, kInside);
    EXPECT_EQ(Check(automatic), BST_CHECKED);
    s.Click(automatic, kInside);
    EXPECT_EQ(Check(automatic), BST_UNCHECKED);
    // A plain check box only reports; the parent decides.
    s.Click(manual, kInside);
    EXPECT_EQ(Check(manual), BST_UNCHECKED);
    std::vector<LRESULT> cycle;
    for (int i = 0; i < 4; ++i) {
        s.Click(three, kInside);
        cycle.push_back(Check(three));
    }
    EXPECT_EQ(cycle, (std::vector<LRESULT>{BST_CHECKED, BST_INDETERMINATE, BST_UNCHECKED, BST_CHECKED}));
    EXPECT_EQ(s.Notes(WM_COMMAND).size(), 2u + 1u + 4u);
    // The check is set before the parent hears of the click.
    EXPECT_EQ(s.Notes(WM_COMMAND).back(), Command(3, BN_CLICKED));

    // The space bar clicks the focused box.
    SetFocus(automatic);
    s.Key(VK_SPACE);
    EXPECT_EQ(Check(automatic), BST_CHECKED);
    s.Key(VK_SPACE);
    EXPECT_EQ(Check(automatic), BST_UNCHECKED);
    EXPECT_EQ(s.Notes(WM_COMMAND).size(), 2u + 1u + 4u + 2u);

    // Two-state boxes take "indeterminate" as checked; nonsense is ignored.
    SendMessageW(automatic, BM_SETCHECK, BST_INDETERMINATE, 0);
    EXPECT_EQ(Check(automatic), BST_CHECKED);
    SendMessageW(automatic, BM_SETCHECK, 7, 0);
    EXPECT_EQ(Check(automatic), BST_CHECKED);
    SendMessageW(three, BM_SETCHECK, BST_INDETERMINATE, 0);
    EXPECT_EQ(Check(three), BST_INDETERMINATE);
    HWND push = s.Add(L"Button", L"Push", BS_PUSHBUTTON, 150, 10, 75, 23, 4);
    SendMessageW(push, BM_SETCHECK, BST_CHECKED, 0);
    EXPECT_EQ(Check(push), BST_UNCHECKED) << "push buttons have no check";
}

TEST(ButtonControl, AutoRadioButtonsUncheckTheirGroupOnly)
{
    Scene s;
    HWND a = s.Add(L"Button", L"A", BS_AUTORADIOBUTTON | WS_GROUP, 10, 10, 100, 16, 1);
    HWND b = s.Add(L"Button", L"B", BS_AUTORADIOBUTTON, 10, 30, 100, 16, 2);
    HWND c = s.Add(L"Button", L"C", BS_AUTORADIOBUTTON, 10, 50, 100, 16, 3);
    HWND x = s.Add(L"Button", L"X", BS_AUTORADIOBUTTON | WS_GROUP, 150, 10, 100, 16, 4);
    HWND y = s.Add(L"Button", L"Y", BS_AUTORADIOBUTTON, 150, 30, 100, 16, 5);
    s.Click(x, kInside);
    s.Click(a, kInside);
    EXPECT_EQ(Check(a), BST_CHECKED);
    s.Click(c, kInside);
    EXPECT_EQ(Check(a), BST_UNCHECKED);
    EXPECT_EQ(Check(b), BST_UNCHECKED);
    EXPECT_EQ(Check(c), BST_CHECKED);
    EXPECT_EQ(Check(x), BST_CHECKED) << "the next group keeps its choice";
    EXPECT_EQ(Check(y), BST_UNCHECKED);
    // The checked button is where Tab enters the group.
    EXPECT_NE(GetWindowLongPtrW(c, GWL_STYLE) & WS_TABSTOP, 0);
    EXPECT_EQ(GetWindowLongPtrW(a, GWL_STYLE) & WS_TABSTOP, 0);
    // The focus alone never moves the choice: only a click (or the arrow
    // keys, through the dialog manager's click) does.
    s.Clear();
    SetFocus(b);
    UiTest::Drain();
    EXPECT_EQ(Check(b), BST_UNCHECKED);
    EXPECT_EQ(Check(c), BST_CHECKED);
    EXPECT_TRUE(s.Notes(WM_COMMAND).empty());
    // A double click on a radio button reports itself.
    s.Clear();
    s.DoubleClick(y, kInside);
    EXPECT_EQ(s.Notes(WM_COMMAND), (std::vector<Note>{Command(5, BN_CLICKED), Command(5, BN_DOUBLECLICKED)}));
}

TEST(ButtonControl, NotifyStyleReportsFocusAndDoubleClicks)
{
    Scene s;
    HWND plain = s.Add(L"Button", L"Plain", BS_PUSHBUTTON, 10, 10, 75, 23, 1);
    HWND notify = s.Add(L"Button", L"Notify", BS_PUSHBUTTON | BS_NOTIFY, 100, 10, 75, 23, 2);
    s.DoubleClick(plain, kInside);
    EXPECT_EQ(s.Notes(WM_COMMAND), (std::vector<Note>{Command(1, BN_CLICKED), Command(1, BN_CLICKED)}))
        << "without BS_NOTIFY the second click is a click";
    s.Clear();
    s.DoubleClick(notify, kInside);
    EXPECT_EQ(s.Notes(WM_COMMAND),
              (std::vector<Note>{Command(2, BN_SETFOCUS), Command(2, BN_CLICKED), Command(2, BN_DOUBLECLICKED)}));
    s.Clear();
    SetFocus(plain);
    EXPECT_EQ(s.Notes(WM_COMMAND), std::vector<Note>{Command(2, BN_KILLFOCUS)});
}

TEST(ButtonControl, DialogCodesFollowTheTypeAndSetStyleMovesTheDefault)
{
    Scene s;
    const std::pair<DWORD, LRESULT> expected[] = {
        {BS_PUSHBUTTON, DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON},
        {BS_DEFPUSHBUTTON, DLGC_BUTTON | DLGC_DEFPUSHBUTTON},
        {BS_AUTOCHECKBOX, DLGC_BUTTON},
        {BS_3STATE, DLGC_BUTTON},
        {BS_RADIOBUTTON, DLGC_BUTTON | DLGC_RADIOBUTTON},
        {BS_AUTORADIOBUTTON, DLGC_BUTTON | DLGC_RADIOBUTTON},
        {BS_GROUPBOX, DLGC_STATIC},
        {BS_OWNERDRAW, DLGC_BUTTON},
    };
    int id = 1;
    for (const auto& [style, code] : expected) {
        HWND button = s.Add(L"Button", L"b", style, 10, 10, 50, 20, id++);
        EXPECT_EQ(SendMessageW(button, WM_GETDLGCODE, 0, 0), code) << "style " << style;
        DestroyWindow(button);
    }
    HWND button = s.Add(L"Button", L"b", BS_PUSHBUTTON | BS_MULTILINE | BS_NOTIFY, 10, 10, 50, 20, 20);
    SendMessageW(button, BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
    EXPECT_EQ(SendMessageW(button, WM_GETDLGCODE, 0, 0), DLGC_BUTTON | DLGC_DEFPUSHBUTTON);
    EXPECT_EQ(GetWindowLongPtrW(button, GWL_STYLE) & (BS_MULTILINE | BS_NOTIFY | WS_CHILD),
              static_cast<LONG_PTR>(BS_MULTILINE | BS_NOTIFY | WS_CHILD))
        << "only the type changes";
}

TEST(ButtonControl, OwnerDrawGetsTheRightActionsAndStates)
{
    Scene s;
    HWND owner = s.Add(L"Button", L"Owner", BS_OWNERDRAW, 10, 10, 80, 24, 7);
    UpdateWindow(s.Top());
    UiTest::Drain();
    auto items = s.Notes(WM_DRAWITEM);
    ASSERT_FALSE(items.empty());
    EXPECT_EQ(items.back().item.CtlType, ODT_BUTTON);
    EXPECT_EQ(items.back().item.CtlID, 7u);
    EXPECT_EQ(items.back().item.itemAction, ODA_DRAWENTIRE);
    EXPECT_EQ(items.back().item.itemState, 0u);
    EXPECT_EQ(items.back().item.hwndItem, owner);
    EXPECT_EQ(items.back().item.rcItem.right, 80);

    s.Clear();
    s.Press(owner, kInside);
    std::vector<std::pair<UINT, UINT>> seen;
    for (const Note& n : s.Notes(WM_DRAWITEM))
        seen.emplace_back(n.item.itemAction, n.item.itemState);
    EXPECT_EQ(seen, (std::vector<std::pair<UINT, UINT>>{{ODA_FOCUS, ODS_FOCUS}, {ODA_SELECT, ODS_SELECTED | ODS_FOCUS}}));
    s.Clear();
    s.Release(owner, kInside);
    seen.clear();
    for (const Note& n : s.Notes(WM_DRAWITEM))
        seen.emplace_back(n.item.itemAction, n.item.itemState);
    EXPECT_EQ(seen, (std::vector<std::pair<UINT, UINT>>{{ODA_SELECT, ODS_FOCUS}}));
    EXPECT_EQ(s.Codes(WM_COMMAND), std::vector<WORD>{BN_CLICKED});

    s.Clear();
    EnableWindow(owner, FALSE);
    UpdateWindow(s.Top());
    UiTest::Drain();
    items = s.Notes(WM_DRAWITEM);
    ASSERT_FALSE(items.empty());
    EXPECT_EQ(items.back().item.itemAction, ODA_DRAWENTIRE);
    EXPECT_EQ(items.back().item.itemState, ODS_DISABLED) << "disabling took the focus too";
}

TEST(ButtonControl, AsksTheParentForColoursAndTakesImagesAndFonts)
{
    Scene s;
    HWND check = s.Add(L"Button", L"Check", BS_AUTOCHECKBOX, 10, 10, 120, 16, 1);
    HWND push = s.Add(L"Button", L"Push", BS_PUSHBUTTON, 10, 40, 75, 23, 2);
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
    s.m_ctlColorBrush = red;
    InvalidateRect(s.Top(), nullptr, TRUE);
    EXPECT_EQ(s.PixelOf(check, {118, 2}), RGB(255, 0, 0)) << "a check box paints with the parent's brush";
    EXPECT_EQ(s.PixelOf(push, {37, 4}), GetSysColor(COLOR_BTNFACE)) << "a push button keeps its face";
    std::vector<std::pair<UINT, int>> asked;
    for (const Note& n : s.Notes())
        if (n.message == WM_CTLCOLORSTATIC || n.message == WM_CTLCOLORBTN)
            asked.emplace_back(n.message, n.id);
    EXPECT_NE(std::find(asked.begin(), asked.end(), std::pair<UINT, int>{WM_CTLCOLORSTATIC, 1}), asked.end());
    EXPECT_NE(std::find(asked.begin(), asked.end(), std::pair<UINT, int>{WM_CTLCOLORBTN, 2}), asked.end());
    s.m_ctlColorBrush = nullptr;
    DeleteObject(red);

    HWND picture = s.Add(L"Button", L"", BS_PUSHBUTTON | BS_BITMAP, 100, 40, 40, 30, 3);
    HBITMAP first = SolidBitmap(8, 8, RGB(0, 0, 0));
    HBITMAP second = SolidBitmap(8, 8, RGB(0, 0, 0));
    EXPECT_EQ(SendMessageW(picture, BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(first)), 0);
    EXPECT_EQ(SendMessageW(picture, BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(second)),
              reinterpret_cast<LRESULT>(first));
    EXPECT_EQ(SendMessageW(picture, BM_GETIMAGE, IMAGE_BITMAP, 0), reinterpret_cast<LRESULT>(second));
    EXPECT_EQ(SendMessageW(picture, BM_GETIMAGE, IMAGE_ICON, 0), 0);
    DestroyWindow(picture);
    DeleteObject(first);
    DeleteObject(second);

    // An icon in a BS_ICON button is centred on its face.
    HWND iconic = s.Add(L"Button", L"", BS_PUSHBUTTON | BS_ICON, 150, 40, 40, 40, 4);
    ICONINFO info;
    info.hbmColor = SolidBitmap(16, 16, RGB(200, 0, 0));
    info.hbmMask = CreateBitmap(16, 16, 1, 1, nullptr);
    HICON redIcon = CreateIconIndirect(&info);
    EXPECT_EQ(SendMessageW(iconic, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(redIcon)), 0);
    EXPECT_EQ(SendMessageW(iconic, BM_GETIMAGE, IMAGE_ICON, 0), reinterpret_cast<LRESULT>(redIcon));
    EXPECT_EQ(s.PixelOf(iconic, {20, 20}), RGB(200, 0, 0));
    EXPECT_EQ(s.PixelOf(iconic, {8, 20}), GetSysColor(COLOR_BTNFACE));
    DestroyWindow(iconic);
    DestroyIcon(redIcon);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);

    HFONT font = static_cast<HFONT>(GetStockObject(SYSTEM_FONT));
    EXPECT_EQ(SendMessageW(push, WM_GETFONT, 0, 0), 0);
    SendMessageW(push, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    EXPECT_EQ(SendMessageW(push, WM_GETFONT, 0, 0), reinterpret_cast<LRESULT>(font));
}

TEST(ButtonControl, RendersTheClassicLook)
{
    Scene s(360, 230);
    HWND focused = s.Add(L"Button", L"Focused", BS_PUSHBUTTON, 10, 10, 75, 23, 1);
    s.Add(L"Button", L"Default", BS_DEFPUSHBUTTON, 95, 10, 75, 23, 2);
    HWND pushed = s.Add(L"Button", L"Pushed", BS_PUSHBUTTON, 180, 10, 75, 23, 3);
    HWND disabled = s.Add(L"Button", L"&Disabled", BS_PUSHBUTTON, 265, 10, 75, 23, 4);
    HWND checked = s.Add(L"Button", L"Checked", BS_AUTOCHECKBOX, 10, 45, 100, 16, 5);
    s.Add(L"Button", L"Unchecked", BS_AUTOCHECKBOX, 10, 65, 100, 16, 6);
    HWND mixed = s.Add(L"Button", L"Mixed", BS_AUTO3STATE, 10, 85, 100, 16, 7);
    HWND greyed = s.Add(L"Button", L"Disabled", BS_AUTOCHECKBOX, 10, 105, 100, 16, 8);
    HWND on = s.Add(L"Button", L"Radio on", BS_AUTORADIOBUTTON | WS_GROUP, 120, 45, 100, 16, 9);
    s.Add(L"Button", L"Radio off", BS_AUTORADIOBUTTON, 120, 65, 100, 16, 10);
    HWND offGrey = s.Add(L"Button", L"Radio disabled", BS_AUTORADIOBUTTON, 120, 85, 110, 16, 11);
    HWND left = s.Add(L"Button", L"Text left", BS_AUTOCHECKBOX | BS_LEFTTEXT | WS_GROUP, 120, 105, 100, 16, 12);
    s.Add(L"Button", L"Group", BS_GROUPBOX, 240, 40, 110, 80, 13);
    HWND latched = s.Add(L"Button", L"Push-like", BS_AUTOCHECKBOX | BS_PUSHLIKE, 250, 60, 90, 23, 14);
    s.Add(L"Button", L"Two lines of text in one button", BS_PUSHBUTTON | BS_MULTILINE, 10, 130, 100, 40, 15);
    s.Add(L"Button", L"Left, top", BS_PUSHBUTTON | BS_LEFT | BS_TOP, 120, 130, 100, 40, 16);
    HBITMAP art = SolidBitmap(16, 16, RGB(0, 0, 160));
    HWND picture = s.Add(L"Button", L"", BS_PUSHBUTTON | BS_BITMAP, 230, 130, 40, 40, 17);
    SendMessageW(picture, BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(art));
    HWND pictureOff = s.Add(L"Button", L"", BS_PUSHBUTTON | BS_BITMAP | WS_DISABLED, 280, 130, 40, 40, 18);
    SendMessageW(pictureOff, BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(art));

    SendMessageW(checked, BM_SETCHECK, BST_CHECKED, 0);
    SendMessageW(mixed, BM_SETCHECK, BST_INDETERMINATE, 0);
    SendMessageW(greyed, BM_SETCHECK, BST_CHECKED, 0);
    SendMessageW(on, BM_SETCHECK, BST_CHECKED, 0);
    SendMessageW(left, BM_SETCHECK, BST_CHECKED, 0);
    SendMessageW(latched, BM_SETCHECK, BST_CHECKED, 0);
    SendMessageW(pushed, BM_SETSTATE, TRUE, 0);
    EnableWindow(disabled, FALSE);
    EnableWindow(greyed, FALSE);
    EnableWindow(offGrey, FALSE);
    SetFocus(focused);
    ExpectGolden(s, "buttons");
    // The focus frame of a check box surrounds its text.
    SetFocus(checked);
    ExpectGolden(s, "buttons-focused-check");
    DestroyWindow(picture);
    DestroyWindow(pictureOff);
    DeleteObject(art);
}
