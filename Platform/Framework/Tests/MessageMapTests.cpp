// Message maps: arguments, overriding entries, reflection, registered
// messages and answers, through real windows and injected input.
#include "Platform/Framework/Controls/Button.h"
#include "Platform/Framework/Tests/FrameworkTestSupport.h"
#include "Platform/Ui/Tests/DialogDriver.h"

#include <algorithm>
#include <string>
#include <vector>

using FrameworkTest::Area;

namespace {

constexpr UINT kAsk = WM_APP + 5;
const UINT kRegistered = RegisterWindowMessageW(L"ZellFrameworkTestRegistered");
constexpr int kPlainButton = 301;
constexpr int kOwnButton = 302;
constexpr int kSharingButton = 303;

class CBaseWnd : public CWnd {
public:
    std::vector<std::wstring> m_arrLog;
    UINT m_nLastFlags = 0;
    CPoint m_ptLastPoint;
    UINT_PTR m_nLastTimer = 0;

protected:
    void OnLButtonDown(UINT flags, CPoint point)
    {
        m_arrLog.push_back(L"base down");
        m_nLastFlags = flags;
        m_ptLastPoint = point;
    }
    void OnTimer(UINT_PTR id)
    {
        m_nLastTimer = id;
        KillTimer(id);
    }
    LRESULT OnAsk(WPARAM wParam, LPARAM lParam) { return static_cast<LRESULT>(wParam * 10 + static_cast<WPARAM>(lParam)); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CBaseWnd, CWnd)
    ON_WM_LBUTTONDOWN()
    ON_WM_TIMER()
    ON_MESSAGE(kAsk, OnAsk)
END_MESSAGE_MAP()

class CDerivedWnd : public CBaseWnd {
protected:
    void OnLButtonDown(UINT flags, CPoint point)
    {
        m_arrLog.push_back(L"derived down");
        CBaseWnd::OnLButtonDown(flags, point);
    }
    LRESULT OnRegistered(WPARAM wParam, LPARAM) { return static_cast<LRESULT>(wParam) + 1; }
    void OnPlainClicked() { m_arrLog.push_back(L"parent: plain clicked"); }
    void OnOwnClicked() { m_arrLog.push_back(L"parent: own clicked"); }
    void OnSharingClicked() { m_arrLog.push_back(L"parent: sharing clicked"); }
    HBRUSH OnCtlColor(CDC*, CWnd* wnd, UINT kind)
    {
        m_arrLog.push_back(L"parent: color " + std::to_wstring(wnd ? wnd->GetDlgCtrlID() : 0) + L" " + std::to_wstring(kind));
        return CWnd::OnCtlColor(nullptr, wnd, kind);
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CDerivedWnd, CBaseWnd)
    ON_WM_LBUTTONDOWN()
    ON_REGISTERED_MESSAGE(kRegistered, OnRegistered)
    ON_BN_CLICKED(kPlainButton, OnPlainClicked)
    ON_BN_CLICKED(kOwnButton, OnOwnClicked)
    ON_BN_CLICKED(kSharingButton, OnSharingClicked)
    ON_WM_CTLCOLOR()
END_MESSAGE_MAP()

// A button that handles its own click; a second kind lets the parent see it too.
class COwnButton : public CButton {
public:
    std::vector<std::wstring>* m_pLog = nullptr;
    bool m_bShare = false;

protected:
    BOOL OnReflectedClick()
    {
        m_pLog->push_back(m_bShare ? L"button: sharing clicked" : L"button: own clicked");
        return m_bShare ? FALSE : TRUE;
    }
    HBRUSH CtlColor(CDC*, UINT kind)
    {
        m_pLog->push_back(L"button: color " + std::to_wstring(kind));
        return nullptr;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(COwnButton, CButton)
    ON_CONTROL_REFLECT_EX(BN_CLICKED, OnReflectedClick)
    ON_WM_CTLCOLOR_REFLECT()
END_MESSAGE_MAP()

class MessageMaps : public ::testing::Test {
protected:
    void SetUp() override
    {
        FrameworkTest::RegisterControls();
        ASSERT_TRUE(m_wndDerived.CreateEx(0, nullptr, L"Maps", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 400, 300, nullptr,
                                    nullptr));
        SetActiveWindow(m_wndDerived.m_hWnd);
        UiTest::Drain();
    }
    void TearDown() override
    {
        m_wndDerived.DestroyWindow();
        AfxDeleteTempObjects();
    }
    HWND AddButton(int id, LPCWSTR text, int x)
    {
        return CreateWindowExW(0, L"Button", text, WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, x, 10, 80, 24, m_wndDerived.m_hWnd,
                               reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), nullptr, nullptr);
    }

    CDerivedWnd m_wndDerived;
};

}

TEST_F(MessageMaps, HandlersGetTheirArgumentsAndTheDerivedEntryWins)
{
    UiTest::CDialogDriver driver(m_wndDerived.m_hWnd);
    driver.ClickAt(CPoint(100 + 50, 100 + 60));
    driver.PumpUntilIdle();
    POINT client{150, 160};
    ScreenToClient(m_wndDerived.m_hWnd, &client);
    ASSERT_GE(m_wndDerived.m_arrLog.size(), 2u);
    EXPECT_EQ(m_wndDerived.m_arrLog[0], L"derived down");
    EXPECT_EQ(m_wndDerived.m_arrLog[1], L"base down");
    EXPECT_EQ(m_wndDerived.m_ptLastPoint.x, client.x);
    EXPECT_EQ(m_wndDerived.m_ptLastPoint.y, client.y);
    EXPECT_NE(m_wndDerived.m_nLastFlags & MK_LBUTTON, 0u);

    // The base's entries still serve what the derived class leaves.
    m_wndDerived.SetTimer(7, 10);
    EXPECT_TRUE(driver.PumpUntil([&] { return m_wndDerived.m_nLastTimer == 7; }));
    EXPECT_EQ(m_wndDerived.SendMessage(kAsk, 4, 2), 42);
}

TEST_F(MessageMaps, RegisteredMessagesDispatchAndTheirAnswerReachesTheSender)
{
    ASSERT_GE(kRegistered, 0xC000u);
    EXPECT_EQ(SendMessageW(m_wndDerived.m_hWnd, kRegistered, 41, 0), 42);
    // Another registered message is no entry of the map.
    const UINT other = RegisterWindowMessageW(L"ZellFrameworkTestOther");
    EXPECT_EQ(SendMessageW(m_wndDerived.m_hWnd, other, 41, 0), 0);
}

TEST_F(MessageMaps, ReflectionGivesTheControlItsNotificationFirst)
{
    HWND plain = AddButton(kPlainButton, L"Plain", 10);
    COwnButton own;
    own.m_pLog = &m_wndDerived.m_arrLog;
    COwnButton sharing;
    sharing.m_pLog = &m_wndDerived.m_arrLog;
    sharing.m_bShare = true;
    ASSERT_TRUE(own.SubclassWindow(AddButton(kOwnButton, L"Own", 100)));
    AddButton(kSharingButton, L"Share", 190);
    ASSERT_TRUE(sharing.SubclassDlgItem(kSharingButton, &m_wndDerived));
    UiTest::Drain();
    m_wndDerived.m_arrLog.clear();

    UiTest::CDialogDriver driver(m_wndDerived.m_hWnd);
    for (int id : {kPlainButton, kOwnButton, kSharingButton}) {
        ASSERT_TRUE(driver.Click(id));
        driver.PumpUntilIdle();
    }
    std::vector<std::wstring> clicks;
    std::vector<std::wstring> colors;
    for (const std::wstring& line : m_wndDerived.m_arrLog)
        (line.find(L"color") != std::wstring::npos ? colors : clicks).push_back(line);
    EXPECT_EQ(clicks, (std::vector<std::wstring>{L"parent: plain clicked", L"button: own clicked",
                                                 L"button: sharing clicked", L"parent: sharing clicked"}));
    // The buttons give no brush of their own, so the parent still colours them.
    const std::wstring btn = std::to_wstring(WM_CTLCOLORBTN - WM_CTLCOLORMSGBOX);
    EXPECT_NE(std::find(colors.begin(), colors.end(), L"button: color " + btn), colors.end());
    EXPECT_NE(std::find(colors.begin(), colors.end(), L"parent: color " + std::to_wstring(kOwnButton) + L" " + btn),
              colors.end());
    (void)plain;
    EXPECT_EQ(own.UnsubclassWindow(), GetDlgItem(m_wndDerived.m_hWnd, kOwnButton));
    EXPECT_EQ(CWnd::FromHandlePermanent(GetDlgItem(m_wndDerived.m_hWnd, kOwnButton)), nullptr);
}

namespace {

constexpr UINT kCustomCode = 0x7001;
constexpr UINT kOtherCode = 0x7002;

class CNotifyingChild : public CWnd {
public:
    int m_nReflected = 0;

protected:
    void OnCustom(NMHDR* header, LRESULT* result)
    {
        ++m_nReflected;
        *result = static_cast<LRESULT>(header->idFrom) + 1000;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CNotifyingChild, CWnd)
    ON_NOTIFY_REFLECT(kCustomCode, OnCustom)
END_MESSAGE_MAP()

class CNotifiedParent : public CWnd {
public:
    std::vector<UINT> m_arrCommands;
    int m_nOtherNotes = 0;

protected:
    void OnRange(UINT id) { m_arrCommands.push_back(id); }
    void OnOther(NMHDR*, LRESULT* result)
    {
        ++m_nOtherNotes;
        *result = 7;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CNotifiedParent, CWnd)
    ON_COMMAND_RANGE(500, 502, OnRange)
    ON_NOTIFY(kOtherCode, 401, OnOther)
END_MESSAGE_MAP()

}

TEST(MessageMapRouting, NotificationsAndCommandRangesReachTheirEntriesWithTheirAnswers)
{
    CNotifiedParent parent;
    ASSERT_TRUE(parent.CreateEx(0, nullptr, L"p", WS_OVERLAPPEDWINDOW, 0, 0, 200, 200, nullptr, nullptr));
    CNotifyingChild child;
    ASSERT_TRUE(child.Create(nullptr, L"c", WS_VISIBLE, Area(0, 0, 50, 50), &parent, 401));

    NMHDR header{child.m_hWnd, 401, kCustomCode};
    EXPECT_EQ(parent.SendMessage(WM_NOTIFY, 401, reinterpret_cast<LPARAM>(&header)), 1401);
    EXPECT_EQ(child.m_nReflected, 1);
    header.code = kOtherCode;
    EXPECT_EQ(parent.SendMessage(WM_NOTIFY, 401, reinterpret_cast<LPARAM>(&header)), 7);
    EXPECT_EQ(parent.m_nOtherNotes, 1);
    // A code nobody handles reaches no entry and answers 0.
    header.code = 0x7003;
    EXPECT_EQ(parent.SendMessage(WM_NOTIFY, 401, reinterpret_cast<LPARAM>(&header)), 0);

    for (UINT id : {499u, 500u, 502u, 503u})
        parent.SendMessage(WM_COMMAND, id, 0);
    EXPECT_EQ(parent.m_arrCommands, (std::vector<UINT>{500, 502}));
    EXPECT_FALSE(parent.HasCommandHandler(499));
    EXPECT_TRUE(parent.HasCommandHandler(501));
    parent.DestroyWindow();
    EXPECT_EQ(child.m_hWnd, nullptr);
}

namespace {

class COwnerDrawnButton : public CButton {
public:
    int m_nDrawn = 0;
    UINT m_nDrawnId = 0;

protected:
    void DrawItem(LPDRAWITEMSTRUCT item)
    {
        ++m_nDrawn;
        m_nDrawnId = item->CtlID;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(COwnerDrawnButton, CButton)
    ON_WM_DRAWITEM_REFLECT()
END_MESSAGE_MAP()

}

TEST_F(MessageMaps, AnOwnerDrawnControlDrawsItselfThroughReflection)
{
    COwnerDrawnButton button;
    ASSERT_TRUE(button.Create(L"drawn", WS_VISIBLE | BS_OWNERDRAW, Area(10, 50, 80, 24), &m_wndDerived, 310));
    button.Invalidate();
    button.UpdateWindow();
    UiTest::Drain();
    EXPECT_GE(button.m_nDrawn, 1);
    EXPECT_EQ(button.m_nDrawnId, 310u);
}
