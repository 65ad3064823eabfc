#include "ComboTestSupport.h"
#include "Platform/Ui/Tests/GoldenImage.h"

#include <unistd.h>

using namespace ComboTest;

namespace {

void Fill3(HWND combo)
{
    Fill(combo, {L"Ethernet", L"Serial line", L"Modem"});
    Send(combo, CB_SETCURSEL, 0);
}

}

TEST(ComboBoxLook, ClosedDropDownListsFocusedPlainAndDisabled)
{
    ControlTest::Scene s(200, 110);
    HWND focused = s.Add(L"ComboBox", L"", CBS_DROPDOWNLIST, 10, 10, 150, 100, 1);
    HWND plain = s.Add(L"ComboBox", L"", CBS_DROPDOWNLIST, 10, 40, 150, 100, 2);
    HWND disabled = s.Add(L"ComboBox", L"", CBS_DROPDOWNLIST | WS_DISABLED, 10, 70, 150, 100, 3);
    for (HWND combo : {focused, plain, disabled})
        Fill3(combo);
    SetFocus(focused);
    UiTest::Drain();
    ControlTest::ExpectGolden(s, "ComboClosed");
}

TEST(ComboBoxLook, AnOpenListShowsTheHoveredItem)
{
    ControlTest::Scene s(200, 60);
    HWND combo = s.Add(L"ComboBox", L"", CBS_DROPDOWNLIST, 10, 10, 150, 100, 1);
    Fill3(combo);
    s.Click(combo, {20, 8});
    HWND list = ListOf(combo);
    ASSERT_TRUE(IsWindowVisible(list));
    s.Move(list, ListTest::ItemPoint(list, 1));
    UpdateWindow(list);
    UiTest::Drain();
    ControlTest::ExpectGolden(s, "ComboOpenField");
    const std::string png =
        (std::filesystem::temp_directory_path() / ("ComboOpenList-" + std::to_string(getpid()) + ".png")).string();
    ASSERT_TRUE(ControlTest::Scene::Display().SaveAsPng(NativeWindowOf(list), png));
    EXPECT_TRUE(UiTest::MatchesGolden(png, "ComboOpenList", ZELL_CONTROLS_GOLDEN_DIR));
    std::filesystem::remove(png);
    s.Key(VK_ESCAPE);
}

TEST(ComboBoxLook, ADropDownWithItsEdit)
{
    ControlTest::Scene s(200, 50);
    HWND combo = s.Add(L"ComboBox", L"", CBS_DROPDOWN | CBS_AUTOHSCROLL, 10, 10, 150, 100, 1);
    Fill3(combo);
    ControlTest::ExpectGolden(s, "ComboDropDownEdit");
}

TEST(ComboBoxLook, ASimpleComboWithItsList)
{
    ControlTest::Scene s(200, 100);
    HWND combo = s.Add(L"ComboBox", L"", CBS_SIMPLE, 10, 10, 150, 80, 1);
    Fill3(combo);
    Send(combo, CB_SETCURSEL, 1);
    ControlTest::ExpectGolden(s, "ComboSimple");
}
