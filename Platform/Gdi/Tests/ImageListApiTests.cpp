#include "GdiTestSupport.h"

#include "Platform/Gdi/BitmapApi.h"
#include "Platform/Gdi/Draw.h"
#include "Platform/Gdi/Icon.h"
#include "Platform/Gdi/ImageListApi.h"

#include <gtest/gtest.h>

namespace {

// A strip of two 2x2 images: red with a magenta corner, then blue.
HBITMAP MakeStrip()
{
    const std::uint32_t px[8] = {0x00FF00FF, 0x00FF0000, 0x000000FF, 0x000000FF,
                                 0x00FF0000, 0x00FF0000, 0x000000FF, 0x000000FF};
    return CreateBitmap(4, 2, 1, 32, px);
}

}  // namespace

TEST(ImageListTest, AddMaskedDrawsTransparently)
{
    HIMAGELIST list = ImageList_Create(2, 2, ILC_COLOR24 | ILC_MASK, 2, 2);
    ASSERT_NE(list, nullptr);
    Owned<HBITMAP> strip(MakeStrip());
    EXPECT_EQ(ImageList_AddMasked(list, strip, RGB(255, 0, 255)), 0);
    EXPECT_EQ(ImageList_GetImageCount(list), 2);
    TestSurface s(8, 8);
    s.Clear(0x00FF00);
    ASSERT_TRUE(ImageList_Draw(list, 0, s.dc(), 0, 0, ILD_TRANSPARENT));
    EXPECT_EQ(s.Raw(0, 0), 0x00FF00u);  // the key colour let the background through
    EXPECT_EQ(s.Raw(1, 0), 0xFF0000u);
    ASSERT_TRUE(ImageList_Draw(list, 1, s.dc(), 4, 4, ILD_NORMAL));
    EXPECT_EQ(s.Raw(4, 4), 0x0000FFu);
    EXPECT_FALSE(ImageList_Draw(list, 2, s.dc(), 0, 0, ILD_NORMAL));
    EXPECT_FALSE(ImageList_Draw(list, -1, s.dc(), 0, 0, ILD_NORMAL));

    HICON icon = ImageList_GetIcon(list, 1, 0);
    ASSERT_NE(icon, nullptr);
    EXPECT_EQ(ImageList_AddIcon(list, icon), 2);
    DestroyIcon(icon);
    ASSERT_TRUE(ImageList_Draw(list, 2, s.dc(), 6, 0, ILD_NORMAL));
    EXPECT_EQ(s.Raw(6, 0), 0x0000FFu);
    EXPECT_TRUE(ImageList_Remove(list, 0));
    EXPECT_EQ(ImageList_GetImageCount(list), 2);
    EXPECT_TRUE(ImageList_Replace(list, 0, strip, nullptr));
    EXPECT_FALSE(ImageList_Replace(list, 5, strip, nullptr));
    EXPECT_TRUE(ImageList_Destroy(list));
    EXPECT_EQ(ImageList_GetImageCount(list), 0);
    EXPECT_EQ(ImageList_Add(list, strip, nullptr), -1);
}

TEST(ImageListTest, WithoutMaskImagesAreOpaque)
{
    HIMAGELIST list = ImageList_Create(2, 2, ILC_COLOR24, 1, 1);
    Owned<HBITMAP> strip(MakeStrip());
    EXPECT_EQ(ImageList_Add(list, strip, nullptr), 0);
    TestSurface s(4, 4);
    s.Clear(0x00FF00);
    ImageList_Draw(list, 0, s.dc(), 0, 0, ILD_TRANSPARENT);
    EXPECT_EQ(s.Raw(0, 0), 0xFF00FFu);
    int w = 0;
    int h = 0;
    EXPECT_TRUE(ImageList_GetIconSize(list, &w, &h));
    EXPECT_EQ(w, 2);
    ImageList_Destroy(list);
    EXPECT_EQ(ImageList_Create(0, 2, 0, 1, 1), nullptr);
}
