// Text dragged between framework windows through the data source, drop
// target and data object, with input injected into the headless display;
// and the data source on the clipboard.
#include "Platform/Base/TextConversion.h"
#include "Platform/Framework/DragDrop/OleDataSource.h"
#include "Platform/Framework/DragDrop/OleDropSource.h"
#include "Platform/Framework/DragDrop/OleDropTarget.h"
#include "Platform/Framework/DragDrop/OleInit.h"
#include "Platform/Framework/Tests/FrameworkTestSupport.h"
#include "Platform/Shell/ComInit.h"
#include "Platform/Ui/Tests/WindowText.h"

#include <cstring>
#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace {

using UiTest::Headless;

HGLOBAL Utf8Block(const std::wstring& text)
{
    const std::string bytes = Text::WideToUtf8(text);
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, bytes.size() + 1);
    std::memcpy(GlobalLock(block), bytes.c_str(), bytes.size());
    GlobalUnlock(block);
    return block;
}

std::wstring TextOf(HGLOBAL block, UINT format)
{
    const void* bytes = GlobalLock(block);
    if (bytes == nullptr)
        return L"<none>";
    std::wstring text = format == CF_UNICODETEXT ? std::wstring(static_cast<const wchar_t*>(bytes))
                                                 : Text::Utf8ToWide(static_cast<const char*>(bytes));
    GlobalUnlock(block);
    return text;
}

// The user's next action is injected each time the drag asks for the
// cursor, when the drag has the mouse, as with a real display.
class CScriptedDropSource : public COleDropSource {
public:
    SCODE GiveFeedback(DROPEFFECT effect) override
    {
        effects.push_back(effect);
        if (!script.empty()) {
            auto next = std::move(script.front());
            script.pop_front();
            next();
        }
        return COleDropSource::GiveFeedback(effect);
    }
    std::deque<std::function<void()>> script;
    std::vector<DROPEFFECT> effects;
};

// Drags its text away on a press; a move takes the text away from it.
class CTextSourceWnd : public CWnd {
public:
    CScriptedDropSource dropSource;
    DROPEFFECT lastEffect = 0xFFFF;

protected:
    void OnLButtonDown(UINT, CPoint)
    {
        CString text;
        GetWindowText(text);
        COleDataSource source;
        source.CacheGlobalData(CF_TEXT, Utf8Block(text.GetString()));
        lastEffect = source.DoDragDrop(DROPEFFECT_COPY | DROPEFFECT_MOVE, nullptr, &dropSource);
        if (lastEffect == DROPEFFECT_MOVE)
            SetWindowText(L"");
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CTextSourceWnd, CWnd)
    ON_WM_LBUTTONDOWN()
END_MESSAGE_MAP()

// Takes text: a copy with Ctrl held, a move otherwise.
class CTextDropTarget : public COleDropTarget {
public:
    DROPEFFECT OnDragEnter(CWnd* wnd, COleDataObject* data, DWORD keyState, CPoint point) override
    {
        log += L"enter ";
        enterPoint = point;
        return Choose(wnd, data, keyState);
    }
    DROPEFFECT OnDragOver(CWnd* wnd, COleDataObject* data, DWORD keyState, CPoint) override
    {
        log += L"over ";
        return Choose(wnd, data, keyState);
    }
    void OnDragLeave(CWnd*) override { log += L"leave "; }
    DROPEFFECT OnDragScroll(CWnd*, DWORD, CPoint) override { return scrollAnswer; }
    DROPEFFECT OnDropEx(CWnd*, COleDataObject*, DROPEFFECT, DROPEFFECT dropList, CPoint) override
    {
        offered = dropList;
        return dropExAnswer;
    }
    BOOL OnDrop(CWnd* wnd, COleDataObject* data, DROPEFFECT effect, CPoint point) override
    {
        log += L"drop ";
        dropEffect = effect;
        dropPoint = point;
        HGLOBAL block = data->GetGlobalData(CF_TEXT);
        if (block == nullptr)
            return FALSE;
        wnd->SetWindowText(TextOf(block, CF_TEXT).c_str());
        GlobalFree(block);
        return TRUE;
    }

    std::wstring log;
    DROPEFFECT scrollAnswer = DROPEFFECT_NONE;
    DROPEFFECT dropExAnswer = static_cast<DROPEFFECT>(-1);  // leave it to OnDrop
    DROPEFFECT offered = 0;  // the effects the source allowed, as OnDropEx saw them
    CPoint enterPoint;
    CPoint dropPoint;
    DROPEFFECT dropEffect = 0xFFFF;

private:
    DROPEFFECT Choose(CWnd* wnd, COleDataObject* data, DWORD keyState) const
    {
        if (wnd->GetSafeHwnd() != m_hWnd || !data->IsDataAvailable(CF_TEXT))
            return DROPEFFECT_NONE;
        return (keyState & MK_CONTROL) != 0 ? DROPEFFECT_COPY : DROPEFFECT_MOVE;
    }
};

class OleDragDrop : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(AfxOleInit());
        ASSERT_TRUE(m_source.CreateEx(0, nullptr, L"dragged text", WS_POPUP | WS_VISIBLE, 100, 100, 200, 150, nullptr, nullptr));
        ASSERT_TRUE(m_target.CreateEx(0, nullptr, L"", WS_POPUP | WS_VISIBLE, 400, 100, 200, 150, nullptr, nullptr));
        ASSERT_TRUE(m_refusing.CreateEx(0, nullptr, L"", WS_POPUP | WS_VISIBLE, 100, 400, 200, 150, nullptr, nullptr));
        ASSERT_TRUE(m_dropTarget.Register(&m_target));
        ASSERT_TRUE(m_refusingTarget.Register(&m_refusing));
        m_source.SetFocus();
        UiTest::Drain();
    }
    void TearDown() override
    {
        Headless().InjectKeyUp(VK_CONTROL);
        UiTest::Drain();
        m_dropTarget.Revoke();
        m_refusingTarget.Revoke();
        m_source.DestroyWindow();
        m_target.DestroyWindow();
        m_refusing.DestroyWindow();
        AfxDeleteTempObjects();
        OleUninitialize();
    }

    // Presses the button on the source and moves past the drag threshold;
    // then the drag takes the steps one by one. Each press is somewhere
    // else, or two in a row would make a double click.
    void Drag(std::initializer_list<std::function<void()>> steps)
    {
        m_source.dropSource.script.assign(steps.begin(), steps.end());
        m_pressX += 20;
        Headless().InjectMouseMove({m_pressX, 150});
        Headless().InjectMouseDown(Display::MouseButton::Left, {m_pressX, 150});
        Headless().InjectMouseMove({m_pressX + 10, 150});
        UiTest::Drain();
        EXPECT_TRUE(m_source.dropSource.script.empty()) << "the drag ended before its last step";
    }
    static std::function<void()> MoveTo(POINT at)
    {
        return [at] { Headless().InjectMouseMove(at); };
    }
    static std::function<void()> ReleaseAt(POINT at)
    {
        return [at] { Headless().InjectMouseUp(Display::MouseButton::Left, at); };
    }

    LONG m_pressX = 110;
    CTextSourceWnd m_source;
    CWnd m_target;
    CWnd m_refusing;
    CTextDropTarget m_dropTarget;
    COleDropTarget m_refusingTarget;
};

}

TEST_F(OleDragDrop, AMoveTakesTheTextAwayAndACopyLeavesIt)
{
    Drag({MoveTo({450, 150}), MoveTo({460, 170}), ReleaseAt({460, 170})});
    EXPECT_EQ(m_source.lastEffect, DROPEFFECT_MOVE);
    EXPECT_EQ(UiTest::TextOf(m_target.m_hWnd), L"dragged text");
    EXPECT_EQ(UiTest::TextOf(m_source.m_hWnd), L"") << "the source deletes what it moved";
    EXPECT_EQ(m_dropTarget.log, L"enter over drop ");
    EXPECT_EQ(m_dropTarget.enterPoint, CPoint(50, 50)) << "client coordinates";
    EXPECT_EQ(m_dropTarget.dropPoint, CPoint(60, 70));
    EXPECT_EQ(m_dropTarget.dropEffect, DROPEFFECT_MOVE);

    m_source.SetWindowText(L"copied text");
    m_dropTarget.log.clear();
    Drag({[] { Headless().InjectKeyDown(VK_CONTROL); }, MoveTo({450, 150}), ReleaseAt({450, 150})});
    EXPECT_EQ(m_source.lastEffect, DROPEFFECT_COPY);
    EXPECT_EQ(UiTest::TextOf(m_target.m_hWnd), L"copied text");
    EXPECT_EQ(UiTest::TextOf(m_source.m_hWnd), L"copied text") << "a copy stays";
    EXPECT_EQ(m_dropTarget.log, L"enter drop ");
}

TEST_F(OleDragDrop, EscapeCancelsAndTheTargetSeesTheDragLeave)
{
    Drag({MoveTo({450, 150}), [] { Headless().InjectKeyDown(VK_ESCAPE); }});
    Headless().InjectKeyUp(VK_ESCAPE);
    Headless().InjectMouseUp(Display::MouseButton::Left, {450, 150});
    UiTest::Drain();
    EXPECT_EQ(m_source.lastEffect, DROPEFFECT_NONE);
    EXPECT_EQ(m_dropTarget.log, L"enter leave ");
    EXPECT_EQ(UiTest::TextOf(m_target.m_hWnd), L"");
    EXPECT_EQ(UiTest::TextOf(m_source.m_hWnd), L"dragged text");
}

TEST_F(OleDragDrop, ATargetThatTakesNothingLeavesTheSourceAlone)
{
    Drag({MoveTo({150, 450}), ReleaseAt({150, 450})});
    EXPECT_EQ(m_source.lastEffect, DROPEFFECT_NONE);
    EXPECT_EQ(UiTest::TextOf(m_source.m_hWnd), L"dragged text");

    // The other button cancels a drag the left one started.
    Drag({MoveTo({450, 150}), [] { Headless().InjectMouseDown(Display::MouseButton::Right, {450, 150}); }});
    Headless().InjectMouseUp(Display::MouseButton::Right, {450, 150});
    Headless().InjectMouseUp(Display::MouseButton::Left, {450, 150});
    UiTest::Drain();
    EXPECT_EQ(m_source.lastEffect, DROPEFFECT_NONE);
    EXPECT_EQ(UiTest::TextOf(m_target.m_hWnd), L"");
}

TEST_F(OleDragDrop, AScrollingTargetDecidesInOnDragScrollAndOnDropExCanTakeOver)
{
    m_dropTarget.scrollAnswer = DROPEFFECT_SCROLL | DROPEFFECT_MOVE;
    Drag({MoveTo({450, 150}), MoveTo({460, 150}), ReleaseAt({460, 150})});
    EXPECT_EQ(m_dropTarget.log, L"enter drop ") << "no OnDragOver while it scrolls";
    EXPECT_EQ(m_source.dropSource.effects.back(), DROPEFFECT_SCROLL | DROPEFFECT_MOVE);
    EXPECT_EQ(m_source.lastEffect, DROPEFFECT_MOVE) << "the scroll bit is no effect of the drop";
    EXPECT_EQ(m_dropTarget.offered, DROPEFFECT_COPY | DROPEFFECT_MOVE);

    m_source.SetWindowText(L"dragged text");
    m_dropTarget.scrollAnswer = DROPEFFECT_NONE;
    m_dropTarget.dropExAnswer = DROPEFFECT_COPY;
    m_dropTarget.log.clear();
    Drag({MoveTo({450, 150}), ReleaseAt({450, 150})});
    EXPECT_EQ(m_dropTarget.log, L"enter ") << "OnDropEx answered, OnDrop is not asked";
    EXPECT_EQ(m_source.lastEffect, DROPEFFECT_COPY);
    EXPECT_EQ(UiTest::TextOf(m_source.m_hWnd), L"dragged text");
}

TEST_F(OleDragDrop, AClickIsNoDrag)
{
    Headless().InjectMouseMove({150, 150});
    Headless().InjectMouseDown(Display::MouseButton::Left, {150, 150});
    Headless().InjectMouseMove({151, 151});
    Headless().InjectMouseUp(Display::MouseButton::Left, {151, 151});
    UiTest::Drain();
    EXPECT_EQ(m_source.lastEffect, DROPEFFECT_NONE);
    EXPECT_TRUE(m_dropTarget.log.empty());
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(OleDragDrop, RegistrationIsOnePerWindow)
{
    COleDropTarget second;
    EXPECT_FALSE(second.Register(&m_target));
    EXPECT_FALSE(m_dropTarget.Register(&m_refusing)) << "one window per target";
    EXPECT_FALSE(second.Register(nullptr));
    {
        COleDropTarget shortLived;
        CWnd window;
        ASSERT_TRUE(window.CreateEx(0, nullptr, L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
        EXPECT_TRUE(shortLived.Register(&window));
    }
    EXPECT_EQ(OleInitialize(nullptr), S_FALSE) << "AfxOleInit counted";
    OleUninitialize();
}

TEST(OleDataSource, OnTheClipboardTheTextIsReadInBothForms)
{
    auto* source = new COleDataSource;
    HGLOBAL replaced = Utf8Block(L"gone");
    source->CacheGlobalData(CF_TEXT, replaced);
    source->CacheGlobalData(CF_TEXT, nullptr);
    source->CacheGlobalData(CF_TEXT, Utf8Block(L"grüße"));
    const UINT cells = RegisterClipboardFormatW(L"ZellTestCells");
    source->CacheGlobalData(static_cast<CLIPFORMAT>(cells), Utf8Block(L"1\t2"));
    EXPECT_EQ(GlobalSize(replaced), 0u) << "the replaced block is freed";
    source->SetClipboard();  // the clipboard owns it now

    COleDataObject data;
    ASSERT_TRUE(data.AttachClipboard());
    EXPECT_TRUE(data.IsDataAvailable(CF_TEXT));
    EXPECT_FALSE(data.IsDataAvailable(CF_DIB));
    HGLOBAL text = data.GetGlobalData(CF_UNICODETEXT);
    EXPECT_EQ(TextOf(text, CF_UNICODETEXT), L"grüße");
    GlobalFree(text);
    text = data.GetGlobalData(CF_TEXT);
    EXPECT_EQ(TextOf(text, CF_TEXT), L"grüße");
    GlobalFree(text);
    EXPECT_EQ(data.GetGlobalData(CF_DIB), nullptr);
    text = data.GetGlobalData(static_cast<CLIPFORMAT>(cells));
    EXPECT_EQ(TextOf(text, CF_TEXT), L"1\t2") << "a registered format";
    GlobalFree(text);
    STGMEDIUM medium;
    FORMATETC inFile;
    inFile.tymed = 0x2;  // a file, not a global block
    EXPECT_FALSE(data.GetData(CF_TEXT, &medium, &inFile));

    auto* next = new COleDataSource;
    STGMEDIUM taken{TYMED_HGLOBAL, Utf8Block(L"second"), nullptr};
    next->CacheData(CF_TEXT, &taken);
    EXPECT_EQ(taken.hGlobal, nullptr) << "the source has the block now";
    STGMEDIUM empty;
    next->CacheData(CF_UNICODETEXT, &empty);  // nothing to keep
    next->SetClipboard();  // the first source goes
    text = data.GetGlobalData(CF_TEXT);
    EXPECT_EQ(TextOf(text, CF_TEXT), L"second");
    GlobalFree(text);

    data.Release();
    EXPECT_FALSE(data.IsDataAvailable(CF_TEXT));
    EXPECT_EQ(data.GetGlobalData(CF_TEXT), nullptr);
}
