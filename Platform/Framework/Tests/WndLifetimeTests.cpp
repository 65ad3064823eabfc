// A self-owning control object (one that deletes itself in PostNcDestroy, as
// in-place editors do) whose window is destroyed from inside a notification
// it sent: by its own reflected handler or by its parent. The object is
// deleted once the handlers still running on it have returned, not under them.
#include "Platform/Framework/Controls/Edit.h"
#include "Platform/Framework/Tests/FrameworkTestSupport.h"
#include "Platform/Ui/Tests/DialogDriver.h"

namespace {

constexpr UINT kEditId = 31;

enum class Closer { Itself, Parent };

struct Tally {
    int typed = 0;    // keys the edit's own handler finished
    int deleted = 0;
};

class CSelfOwningEdit : public CEdit {
public:
    CSelfOwningEdit(Tally& tally, bool closesItself) : m_Tally(tally), m_bClosesItself(closesItself) {}

protected:
    // Default() raises EN_CHANGE; the handler goes on with the object after it.
    void OnChar(UINT ch, UINT repeat, UINT flags)
    {
        CEdit::OnChar(ch, repeat, flags);
        m_strText += static_cast<wchar_t>(ch);
        ++m_Tally.typed;
    }
    void OnReflectedChange()
    {
        if (m_bClosesItself)
            DestroyWindow();
        m_nChanges += 1;
    }
    void PostNcDestroy() override
    {
        ++m_Tally.deleted;
        delete this;
    }
    DECLARE_MESSAGE_MAP()

private:
    Tally& m_Tally;
    bool m_bClosesItself;
    std::wstring m_strText;
    int m_nChanges = 0;
};

BEGIN_MESSAGE_MAP(CSelfOwningEdit, CEdit)
    ON_WM_CHAR()
    ON_CONTROL_REFLECT(EN_CHANGE, OnReflectedChange)
END_MESSAGE_MAP()

class CClosingParent : public CWnd {
public:
    bool m_bClosesChild = false;

protected:
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override
    {
        const BOOL handled = CWnd::OnCommand(wParam, lParam);
        if (m_bClosesChild && HIWORD(wParam) == EN_CHANGE)
            ::DestroyWindow(reinterpret_cast<HWND>(lParam));
        return handled;
    }
};

class SelfOwningControl : public ::testing::TestWithParam<Closer> {};

TEST_P(SelfOwningControl, DestroyedInsideItsNotificationIsDeletedAfterItsHandlers)
{
    FrameworkTest::RegisterControls();
    CClosingParent parent;
    parent.m_bClosesChild = GetParam() == Closer::Parent;
    ASSERT_TRUE(parent.CreateEx(0, nullptr, L"Parent", WS_POPUP | WS_VISIBLE, 100, 100, 300, 200, nullptr, nullptr));
    SetActiveWindow(parent.m_hWnd);
    Tally tally;
    auto* edit = new CSelfOwningEdit(tally, GetParam() == Closer::Itself);
    ASSERT_TRUE(edit->Create(WS_CHILD | WS_VISIBLE, FrameworkTest::Area(10, 10, 200, 24), &parent, kEditId));
    const HWND hwnd = edit->m_hWnd;
    ::SetFocus(hwnd);
    UiTest::CDialogDriver driver(parent.m_hWnd);
    driver.Type(L"a");
    driver.PumpUntilIdle();
    EXPECT_FALSE(IsWindow(hwnd));
    EXPECT_EQ(tally.typed, 1) << "the key's handler ran to its end";
    EXPECT_EQ(tally.deleted, 1);
    parent.DestroyWindow();
    AfxDeleteTempObjects();
}

INSTANTIATE_TEST_SUITE_P(ByWhom, SelfOwningControl, ::testing::Values(Closer::Itself, Closer::Parent),
                         [](const ::testing::TestParamInfo<Closer>& info) {
                             return info.param == Closer::Itself ? std::string("Itself") : std::string("Parent");
                         });

}
