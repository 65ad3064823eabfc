// Toolbar resources: compiled from the table, found beside their bitmap,
// read back, and refused when their record is damaged.
#include "Platform/Base/LastError.h"
#include "Platform/Gdi/DeviceContext.h"
#include "Platform/Ui/ResourceCompiler.h"
#include "Platform/Ui/Tests/ResourceTestIds.h"
#include "Platform/Ui/ToolbarResource.h"

#include <gtest/gtest.h>

using namespace ResourceTest;

TEST(ToolbarResource, TheTablesToolbarLoadsWithItsButtonsAndStrip)
{
    Ui::CToolbarResource toolbar;
    ASSERT_TRUE(toolbar.Load(nullptr, MAKEINTRESOURCEW(kToolbar)));
    EXPECT_EQ(toolbar.ImageWidth(), 4);
    EXPECT_EQ(toolbar.ImageHeight(), 16);
    EXPECT_EQ(toolbar.Buttons(), (std::vector<UINT>{kOpen, 0, kExit, kHelp}));
    // Separators take no image.
    EXPECT_EQ(toolbar.ImageOf(kOpen), 0);
    EXPECT_EQ(toolbar.ImageOf(kExit), 1);
    EXPECT_EQ(toolbar.ImageOf(kHelp), 2);
    EXPECT_EQ(toolbar.ImageOf(kWrap), -1);
    EXPECT_EQ(toolbar.ImageCount(), 3);
    HBITMAP strip = toolbar.LoadStrip();
    ASSERT_NE(strip, nullptr);
    BITMAP info{};
    ASSERT_NE(GetObjectW(strip, sizeof(info), &info), 0);
    EXPECT_EQ(info.bmHeight, toolbar.ImageHeight());
    EXPECT_GE(info.bmWidth, toolbar.ImageWidth() * toolbar.ImageCount());
    DeleteObject(strip);
}

TEST(ToolbarResource, AMissingOrDamagedRecordIsRefused)
{
    Ui::CToolbarResource toolbar;
    EXPECT_FALSE(toolbar.Load(nullptr, MAKEINTRESOURCEW(kMenu)));
    EXPECT_EQ(toolbar.LoadStrip(), nullptr);

    Ui::Res::Toolbar record{1, LANG_NEUTRAL, 16, 15, {10, 11, 0, 12}};
    const std::vector<BYTE> bytes = Ui::CResourceCompiler::ToolbarRecord(record);
    ASSERT_TRUE(toolbar.Parse(bytes.data(), bytes.size()));
    EXPECT_EQ(toolbar.Buttons().size(), 4u);
    // A count beyond the record's end, a record cut short, another version.
    EXPECT_FALSE(toolbar.Parse(bytes.data(), bytes.size() - 1));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_DATA);
    EXPECT_FALSE(toolbar.Parse(bytes.data(), 6));
    std::vector<BYTE> other = bytes;
    other[0] = 2;
    EXPECT_FALSE(toolbar.Parse(other.data(), other.size()));
    std::vector<BYTE> empty = bytes;
    empty[2] = 0;  // image width 0
    EXPECT_FALSE(toolbar.Parse(empty.data(), empty.size()));
}
