#pragma once
// An application object over a GUI XML file that a test writes, which
// notes its DPI hooks, what it hands to the user-interface library and the
// colours it gives the look's receivers.
#include "Common/Application/ZellWinApp.h"
// ScratchFolder: a folder of files per test.
#include "Common/SystemHelper/Tests/LanguageSupportTestFiles.h"

#include <array>
#include <string>
#include <vector>

namespace AppTest {

// The texts every test file has; `extra` adds <text> elements.
inline std::string GuiXml(const std::string& extra)
{
    return R"(<?xml version="1.0" encoding="UTF-8"?>
<gui>
  <languages>
    <language lcid="1031" code="de"/>
    <language lcid="1033" code="en"/>
    <language lcid="1036" code="fr"/>
  </languages>
  <texts>
    <text key="LBL_ERROR_CODE"><locale code="de">Fehlercode:</locale><locale code="en">Error code:</locale><locale code="fr">Code d'erreur :</locale></text>
    <text key="LBL_MEANING"><locale code="en">Meaning:</locale></text>
    <text key="LBL_ERROR_DESCRIPTION"><locale code="en">Description:</locale></text>
)" + extra + R"(
  </texts>
</gui>
)";
}

// One text in English and German.
inline std::string Keyed(const std::string& key, const std::string& value)
{
    return "<text key=\"" + key + "\"><locale code=\"de\">" + value + "</locale><locale code=\"en\">" + value +
           "</locale></text>\n";
}

enum Hook { kUpTo100, kUpTo120, kUpTo144, kAbove144, kHookCount };

struct Handed {
    std::vector<COLORREF> gradient;
    std::vector<COLORREF> grid;
    std::vector<COLORREF> menu;
    std::vector<COLORREF> tooltip;
};

class CTestApp : public CZellWinApp {
public:
    explicit CTestApp(const std::wstring& guiXmlFile, LPCWSTR name = L"Zell App Tests")
        : CZellWinApp(name), m_file(guiXmlFile)
    {
    }

    // Notes the colours instead of setting the controls' class-wide ones.
    void RecordColours()
    {
        tColourReceivers to;
        to.gradient = [this](COLORREF a, COLORREF b, COLORREF c) { handed.gradient = {a, b, c}; };
        to.grid = [this](COLORREF a, COLORREF b, COLORREF c, COLORREF d) { handed.grid = {a, b, c, d}; };
        to.menu = [this](COLORREF a, COLORREF b, COLORREF c) { handed.menu = {a, b, c}; };
        to.tooltip = [this](COLORREF a, COLORREF b, COLORREF c, COLORREF d) { handed.tooltip = {a, b, c, d}; };
        SetColourReceivers(to);
    }

    void InitGuiXmlFile() override { m_guiXmlFile = m_file.c_str(); }
    void OnDpiUpTo100() override { ++hooks[kUpTo100]; }
    void OnDpiUpTo120() override { ++hooks[kUpTo120]; }
    void OnDpiUpTo144() override { ++hooks[kUpTo144]; }
    void OnDpiAbove144() override { ++hooks[kAbove144]; }

    std::array<int, kHookCount> hooks{};
    Handed handed;
    std::vector<std::wstring> libraryFiles;
    std::vector<WORD> libraryLcids;
    std::vector<std::wstring> libraryNames;

protected:
    void HandGuiXmlFileToLibrary(const CString& file, WORD lcid) override
    {
        libraryFiles.emplace_back(file.GetString());
        libraryLcids.push_back(lcid);
    }
    void HandAppNameToLibrary(const CString& name) override { libraryNames.emplace_back(name.GetString()); }

private:
    std::wstring m_file;
};

}
