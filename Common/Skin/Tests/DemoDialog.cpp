#include "Common/Skin/Tests/DemoDialog.h"

#include "Common/Skin/Tests/ControlsTestIds.h"
#include "Platform/Controls/StandardControls.h"

using namespace ZELL::Skin;

namespace ControlsTest {

namespace {

const int kFrames[] = {kDiscIcon, kDiamondIcon, kBarIcon, 0};

// A dialog's face: what a transparent label shows beneath it.
LPCWSTR DemoClass()
{
    static const LPCWSTR name = [] {
        WNDCLASSEXW wc;
        wc.lpfnWndProc = &::DefWindowProcW;
        wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_3DFACE + 1));
        wc.lpszClassName = L"ZellControlsDemo";
        ::RegisterClassExW(&wc);
        return wc.lpszClassName;
    }();
    return name;
}

template<typename Control> void Take(Control& control, HWND hwnd)
{
    control.SubclassWindow(hwnd);
}

}

HWND CDemoDialog::Child(LPCWSTR className, LPCWSTR text, DWORD style, int x, int y, int width, int height, int id)
{
    HWND hwnd = ::CreateWindowExW(0, className, text, WS_CHILD | WS_VISIBLE | style, x, y, width, height, m_hWnd,
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
    ::SendMessageW(hwnd, WM_SETFONT, ::SendMessageW(m_hWnd, WM_GETFONT, 0, 0), FALSE);
    return hwnd;
}

BOOL CDemoDialog::Create(int x, int y)
{
    ZELL::Controls::RegisterStandardControls();
    // Shown once its controls are set up, as a dialog is.
    if (!CreateEx(0, DemoClass(), L"Skinned controls", WS_POPUP, x, y, kWidth, kHeight, nullptr, nullptr))
        return FALSE;
    MakeButtons();
    MakeStatics();
    MakeIndicators();
    ShowWindow(SW_SHOW);
    return TRUE;
}

void CDemoDialog::MakeButtons()
{
    Take(plain, Child(L"Button", L"Plain", BS_PUSHBUTTON, 10, 10, 90, 26, 101));
    plain.SetFlat(FALSE);
    Take(defaultButton, Child(L"Button", L"Default", BS_DEFPUSHBUTTON, 110, 10, 90, 26, 102));
    defaultButton.SetFlat(FALSE);
    Take(disabled, Child(L"Button", L"Disabled", WS_DISABLED, 210, 10, 90, 26, 103));
    disabled.SetFlat(FALSE);
    Take(flat, Child(L"Button", L"Flat", 0, 310, 10, 90, 26, 104));
    Take(checkOff, Child(L"Button", L"Check off", BS_AUTOCHECKBOX, 10, 46, 90, 26, 105));
    Take(checkOn, Child(L"Button", L"Check on", BS_AUTOCHECKBOX, 110, 46, 90, 26, 106));
    checkOn.SetCheck(TRUE);
    Take(radioOn, Child(L"Button", L"Radio on", BS_AUTORADIOBUTTON | WS_GROUP, 210, 46, 90, 26, 107));
    Take(radioOff, Child(L"Button", L"Radio off", BS_AUTORADIOBUTTON, 310, 46, 90, 26, 108));
    radioOn.SetCheck(TRUE);
    Take(iconLeft, Child(L"Button", L"Icon left", 0, 10, 82, 90, 30, 109));
    iconLeft.SetFlat(FALSE);
    iconLeft.SetIcon(kDiscIcon, CSkinButton::kGrayCopy);
    Take(iconAbove, Child(L"Button", L"Above", 0, 110, 82, 90, 44, 110));
    iconAbove.SetFlat(FALSE);
    iconAbove.SetIcon(kDiamondIcon);
    iconAbove.SetIconAlign(CSkinButton::kIconAbove);
    Take(bitmapButton, Child(L"Button", L"", 0, 210, 82, 40, 30, 111));
    bitmapButton.SetFlat(FALSE);
    bitmapButton.SetBitmaps(kDiscBitmap, RGB(0, 0, 0));
    Take(colours, Child(L"Button", L"Colours", 0, 260, 82, 90, 30, 112));
    colours.SetFlat(FALSE);
    colours.SetColor(CSkinButton::kBackOut, RGB(40, 70, 120));
    colours.SetColor(CSkinButton::kForeOut, RGB(255, 255, 255));
    Take(program, Child(L"Button", L"Program", 0, 10, 136, 110, 30, 113));
    program.Setup(kBarIcon, 0, 16, 0, FALSE, CSkinButton::kIconLeft);
    Take(animated, Child(L"Button", L"", 0, 130, 136, 40, 40, 114));
    animated.SetAnimation(kFrames);
}

void CDemoDialog::MakeStatics()
{
    Take(label, Child(L"Static", L"A plain label", 0, 190, 136, 120, 18, 201));
    Take(boldLabel, Child(L"Static", L"Bold and italic", 0, 320, 136, 130, 18, 202));
    boldLabel.SetFontBold(TRUE).SetFontItalic(TRUE).SetTextColor(RGB(120, 0, 0));
    Take(solid, Child(L"Static", L"On a solid ground", SS_CENTER | SS_CENTERIMAGE, 190, 158, 130, 22, 203));
    solid.SetBackground(RGB(250, 230, 150));
    Take(gradient, Child(L"Static", L"Gradient ground", SS_CENTERIMAGE, 10, 186, 200, 22, 204));
    gradient.SetBackground(RGB(30, 90, 160), RGB(200, 230, 250), TRUE).SetTextColor(RGB(255, 255, 255));
    Take(link, Child(L"Static", L"www.example.com", 0, 220, 186, 130, 18, 205));
    link.SetLink(TRUE, FALSE).SetFontUnderline(TRUE).SetTextColor(RGB(0, 0, 200));
    Take(shadowed, Child(L"Static", L"With a shadow", 0, 330, 158, 120, 20, 206));
    shadowed.SetTextShadow(TRUE, TRUE).SetShadowColor(RGB(160, 160, 160));
    Take(disabledLabel, Child(L"Static", L"Disabled label", 0, 360, 186, 100, 18, 207));
    disabledLabel.Enable(FALSE);
    Take(caption, Child(L"Static", L"Gradient caption", 0, 10, 216, 440, 24, 208));
    caption.SetColors(RGB(0, 80, 50), RGB(160, 220, 110));
    Take(icon, Child(L"Static", L"", 0, 10, 250, 16, 16, 209));
    icon.SetIcon(kDiscIcon, 16, 16);
}

void CDemoDialog::MakeIndicators()
{
    Take(busy, Child(L"Static", L"", 0, 40, 250, 190, 14, 301));
    Take(fill, Child(L"Static", L"", 0, 240, 250, 210, 14, 302));
    fill.SetBusyStyle(CBusyProgressCtrl::kGrowingFill);
    fill.SetPosition(13);
    Take(progress, Child(L"Static", L"", 0, 40, 276, 410, 14, 303));
    progress.SetMode(CBusyProgressCtrl::kProgress);
    progress.SetRange(20, 120);
    progress.SetPosition(85);
}

}
