// Every window-message entry with its handler's arguments, sent as the
// platform sends them.
#include "Platform/Framework/Controls/Edit.h"
#include "Platform/Framework/Windows/Menu.h"
#include "Platform/Framework/Controls/ScrollBar.h"
#include "Platform/Framework/Tests/FrameworkTestSupport.h"

#include <string>
#include <vector>

namespace {

class CEveryMessage : public CWnd {
public:
    std::vector<std::wstring> m_arrSeen;

protected:
    void Note(const std::wstring& what) { m_arrSeen.push_back(what); }
    void OnPaint() { Note(L"paint"); ValidateRect(m_hWnd, nullptr); }
    BOOL OnEraseBkgnd(CDC* dc) { Note(dc ? L"erase dc" : L"erase"); return TRUE; }
    void OnMouseMove(UINT, CPoint p) { Note(L"move " + std::to_wstring(p.x) + L"," + std::to_wstring(p.y)); }
    void OnLButtonUp(UINT, CPoint) { Note(L"lup"); }
    void OnLButtonDblClk(UINT, CPoint) { Note(L"ldbl"); }
    void OnRButtonDown(UINT, CPoint) { Note(L"rdown"); }
    void OnRButtonUp(UINT, CPoint) { Note(L"rup"); }
    BOOL OnSetCursor(CWnd* wnd, UINT hit, UINT message)
    {
        Note(L"cursor " + std::to_wstring(wnd == this) + L" " + std::to_wstring(hit) + L" " + std::to_wstring(message));
        return TRUE;
    }
    void OnSetFocus(CWnd*) { Note(L"setfocus"); }
    void OnKillFocus(CWnd*) { Note(L"killfocus"); }
    void OnSysCommand(UINT id, LPARAM) { Note(L"syscommand " + std::to_wstring(id)); }
    void OnMeasureItem(int, LPMEASUREITEMSTRUCT item) { item->itemHeight = 33; }
    LRESULT OnMenuChar(UINT ch, UINT, CMenu* menu) { Note(L"menuchar " + std::to_wstring(ch) + (menu ? L" menu" : L"")); return MAKELRESULT(0, 1); }
    int OnCreate(CREATESTRUCTW* cs) { Note(std::wstring(L"create ") + cs->lpszName); return 0; }
    void OnDestroy() { Note(L"destroy"); }
    void OnSize(UINT type, int cx, int cy) { Note(L"size " + std::to_wstring(type) + L" " + std::to_wstring(cx) + L"x" + std::to_wstring(cy)); }
    void OnMove(int x, int y) { Note(L"movewin " + std::to_wstring(x) + L"," + std::to_wstring(y)); }
    void OnClose() { Note(L"close"); }
    void OnKeyDown(UINT key, UINT repeat, UINT flags) { Note(L"key " + std::to_wstring(key) + L" " + std::to_wstring(repeat) + L" " + std::to_wstring(flags)); }
    void OnChar(UINT ch, UINT, UINT) { Note(L"char " + std::to_wstring(ch)); }
    UINT OnGetDlgCode() { return DLGC_WANTALLKEYS; }
    void OnShowWindow(BOOL show, UINT) { Note(L"show " + std::to_wstring(show)); }
    void OnEnable(BOOL enable) { Note(L"enable " + std::to_wstring(enable)); }
    LRESULT OnNcHitTest(CPoint) { return HTCLIENT; }
    BOOL OnMouseWheel(UINT, short delta, CPoint) { Note(L"wheel " + std::to_wstring(delta)); return TRUE; }
    void OnContextMenu(CWnd*, CPoint p) { Note(L"context " + std::to_wstring(p.x)); }
    void OnSettingChange(UINT, LPCWSTR section) { Note(std::wstring(L"setting ") + (section ? section : L"")); }
    void OnActivate(UINT state, CWnd*, BOOL minimized) { Note(L"activate " + std::to_wstring(state) + L" " + std::to_wstring(minimized)); }
    void OnHScroll(UINT code, UINT pos, CScrollBar* bar) { Note(L"hscroll " + std::to_wstring(code) + L" " + std::to_wstring(pos) + (bar ? L" bar" : L"")); }
    void OnVScroll(UINT code, UINT pos, CScrollBar*) { Note(L"vscroll " + std::to_wstring(code) + L" " + std::to_wstring(pos)); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CEveryMessage, CWnd)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_MOUSEMOVE()
    ON_WM_LBUTTONUP()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_RBUTTONDOWN()
    ON_WM_RBUTTONUP()
    ON_WM_SETCURSOR()
    ON_WM_SETFOCUS()
    ON_WM_KILLFOCUS()
    ON_WM_SYSCOMMAND()
    ON_WM_MEASUREITEM()
    ON_WM_MENUCHAR()
    ON_WM_CREATE()
    ON_WM_DESTROY()
    ON_WM_SIZE()
    ON_WM_MOVE()
    ON_WM_CLOSE()
    ON_WM_KEYDOWN()
    ON_WM_CHAR()
    ON_WM_GETDLGCODE()
    ON_WM_SHOWWINDOW()
    ON_WM_ENABLE()
    ON_WM_NCHITTEST()
    ON_WM_MOUSEWHEEL()
    ON_WM_CONTEXTMENU()
    ON_WM_SETTINGCHANGE()
    ON_WM_ACTIVATE()
    ON_WM_HSCROLL()
    ON_WM_VSCROLL()
END_MESSAGE_MAP()

}

TEST(MessageShapes, EachHandlerIsGivenTheMessageUnpacked)
{
    CEveryMessage w;
    ASSERT_TRUE(w.CreateEx(0, nullptr, L"every", WS_OVERLAPPEDWINDOW, 0, 0, 200, 200, nullptr, nullptr));
    EXPECT_EQ(w.m_arrSeen.front(), L"create every");
    w.m_arrSeen.clear();

    w.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(static_cast<WORD>(-5), 7));
    w.SendMessage(WM_SETCURSOR, reinterpret_cast<WPARAM>(w.m_hWnd), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    w.SendMessage(WM_SIZE, SIZE_RESTORED, MAKELPARAM(120, 80));
    w.SendMessage(WM_MOVE, 0, MAKELPARAM(static_cast<WORD>(-10), 20));
    w.SendMessage(WM_KEYDOWN, VK_F5, MAKELPARAM(2, 0x4001));
    w.SendMessage(WM_CHAR, L'x', 1);
    w.SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-120)), 0);
    w.SendMessage(WM_HSCROLL, MAKEWPARAM(SB_THUMBTRACK, 300), 0);
    w.SendMessage(WM_VSCROLL, MAKEWPARAM(SB_LINEDOWN, 0), 0);
    w.SendMessage(WM_SYSCOMMAND, SC_CLOSE, 0);
    w.SendMessage(WM_ACTIVATE, MAKEWPARAM(WA_ACTIVE, 1), 0);
    w.SendMessage(WM_SETTINGCHANGE, 0, reinterpret_cast<LPARAM>(L"intl"));
    w.SendMessage(WM_CONTEXTMENU, reinterpret_cast<WPARAM>(w.m_hWnd), MAKELPARAM(44, 55));
    w.SendMessage(WM_CLOSE);
    EXPECT_EQ(w.m_arrSeen, (std::vector<std::wstring>{
                          L"move -5,7", L"cursor 1 1 512", L"size 0 120x80", L"movewin -10,20",
                          L"key 116 2 16385", L"char 120", L"wheel -120", L"hscroll 5 300", L"vscroll 1 0",
                          L"syscommand 61536", L"activate 1 1", L"setting intl", L"context 44", L"close"}));
    // The close handler kept the window.
    EXPECT_TRUE(w.IsWindow());

    CMenu popup;
    ASSERT_TRUE(popup.CreatePopupMenu());
    EXPECT_EQ(w.SendMessage(WM_MENUCHAR, MAKEWPARAM(L'q', MF_POPUP), reinterpret_cast<LPARAM>(popup.m_hMenu)),
              MAKELRESULT(0, 1));
    MEASUREITEMSTRUCT measure{};
    measure.CtlType = ODT_MENU;
    w.SendMessage(WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&measure));
    EXPECT_EQ(measure.itemHeight, 33u);
    EXPECT_EQ(w.SendMessage(WM_GETDLGCODE), DLGC_WANTALLKEYS);
    EXPECT_EQ(w.SendMessage(WM_NCHITTEST, 0, 0), HTCLIENT);
    w.m_arrSeen.clear();
    w.EnableWindow(FALSE);
    w.ShowWindow(SW_SHOW);
    w.DestroyWindow();
    ASSERT_GE(w.m_arrSeen.size(), 3u);
    EXPECT_EQ(w.m_arrSeen.front(), L"enable 0");
    EXPECT_EQ(w.m_arrSeen[1], L"show 1");
    EXPECT_EQ(w.m_arrSeen.back(), L"destroy");
}

namespace {

// A control whose handlers call their base: the message goes on to the
// control's own procedure, and the handler can change its answer.
class CFilteringEdit : public CEdit {
public:
    std::vector<std::wstring> m_arrSeen;
    HCURSOR m_hDragIcon = nullptr;
    WNDPROC ControlProcedure() const { return m_pfnSuper; }

protected:
    void OnChar(UINT ch, UINT repeat, UINT flags)
    {
        if (ch != L'x')
            CEdit::OnChar(ch, repeat, flags);
    }
    UINT OnGetDlgCode() { return CEdit::OnGetDlgCode() | DLGC_WANTTAB; }
    int OnMouseActivate(CWnd* top, UINT hit, UINT message)
    {
        m_arrSeen.push_back(L"activate " + std::to_wstring(top != nullptr) + L" " + std::to_wstring(hit) + L" " +
                       std::to_wstring(message));
        return MA_NOACTIVATE;
    }
    void OnCaptureChanged(CWnd* gaining) { m_arrSeen.push_back(gaining ? L"capture to other" : L"capture gone"); }
    void OnEnterMenuLoop(BOOL popup) { m_arrSeen.push_back(L"menu loop " + std::to_wstring(popup)); }
    void OnGetMinMaxInfo(MINMAXINFO* info) { info->ptMaxTrackSize = POINT{300, 200}; }
    HCURSOR OnQueryDragIcon() { return m_hDragIcon; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CFilteringEdit, CEdit)
    ON_WM_CHAR()
    ON_WM_GETDLGCODE()
    ON_WM_MOUSEACTIVATE()
    ON_WM_CAPTURECHANGED()
    ON_WM_ENTERMENULOOP()
    ON_WM_GETMINMAXINFO()
    ON_WM_QUERYDRAGICON()
END_MESSAGE_MAP()

}

TEST(MessageShapes, BaseHandlersHandTheMessageOnAndNewEntriesUnpackTheirs)
{
    FrameworkTest::RegisterControls();
    CWnd parent;
    ASSERT_TRUE(parent.CreateEx(0, nullptr, L"parent", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200, nullptr, nullptr));
    CFilteringEdit edit;
    ASSERT_TRUE(edit.Create(WS_CHILD | WS_VISIBLE, FrameworkTest::Area(4, 4, 200, 24), &parent, 10));

    for (wchar_t ch : std::wstring(L"axbx"))
        edit.SendMessage(WM_CHAR, ch, 1);
    CString text;
    edit.GetWindowText(text);
    EXPECT_EQ(text, CString(L"ab"));
    const auto plain = static_cast<UINT>(::CallWindowProcW(edit.ControlProcedure(), edit.m_hWnd, WM_GETDLGCODE, 0, 0));
    EXPECT_EQ(static_cast<UINT>(edit.SendMessage(WM_GETDLGCODE)), plain | DLGC_WANTTAB);

    EXPECT_EQ(edit.SendMessage(WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(parent.m_hWnd),
                               MAKELPARAM(HTCLIENT, WM_LBUTTONDOWN)),
              MA_NOACTIVATE);
    edit.SendMessage(WM_CAPTURECHANGED, 0, reinterpret_cast<LPARAM>(parent.m_hWnd));
    edit.SendMessage(WM_ENTERMENULOOP, TRUE);
    EXPECT_EQ(edit.m_arrSeen, (std::vector<std::wstring>{L"activate 1 1 513", L"capture to other", L"menu loop 1"}));
    MINMAXINFO info{};
    edit.SendMessage(WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(info.ptMaxTrackSize.x, 300);
    edit.m_hDragIcon = ::LoadCursorW(nullptr, IDC_ARROW);
    EXPECT_EQ(reinterpret_cast<HCURSOR>(edit.SendMessage(WM_QUERYDRAGICON)), edit.m_hDragIcon);
    parent.DestroyWindow();
    AfxDeleteTempObjects();
}
