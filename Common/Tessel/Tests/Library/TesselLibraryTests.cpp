// libtessel.so as its users load it: what it exports, and its boxes and
// balloons in the program's window system.
#include "Common/SystemHelper/Texts/LanguageTexts.h"
#include "Common/SystemHelper/Tests/LanguageSupportTestFiles.h"
#include "Platform/Base/Module.h"
#include "Platform/Base/Tests/ExportedSymbols.h"
#include "Platform/Base/Tests/FileOpenCounter.h"
#include "Platform/Base/TextConversion.h"
#include "Platform/Controls/MessageBox.h"
#include "Platform/Controls/StandardControls.h"
#include "Platform/Ui/Tests/DialogDriver.h"
#include "Platform/Ui/Tests/UiTestSupport.h"
#include "Platform/Ui/Tests/WindowText.h"

#include <gtest/gtest.h>

#include <dlfcn.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <cstdio>
#include <memory>
#include <set>
#include <sstream>
#include <string>

namespace {

using MessageBoxFn = int (*)(LPCWSTR, UINT, LPCWSTR, UINT);
using BalloonFn = int (*)(LPCWSTR, LPCWSTR, HWND, HWND, HINSTANCE, UINT, BOOL, UINT, const POINT*, BOOL);
using SetLanguageFn = void (*)(WORD);
using SetGuiXmlFileFn = void (*)(LPCWSTR, WORD);
using IntGetterFn = int (*)();
using AboutFn = void (*)(LPCWSTR, LPCWSTR, LPCWSTR, LPCWSTR, LPCWSTR, HICON, int);

constexpr UINT_PTR kStepTimer = 77;

// The exported functions with plain names: the library's own interface.
std::set<std::string> PlainExports(const std::string& symbols)
{
    std::set<std::string> names;
    std::istringstream lines(symbols);
    for (std::string line; std::getline(lines, line);) {
        std::istringstream fields(line);
        std::string address, type, name;
        fields >> address >> type >> name;
        const bool library = name.rfind("ZELL", 0) == 0 || name.rfind("TSLXDLL_", 0) == 0 ||
                             name.rfind("DestroyZELL", 0) == 0;
        if (type == "T" && library && name.find(':') == std::string::npos)
            names.insert(name);
    }
    return names;
}

class CLoadedLibrary {
public:
    CLoadedLibrary() : m_handle(dlopen(TESSEL_LIBRARY_FILE, RTLD_NOW | RTLD_LOCAL)) {}
    ~CLoadedLibrary() { Unload(); }
    CLoadedLibrary(const CLoadedLibrary&) = delete;
    CLoadedLibrary& operator=(const CLoadedLibrary&) = delete;

    bool IsLoaded() const { return m_handle != nullptr; }
    template <typename Fn>
    Fn Get(const char* name) const
    {
        return reinterpret_cast<Fn>(dlsym(m_handle, name));
    }
    void Unload()
    {
        if (m_handle != nullptr)
            dlclose(m_handle);
        m_handle = nullptr;
    }

private:
    void* m_handle = nullptr;
};

class TesselLibrary : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(ZELL::Controls::RegisterStandardControls());
        m_owner.hwnd = UiTest::Create(&m_log, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 80, 500, 300);
        SetActiveWindow(m_owner.hwnd);
        UiTest::Drain();
    }

    UiTest::Handler m_log;
    UiTest::WindowGuard m_owner;
};

}

TEST_F(TesselLibrary, ExportsItsPlainFunctionsAndKeepsItsClassesToItself)
{
    const std::string symbols = TestSupport::ExportedSymbols(TESSEL_LIBRARY_FILE);
    ASSERT_FALSE(symbols.empty()) << "nm could not read " << TESSEL_LIBRARY_FILE;
    const std::set<std::string> expected = {
        "DestroyZELLBalloonMsg", "ZELLAboutDialog", "ZELLBalloonMsg", "ZELLMessageBox", "TSLXDLL_GetIconSizeButton",
        "TSLXDLL_GetMainLogfont", "TSLXDLL_GetTitleFontSize", "TSLXDLL_SetAppName", "TSLXDLL_SetGuiXmlFile",
        "TSLXDLL_SetLanguage"};
    EXPECT_EQ(PlainExports(symbols), expected);
    for (const char* hidden : {"Tessel::", "CTesselApp", "CThemedGroupBox", "CLanguageHelper::", "CDefaultLogger::",
                               "CLanguageSupportImpl::", "CModuleVersion::", "CZellGrid", "CZellWinApp"})
        EXPECT_EQ(symbols.find(hidden), std::string::npos) << hidden << " leaks out of the library";
}

TEST_F(TesselLibrary, ItsMessageBoxRunsInTheProgramsWindowsInTheLanguageItIsGiven)
{
    CLoadedLibrary library;
    ASSERT_TRUE(library.IsLoaded()) << dlerror();
    const auto setLanguage = library.Get<SetLanguageFn>("TSLXDLL_SetLanguage");
    const auto messageBox = library.Get<MessageBoxFn>("ZELLMessageBox");
    const auto iconSize = library.Get<IntGetterFn>("TSLXDLL_GetIconSizeButton");
    ASSERT_TRUE(setLanguage && messageBox && iconSize);
    EXPECT_EQ(iconSize(), 32);
    setLanguage(0x0407);
    std::wstring noCaption;
    m_log.m_onMessage = [&](HWND hwnd, UINT m, WPARAM w, LPARAM, LRESULT&) {
        if (m != WM_TIMER || w != kStepTimer)
            return false;
        KillTimer(hwnd, kStepTimer);
        UiTest::CDialogDriver box(GetActiveWindow());
        noCaption = box.Text(IDNO);
        box.Click(IDNO);
        return true;
    };
    SetTimer(m_owner.hwnd, kStepTimer, 10, nullptr);
    EXPECT_EQ(messageBox(L"Schreiben?", MB_YESNO, L"Test", 0), IDNO);
    m_log.m_onMessage = nullptr;
    EXPECT_EQ(noCaption, L"&Nein");
}

TEST_F(TesselLibrary, ItsAboutDialogOpensOverTheProgramWithItsOwnTemplateAndClosesWithEscape)
{
    CLoadedLibrary library;
    ASSERT_TRUE(library.IsLoaded()) << dlerror();
    const auto about = library.Get<AboutFn>("ZELLAboutDialog");
    const auto setLanguage = library.Get<SetLanguageFn>("TSLXDLL_SetLanguage");
    ASSERT_TRUE(about && setLanguage);
    setLanguage(0x040C);
    std::wstring caption;
    std::wstring close;
    std::wstring title;
    m_log.m_onMessage = [&](HWND hwnd, UINT m, WPARAM w, LPARAM, LRESULT&) {
        if (m != WM_TIMER || w != kStepTimer)
            return false;
        KillTimer(hwnd, kStepTimer);
        UiTest::CDialogDriver dialog(GetActiveWindow());
        caption = UiTest::TextOf(dialog.Dialog());
        close = dialog.Text(IDOK);
        title = dialog.Text(1173);
        dialog.Press(VK_ESCAPE);
        return true;
    };
    SetTimer(m_owner.hwnd, kStepTimer, 10, nullptr);
    about(L"", L"1.2.3.4", L"2026-12-01", L"Coupler Settings", L"1.2", nullptr, -1);
    m_log.m_onMessage = nullptr;
    EXPECT_EQ(caption, L"\u00c0 propos Coupler Settings ");
    EXPECT_EQ(close, L"&Fermer");
    EXPECT_EQ(title, L"Coupler Settings");
    EXPECT_TRUE(IsWindowEnabled(m_owner.hwnd));
}

TEST_F(TesselLibrary, ItsBalloonPointsAtTheProgramsFieldUntilItIsDestroyed)
{
    HWND field = CreateWindowExW(0, L"Edit", L"1", WS_CHILD | WS_VISIBLE, 10, 10, 100, 24, m_owner.hwnd, nullptr,
                                 nullptr, nullptr);
    CLoadedLibrary library;
    ASSERT_TRUE(library.IsLoaded()) << dlerror();
    const auto balloon = library.Get<BalloonFn>("ZELLBalloonMsg");
    const auto destroy = library.Get<IntGetterFn>("DestroyZELLBalloonMsg");
    ASSERT_TRUE(balloon && destroy);
    const HINSTANCE program = GetModuleHandleW(nullptr);
    EXPECT_EQ(balloon(L"Value", L"Out of range", field, m_owner.hwnd, program, 13, TRUE, 0, nullptr, TRUE), 0);
    const HWND tip = FindWindowW(L"tooltips_class32", nullptr);
    ASSERT_NE(tip, nullptr);
    EXPECT_TRUE(IsWindowVisible(tip));
    WNDCLASSW wc{};
    EXPECT_TRUE(GetClassInfoW(program, L"ZellBalloonHost", &wc));
    EXPECT_EQ(destroy(), 0);
    UiTest::Drain();
    EXPECT_FALSE(IsWindow(tip));
}

// The program and the library each keep their texts, but a start reads the
// text file once: the library takes what the program read, and reads the
// file itself only once it changed.
TEST_F(TesselLibrary, ItTakesTheTextsTheProgramReadWithoutReadingTheFileAgain)
{
    ScratchFolder folder;
    const auto write = [&folder](const std::string& name) {
        const std::wstring file = folder.Write(
            "Prog.GUI.XML", "<gui><languages><language lcid='1031' code='de'/><language lcid='1033' code='en'/>"
                            "</languages><text key='OEM_NAME'><locale code='de'>" + name + "</locale><locale code='en'>" +
                                name + "</locale></text></gui>");
        const timespec settled[2] = {{0, UTIME_OMIT}, {std::time(nullptr) - 60, 0}};
        ::utimensat(AT_FDCWD, Text::WideToUtf8(file).c_str(), settled, 0);
        return file;
    };
    const std::wstring file = write("Brand");
    TestSupport::CFileOpenCounter opens(Text::WideToUtf8(file));
    CString language = L"en";
    CString lcid;
    ASSERT_TRUE(LoadLanguageTexts(file.c_str(), language, lcid));
    EXPECT_EQ(opens.Take(), 1);

    CLoadedLibrary library;
    ASSERT_TRUE(library.IsLoaded()) << dlerror();
    const auto setGuiXmlFile = library.Get<SetGuiXmlFileFn>("TSLXDLL_SetGuiXmlFile");
    ASSERT_TRUE(setGuiXmlFile);
    setGuiXmlFile(file.c_str(), 1033);
    EXPECT_EQ(opens.Take(), 0);

    write("Other brand");
    opens.Take();
    setGuiXmlFile(file.c_str(), 1031);
    EXPECT_EQ(opens.Take(), 1);
    GetLanguageSupport().Clear();
}
