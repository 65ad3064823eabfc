// The library's settings, texts and application name as the exports set
// and read them.
#include "Common/Skin/GradientStatic.h"
#include "Common/Grid/ZellGrid.h"
#include "Common/SystemHelper/Tests/LanguageSupportTestFiles.h"
#include "Common/Tessel/Tests/TesselTestSupport.h"
#include "Common/Tessel/TesselExports.h"
#include "Common/Tessel/TesselResourceIds.h"

#include <cstring>

using namespace Tessel;
using namespace ZELL::Skin;
using namespace ZELL::Grid;
using TesselTest::CFreshLibrary;

namespace {

class LibrarySettings : public CFreshLibrary {};

}

TEST_F(LibrarySettings, TheApplicationNameComesFromTheCallerElseFromTheProgramsFileName)
{
    EXPECT_EQ(AppNameOfExecutable(L"C:\\Tools\\Setup.EXE"), L"Setup");
    EXPECT_EQ(AppNameOfExecutable(L"/opt/zell/bin/corvane"), L"corvane");
    EXPECT_EQ(AppNameOfExecutable(L"/opt/tool.exe.EXE"), L"tool");
    // This program carries no version record: its file name stands in.
    EXPECT_EQ(GetAppName(), L"TesselTests");
    TSLXDLL_SetAppName(L"Coupler Settings");
    EXPECT_EQ(GetAppName(), L"Coupler Settings");
    TSLXDLL_SetAppName(L"");
    EXPECT_EQ(GetAppName(), L"TesselTests");
    TSLXDLL_SetAppName(nullptr);
    EXPECT_EQ(GetAppName(), L"TesselTests");
}

TEST_F(LibrarySettings, StringsComeInExactlyTheCurrentLanguage)
{
    // A fresh library has no language of its own yet.
    EXPECT_EQ(LoadLangString(IDS_ABOUT_FILES), L"");
    const std::pair<WORD, LPCWSTR> cases[] = {
        {0x0409, L"Files"}, {0x0407, L"Dateien"}, {0x040C, L"Fichiers"}, {0x0410, L""},
        // German of Switzerland is another language: no table.
        {0x0807, L""}, {0x0000, L""},
    };
    for (const auto& [language, expected] : cases) {
        TSLXDLL_SetLanguage(language);
        EXPECT_EQ(LoadLangString(IDS_ABOUT_FILES), expected) << std::hex << language;
    }
    TSLXDLL_SetLanguage(0x0407);
    EXPECT_EQ(LoadLangString(IDS_MSGBOX_CANCEL), L"&Abbrechen");
    EXPECT_EQ(LoadLangString(IDS_ABOUT_CLOSE), L"Schlie\u00dfen");
    // A number without any text in the block, and one without a block.
    EXPECT_EQ(LoadLangString(2015), L"");
    EXPECT_EQ(LoadLangString(40000), L"");
}

TEST_F(LibrarySettings, LanguagesWithoutATableFallBackToEnglish)
{
    for (WORD language : {WORD{0x0C0A}, WORD{0x0411}, WORD{0x0400}}) {
        TSLXDLL_SetLanguage(language);
        EXPECT_EQ(LoadLangStringOrEnglish(IDS_ABOUT_CLOSE), L"&Close") << std::hex << language;
    }
    TSLXDLL_SetLanguage(0x040C);
    EXPECT_EQ(LoadLangStringOrEnglish(IDS_ABOUT_CLOSE), L"&Fermer");
    EXPECT_EQ(LoadLangStringOrEnglish(40000), L"");
}

TEST_F(LibrarySettings, TheMainFontIsHandedOverWholeWithItsNameTerminated)
{
    LOGFONTW font;
    std::memset(static_cast<void*>(&font), 0xAB, sizeof font);
    TSLXDLL_GetMainLogfont(&font);
    const std::size_t length = std::wcslen(font.lfFaceName);
    ASSERT_LT(length, std::size_t{LF_FACESIZE});
    EXPECT_GT(length, 0u);
    for (std::size_t i = length; i < LF_FACESIZE; ++i)
        EXPECT_EQ(font.lfFaceName[i], L'\0');
    // The headless screen has 96 dpi.
    EXPECT_EQ(font.lfHeight, -13);
    EXPECT_EQ(TSLXDLL_GetIconSizeButton(), 32);
    EXPECT_EQ(TSLXDLL_GetTitleFontSize(), 11);
    TSLXDLL_GetMainLogfont(nullptr);
}

TEST_F(LibrarySettings, TheFirstGuiXmlFileKeepsGivingTheTexts)
{
    ScratchFolder folder;
    const std::wstring first = folder.Write("First.GUI.XML", TesselTest::GuiXml("first"));
    const std::wstring second = folder.Write("Second.GUI.XML", TesselTest::GuiXml("second"));
    TSLXDLL_SetGuiXmlFile(first.c_str(), 1033);
    EXPECT_EQ(GetLanguageText(L"LBL_WHO"), L"first");
    EXPECT_EQ(TesselApp().GetGuiXmlFile(), first.c_str());
    TSLXDLL_SetGuiXmlFile(second.c_str(), 1031);
    EXPECT_EQ(CLibrarySettings::Instance().GuiXmlFile(), second.c_str());
    EXPECT_EQ(CLibrarySettings::Instance().Language(), 1031);
    EXPECT_EQ(GetLanguageText(L"LBL_WHO"), L"first (de)");
}

TEST_F(LibrarySettings, TheLooksColoursComeFromTheBrandsFileAndAreTheOwnDefaultsOtherwise)
{
    ScratchFolder folder;
    const std::string brand =
        R"(<?xml version="1.0" encoding="UTF-8"?><gui><languages><language lcid="1033" code="en"/></languages><texts>)"
        R"(<text key="OEM_NAME"><locale code="en">Brand Tool</locale></text>)"
        R"(<text key="GradientColorStart"><locale code="en">RGB(1,2,3)</locale></text>)"
        R"(<text key="GridColorHighlightBack"><locale code="en">RGB(10,20,30)</locale></text></texts></gui>)";
    TSLXDLL_SetGuiXmlFile(folder.Write("Brand.GUI.XML", brand).c_str(), 1033);
    EXPECT_TRUE(TesselApp().IsOemMode());
    {
        CGradientStatic caption;
        CZellGrid grid;
        EXPECT_EQ(caption.GetStartColor(), RGB(1, 2, 3));
        // Not given by the brand: the system's.
        EXPECT_EQ(caption.GetEndColor(), GetSysColor(COLOR_GRADIENTACTIVECAPTION));
        EXPECT_EQ(grid.GetSelectedBackColour(), RGB(10, 20, 30));
    }
    TesselApp().ExitInstance();
    CLibrarySettings::Instance().Reset();
    GetLanguageSupport().Clear();
    TSLXDLL_SetGuiXmlFile(folder.Write("Plain.GUI.XML", TesselTest::GuiXml("plain")).c_str(), 1033);
    EXPECT_FALSE(TesselApp().IsOemMode());
    CGradientStatic caption;
    CZellGrid grid;
    EXPECT_EQ(caption.GetStartColor(), COLORREF{0x00009B32});
    EXPECT_EQ(caption.GetTextColor(), COLORREF{0x00FFFFFF});
    EXPECT_EQ(grid.GetSelectedBackColour(), COLORREF{0x006EDCA0});
}
