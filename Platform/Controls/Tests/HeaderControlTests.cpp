// The header control driven as a user meets it: divider drags with their
// notifications and vetoes, clicks, double clicks, the cursor, and the order
// and hit-test rules.
#include "Platform/Controls/Tests/ListViewTestSupport.h"

#include <gtest/gtest.h>

namespace {

using ListViewTest::Scene;

class HeaderControlTest : public ::testing::Test {
protected:
    HWND Make(DWORD style = HDS_BUTTONS)
    {
        m_header = m_scene.Add(WC_HEADERW, style, RECT{10, 10, 330, 34}, Scene::kHeaderId);
        Insert(0, L"Name", 100, HDF_LEFT | HDF_STRING);
        Insert(1, L"Size", 80, HDF_RIGHT | HDF_STRING | HDF_SORTUP);
        Insert(2, L"Kind", 90, HDF_CENTER | HDF_STRING);
        m_scene.Forget();
        return m_header;
    }
    int Insert(int index, const wchar_t* text, int width, int format)
    {
        HDITEMW item;
        item.mask = HDI_TEXT | HDI_WIDTH | HDI_FORMAT;
        item.pszText = const_cast<LPWSTR>(text);
        item.cxy = width;
        item.fmt = format;
        return static_cast<int>(SendMessageW(m_header, HDM_INSERTITEMW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item)));
    }
    int Width(int index) const
    {
        HDITEMW item;
        item.mask = HDI_WIDTH;
        SendMessageW(m_header, HDM_GETITEMW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
        return item.cxy;
    }

    Scene m_scene;
    HWND m_header = nullptr;
};

TEST_F(HeaderControlTest, DraggingADividerReportsTrackingThenTheChange)
{
    Make(HDS_BUTTONS | HDS_FULLDRAG);
    m_scene.Drag(m_header, POINT{100, 10}, POINT{140, 10});
    // With full drag the width follows the pointer while it moves, too.
    EXPECT_EQ(m_scene.Codes(), (std::vector<UINT>{HDN_BEGINTRACKW, HDN_TRACKW, HDN_ITEMCHANGINGW, HDN_ITEMCHANGEDW, HDN_ENDTRACKW}));
    ASSERT_FALSE(m_scene.Heard(HDN_ENDTRACKW).empty());
    EXPECT_EQ(m_scene.Heard(HDN_ENDTRACKW).back().width, 140);
    EXPECT_EQ(m_scene.Heard(HDN_ITEMCHANGEDW).back().width, 140);
    EXPECT_EQ(m_scene.Heard(HDN_BEGINTRACKW).front().item, 0);
    EXPECT_EQ(Width(0), 140);

    RECT second{};
    SendMessageW(m_header, HDM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&second));
    EXPECT_EQ(second.left, 140);
    EXPECT_EQ(second.right, 220);
}

TEST_F(HeaderControlTest, WithoutFullDragTheWidthChangesOnceAtTheEnd)
{
    Make(HDS_BUTTONS);
    m_scene.Drag(m_header, POINT{180, 10}, POINT{160, 10});
    EXPECT_EQ(m_scene.Codes(), (std::vector<UINT>{HDN_BEGINTRACKW, HDN_TRACKW, HDN_ENDTRACKW, HDN_ITEMCHANGINGW, HDN_ITEMCHANGEDW}));
    EXPECT_EQ(Width(1), 60);
}

TEST_F(HeaderControlTest, VetoesOfBeginTrackAndItemChangingKeepTheWidth)
{
    Make();
    m_scene.m_answer = [](NMHDR* h) { return h->code == HDN_BEGINTRACKW ? TRUE : FALSE; };
    m_scene.Drag(m_header, POINT{100, 10}, POINT{150, 10});
    EXPECT_EQ(m_scene.Codes(), std::vector<UINT>{HDN_BEGINTRACKW});
    EXPECT_EQ(Width(0), 100);

    m_scene.Forget();
    m_scene.m_answer = [](NMHDR* h) { return h->code == HDN_ITEMCHANGINGW ? TRUE : FALSE; };
    m_scene.Drag(m_header, POINT{100, 10}, POINT{150, 10});
    EXPECT_TRUE(m_scene.Heard(HDN_ITEMCHANGEDW).empty());
    EXPECT_EQ(m_scene.Heard(HDN_ENDTRACKW).size(), 1u);
    EXPECT_EQ(Width(0), 100);
}

TEST_F(HeaderControlTest, ClicksOnItemsAndDoubleClicksOnDividers)
{
    Make();
    m_scene.Click(m_header, POINT{130, 10});
    ASSERT_EQ(m_scene.Codes(), std::vector<UINT>{HDN_ITEMCLICKW});
    EXPECT_EQ(m_scene.Heard(HDN_ITEMCLICKW)[0].item, 1);

    m_scene.Forget();
    m_scene.DoubleClick(m_header, POINT{181, 10});
    ASSERT_FALSE(m_scene.Heard(HDN_DIVIDERDBLCLICKW).empty());
    EXPECT_EQ(m_scene.Heard(HDN_DIVIDERDBLCLICKW)[0].item, 1);
    EXPECT_TRUE(m_scene.Heard(HDN_ITEMCLICKW).empty());

    // A header without button style takes no clicks.
    DestroyWindow(m_header);
    Make(HDS_HORZ);
    m_scene.Click(m_header, POINT{130, 10});
    EXPECT_TRUE(m_scene.Heard(HDN_ITEMCLICKW).empty());
}

TEST_F(HeaderControlTest, AQuickSecondClickOnAnItemIsAColumnClickAsWell)
{
    Make();
    m_scene.DoubleClick(m_header, POINT{130, 10});
    EXPECT_EQ(m_scene.Codes(), (std::vector<UINT>{HDN_ITEMCLICKW, HDN_ITEMDBLCLICKW, HDN_ITEMCLICKW}));
    for (const auto& heard : m_scene.Heard(HDN_ITEMCLICKW))
        EXPECT_EQ(heard.item, 1);

    // A press released outside the item is no click.
    m_scene.Forget();
    m_scene.Click(m_header, POINT{30, 10});
    m_scene.Drag(m_header, POINT{30, 10}, POINT{30, 60});
    EXPECT_EQ(m_scene.Codes(), (std::vector<UINT>{HDN_ITEMCLICKW}));

    // Without the button style a double click gives nothing.
    DestroyWindow(m_header);
    Make(HDS_HORZ);
    m_scene.DoubleClick(m_header, POINT{130, 10});
    EXPECT_TRUE(m_scene.Codes().empty());
}

TEST_F(HeaderControlTest, TheResizeCursorShowsOverADividerOnly)
{
    Make();
    m_scene.MoveTo(m_header, POINT{50, 10});
    EXPECT_NE(GetCursor(), LoadCursorW(nullptr, IDC_SIZEWE));
    m_scene.MoveTo(m_header, POINT{99, 10});
    EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_SIZEWE));
}

TEST_F(HeaderControlTest, HitTestsAndOrder)
{
    Make();
    HDHITTESTINFO hit;
    hit.pt = POINT{50, 5};
    EXPECT_EQ(SendMessageW(m_header, HDM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)), 0);
    EXPECT_EQ(hit.flags, HHT_ONHEADER);
    hit.pt = POINT{102, 5};
    EXPECT_EQ(SendMessageW(m_header, HDM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)), 0);
    EXPECT_EQ(hit.flags, HHT_ONDIVIDER);
    hit.pt = POINT{300, 5};
    EXPECT_EQ(SendMessageW(m_header, HDM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)), -1);
    EXPECT_EQ(hit.flags, HHT_NOWHERE);
    hit.pt = POINT{-3, 5};
    SendMessageW(m_header, HDM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit));
    EXPECT_EQ(hit.flags, HHT_TOLEFT);

    int order[3] = {2, 0, 1};
    ASSERT_TRUE(SendMessageW(m_header, HDM_SETORDERARRAY, 3, reinterpret_cast<LPARAM>(order)));
    EXPECT_EQ(SendMessageW(m_header, HDM_ORDERTOINDEX, 0, 0), 2);
    RECT first{};
    SendMessageW(m_header, HDM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&first));
    EXPECT_EQ(first.left, 90);
    // Not a permutation, or of the wrong length: refused, the order stays.
    int bad[3] = {0, 0, 1};
    EXPECT_FALSE(SendMessageW(m_header, HDM_SETORDERARRAY, 3, reinterpret_cast<LPARAM>(bad)));
    EXPECT_FALSE(SendMessageW(m_header, HDM_SETORDERARRAY, 2, reinterpret_cast<LPARAM>(order)));
    int read[3] = {};
    ASSERT_TRUE(SendMessageW(m_header, HDM_GETORDERARRAY, 3, reinterpret_cast<LPARAM>(read)));
    EXPECT_EQ(read[0], 2);

    // Deleting an item closes the gap in the order.
    ASSERT_TRUE(SendMessageW(m_header, HDM_DELETEITEM, 2, 0));
    int two[2] = {};
    ASSERT_TRUE(SendMessageW(m_header, HDM_GETORDERARRAY, 2, reinterpret_cast<LPARAM>(two)));
    EXPECT_EQ(two[0], 0);
    EXPECT_EQ(two[1], 1);
    EXPECT_FALSE(SendMessageW(m_header, HDM_DELETEITEM, 5, 0));
    EXPECT_EQ(SendMessageW(m_header, HDM_GETITEMCOUNT, 0, 0), 2);
}

TEST_F(HeaderControlTest, LayoutGivesTheHeaderItsHeightAtTheTop)
{
    Make();
    RECT area{0, 0, 200, 100};
    WINDOWPOS position{};
    HDLAYOUT layout;
    layout.prc = &area;
    layout.pwpos = &position;
    ASSERT_TRUE(SendMessageW(m_header, HDM_LAYOUT, 0, reinterpret_cast<LPARAM>(&layout)));
    EXPECT_EQ(position.y, 0);
    EXPECT_EQ(position.cx, 200);
    EXPECT_GT(position.cy, 10);
    EXPECT_EQ(area.top, position.cy);
    EXPECT_FALSE(SendMessageW(m_header, HDM_LAYOUT, 0, 0));
}

TEST_F(HeaderControlTest, Golden)
{
    Make();
    EXPECT_TRUE(m_scene.MatchesGolden("header-control"));
}

}
