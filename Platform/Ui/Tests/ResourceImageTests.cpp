// Icons, cursors and bitmaps from the test program's resources and from
// picture files.
#include "Platform/Base/LastError.h"
#include "Platform/Base/Module.h"
#include "Platform/Gdi/BitmapApi.h"
#include "Platform/Gdi/DeviceContext.h"
#include "Platform/Gdi/Draw.h"
#include "Platform/Gdi/Icon.h"
#include "Platform/Gdi/ImageFile.h"
#include "Platform/Ui/Tests/ResourceTestIds.h"
#include "Platform/Ui/WinUser.h"

#include "Embedded/Square32.png.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

using namespace ResourceTest;

namespace {

SIZE SizeOf(HBITMAP bitmap)
{
    BITMAP bm{};
    EXPECT_NE(GetObjectW(bitmap, sizeof bm, &bm), 0);
    return {bm.bmWidth, bm.bmHeight};
}

// The colour picture's size and hot spot; the bitmaps are given back.
struct IconFacts {
    SIZE size{};
    POINT hotSpot{};
    bool icon = false;
};

IconFacts FactsOf(HICON icon)
{
    ICONINFO info{};
    IconFacts facts;
    EXPECT_TRUE(GetIconInfo(icon, &info));
    if (info.hbmColor)
        facts.size = SizeOf(info.hbmColor);
    facts.hotSpot = {static_cast<LONG>(info.xHotspot), static_cast<LONG>(info.yHotspot)};
    facts.icon = info.fIcon != FALSE;
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    return facts;
}

COLORREF PixelOf(HBITMAP bitmap, int x, int y)
{
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, bitmap);
    const COLORREF colour = GetPixel(dc, x, y);
    SelectObject(dc, old);
    DeleteDC(dc);
    return colour;
}

class PictureFiles : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_folder = std::filesystem::temp_directory_path() /
                   ("zell-images-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
                    ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(m_folder);
    }
    void TearDown() override { std::filesystem::remove_all(m_folder); }

    std::wstring Write(const char* name, const std::vector<BYTE>& bytes) const
    {
        const auto path = m_folder / name;
        std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                    static_cast<std::streamsize>(bytes.size()));
        return path.wstring();
    }

    std::filesystem::path m_folder;
};

}  // namespace

TEST(ImageResources, IconsTakeTheSizeAskedForFromTheirGroup)
{
    HICON shared = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(kIcon));
    ASSERT_NE(shared, nullptr);
    EXPECT_EQ(LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(kIcon)), shared); // loaded once
    const IconFacts system = FactsOf(shared);
    EXPECT_TRUE(system.icon);
    EXPECT_EQ(system.size.cx, GetSystemMetrics(SM_CXICON));

    const auto load = [](int width, int height, UINT flags) {
        return reinterpret_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(kIcon), IMAGE_ICON,
                                             width, height, flags));
    };
    HICON small = load(16, 16, 0);
    EXPECT_EQ(FactsOf(small).size.cx, 16);
    HICON first = load(0, 0, 0); // no size asked: the group's first picture as it is
    EXPECT_EQ(FactsOf(first).size.cx, 16);
    HICON scaled = load(24, 24, 0); // from the 32 picture, the smallest larger one
    EXPECT_EQ(FactsOf(scaled).size.cx, 24);
    HICON large = load(64, 48, 0);
    EXPECT_EQ(FactsOf(large).size.cx, 64);
    EXPECT_EQ(FactsOf(large).size.cy, 48);
    for (HICON icon : {small, first, scaled, large})
        EXPECT_TRUE(DestroyIcon(icon));
    EXPECT_EQ(LoadIconW(nullptr, MAKEINTRESOURCEW(kIcon)), nullptr); // the system has no such icon
    EXPECT_EQ(LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(kCursor)), nullptr);
}

TEST(ImageResources, TheSystemIconsAreDrawnAndShared)
{
    HICON error = LoadIconW(nullptr, IDI_ERROR);
    ASSERT_NE(error, nullptr);
    EXPECT_EQ(LoadIconW(nullptr, IDI_HAND), error);
    const IconFacts facts = FactsOf(error);
    EXPECT_EQ(facts.size.cx, GetSystemMetrics(SM_CXICON));
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(error, &info));
    EXPECT_EQ(PixelOf(info.hbmColor, 16, 6), RGB(0xD3, 0x2F, 0x2F)); // the red disc above the cross
    EXPECT_EQ(PixelOf(info.hbmColor, 16, 16), RGB(255, 255, 255));   // the cross
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    for (LPCWSTR id : {IDI_APPLICATION, IDI_QUESTION, IDI_WARNING, IDI_INFORMATION}) {
        HICON icon = LoadIconW(nullptr, id);
        EXPECT_NE(icon, nullptr);
        EXPECT_NE(icon, error);
    }
    HICON small = reinterpret_cast<HICON>(LoadImageW(nullptr, IDI_WARNING, IMAGE_ICON, 16, 16, 0));
    EXPECT_EQ(FactsOf(small).size.cx, 16);
    DestroyIcon(small);
    EXPECT_EQ(LoadIconW(nullptr, MAKEINTRESOURCEW(32600)), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_RESOURCE_NAME_NOT_FOUND);
    EXPECT_EQ(reinterpret_cast<HCURSOR>(LoadImageW(nullptr, IDC_ARROW, IMAGE_CURSOR, 0, 0, LR_SHARED)),
              LoadCursorW(nullptr, IDC_ARROW));
    EXPECT_EQ(LoadBitmapW(nullptr, MAKEINTRESOURCEW(kBitmap)), nullptr);
}

TEST(ImageResources, CursorsKeepTheirHotSpot)
{
    HCURSOR cursor = LoadCursorW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(kCursor));
    ASSERT_NE(cursor, nullptr);
    const IconFacts facts = FactsOf(cursor);
    EXPECT_FALSE(facts.icon);
    EXPECT_EQ(facts.hotSpot.x, 3);
    EXPECT_EQ(facts.hotSpot.y, 5);
    HCURSOR twice = reinterpret_cast<HCURSOR>(
        LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(kCursor), IMAGE_CURSOR, 64, 64, 0));
    EXPECT_EQ(FactsOf(twice).hotSpot.x, 6); // scaled with the picture
    DestroyCursor(twice);
    EXPECT_NE(LoadCursorW(nullptr, IDC_ARROW), nullptr); // the standard ones stay
    EXPECT_EQ(LoadCursorW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(999)), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_RESOURCE_NAME_NOT_FOUND);
}

TEST(ImageResources, BitmapsComeFromTheirDib)
{
    HBITMAP bitmap = LoadBitmapW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(kBitmap));
    ASSERT_NE(bitmap, nullptr);
    EXPECT_EQ(SizeOf(bitmap).cx, 16);
    EXPECT_EQ(SizeOf(bitmap).cy, 16);
    EXPECT_EQ(PixelOf(bitmap, 3, 3), RGB(255, 0, 0));
    DeleteObject(bitmap);
    HBITMAP stretched = reinterpret_cast<HBITMAP>(
        LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(kBitmap), IMAGE_BITMAP, 40, 8, LR_DEFAULTSIZE));
    ASSERT_NE(stretched, nullptr);
    EXPECT_EQ(SizeOf(stretched).cx, 40);
    EXPECT_EQ(SizeOf(stretched).cy, 8);
    DeleteObject(stretched);
    EXPECT_EQ(LoadImageW(nullptr, MAKEINTRESOURCEW(kBitmap), 7, 0, 0, 0), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
}

TEST_F(PictureFiles, BmpAndPngFilesLoadAndScale)
{
    HBITMAP source = CreateBitmap(6, 4, 1, 32, nullptr);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, source);
    SetPixel(dc, 1, 2, RGB(0, 200, 0));
    SelectObject(dc, old);
    DeleteDC(dc);
    const std::wstring bmp = Write("picture.bmp", EncodeBmp(source, 24));
    DeleteObject(source);

    HBITMAP loaded = reinterpret_cast<HBITMAP>(LoadImageW(nullptr, bmp.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE));
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(SizeOf(loaded).cx, 6);
    EXPECT_EQ(SizeOf(loaded).cy, 4);
    EXPECT_EQ(PixelOf(loaded, 1, 2), RGB(0, 200, 0));
    DeleteObject(loaded);
    HBITMAP doubled = reinterpret_cast<HBITMAP>(LoadImageW(nullptr, bmp.c_str(), IMAGE_BITMAP, 12, 8, LR_LOADFROMFILE));
    ASSERT_NE(doubled, nullptr);
    EXPECT_EQ(PixelOf(doubled, 2, 4), RGB(0, 200, 0));
    EXPECT_EQ(PixelOf(doubled, 3, 5), RGB(0, 200, 0));
    DeleteObject(doubled);

    const std::wstring png = Write("picture.png", std::vector<BYTE>(Square32_png, Square32_png + sizeof Square32_png));
    HBITMAP picture = reinterpret_cast<HBITMAP>(LoadImageW(nullptr, png.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE));
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(SizeOf(picture).cx, 32);
    DeleteObject(picture);
    HICON icon = reinterpret_cast<HICON>(
        LoadImageW(nullptr, png.c_str(), IMAGE_ICON, 0, 0, LR_LOADFROMFILE | LR_DEFAULTSIZE));
    ASSERT_NE(icon, nullptr);
    EXPECT_EQ(FactsOf(icon).size.cx, GetSystemMetrics(SM_CXICON));
    DestroyIcon(icon);
}

TEST_F(PictureFiles, BadFilesAreRefused)
{
    const std::wstring missing = (m_folder / "missing.png").wstring();
    EXPECT_EQ(LoadImageW(nullptr, missing.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);

    std::vector<BYTE> cut(Square32_png, Square32_png + sizeof Square32_png / 2);
    const std::vector<std::pair<const char*, std::vector<BYTE>>> bad = {
        {"text.png", {'h', 'e', 'l', 'l', 'o'}},
        {"empty.bmp", {}},
        {"cut.png", cut},
        {"header.bmp", {'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0x7F}},
    };
    for (const auto& [name, bytes] : bad) {
        const std::wstring path = Write(name, bytes);
        EXPECT_EQ(LoadImageW(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE), nullptr) << name;
        EXPECT_EQ(GetLastError(), ERROR_INVALID_DATA) << name;
        EXPECT_EQ(LoadImageW(nullptr, path.c_str(), IMAGE_ICON, 32, 32, LR_LOADFROMFILE), nullptr) << name;
    }
    EXPECT_EQ(LoadImageW(nullptr, MAKEINTRESOURCEW(3), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE), nullptr);

    // 10 KB that would unpack to 81 million pixels.
    const std::wstring huge = (std::filesystem::path(ZELL_UI_TEST_RES) / "Huge9000.png").wstring();
    EXPECT_EQ(LoadImageW(nullptr, huge.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_DATA);
}
