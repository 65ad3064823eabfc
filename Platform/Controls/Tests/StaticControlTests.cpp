#include "ControlTestSupport.h"

using namespace ControlTest;

namespace {

SIZE SizeOf(HWND hwnd)
{
    RECT r{};
    GetWindowRect(hwnd, &r);
    return {r.right - r.left, r.bottom - r.top};
}

}

TEST(StaticControl, NotifyStyleReportsClicksAndDoubleClicks)
{
    Scene s;
    HWND notify = s.Add(L"Static", L"Click me", SS_NOTIFY, 10, 10, 100, 16, 1);
    HWND quiet = s.Add(L"Static", L"Not me", SS_LEFT, 10, 40, 100, 16, 2);
    s.Click(notify, {5, 5});
    s.DoubleClick(notify, {5, 5});
    s.Click(quiet, {5, 5});
    EXPECT_EQ(s.Codes(WM_COMMAND), (std::vector<WORD>{STN_CLICKED, STN_CLICKED, STN_DBLCLK}));
    for (const Note& n : s.Notes(WM_COMMAND))
        EXPECT_EQ(n.id, 1);
    EXPECT_EQ(SendMessageW(quiet, WM_NCHITTEST, 0, MAKELPARAM(315, 245)), HTTRANSPARENT)
        << "a static without SS_NOTIFY lets the mouse through";
    EXPECT_EQ(SendMessageW(quiet, WM_GETDLGCODE, 0, 0), DLGC_STATIC);
    s.Clear();
    EnableWindow(notify, FALSE);
    EnableWindow(notify, TRUE);
    EXPECT_EQ(s.Codes(WM_COMMAND), (std::vector<WORD>{STN_DISABLE, STN_ENABLE}));
}

TEST(StaticControl, ImagesMatchTheStyleAndSizeTheControl)
{
    Scene s;
    HWND picture = s.Add(L"Static", L"", SS_BITMAP, 10, 10, 100, 100, 1);
    HWND centred = s.Add(L"Static", L"", SS_BITMAP | SS_CENTERIMAGE, 120, 10, 60, 60, 2);
    HWND text = s.Add(L"Static", L"text", SS_LEFT, 10, 150, 60, 16, 3);
    HBITMAP green = SolidBitmap(20, 12, RGB(0, 160, 0));
    HBITMAP blue = SolidBitmap(8, 8, RGB(0, 0, 200));
    EXPECT_EQ(SendMessageW(picture, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(green)), 0);
    EXPECT_EQ(SizeOf(picture).cx, 20) << "the control takes the picture's size";
    EXPECT_EQ(SizeOf(picture).cy, 12);
    EXPECT_EQ(SendMessageW(picture, STM_GETIMAGE, IMAGE_BITMAP, 0), reinterpret_cast<LRESULT>(green));
    EXPECT_EQ(SendMessageW(picture, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(blue)),
              reinterpret_cast<LRESULT>(green));
    EXPECT_EQ(SendMessageW(picture, STM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(green)), 0)
        << "a bitmap static takes no icon";
    EXPECT_EQ(SendMessageW(picture, STM_GETIMAGE, IMAGE_BITMAP, 0), reinterpret_cast<LRESULT>(blue));
    EXPECT_EQ(SendMessageW(text, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(blue)), 0);

    SendMessageW(centred, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(green));
    EXPECT_EQ(SizeOf(centred).cx, 60) << "SS_CENTERIMAGE keeps the control's size";
    EXPECT_EQ(s.PixelOf(centred, {30, 30}), RGB(0, 160, 0));
    EXPECT_EQ(s.PixelOf(centred, {5, 5}), GetSysColor(COLOR_3DFACE));

    // Icons through STM_SETICON on an SS_ICON static.
    HWND icon = s.Add(L"Static", L"", SS_ICON, 200, 10, 40, 40, 4);
    ICONINFO info;
    info.hbmColor = SolidBitmap(16, 16, RGB(200, 0, 0));
    info.hbmMask = CreateBitmap(16, 16, 1, 1, nullptr);
    HICON red = CreateIconIndirect(&info);
    EXPECT_EQ(SendMessageW(icon, STM_SETICON, reinterpret_cast<WPARAM>(red), 0), 0);
    EXPECT_EQ(SendMessageW(icon, STM_GETICON, 0, 0), reinterpret_cast<LRESULT>(red));
    EXPECT_EQ(SizeOf(icon).cx, 16);
    EXPECT_EQ(s.PixelOf(icon, {8, 8}), RGB(200, 0, 0));
    DestroyWindow(icon);
    DestroyIcon(red);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    DestroyWindow(picture);
    DestroyWindow(centred);
    DeleteObject(green);
    DeleteObject(blue);
}

TEST(StaticControl, TextUsesTheParentsColoursFontAndRedrawState)
{
    Scene s;
    HWND label = s.Add(L"Static", L"Label", SS_LEFT, 10, 10, 100, 16, 1);
    HBRUSH yellow = CreateSolidBrush(RGB(255, 255, 0));
    s.m_ctlColorBrush = yellow;
    InvalidateRect(label, nullptr, TRUE);
    EXPECT_EQ(s.PixelOf(label, {95, 8}), RGB(255, 255, 0));
    ASSERT_FALSE(s.Notes(WM_CTLCOLORSTATIC).empty());
    EXPECT_EQ(s.Notes(WM_CTLCOLORSTATIC).back().id, 1);

    // While redrawing is off, changes wait; turned on, they show.
    SendMessageW(label, WM_SETREDRAW, FALSE, 0);
    s.m_ctlColorBrush = nullptr;
    SetWindowTextW(label, L"Changed");
    EXPECT_EQ(s.PixelOf(label, {95, 8}), RGB(255, 255, 0));
    SendMessageW(label, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(label, nullptr, TRUE);
    EXPECT_EQ(s.PixelOf(label, {95, 8}), GetSysColor(COLOR_3DFACE));
    DeleteObject(yellow);

    HFONT font = static_cast<HFONT>(GetStockObject(SYSTEM_FONT));
    SendMessageW(label, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    EXPECT_EQ(SendMessageW(label, WM_GETFONT, 0, 0), reinterpret_cast<LRESULT>(font));

    // WM_PRINTCLIENT draws into the context given.
    HDC memory = CreateCompatibleDC(nullptr);
    HDC screen = GetDC(nullptr);
    HBITMAP target = CreateCompatibleBitmap(screen, 100, 16);
    ReleaseDC(nullptr, screen);
    const HGDIOBJ old = SelectObject(memory, target);
    const RECT all{0, 0, 100, 16};
    HBRUSH black = CreateSolidBrush(RGB(0, 0, 0));
    FillRect(memory, &all, black);
    DeleteObject(black);
    SendMessageW(label, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory), PRF_CLIENT);
    EXPECT_EQ(GetPixel(memory, 95, 8), GetSysColor(COLOR_3DFACE));
    SelectObject(memory, old);
    DeleteObject(target);
    DeleteDC(memory);
}

TEST(StaticControl, OwnerDrawIsAskedWithItsState)
{
    Scene s;
    HWND owner = s.Add(L"Static", L"", SS_OWNERDRAW, 10, 10, 50, 20, 9);
    UpdateWindow(s.Top());
    UiTest::Drain();
    auto items = s.Notes(WM_DRAWITEM);
    ASSERT_FALSE(items.empty());
    EXPECT_EQ(items.back().item.CtlType, ODT_STATIC);
    EXPECT_EQ(items.back().item.itemAction, ODA_DRAWENTIRE);
    EXPECT_EQ(items.back().item.itemState, 0u);
    EnableWindow(owner, FALSE);
    UpdateWindow(s.Top());
    UiTest::Drain();
    EXPECT_EQ(s.Notes(WM_DRAWITEM).back().item.itemState, ODS_DISABLED);
}

TEST(StaticControl, RendersTheClassicLook)
{
    Scene s(360, 200);
    s.Add(L"Static", L"Left aligned text that wraps", SS_LEFT, 10, 10, 110, 32, 1);
    s.Add(L"Static", L"Centred", SS_CENTER, 130, 10, 100, 16, 2);
    s.Add(L"Static", L"Right", SS_RIGHT, 240, 10, 100, 16, 3);
    HWND disabled = s.Add(L"Static", L"Disabled &label", SS_LEFT, 130, 30, 100, 16, 4);
    s.Add(L"Static", L"No &prefix", SS_LEFT | SS_NOPREFIX, 240, 30, 100, 16, 5);
    s.Add(L"Static", L"A long label cut with an ellipsis", SS_LEFT | SS_ENDELLIPSIS, 10, 50, 110, 16, 6);
    s.Add(L"Static", L"/usr/share/zell/data/settings.xml", SS_LEFT | SS_PATHELLIPSIS, 130, 50, 130, 16, 7);
    s.Add(L"Static", L"Centred vertically", SS_LEFT | SS_CENTERIMAGE | SS_SUNKEN, 10, 75, 150, 30, 8);
    s.Add(L"Static", L"", SS_ETCHEDHORZ, 170, 90, 170, 2, 9);
    s.Add(L"Static", L"", SS_ETCHEDVERT, 170, 100, 2, 60, 10);
    s.Add(L"Static", L"", SS_ETCHEDFRAME, 180, 100, 40, 30, 11);
    s.Add(L"Static", L"", SS_BLACKRECT, 230, 100, 20, 20, 12);
    s.Add(L"Static", L"", SS_GRAYRECT, 255, 100, 20, 20, 13);
    s.Add(L"Static", L"", SS_WHITERECT, 280, 100, 20, 20, 14);
    s.Add(L"Static", L"", SS_BLACKFRAME, 230, 125, 20, 20, 15);
    s.Add(L"Static", L"", SS_GRAYFRAME, 255, 125, 20, 20, 16);
    s.Add(L"Static", L"", SS_WHITEFRAME, 280, 125, 20, 20, 17);
    s.Add(L"Static", L"Simple", SS_SIMPLE, 10, 115, 100, 16, 18);
    s.Add(L"Static", L"Tabs\tand no wrap at all here", SS_LEFTNOWORDWRAP, 10, 135, 150, 16, 19);
    EnableWindow(disabled, FALSE);
    ExpectGolden(s, "statics");
}
