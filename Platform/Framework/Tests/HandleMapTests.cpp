// Handle maps and the application state: temporary wrappers freed at idle,
// permanent ones let go when their window goes, self-deleting windows, the
// resource module switched and put back, the profile round trip.
#include "Platform/Framework/Windows/Menu.h"
#include "Platform/Framework/Tests/FrameworkTestSupport.h"
#include "Platform/Framework/Core/TempHandleMap.h"
#include "Platform/Framework/App/WaitCursor.h"
#include "Platform/Framework/App/WinApp.h"

namespace {

class CSelfDeleting : public CWnd {
public:
    explicit CSelfDeleting(int& deletions) : m_nDeletions(deletions) {}
    ~CSelfDeleting() override { ++m_nDeletions; }

protected:
    void PostNcDestroy() override { delete this; }

private:
    int& m_nDeletions;
};

// A window whose WM_NCDESTROY handler forgets the base's.
class CForgetful : public CWnd {
public:
    bool m_bSawNcDestroy = false;

protected:
    void OnNcDestroy() { m_bSawNcDestroy = true; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CForgetful, CWnd)
    ON_WM_NCDESTROY()
END_MESSAGE_MAP()

HWND PlainWindow()
{
    return CreateWindowExW(0, CWnd::DefaultClassName(), L"plain", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr,
                           nullptr, nullptr, nullptr);
}

}

TEST(HandleMaps, ATemporaryWrapperLastsUntilTheIdleStep)
{
    AfxDeleteTempObjects();
    HWND hwnd = PlainWindow();
    CWnd* temporary = CWnd::FromHandle(hwnd);
    ASSERT_NE(temporary, nullptr);
    EXPECT_EQ(CWnd::FromHandle(hwnd), temporary);
    EXPECT_EQ(CWnd::FromHandlePermanent(hwnd), nullptr);
    EXPECT_EQ(AfxTempObjectCount(), 1u);

    CWinThread thread;
    thread.m_bAutoDelete = FALSE;
    EXPECT_TRUE(thread.OnIdle(0));
    EXPECT_EQ(AfxTempObjectCount(), 1u);
    EXPECT_FALSE(thread.OnIdle(1));
    EXPECT_EQ(AfxTempObjectCount(), 0u);
    // Freeing the wrapper left the window alone.
    EXPECT_TRUE(IsWindow(hwnd));
    DestroyWindow(hwnd);
}

TEST(HandleMaps, APermanentWrapperIsLetGoWhenItsWindowIsDestroyed)
{
    CWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, nullptr, L"own", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr));
    const HWND hwnd = wnd.m_hWnd;
    EXPECT_EQ(CWnd::FromHandle(hwnd), &wnd);
    EXPECT_FALSE(CWnd().Attach(hwnd));  // one wrapper per window
    EXPECT_TRUE(DestroyWindow(hwnd));
    EXPECT_EQ(wnd.m_hWnd, nullptr);
    EXPECT_EQ(CWnd::FromHandlePermanent(hwnd), nullptr);

    // Even when the class's own handler skips the base's.
    CForgetful forgetful;
    ASSERT_TRUE(forgetful.CreateEx(0, nullptr, L"f", WS_OVERLAPPEDWINDOW, 0, 0, 50, 50, nullptr, nullptr));
    forgetful.DestroyWindow();
    EXPECT_TRUE(forgetful.m_bSawNcDestroy);
    EXPECT_EQ(forgetful.m_hWnd, nullptr);

    // A wrapper that goes first takes its window along.
    HWND gone = nullptr;
    {
        CWnd scoped;
        ASSERT_TRUE(scoped.CreateEx(0, nullptr, L"s", WS_OVERLAPPEDWINDOW, 0, 0, 50, 50, nullptr, nullptr));
        gone = scoped.m_hWnd;
    }
    EXPECT_FALSE(IsWindow(gone));
}

TEST(HandleMaps, ASelfDeletingWindowDeletesItselfOnce)
{
    int deletions = 0;
    auto* wnd = new CSelfDeleting(deletions);
    ASSERT_TRUE(wnd->CreateEx(0, nullptr, L"self", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr));
    const HWND hwnd = wnd->m_hWnd;
    EXPECT_TRUE(wnd->DestroyWindow());
    EXPECT_EQ(deletions, 1);
    EXPECT_FALSE(IsWindow(hwnd));
    EXPECT_EQ(CWnd::FromHandlePermanent(hwnd), nullptr);
}

TEST(HandleMaps, CreationFailsCleanlyWhenTheClassIsUnknown)
{
    CWnd wnd;
    EXPECT_FALSE(wnd.CreateEx(0, L"NoSuchClass", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
    EXPECT_EQ(wnd.m_hWnd, nullptr);
}

TEST(ModuleState, TheResourceHandleIsSwitchedAndPutBack)
{
    const HINSTANCE own = AfxGetResourceHandle();
    EXPECT_EQ(own, AfxGetInstanceHandle());
    static int otherModule = 0;
    const auto other = reinterpret_cast<HINSTANCE>(&otherModule);
    AfxSetResourceHandle(other);
    EXPECT_EQ(AfxGetResourceHandle(), other);
    {
        const Ui::CResourceModuleScope scope(own);
        EXPECT_EQ(AfxGetResourceHandle(), own);
    }
    EXPECT_EQ(AfxGetResourceHandle(), other);
    AfxSetResourceHandle(own);
    EXPECT_EQ(AfxGetResourceHandle(), own);
}

TEST(ModuleState, TheApplicationObjectKeepsItsProfileUnderItsKey)
{
    EXPECT_EQ(AfxGetApp(), nullptr);
    {
        CWinApp app(L"Framework Test");
        EXPECT_EQ(AfxGetApp(), &app);
        EXPECT_STREQ(app.m_pszAppName, L"Framework Test");
        EXPECT_STREQ(app.m_pszExeName, L"PlatformFrameworkTests");
        // Without a registry key there is no profile to keep.
        EXPECT_FALSE(app.WriteProfileInt(L"Window", L"Width", 5));
        EXPECT_EQ(app.GetProfileInt(L"Window", L"Width", 9), 9u);

        app.SetRegistryKey(L"Zell Tests");
        EXPECT_TRUE(app.WriteProfileInt(L"Window", L"Width", 640));
        EXPECT_TRUE(app.WriteProfileString(L"Window", L"Title", L"Main"));
        BYTE bytes[] = {1, 2, 0, 255};
        EXPECT_TRUE(app.WriteProfileBinary(L"Window", L"Place", bytes, sizeof bytes));
        EXPECT_EQ(app.GetProfileInt(L"Window", L"Width", 0), 640u);
        EXPECT_EQ(CString(app.GetProfileString(L"Window", L"Title")), CString(L"Main"));
        EXPECT_EQ(CString(app.GetProfileString(L"Window", L"Missing", L"none")), CString(L"none"));
        LPBYTE data = nullptr;
        UINT size = 0;
        ASSERT_TRUE(app.GetProfileBinary(L"Window", L"Place", &data, &size));
        EXPECT_EQ(std::vector<BYTE>(data, data + size), std::vector<BYTE>(bytes, bytes + 4));
        delete[] data;
        EXPECT_TRUE(app.WriteProfileString(L"Window", nullptr, nullptr));
        EXPECT_EQ(app.GetProfileInt(L"Window", L"Width", 3), 3u);
    }
    EXPECT_EQ(AfxGetApp(), nullptr);
}

TEST(ModuleState, TheProfileFollowsATitleReplacedBeforeTheKeyIsSet)
{
    CWinApp app(L"Framework Test");
    const std::wstring brand = L"Brand Tool";
    app.m_pszAppName = brand.c_str();
    app.SetRegistryKey(L"Zell Tests");
    EXPECT_STREQ(app.m_pszProfileName, L"Brand Tool");
    EXPECT_TRUE(app.WriteProfileString(L"Window", L"Title", L"Branded"));

    CWinApp plain(L"Framework Test");
    plain.SetRegistryKey(L"Zell Tests");
    EXPECT_EQ(CString(plain.GetProfileString(L"Window", L"Title", L"none")), CString(L"none"));
    EXPECT_EQ(CString(app.GetProfileString(L"Window", L"Title")), CString(L"Branded"));
}

TEST(ModuleState, AWorkerThreadRunsItsFunctionWithItsParameter)
{
    struct Job {
        HANDLE done = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        int value = 0;
    } job;
    CWinThread* thread = AfxBeginThread(
        [](LPVOID parameter) -> UINT {
            auto* j = static_cast<Job*>(parameter);
            j->value = 42;
            SetEvent(j->done);
            return 0;
        },
        &job);
    ASSERT_NE(thread, nullptr);
    EXPECT_EQ(WaitForSingleObject(job.done, 5000), WAIT_OBJECT_0);
    EXPECT_EQ(job.value, 42);
    CloseHandle(job.done);
    EXPECT_EQ(AfxBeginThread(nullptr, nullptr), nullptr);
}

TEST(ModuleState, AWaitCursorPutsThePreviousCursorBack)
{
    const HCURSOR arrow = LoadCursorW(nullptr, IDC_ARROW);
    SetCursor(arrow);
    {
        CWaitCursor wait;
        EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_WAIT));
        SetCursor(arrow);
        wait.Restore();
        EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_WAIT));
    }
    EXPECT_EQ(GetCursor(), arrow);
}

TEST(ModuleState, ASharedLibraryHasItsOwnApplicationAndResourceHandle)
{
    CWinApp program(L"Program");
    HMODULE library = LoadLibraryA(ZELL_FRAMEWORK_APP_LIBRARY);
    ASSERT_NE(library, nullptr);
    auto name = reinterpret_cast<const wchar_t* (*)()>(GetProcAddress(library, "LibraryAppName"));
    auto init = reinterpret_cast<BOOL (*)()>(GetProcAddress(library, "LibraryInit"));
    auto resources = reinterpret_cast<HINSTANCE (*)()>(GetProcAddress(library, "LibraryResourceHandle"));
    auto instance = reinterpret_cast<HINSTANCE (*)()>(GetProcAddress(library, "LibraryInstance"));
    auto setResources = reinterpret_cast<void (*)(HINSTANCE)>(GetProcAddress(library, "LibrarySetResourceHandle"));
    ASSERT_TRUE(name && init && resources && instance && setResources);

    EXPECT_STREQ(name(), L"Library App");
    EXPECT_STREQ(AfxGetApp()->m_pszAppName, L"Program");
    EXPECT_TRUE(init());
    EXPECT_EQ(instance(), library);
    EXPECT_NE(instance(), AfxGetInstanceHandle());
    EXPECT_EQ(resources(), library);

    // The library switching its resource handle leaves the program's alone.
    const HINSTANCE own = AfxGetResourceHandle();
    static int satellite = 0;
    setResources(reinterpret_cast<HINSTANCE>(&satellite));
    EXPECT_EQ(resources(), reinterpret_cast<HINSTANCE>(&satellite));
    EXPECT_EQ(AfxGetResourceHandle(), own);
    setResources(nullptr);
    EXPECT_EQ(resources(), library);
    FreeLibrary(library);
}
