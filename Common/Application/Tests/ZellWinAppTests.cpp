// The start-up chain of the application base: the metrics of each DPI class
// at its edges, the executable's paths, the language, the brand (OEM)
// settings and their colours, the registry key and a failed start.
#include "Common/Application/Tests/TestApp.h"
#include "Common/Skin/GradientStatic.h"
#include "Common/Skin/ZellTooltip.h"
#include "Common/Grid/ZellGrid.h"
#include "Common/SystemHelper/Texts/LanguageHelper.h"
#include "Common/SystemHelper/Texts/LanguageTexts.h"
#include "Common/SystemHelper/Desktop/SystemInfo.h"
#include "Platform/Gdi/SysColors.h"
#include "Platform/Shell/ComInit.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <thread>

using namespace AppTest;
using namespace ZELL::Skin;
using namespace ZELL::Grid;

namespace {

struct DpiRow {
    int dpi;
    Hook hook;
    LONG fontHeight;
    int button, small, large, iconStatic, dialog, label;
    const wchar_t* labelFormat;
};

// Both edges of every class; the small icon of the lowest class is the one
// the class before left (16 from construction, 22 after 101-120).
const DpiRow kRows[] = {
    {48, kUpTo100, -11, 24, 16, 60, 32, 24, 11, L"    %s"},
    {90, kUpTo100, -11, 24, 16, 60, 32, 24, 11, L"    %s"},
    {91, kUpTo100, -13, 32, 16, 60, 38, 30, 11, L"    %s"},
    {96, kUpTo100, -13, 32, 16, 60, 38, 30, 11, L"    %s"},
    {100, kUpTo100, -13, 32, 16, 60, 38, 30, 11, L"    %s"},
    {101, kUpTo120, -16, 40, 22, 75, 44, 36, 12, L"     %s"},
    {120, kUpTo120, -16, 40, 22, 75, 44, 36, 12, L"     %s"},
    {90, kUpTo100, -11, 24, 22, 60, 32, 24, 11, L"    %s"},
    {121, kUpTo144, -19, 48, 26, 90, 52, 44, 13, L"     %s"},
    {144, kUpTo144, -19, 48, 26, 90, 52, 44, 13, L"     %s"},
    {145, kAbove144, -24, 64, 32, 120, 68, 60, 12, L"      %s"},
    {480, kAbove144, -24, 64, 32, 120, 68, 60, 12, L"      %s"},
};

// The screen's DPI for one test.
struct ScreenDpi {
    int saved = GetScreenDpi();
    explicit ScreenDpi(int dpi) { SetScreenDpi(dpi); }
    ~ScreenDpi() { SetScreenDpi(saved); }
};

class ZellWinApp : public ::testing::Test {
protected:
    void SetUp() override { GetLanguageSupport().Clear(); }
    void TearDown() override { GetLanguageSupport().Clear(); }

    std::wstring WriteGui(const std::string& extra = "") { return m_folder.Write("Tool.GUI.XML", GuiXml(extra)); }

    ScratchFolder m_folder;
};

// A 2 x 1 picture of the brand's, as a 24-bit BMP file.
std::string TwoPixelBmp()
{
    std::string bytes;
    const auto put = [&](std::uint32_t value, int size) {
        for (int i = 0; i < size; ++i)
            bytes += static_cast<char>((value >> (8 * i)) & 0xFF);
    };
    bytes += "BM";
    put(62, 4); // file size
    put(0, 4);
    put(54, 4); // where the pixels start
    put(40, 4); // the information header
    put(2, 4);
    put(1, 4);
    put(1, 2);
    put(24, 2);
    put(0, 4);
    put(8, 4); // one row of two pixels, padded to four bytes
    for (int i = 0; i < 4; ++i)
        put(0, 4);
    put(0xFF0000, 3);
    put(0x00FF00, 3);
    put(0, 2);
    return bytes;
}

std::string OemTexts()
{
    return Keyed("OEM_NAME", "Brand Tool") + Keyed("REGISTRY_KEY", "Brand Soft") + Keyed("SHOW_HELP", "HIDE") +
           Keyed("GradientColorEnd", "RGB(1,2,3)") + Keyed("GradientColorText", "4,5,6") +
           Keyed("GridColorHighlightBack", "RGB(10,20,30)") + Keyed("MenuColorSelect", "RGB(255,0,0)") +
           Keyed("MenuColorText", "0,0,128") + Keyed("TooltipColorBegin", "RGB(7,8,9)") +
           Keyed("TooltipColorText", "RGB(40,50,60)");
}

}

TEST_F(ZellWinApp, EachDpiClassSetsItsMetricsAndCallsExactlyItsOwnHook)
{
    CTestApp app(WriteGui());
    for (const DpiRow& row : kRows) {
        ScreenDpi screen(row.dpi);
        app.hooks = {};
        app.InitDpiMetrics();
        const std::array<int, kHookCount> expected = [&] {
            std::array<int, kHookCount> once{};
            once[row.hook] = 1;
            return once;
        }();
        EXPECT_EQ(app.hooks, expected) << row.dpi;
        EXPECT_EQ(app.m_buttonIconSize, row.button) << row.dpi;
        EXPECT_EQ(app.m_smallIconSize, row.small) << row.dpi;
        EXPECT_EQ(app.m_largeButtonIconSize, row.large) << row.dpi;
        EXPECT_EQ(app.m_iconStaticSize, row.iconStatic) << row.dpi;
        EXPECT_EQ(app.m_dialogMetric, row.dialog) << row.dpi;
        EXPECT_EQ(app.m_labelFontSize, row.label) << row.dpi;
        EXPECT_EQ(app.m_labelFormat, CString(row.labelFormat)) << row.dpi;
        LOGFONTW font{};
        ASSERT_NE(app.m_messageFont.GetLogFont(&font), 0) << row.dpi;
        EXPECT_EQ(font.lfHeight, row.fontHeight) << row.dpi;
        EXPECT_EQ(app.GetMessageLogFont().lfHeight, row.fontHeight) << row.dpi;
        EXPECT_EQ(app.GetLogoId(), CZellWinApp::kDefaultLogoId) << row.dpi;
    }
}

TEST_F(ZellWinApp, StartUpLoadsTheLanguageAndChoosesTheDefaultKeyOutsideOemMode)
{
    ScreenDpi screen(96);
    // Colour keys count only for a brand.
    CTestApp app(WriteGui(Keyed("GradientColorStart", "RGB(1,1,1)") + Keyed("MenuColorText", "RGB(2,2,2)")));
    app.RecordColours();
    ASSERT_TRUE(app.InitFramework(L"de", L"1031"));
    EXPECT_EQ(app.hooks[kUpTo100], 1);
    EXPECT_EQ(app.m_buttonIconSize, 32);
    EXPECT_EQ(GetLanguageText(L"LBL_ERROR_CODE"), CString(L"Fehlercode:"));
    EXPECT_FALSE(app.IsOemMode());
    EXPECT_TRUE(app.IsHelpShown());

    // The executable as the file system spells it.
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe");
    EXPECT_EQ(std::wstring(app.m_exeFileName.GetString()), exe.filename().wstring());
    EXPECT_EQ(std::wstring(app.m_exeDirectory.GetString()), exe.parent_path().wstring());
    EXPECT_EQ(app.GetExeBaseName(), CString(L"CommonApplicationTests"));

    EXPECT_EQ(app.m_registryKey, CString(L"Zell Software"));
    EXPECT_EQ(app.m_registryPath, CString(L"HKEY_CURRENT_USER\\Software\\Zell Software\\Zell App Tests"));
    EXPECT_STREQ(app.m_pszRegistryKey, L"Zell Software");
    EXPECT_STREQ(app.m_pszAppName, L"Zell App Tests");

    // The library hears of the file and language after the load and again
    // at the end of the chain, and of the name once.
    EXPECT_EQ(app.libraryFiles, (std::vector<std::wstring>(2, app.m_guiXmlFile.GetString())));
    EXPECT_EQ(app.libraryLcids, (std::vector<WORD>{1031, 1031}));
    EXPECT_EQ(app.libraryNames, (std::vector<std::wstring>{L"Zell App Tests"}));

    EXPECT_EQ(app.handed.gradient, (std::vector<COLORREF>{0x00009B32, 0x006EDCA0, 0x00FFFFFF}));
    EXPECT_EQ(app.handed.grid, (std::vector<COLORREF>{0x006EDCA0, 0x00FFFFFF, 0xFFFFFFFF, 0xFFFFFFFF}));
    EXPECT_EQ(app.handed.menu, (std::vector<COLORREF>{0x00EFEFEF, 0x00EFEFEF, 0x00000000}));
    EXPECT_EQ(app.handed.tooltip, (std::vector<COLORREF>{0x00FFFFFF, 0x00DDF7E9, 0x00A7E9C5, 0x00202020}));

    // A second choice of key changes nothing.
    app.InitRegistryKey(L"Other Key");
    EXPECT_EQ(app.m_registryKey, CString(L"Zell Software"));

    // The program runs the chain again with the final language; ending
    // ends every start of the object library.
    ASSERT_TRUE(app.InitFramework(L"en", L"1033"));
    EXPECT_EQ(GetLanguageText(L"LBL_ERROR_CODE"), CString(L"Error code:"));
    EXPECT_EQ(app.hooks[kUpTo100], 2);
    EXPECT_EQ(app.libraryLcids.back(), 1033);
    EXPECT_EQ(app.m_registryKey, CString(L"Zell Software"));
    EXPECT_EQ(app.ExitInstance(), 0);
    EXPECT_EQ(::CoInitialize(nullptr), S_OK) << "the object library is no longer started on this thread";
    ::CoUninitialize();
}

TEST_F(ZellWinApp, TheLibraryLanguageComesFromALanguageGivenAsNumber)
{
    CTestApp app(WriteGui());
    ASSERT_TRUE(app.InitFramework(L"1036", L""));
    EXPECT_EQ(GetLanguageText(L"LBL_ERROR_CODE"), CString(L"Code d'erreur :"));
    EXPECT_EQ(app.libraryLcids, (std::vector<WORD>{1036, 1036}));
    app.ExitInstance();

    for (const wchar_t* text : {L"", L"abc", L"65536", L"-1", L"1031x"})
        EXPECT_EQ(CZellWinApp::LcidOfText(text), 0) << text;
    EXPECT_EQ(CZellWinApp::LcidOfText(L" 1033 "), 1033);
    EXPECT_EQ(CZellWinApp::LcidOfText(L"65535"), 65535);
}

TEST_F(ZellWinApp, ABrandNamesTheProgramItsKeyItsColoursAndItsLogo)
{
    const std::wstring logo = m_folder.Write("brand.bmp", TwoPixelBmp());
    CTestApp app(WriteGui(OemTexts() + Keyed("OEM_LOGO", Text::WideToUtf8(logo))));
    app.RecordColours();
    ASSERT_TRUE(app.InitFramework(L"en", L"1033"));
    EXPECT_TRUE(app.IsOemMode());
    EXPECT_FALSE(app.IsHelpShown());
    EXPECT_STREQ(app.m_pszAppName, L"Brand Tool");
    EXPECT_STREQ(AfxGetAppName(), L"Brand Tool");
    EXPECT_EQ(app.libraryNames, (std::vector<std::wstring>{L"Brand Tool"}));
    EXPECT_EQ(app.m_registryKey, CString(L"Brand Soft"));
    EXPECT_EQ(app.m_registryPath, CString(L"HKEY_CURRENT_USER\\Software\\Brand Soft\\Brand Tool"));
    ASSERT_NE(app.GetLogoBitmap(), nullptr);
    BITMAP picture{};
    ASSERT_NE(::GetObjectW(app.GetLogoBitmap(), sizeof picture, &picture), 0);
    EXPECT_EQ(picture.bmWidth, 2);
    EXPECT_EQ(picture.bmHeight, 1);

    // Undefined gradient colours are the active caption's; other undefined ones are kept.
    const COLORREF keep = CZellWinApp::kKeepColour;
    EXPECT_EQ(app.handed.gradient, (std::vector<COLORREF>{::GetSysColor(COLOR_ACTIVECAPTION), RGB(1, 2, 3), RGB(4, 5, 6)}));
    EXPECT_EQ(app.handed.grid, (std::vector<COLORREF>{RGB(10, 20, 30), keep, 0xFFFFFFFF, 0xFFFFFFFF}));
    EXPECT_EQ(app.handed.menu, (std::vector<COLORREF>{RGB(255, 0, 0), keep, RGB(0, 0, 128)}));
    EXPECT_EQ(app.handed.tooltip, (std::vector<COLORREF>{RGB(7, 8, 9), keep, keep, RGB(40, 50, 60)}));

    // The profile lives under the brand's key and name.
    EXPECT_TRUE(app.WriteProfileString(L"Common", L"Language", L"en"));
    CWinApp reader(L"Brand Tool");
    reader.SetRegistryKey(L"Brand Soft");
    EXPECT_EQ(reader.GetProfileString(L"Common", L"Language"), CString(L"en"));
    app.ExitInstance();
}

TEST_F(ZellWinApp, ABrandWithoutItsLogoFileHasNoLogoAndTheDefaultColoursReachTheControls)
{
    {
        CTestApp app(WriteGui(Keyed("OEM_NAME", "Brand Tool") + Keyed("OEM_LOGO", "/nonexistent/zell/logo.bmp")));
        ASSERT_TRUE(app.InitFramework(L"en", L"1033"));
        EXPECT_TRUE(app.IsOemMode());
        EXPECT_EQ(app.GetLogoBitmap(), nullptr);
        EXPECT_TRUE(app.IsHelpShown());
        app.ExitInstance();
    }
    GetLanguageSupport().Clear();
    CTestApp plain(WriteGui());
    ASSERT_TRUE(plain.InitFramework(L"en", L"1033"));
    CGradientStatic caption;
    EXPECT_EQ(caption.GetStartColor(), 0x00009B32u);
    EXPECT_EQ(caption.GetEndColor(), 0x006EDCA0u);
    EXPECT_EQ(caption.GetTextColor(), 0x00FFFFFFu);
    plain.ExitInstance();
}

// The colours of the look as the tooltip wrappers and grids made after
// start-up take them.
struct LookSeen {
    std::vector<COLORREF> tooltip;
    std::vector<COLORREF> grid;

    static LookSeen Now()
    {
        LookSeen seen;
        for (int i = 0; i < 4; ++i)
            seen.tooltip.push_back(CZellTooltip::GlobalColor(i));
        CZellGrid grid;
        seen.grid = {grid.GetSelectedBackColour(), grid.GetSelectedTextColour()};
        return seen;
    }
};

// The contrast ratio of two colours by their relative luminance.
double ContrastRatio(COLORREF a, COLORREF b)
{
    const auto luminance = [](COLORREF colour) {
        const auto linear = [](BYTE channel) {
            const double c = channel / 255.0;
            return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * linear(GetRValue(colour)) + 0.7152 * linear(GetGValue(colour)) +
               0.0722 * linear(GetBValue(colour));
    };
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

TEST_F(ZellWinApp, TheTooltipTextReadsOnEveryColourOfItsBackground)
{
    CTestApp app(WriteGui(""));
    ASSERT_TRUE(app.InitFramework(L"en", L"1033"));
    const LookSeen seen = LookSeen::Now();
    for (int background = 0; background < 3; ++background)
        EXPECT_GE(ContrastRatio(seen.tooltip[3], seen.tooltip[background]), 7.0) << "background " << background;
    app.ExitInstance();
}

TEST_F(ZellWinApp, TheLooksColoursReachTheTooltipsAndTheGridWithAndWithoutABrand)
{
    const LookSeen before = LookSeen::Now();
    {
        // Without a brand the program's own colours win over defined keys.
        CTestApp plain(WriteGui(Keyed("TooltipColorBegin", "RGB(1,1,1)") + Keyed("GridColorHighlightBack", "2,2,2")));
        ASSERT_TRUE(plain.InitFramework(L"en", L"1033"));
        const LookSeen seen = LookSeen::Now();
        EXPECT_EQ(seen.tooltip, (std::vector<COLORREF>{0x00FFFFFF, 0x00DDF7E9, 0x00A7E9C5, 0x00202020}));
        EXPECT_EQ(seen.grid, (std::vector<COLORREF>{0x006EDCA0, 0x00FFFFFF}));
        plain.ExitInstance();
    }
    GetLanguageSupport().Clear();
    {
        // A brand sets what it defines; what it leaves out stays as it was.
        CTestApp brand(WriteGui(OemTexts() + Keyed("TooltipColorEnd", "RGB(70,80,90)")));
        ASSERT_TRUE(brand.InitFramework(L"en", L"1033"));
        ASSERT_TRUE(brand.IsOemMode());
        const LookSeen seen = LookSeen::Now();
        EXPECT_EQ(seen.tooltip, (std::vector<COLORREF>{RGB(7, 8, 9), 0x00DDF7E9, RGB(70, 80, 90), RGB(40, 50, 60)}));
        EXPECT_EQ(seen.grid, (std::vector<COLORREF>{RGB(10, 20, 30), 0x00FFFFFF}));
        // A wrapper made now starts from them.
        CZellTooltip wrapper;
        CWnd parent;
        ASSERT_TRUE(parent.CreateEx(0, L"STATIC", L"", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr));
        ASSERT_TRUE(wrapper.Create(&parent));
        EXPECT_EQ(wrapper.Tooltip()->GetDefaultColor(0), RGB(7, 8, 9));
        EXPECT_EQ(wrapper.Tooltip()->GetDefaultColor(2), RGB(70, 80, 90));
        wrapper.Tooltip()->DestroyWindow();
        parent.DestroyWindow();
        brand.ExitInstance();
    }
    CZellTooltip::SetGlobalColors(before.tooltip[0], before.tooltip[1], before.tooltip[2], before.tooltip[3]);
    SetGridHighlightColours(before.grid[0], before.grid[1]);
}

TEST_F(ZellWinApp, WithoutItsGuiFileStartUpGoesOnWithKeysForTexts)
{
    CTestApp app(L"");
    app.RecordColours();
    ASSERT_TRUE(app.InitFramework(L"de", L"1031"));
    EXPECT_FALSE(app.IsOemMode());
    EXPECT_EQ(GetLanguageText(L"LBL_ERROR_CODE"), CString(L"##LBL_ERROR_CODE"));
    EXPECT_EQ(app.m_registryKey, CString(L"Zell Software"));
    EXPECT_EQ(app.handed.menu, (std::vector<COLORREF>{0x00EFEFEF, 0x00EFEFEF, 0x00000000}));
    EXPECT_FALSE(app.IsLanguageAvailable(L"de")) << "no file offers it";
    CString language = L"de";
    CString lcid = L"1031";
    EXPECT_FALSE(app.SetupLanguage(language, lcid));
    app.ExitInstance();

    // An unreadable or missing file is reported once, naming the file and
    // the reason, however often start-up looks into it; start-up goes on.
    static std::vector<std::wstring> reports;
    SetMessageBoxHandler([](const wchar_t* text, UINT) { reports.emplace_back(text); });
    const struct {
        std::wstring file;
        const wchar_t* reason;
    } cases[] = {{m_folder.Write("Broken.GUI.XML", "<gui><languages>"), L"line 1"},
                 {m_folder.Write("Broken.GUI.XML", "") + L".missing", L"No such file"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        reports.clear();
        CTestApp broken(c.file);
        language = L"de";
        EXPECT_FALSE(broken.SetupLanguage(language, lcid));
        EXPECT_TRUE(broken.InitFramework(L"de", L"1031"));
        EXPECT_TRUE(broken.InitFramework(L"en", L"1033"));
        EXPECT_FALSE(broken.IsLanguageAvailable(L"de"));
        EXPECT_EQ(broken.m_registryKey, CString(L"Zell Software"));
        EXPECT_TRUE(broken.libraryFiles.empty()) << "the library would report the file again";
        broken.ExitInstance();
        ASSERT_EQ(reports.size(), 1u);
        EXPECT_NE(reports[0].find(c.file), std::wstring::npos) << reports[0];
        EXPECT_NE(reports[0].find(c.reason), std::wstring::npos) << reports[0];
    }
    SetMessageBoxHandler(nullptr);
}

TEST_F(ZellWinApp, AFailedObjectLibraryStartStopsTheChain)
{
    // A thread that chose the other concurrency model cannot start the
    // object library as the chain asks for it.
    std::thread([&] {
        ASSERT_EQ(::CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_OK);
        CTestApp app(WriteGui(Keyed("OEM_NAME", "Brand Tool")));
        app.RecordColours();
        EXPECT_FALSE(app.InitFramework(L"de", L"1031"));
        EXPECT_EQ(app.hooks, (std::array<int, kHookCount>{}));
        EXPECT_TRUE(app.m_exeDirectory.IsEmpty());
        EXPECT_TRUE(app.m_guiXmlFile.IsEmpty());
        EXPECT_TRUE(app.handed.gradient.empty());
        EXPECT_TRUE(app.m_registryKey.IsEmpty());
        EXPECT_STREQ(app.m_pszAppName, L"Zell App Tests");
        EXPECT_TRUE(app.libraryNames.empty());
        // Ending does not take back a start it did not make.
        app.ExitInstance();
        EXPECT_EQ(::CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_FALSE);
        ::CoUninitialize();
        ::CoUninitialize();
    }).join();
}

TEST_F(ZellWinApp, ALanguageIsAvailableWhenTheProfileListsItWholeAndTheFileOffersIt)
{
    CTestApp app(WriteGui());
    ASSERT_TRUE(app.InitFramework(L"en", L"1033"));
    app.WriteProfileString(L"Common", L"SupportedLanguages", nullptr);
    EXPECT_TRUE(app.IsLanguageAvailable(L"de"));
    EXPECT_TRUE(app.IsLanguageAvailable(L"en"));
    for (const wchar_t* code : {L"fr", L"d", L"e", L"n", L"de;en", L";", L""})
        EXPECT_FALSE(app.IsLanguageAvailable(code)) << code;

    app.WriteProfileString(L"Common", L"SupportedLanguages", L"xde; fr ;ja");
    EXPECT_FALSE(app.IsLanguageAvailable(L"de")) << "part of an item is no item";
    EXPECT_TRUE(app.IsLanguageAvailable(L"fr"));
    EXPECT_TRUE(app.IsLanguageAvailable(L"FR"));
    EXPECT_FALSE(app.IsLanguageAvailable(L"ja")) << "the file does not offer it";
    app.WriteProfileString(L"Common", L"SupportedLanguages", nullptr);
    app.ExitInstance();
}
