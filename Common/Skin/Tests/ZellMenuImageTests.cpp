// The owner-drawn menu's images from each source, where they are drawn and
// how a disabled one looks; loaded check marks; the class-wide font and
// image list; inserting and changing items; synchronising with what the
// plain menu calls did; and the narrow-text forms.
#include "Common/Skin/Tests/ControlsTestIds.h"
#include "Common/Skin/Tests/ZellMenuTestSupport.h"

#include "Platform/Framework/Drawing/Bitmap.h"
#include "Platform/Gdi/Gdi.h"

#include <cstring>

using namespace ZELL::Skin;

namespace {

using namespace ControlsTest;

constexpr COLORREF kGround = RGB(255, 0, 255);
constexpr COLORREF kRed = RGB(200, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 180);
constexpr COLORREF kGreen = RGB(0, 140, 0);
// The middles of the test resources' pictures.
constexpr COLORREF kDiscColour = RGB(30, 120, 200);
constexpr COLORREF kDiamondColour = RGB(200, 60, 40);
constexpr COLORREF kBarColour = RGB(40, 150, 60);

// Where image pixel (0, 0) lands in a 22 pixels high item of 16 x 16 images.
constexpr POINT kClassicImage{2, 3};
constexpr POINT kFlatImage{4, 3};

POINT At(POINT origin, int x, int y)
{
    return {origin.x + x, origin.y + y};
}

class ZellMenuImages : public ZellMenuTest {
protected:
    void SetUp() override
    {
        ZellMenuTest::SetUp();
        CZellMenu::SetIconSize(16, 16);
        m_red.Attach(SquareBitmap(kRed, kGround));
        m_blue.Attach(SquareBitmap(kBlue, kGround));
        m_green.Attach(SquareBitmap(kGreen, kGround));
        ASSERT_TRUE(m_list.Create(16, 16, ILC_COLORDDB | ILC_MASK, 2, 1));
        ASSERT_EQ(m_list.Add(&m_red, kGround), 0);
        ASSERT_EQ(m_list.Add(&m_blue, kGround), 1);
    }

    static COLORREF Read(CZellMenu& menu, int position, UINT state, POINT at)
    {
        return PaintAndRead(menu, position, state, at);
    }

    CBitmap m_red;
    CBitmap m_blue;
    CBitmap m_green;
    CImageList m_list;
};

TEST_F(ZellMenuImages, EachSourceGivesTheItemItsImageInTheImagePlaceOfBothLooks)
{
    CZellMenu menu;
    menu.SetBackgroundColor(kGround);
    ASSERT_TRUE(menu.AppendODMenu(L"Resource", MF_STRING, 701, kDiscBitmap));
    ASSERT_TRUE(menu.AppendODMenu(L"List", MF_STRING, 702, &m_list, 1));
    ASSERT_TRUE(menu.AppendODMenu(L"Bitmap", MF_STRING, 703, &m_green));
    ASSERT_TRUE(menu.AppendODMenu(L"None", MF_STRING, 704));
    EXPECT_FALSE(menu.AppendODMenu(L"Missing", MF_STRING, 705, 9999)) << "no such bitmap";
    ASSERT_EQ(menu.ItemCount(), 5) << "the item is there all the same";
    EXPECT_FALSE(menu.ItemData(4)->HasOwnImage());

    for (int mode : {0, 1}) {
        CZellMenu::SetDrawMode(mode);
        const POINT image = mode == 1 ? kFlatImage : kClassicImage;
        const COLORREF ground = mode == 1 ? Read(menu, 3, 0, At(image, 8, 8)) : ::GetSysColor(COLOR_MENU);
        EXPECT_EQ(Read(menu, 0, 0, At(image, 8, 8)), kDiscColour) << mode;
        EXPECT_EQ(Read(menu, 1, 0, At(image, 8, 8)), kBlue) << "image 1 of the list, mode " << mode;
        EXPECT_EQ(Read(menu, 2, 0, At(image, 8, 8)), kGreen) << mode;
        EXPECT_EQ(Read(menu, 2, 0, At(image, 4, 4)), kGreen) << "the square's corner, mode " << mode;
        EXPECT_EQ(Read(menu, 2, 0, At(image, 3, 3)), ground) << "the mask colour is see-through, mode " << mode;
        EXPECT_EQ(Read(menu, 1, 0, At(image, 12, 12)), ground) << mode;
        EXPECT_NE(ground, kGround);
    }
}

TEST_F(ZellMenuImages, WithoutAMaskColourTheButtonFaceIsSeeThrough)
{
    const COLORREF face = ::GetSysColor(COLOR_BTNFACE);
    CBitmap onFace;
    onFace.Attach(SquareBitmap(kRed, face));
    CZellMenu menu;
    menu.AppendODMenu(L"Face", MF_STRING, 706, &onFace);
    menu.AppendODMenu(L"Magenta", MF_STRING, 707, &m_blue);
    EXPECT_EQ(Read(menu, 0, 0, At(kClassicImage, 1, 1)), ::GetSysColor(COLOR_MENU));
    EXPECT_EQ(Read(menu, 1, 0, At(kClassicImage, 1, 1)), kGround) << "magenta is a colour like any other";
}

TEST_F(ZellMenuImages, AMaskColourGivenAfterTheSubMenusExistIsSeeThroughInThemToo)
{
    CZellMenu menu;
    CZellMenu* sub = menu.AppendPopup(L"Settings");
    ASSERT_NE(sub, nullptr);
    CZellMenu* deeper = sub->AppendPopup(L"Language");
    ASSERT_NE(deeper, nullptr);
    menu.SetMaskColour(kGround);
    sub->AppendODMenu(L"Green", MF_STRING, 708, &m_green);
    deeper->AppendODMenu(L"Red", MF_STRING, 709, &m_red);
    EXPECT_EQ(Read(*sub, 0, 0, At(kClassicImage, 1, 1)), ::GetSysColor(COLOR_MENU));
    EXPECT_EQ(Read(*deeper, 0, 0, At(kClassicImage, 1, 1)), ::GetSysColor(COLOR_MENU));
    EXPECT_EQ(Read(*deeper, 0, 0, At(kClassicImage, 8, 8)), kRed);
}

TEST_F(ZellMenuImages, TheCommandsImageShowsInEveryMenuWithTheCommand)
{
    CZellMenu first;
    first.AppendODMenu(L"Open", MF_STRING, 711, &m_red);
    CZellMenu second;
    second.AppendODMenu(L"Open again", MF_STRING, 711);
    second.AppendODMenu(L"Other", MF_STRING, 712);
    ASSERT_GE(CZellMenu::GlobalImageOf(711), 0);
    EXPECT_EQ(second.ItemData(0)->globalImageIndex, CZellMenu::GlobalImageOf(711));
    EXPECT_FALSE(second.ItemData(0)->HasOwnImage());
    EXPECT_EQ(Read(second, 0, 0, At(kClassicImage, 8, 8)), kRed);
    EXPECT_EQ(CZellMenu::GlobalImageOf(712), -1);
    EXPECT_EQ(Read(second, 1, 0, At(kClassicImage, 8, 8)), ::GetSysColor(COLOR_MENU));

    // A later image of the command takes the earlier one's place.
    CZellMenu third;
    const int index = CZellMenu::GlobalImageOf(711);
    third.AppendODMenu(L"Open", MF_STRING, 711, &m_list, 1);
    EXPECT_EQ(CZellMenu::GlobalImageOf(711), index);
    EXPECT_EQ(Read(second, 0, 0, At(kClassicImage, 8, 8)), kBlue);
}

TEST_F(ZellMenuImages, DisabledImagesAreEmbossedInTheClassicLookOnly)
{
    CZellMenu menu;
    menu.SetBackgroundColor(kGround);
    menu.AppendODMenu(L"Greyed", MF_STRING | MF_GRAYED, 713, &m_red);
    EXPECT_EQ(Read(menu, 0, ODS_GRAYED, At(kClassicImage, 8, 8)), ::GetSysColor(COLOR_BTNSHADOW));
    EXPECT_EQ(Read(menu, 0, ODS_GRAYED, At(kClassicImage, 4, 4)), ::GetSysColor(COLOR_BTNSHADOW));
    EXPECT_EQ(Read(menu, 0, ODS_GRAYED, At(kClassicImage, 12, 12)), ::GetSysColor(COLOR_BTNHIGHLIGHT))
        << "the highlight one pixel down and right";
    EXPECT_EQ(Read(menu, 0, ODS_GRAYED, At(kClassicImage, 12, 4)), ::GetSysColor(COLOR_MENU));
    EXPECT_EQ(Read(menu, 0, 0, At(kClassicImage, 8, 8)), kRed) << "enabled, the picture itself";
    CZellMenu::SetDrawMode(1);
    EXPECT_EQ(Read(menu, 0, ODS_GRAYED, At(kFlatImage, 8, 8)), kRed);
}

TEST_F(ZellMenuImages, LoadedCheckMarksStandInForTheDrawnMarkInTheSubMenusToo)
{
    CZellMenu menu;
    menu.AppendODMenu(L"Checked", MF_STRING | MF_CHECKED, 721);
    CZellMenu* sub = menu.AppendPopup(L"More");
    ASSERT_NE(sub, nullptr);
    sub->AppendODMenu(L"Also checked", MF_STRING | MF_CHECKED, 722);
    menu.AppendODMenu(L"With image", MF_STRING | MF_CHECKED, 723, &m_green);
    // The drawn mark: its first stroke runs down from (left + 5, top + 7).
    const POINT stroke{5, 8};
    const COLORREF mark = ::GetSysColor(COLOR_MENUTEXT);
    EXPECT_EQ(Read(menu, 0, ODS_CHECKED, stroke), mark);

    EXPECT_FALSE(menu.LoadCheckmarkBitmap(0, kBarBitmap));
    EXPECT_FALSE(menu.LoadCheckmarkBitmap(kDiamondBitmap, 9999));
    EXPECT_EQ(Read(menu, 0, ODS_CHECKED, stroke), mark) << "a failed load leaves the drawn mark";

    ASSERT_TRUE(menu.LoadCheckmarkBitmap(kDiamondBitmap, kBarBitmap));
    EXPECT_EQ(Read(menu, 0, ODS_CHECKED, At(kClassicImage, 8, 8)), kDiamondColour);
    EXPECT_EQ(Read(menu, 0, ODS_CHECKED | ODS_SELECTED, At(kClassicImage, 8, 8)), kBarColour);
    EXPECT_EQ(Read(*sub, 0, ODS_CHECKED, At(kClassicImage, 8, 8)), kDiamondColour) << "shared with the sub-menu";
    EXPECT_EQ(Read(menu, 0, 0, At(kClassicImage, 8, 8)), ::GetSysColor(COLOR_MENU)) << "only checked items";
    EXPECT_EQ(Read(menu, 2, ODS_CHECKED, At(kClassicImage, 8, 8)), kGreen) << "an item's own image comes first";
    CZellMenu::SetDrawMode(1);
    EXPECT_EQ(Read(menu, 0, ODS_CHECKED | ODS_SELECTED, At(kFlatImage, 8, 8)), kBarColour);
}

TEST_F(ZellMenuImages, ModifyFindsTheItemInSubMenusByCommandOrByText)
{
    CZellMenu menu;
    menu.SetBackgroundColor(kGround);
    menu.AppendODMenu(L"Top", MF_STRING, 731);
    CZellMenu* sub = menu.AppendPopup(L"Sub");
    ASSERT_NE(sub, nullptr);
    sub->AppendODMenu(L"Deep", MF_STRING, 732);

    ASSERT_TRUE(menu.ModifyODMenu(L"Deeper", 732, &m_green));
    EXPECT_EQ(sub->GetMenuText(732, MF_BYCOMMAND), L"Deeper");
    EXPECT_EQ(Read(*sub, 0, 0, At(kClassicImage, 8, 8)), kGreen);
    ASSERT_TRUE(menu.ModifyODMenu(L"Deepest", L"Deeper", &m_list, 0));
    EXPECT_EQ(sub->GetMenuText(0, MF_BYPOSITION), L"Deepest");
    EXPECT_EQ(Read(*sub, 0, 0, At(kClassicImage, 8, 8)), kRed);
    ASSERT_TRUE(menu.ModifyODMenu(nullptr, 732, kDiscBitmap));
    EXPECT_EQ(sub->GetMenuText(0, MF_BYPOSITION), L"Deepest") << "no text keeps the text";
    EXPECT_EQ(Read(*sub, 0, 0, At(kClassicImage, 8, 8)), kDiscColour);

    EXPECT_TRUE(menu.ModifyODMenu(L"Plain", 732, -1));
    EXPECT_FALSE(sub->ItemData(0)->HasOwnImage());
    EXPECT_EQ(Read(*sub, 0, 0, At(kClassicImage, 8, 8)), ::GetSysColor(COLOR_MENU));
    EXPECT_FALSE(menu.ModifyODMenu(L"Top again", 731, 9999)) << "no such bitmap";
    EXPECT_EQ(menu.GetMenuText(731, MF_BYCOMMAND), L"Top again");
    EXPECT_FALSE(menu.ItemData(0)->HasOwnImage());
    EXPECT_FALSE(menu.ModifyODMenu(L"x", 739, &m_green)) << "no such command";
    EXPECT_FALSE(menu.ModifyODMenu(L"x", L"no such text", &m_green));
}

TEST_F(ZellMenuImages, InsertPlacesItemsByPositionOrBeforeACommandOfASubMenu)
{
    CZellMenu menu;
    menu.AppendODMenu(L"B", MF_STRING, 742);
    CZellMenu* sub = menu.AppendPopup(L"Sub");
    ASSERT_NE(sub, nullptr);
    sub->AppendODMenu(L"Y", MF_STRING, 752);

    ASSERT_TRUE(menu.InsertODMenu(0, L"A", MF_BYPOSITION | MF_STRING, 741, &m_red));
    ASSERT_TRUE(menu.InsertODMenu(static_cast<UINT>(-1), L"Z", MF_BYPOSITION | MF_STRING, 743));
    ASSERT_TRUE(menu.InsertODMenu(1, L"ignored", MF_BYPOSITION | MF_CHECKED, 0));
    ASSERT_TRUE(menu.InsertODMenu(752, L"X", MF_STRING, 751, &m_list, 1));
    EXPECT_FALSE(menu.InsertODMenu(759, L"nowhere", MF_STRING, 758));

    const std::vector<std::wstring> texts{L"A", L"ignored", L"B", L"Sub", L"Z"};
    ASSERT_EQ(menu.ItemCount(), 5);
    ASSERT_EQ(menu.GetMenuItemCount(), 5);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(menu.ItemData(i)->text, texts[static_cast<std::size_t>(i)]) << i;
        MENUITEMINFOW info;
        info.fMask = MIIM_DATA;
        ASSERT_TRUE(menu.GetMenuItemInfo(static_cast<UINT>(i), &info, TRUE));
        EXPECT_EQ(info.dwItemData, reinterpret_cast<ULONG_PTR>(menu.ItemData(i))) << "the platform's order is the data's";
    }
    EXPECT_NE(menu.ItemData(1)->flags & MF_SEPARATOR, 0u);
    EXPECT_EQ(menu.ItemData(1)->flags & MF_CHECKED, 0u);
    EXPECT_EQ(Read(menu, 0, 0, At(kClassicImage, 8, 8)), kRed);
    ASSERT_EQ(sub->ItemCount(), 2);
    EXPECT_EQ(sub->GetMenuItemID(0), 751u);
    EXPECT_EQ(sub->ItemData(0)->text, L"X");
    EXPECT_EQ(Read(*sub, 0, 0, At(kClassicImage, 8, 8)), kBlue);
}

TEST_F(ZellMenuImages, IconModeTakesIconResources)
{
    CZellMenu menu;
    menu.SetIconImages(true);
    EXPECT_TRUE(menu.AppendODMenu(L"Icon", MF_STRING, 761, kDiamondIcon));
    EXPECT_EQ(Read(menu, 0, 0, At(kClassicImage, 8, 8)), kDiamondColour);
    EXPECT_EQ(Read(menu, 0, 0, At(kClassicImage, 0, 0)), ::GetSysColor(COLOR_MENU)) << "the icon's own transparency";
    CImageList list;
    ASSERT_TRUE(list.Create(16, 16, ILC_COLOR32 | ILC_MASK, 1, 1));
    EXPECT_TRUE(menu.AddBitmapToImageList(&list, kBarIcon));
    EXPECT_FALSE(menu.AddBitmapToImageList(&list, 9999));
    EXPECT_FALSE(menu.AddBitmapToImageList(nullptr, kBarIcon));
    EXPECT_EQ(list.GetImageCount(), 1);
}

TEST_F(ZellMenuTest, TheGlobalFontSetsTheMeasuredWidthOfMenusMadeBeforeItToo)
{
    CZellMenu menu;
    menu.AppendODMenu(L"Wide text", MF_STRING, 771);
    const int systemWidth = static_cast<int>(Measure(menu, 0).itemWidth);
    EXPECT_EQ(systemWidth, 2 * 16 + TextWidth(L"Wide text") + 1);

    LOGFONTW big{};
    big.lfHeight = -30;
    wcscpy(big.lfFaceName, L"DejaVu Sans");
    CZellMenu::SetGlobalFont(&big);
    const MEASUREITEMSTRUCT measured = Measure(menu, 0);
    EXPECT_EQ(int(measured.itemWidth), 2 * 16 + TextWidth(L"Wide text", &big) + 1);
    EXPECT_GT(int(measured.itemWidth), systemWidth);
    EXPECT_EQ(int(measured.itemHeight), std::max(4 + 15, ::GetSystemMetrics(SM_CYMENU))) << "the height is the image's";
    CZellMenu::SetDrawMode(1);
    EXPECT_EQ(int(Measure(menu, 0).itemWidth), 16 + TextWidth(L"Wide text", &big) + 7 + 8);

    CZellMenu::SetDrawMode(0);
    CZellMenu::SetGlobalFont(nullptr);
    EXPECT_EQ(int(Measure(menu, 0).itemWidth), systemWidth);
}

TEST_F(ZellMenuTest, SynchronizeTakesInWhatThePlainMenuCallsDid)
{
    CZellMenu menu;
    menu.AppendODMenu(L"Own", MF_STRING, 781);
    CZellMenu* sub = menu.AppendPopup(L"Sub");
    ASSERT_NE(sub, nullptr);
    ASSERT_TRUE(::AppendMenuW(menu.GetSafeHmenu(), MF_STRING, 782, L"&Plain"));
    ASSERT_TRUE(::AppendMenuW(menu.GetSafeHmenu(), MF_SEPARATOR, 0, nullptr));
    EXPECT_EQ(menu.ItemCount(), 2) << "not seen yet";

    menu.SynchronizeMenu();
    ASSERT_EQ(menu.ItemCount(), 4);
    EXPECT_EQ(menu.ItemData(2)->text, L"&Plain");
    EXPECT_EQ(menu.ItemData(2)->command, 782u);
    EXPECT_NE(menu.GetMenuState(782, MF_BYCOMMAND) & MF_OWNERDRAW, 0u) << "drawn by the menu from now on";
    EXPECT_TRUE(menu.ItemData(3)->IsSeparator());
    EXPECT_EQ(menu.GetSubMenu(1), sub);

    ::CheckMenuItem(menu.GetSafeHmenu(), 781, MF_BYCOMMAND | MF_CHECKED);
    ::DeleteMenu(menu.GetSafeHmenu(), 1, MF_BYPOSITION);  // the pop-up, with its menu
    menu.SynchronizeMenu();
    ASSERT_EQ(menu.ItemCount(), 3);
    EXPECT_NE(menu.ItemData(0)->flags & MF_CHECKED, 0u);
    EXPECT_EQ(menu.ItemData(1)->command, 782u);
    EXPECT_EQ(menu.GetSubMenu(1), nullptr);

    // The keyboard search takes in what it has not seen.
    ::AppendMenuW(menu.GetSafeHmenu(), MF_STRING, 783, L"&Quit");
    EXPECT_EQ(CZellMenu::FindKeyboardShortcut('q', MF_POPUP, &menu), MAKELRESULT(3, MNC_EXECUTE));
    EXPECT_EQ(menu.ItemCount(), 4);
}

TEST_F(ZellMenuTest, AppendsKeepTheMenuInStepUnlessTold)
{
    CZellMenu menu;
    menu.AppendODMenu(L"First", MF_STRING, 791);
    ::AppendMenuW(menu.GetSafeHmenu(), MF_STRING, 792, L"Behind");
    menu.SetAutoSynchronize(false);
    menu.AppendODMenu(L"Third", MF_STRING, 793);
    EXPECT_EQ(menu.ItemCount(), 2);
    menu.SetAutoSynchronize(true);
    menu.AppendODMenu(L"Fourth", MF_STRING, 794);
    ASSERT_EQ(menu.ItemCount(), 4);
    EXPECT_EQ(menu.ItemData(1)->text, L"Behind");
    EXPECT_EQ(menu.ItemData(3)->text, L"Fourth");
}

TEST_F(ZellMenuTest, NarrowTextsGoThroughTheThreadCodePage)
{
    CZellMenu menu;
    ASSERT_TRUE(menu.AppendODMenu("\xC3\x96" "ffnen", MF_STRING, 801));
    EXPECT_EQ(menu.ItemData(0)->text, L"\u00D6ffnen");
    ASSERT_TRUE(menu.InsertODMenu(0, "Erst", MF_BYPOSITION | MF_STRING, 802));
    EXPECT_EQ(menu.ItemData(0)->text, L"Erst");
    ASSERT_TRUE(menu.ModifyODMenu("Schlie\xC3\x9F" "en", "\xC3\x96" "ffnen"));
    EXPECT_EQ(menu.GetMenuText(801, MF_BYCOMMAND), L"Schlie\u00DFen");
    ASSERT_TRUE(menu.ModifyODMenu("Neu", UINT_PTR{802}));
    ASSERT_TRUE(menu.SetMenuText(801, "Ende", MF_BYCOMMAND));
    std::string narrow;
    ASSERT_TRUE(menu.GetMenuText(802, narrow, MF_BYCOMMAND));
    EXPECT_EQ(narrow, "Neu");
    ASSERT_TRUE(menu.SetMenuText(1, "Gr\xC3\xBC\xC3\x9F" "e", MF_BYPOSITION));
    ASSERT_TRUE(menu.GetMenuText(1, narrow, MF_BYPOSITION));
    EXPECT_EQ(narrow, "Gr\xC3\xBC\xC3\x9F" "e") << "back the same way";
    EXPECT_FALSE(menu.GetMenuText(9, narrow, MF_BYPOSITION));
    EXPECT_TRUE(narrow.empty());
    ASSERT_TRUE(menu.AppendODMenu(static_cast<LPCSTR>(nullptr), MF_STRING, 803));
    EXPECT_EQ(menu.ItemData(2)->text, L"");
}

}
