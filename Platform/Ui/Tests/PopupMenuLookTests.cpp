// How an open owner-drawn pop-up menu looks: the owner's items with their
// states, the menu's own border, separator and sub-menu arrow.
#include "Platform/Ui/Tests/DialogDriver.h"
#include "Platform/Ui/Tests/GoldenImage.h"
#include "Platform/Ui/Tests/OwnerDrawnMenuSample.h"
#include "Platform/Ui/Tests/UiTestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <unistd.h>

using namespace UiTest;

TEST(PopupMenuLook, AnOwnerDrawnMenuWithACheckedAGreyedASelectedItemAndAnArrow)
{
    Handler handler;
    WindowGuard owner;
    owner.hwnd = Create(&handler, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, 300, 200);
    SetForegroundWindow(owner.hwnd);
    SetFocus(owner.hwnd);
    Drain();
    const std::string png =
        (std::filesystem::temp_directory_path() / ("owner-drawn-popup-" + std::to_string(getpid()) + ".png")).string();
    int idles = 0;
    bool saved = false;
    handler.onMessage = [&](HWND, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
        if (message == WM_MEASUREITEM) {
            MeasureSampleItem(*reinterpret_cast<MEASUREITEMSTRUCT*>(lParam));
        } else if (message == WM_DRAWITEM) {
            DrawSampleItem(*reinterpret_cast<DRAWITEMSTRUCT*>(lParam));
        } else if (message == WM_ENTERIDLE && wParam == MSGF_MENU) {
            ++idles;
            if (idles <= kSampleDownPresses) {
                CDialogDriver(owner.hwnd).Press(VK_DOWN);
            } else {
                saved = Headless().SaveAsPng(NativeWindowOf(reinterpret_cast<HWND>(lParam)), png);
                EndMenu();
            }
        } else {
            return false;
        }
        result = TRUE;
        return true;
    };
    HMENU menu = CreateOwnerDrawnSampleMenu();
    TrackPopupMenuEx(menu, TPM_RETURNCMD, 60, 60, owner.hwnd, nullptr);
    DestroyMenu(menu);
    ASSERT_TRUE(saved);
    EXPECT_TRUE(MatchesGolden(png, "OwnerDrawnPopupMenu"));
    std::filesystem::remove(png);
}
