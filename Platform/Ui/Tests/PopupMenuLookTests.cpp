// How an open pop-up menu looks: an owner-drawn one with the owner's items
// in their states, and a string one in the classic look; both with the
// menu's own border, separator and sub-menu arrow.
#include "Platform/Ui/Tests/DialogDriver.h"
#include "Platform/Ui/Tests/GoldenImage.h"
#include "Platform/Ui/Tests/MenuScript.h"
#include "Platform/Ui/Tests/OwnerDrawnMenuSample.h"
#include "Platform/Ui/Tests/UiTestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <unistd.h>

using namespace UiTest;

namespace {

// Opens the menu, selects with `downs` presses of Down, and compares the
// open menu with the golden picture `name`.
::testing::AssertionResult LooksAsGolden(HMENU menu, int downs, const std::string& name, bool ownerDrawn)
{
    Handler handler;
    WindowGuard owner;
    owner.hwnd = CreateMenuOwner(&handler, 40, 40, 300, 200);
    const std::string png =
        (std::filesystem::temp_directory_path() / (name + "-" + std::to_string(getpid()) + ".png")).string();
    int idles = 0;
    bool saved = false;
    handler.m_onMessage = [&](HWND, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
        result = TRUE;
        if (ownerDrawn && message == WM_MEASUREITEM) {
            MeasureSampleItem(*reinterpret_cast<MEASUREITEMSTRUCT*>(lParam));
            return true;
        }
        if (ownerDrawn && message == WM_DRAWITEM) {
            DrawSampleItem(*reinterpret_cast<DRAWITEMSTRUCT*>(lParam));
            return true;
        }
        if (message != WM_ENTERIDLE || wParam != MSGF_MENU)
            return false;
        if (++idles <= downs) {
            CDialogDriver(owner.hwnd).Press(VK_DOWN);
        } else {
            saved = Headless().SaveAsPng(NativeWindowOf(reinterpret_cast<HWND>(lParam)), png);
            EndMenu();
        }
        result = 0;
        return true;
    };
    TrackPopupMenuEx(menu, TPM_RETURNCMD, 60, 60, owner.hwnd, nullptr);
    if (!saved)
        return ::testing::AssertionFailure() << "the open menu was not saved";
    auto result = MatchesGolden(png, name);
    std::filesystem::remove(png);
    return result;
}

}  // namespace

TEST(PopupMenuLook, AnOwnerDrawnMenuWithACheckedAGreyedASelectedItemAndAnArrow)
{
    HMENU menu = CreateOwnerDrawnSampleMenu();
    EXPECT_TRUE(LooksAsGolden(menu, kSampleDownPresses, "OwnerDrawnPopupMenu", true));
    DestroyMenu(menu);
}

TEST(PopupMenuLook, AStringMenuInTheClassicLook)
{
    HMENU sub = CreatePopupMenu();
    AppendMenuW(sub, MF_STRING, 21, L"Inner");
    HMENU menu = CreatePopupMenu();
    AppendMenuW(menu, MF_STRING | MF_CHECKED, 11, L"&Wrap lines");
    AppendMenuW(menu, MF_STRING, 12, L"&Open...\tCtrl+O");
    AppendMenuW(menu, MF_STRING | MF_GRAYED, 13, L"&Greyed");
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(menu, MF_STRING, 14, L"&Left");
    AppendMenuW(menu, MF_STRING, 15, L"&Right");
    CheckMenuRadioItem(menu, 14, 15, 15, MF_BYCOMMAND);
    AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(sub), L"&More");
    // The second item selected: its shortcut in the highlight colours.
    EXPECT_TRUE(LooksAsGolden(menu, 2, "StringPopupMenu", false));
    DestroyMenu(menu);
}
