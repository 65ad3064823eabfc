#include "GdiTestSupport.h"

#include "Platform/Base/HandleTable.h"
#include "Platform/Base/LastError.h"
#include "Platform/Base/WinError.h"
#include "Platform/Gdi/BitmapApi.h"
#include "Platform/Gdi/Draw.h"
#include "Platform/Gdi/Icon.h"

#include <gtest/gtest.h>

TEST(IconTest, MaskedIconKeepsTheBackgroundWhereTransparent)
{
    TestSurface s;
    s.Clear(0x00FF00);
    HICON icon = MakeMaskedIcon();
    ASSERT_NE(icon, nullptr);
    SetTextColor(s.dc(), RGB(1, 2, 3));  // must not matter
    ASSERT_TRUE(DrawIcon(s.dc(), 0, 0, icon));
    EXPECT_EQ(s.Raw(0, 0), 0xFF0000u);
    EXPECT_EQ(s.Raw(1, 3), 0xFF0000u);
    EXPECT_EQ(s.Raw(2, 0), 0x00FF00u);
    EXPECT_EQ(s.Raw(3, 3), 0x00FF00u);
    ASSERT_TRUE(DrawIconEx(s.dc(), 10, 0, icon, 8, 8, 0, nullptr, DI_NORMAL));
    EXPECT_EQ(s.Count(0xFF0000u, 10, 0, 18, 8), 32);
    EXPECT_EQ(GetTextColor(s.dc()), RGB(1, 2, 3));
    ASSERT_TRUE(DestroyIcon(icon));
    EXPECT_FALSE(DrawIcon(s.dc(), 0, 0, icon));
    EXPECT_FALSE(DestroyIcon(icon));
}

TEST(IconTest, InfoHandsOutCopies)
{
    HICON icon = MakeMaskedIcon();
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(icon, &info));
    EXPECT_EQ(info.xHotspot, 2u);
    BITMAP bm{};
    ASSERT_TRUE(GetObject(info.hbmColor, sizeof bm, &bm));
    EXPECT_EQ(bm.bmWidth, 4);
    GetObject(info.hbmMask, sizeof bm, &bm);
    EXPECT_EQ(bm.bmBitsPixel, 1);
    HICON copy = CopyIcon(icon);
    DestroyIcon(icon);
    TestSurface s;
    EXPECT_TRUE(DrawIcon(s.dc(), 0, 0, copy));
    EXPECT_EQ(s.Raw(0, 0), 0xFF0000u);
    DestroyIcon(copy);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    ICONINFO empty;
    EXPECT_EQ(CreateIconIndirect(&empty), nullptr);
}

TEST(IconTest, AlphaIconsBlend)
{
    std::uint32_t colors[4] = {0xFF0000FFu, 0x80FF0000u, 0x00000000u, 0xFF0000FFu};
    HBITMAP color = CreateBitmap(2, 2, 1, 32, colors);
    HBITMAP mask = CreateBitmap(2, 2, 1, 1, nullptr);
    ICONINFO info;
    info.hbmMask = mask;
    info.hbmColor = color;
    HICON icon = CreateIconIndirect(&info);
    TestSurface s;
    ASSERT_TRUE(DrawIcon(s.dc(), 0, 0, icon));
    EXPECT_EQ(s.Raw(0, 0), 0x0000FFu);
    EXPECT_EQ(s.Raw(1, 0) >> 16, 0xFFu);
    EXPECT_NEAR(static_cast<int>(s.Raw(1, 0) & 0xFF), 127, 1);
    EXPECT_EQ(s.Raw(0, 1), 0xFFFFFFu);
    DestroyIcon(icon);
    DeleteObject(color);
    DeleteObject(mask);
}

// Handles written into texts are read back through the handle tables: the
// number as written, nothing cut, and only for a live object of the kind.
TEST(IconTest, HandlesReadBackFromTextOnlyWhileAlive)
{
    HICON icon = MakeMaskedIcon();
    ASSERT_NE(icon, nullptr);
    const std::wstring text = Platform::FormatHandleNumber(reinterpret_cast<std::uintptr_t>(icon));
    EXPECT_EQ(IconFromHandleText(text.c_str()), icon);
    EXPECT_EQ(IconFromHandleText((L"0x1" + text.substr(2) + L"0000000").c_str()), nullptr);
    EXPECT_EQ(IconFromHandleText(L"0x12345678"), nullptr);
    EXPECT_EQ(IconFromHandleText(L"junk"), nullptr);
    EXPECT_EQ(IconFromHandleText(nullptr), nullptr);
    // A bitmap's number is no icon, and an icon's no bitmap.
    HBITMAP bitmap = CreateBitmap(2, 2, 1, 32, nullptr);
    const std::wstring bitmapText = Platform::FormatHandleNumber(reinterpret_cast<std::uintptr_t>(bitmap));
    EXPECT_EQ(BitmapFromHandleText(bitmapText.c_str()), bitmap);
    EXPECT_EQ(IconFromHandleText(bitmapText.c_str()), nullptr);
    EXPECT_EQ(BitmapFromHandleText(text.c_str()), nullptr);
    ASSERT_TRUE(DestroyIcon(icon));
    EXPECT_EQ(IconFromHandleText(text.c_str()), nullptr);
    DeleteObject(bitmap);
    EXPECT_EQ(BitmapFromHandleText(bitmapText.c_str()), nullptr);
}
