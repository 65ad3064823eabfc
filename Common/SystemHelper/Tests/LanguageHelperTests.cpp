#include "Common/SystemHelper/Texts/LanguageHelper.h"
#include "Common/SystemHelper/Texts/LanguageTexts.h"
#include "LanguageSupportTestFiles.h"
#include "Platform/Base/Tests/FileOpenCounter.h"
#include "Platform/Controls/StandardControls.h"
#include "Platform/Controls/MessageBoxIcon.h"
#include "Platform/Framework/Core/TempHandleMap.h"
#include "Platform/Framework/App/WinApp.h"
#include "Platform/Ui/Tests/DialogDriver.h"
#include "Platform/Ui/Tests/UiTestSupport.h"

#include <gtest/gtest.h>

#include <cstring>
#include <ctime>
#include <functional>
#include <string>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>

namespace {

std::vector<std::wstring> g_shown;
std::vector<UINT> g_types;

void Capture(const wchar_t* text, UINT type)
{
    g_shown.emplace_back(text);
    g_types.push_back(type);
}

class LanguageHelper : public ::testing::Test {
protected:
    void SetUp() override
    {
        g_shown.clear();
        g_types.clear();
        SetMessageBoxHandler(&Capture);
        GetLanguageSupport().Clear();
        m_file = m_folder.Write("Prog.GUI.XML", kGuiXml);
    }
    void TearDown() override
    {
        SetMessageBoxHandler(nullptr);
        GetLanguageSupport().Clear();
    }

    ScratchFolder m_folder;
    CString m_file;
};

}

TEST_F(LanguageHelper, ThreeLetterCodeSelectsItsLanguage)
{
    CString designator = L"whatever";
    CString code = L"deu";
    CLanguageHelper().GetLanguageInfo(m_file, designator, code);
    EXPECT_EQ(designator, L"1031");
    EXPECT_EQ(code, L"de");
    EXPECT_TRUE(g_shown.empty());
}

TEST_F(LanguageHelper, DesignatorMatchesCodeOrLcidIgnoringCase)
{
    CString designator = L"FR";
    CString code;
    CLanguageHelper().GetLanguageInfo(m_file, designator, code);
    EXPECT_EQ(designator, L"1036");
    EXPECT_EQ(code, L"fr");
    designator = L"1033";
    CLanguageHelper().GetLanguageInfo(m_file, designator, code);
    EXPECT_EQ(code, L"en");
}

TEST_F(LanguageHelper, UnlistedOrEmptyDesignatorFallsBackToEnglish)
{
    for (const wchar_t* wanted : {L"ja", L"", L"1041"}) {
        CString designator = wanted;
        CString code = L"xx";
        CLanguageHelper().GetLanguageInfo(m_file, designator, code);
        EXPECT_EQ(designator, L"1033") << wanted;
        EXPECT_EQ(code, L"en") << wanted;
    }
    // Listed entries without attributes match nothing either.
    const CString bare = m_folder.Write("bare.xml", "<g><languages><language/><language lcid='1031' code='de'/></languages></g>");
    CString designator = L"";
    CString code;
    CLanguageHelper().GetLanguageInfo(bare, designator, code);
    EXPECT_EQ(designator, L"1033");
}

TEST_F(LanguageHelper, FailureIsShownWithTheFullComReport)
{
    // A long path: the whole report must reach the user, however long.
    const std::string name = std::string(200, 'n') + ".xml";
    const CString missing = m_folder.Path(name);
    CString designator = L"ENG";
    CString code = L"ENG";
    CLanguageHelper().GetLanguageInfo(missing, designator, code);
    ASSERT_EQ(g_shown.size(), 1u);
    const std::wstring& text = g_shown[0];
    EXPECT_EQ(g_types[0], CLanguageHelper::kIconError);
    EXPECT_EQ(text.rfind(L"GetLanguageInfo failed!\n\nCode\t  =  80004003\nMeaning\t  =  Invalid pointer\n", 0), 0u)
        << Text::WideToUtf8(text);
    EXPECT_NE(text.find(L"Source\t  =  load\n"), std::wstring::npos);
    EXPECT_NE(text.find(L"Error\t  =  " + missing.str()), std::wstring::npos);
    EXPECT_GT(text.size(), 255u);
    EXPECT_EQ(text.back(), L'\n');
    // What was set before the failure stays.
    EXPECT_EQ(designator, L"en");
    EXPECT_EQ(code, L"ENG");
}

TEST_F(LanguageHelper, FileWithoutLanguageListIsReported)
{
    const CString file = m_folder.Write("nolist.xml", "<gui/>");
    CString designator = L"de";
    CString code;
    CLanguageHelper().GetLanguageInfo(file, designator, code);
    ASSERT_EQ(g_shown.size(), 1u);
    EXPECT_EQ(designator, L"de");
}

TEST_F(LanguageHelper, IsSupported)
{
    CLanguageHelper helper;
    EXPECT_TRUE(helper.IsSupported(m_file, L"de"));
    EXPECT_TRUE(helper.IsSupported(m_file, L"FRA"));
    EXPECT_TRUE(helper.IsSupported(m_file, L"1033"));
    EXPECT_FALSE(helper.IsSupported(m_file, L"JPN"));
    EXPECT_FALSE(helper.IsSupported(m_file, L""));
    EXPECT_TRUE(g_shown.empty());
    EXPECT_FALSE(helper.IsSupported(m_folder.Path("none.xml"), L"de"));
    ASSERT_EQ(g_shown.size(), 1u);
    EXPECT_EQ(g_shown[0], L"CLanguageHelper::IsSupported() failed!\n\nUnknown exception!");
}

TEST_F(LanguageHelper, LoadLanguageTextsResolvesAndLoads)
{
    CString language = L"DE";
    CString lcid;
    EXPECT_TRUE(LoadLanguageTexts(m_file, language, lcid));
    EXPECT_EQ(language, L"de");
    EXPECT_EQ(lcid, L"1031");
    EXPECT_EQ(GetLanguageText(L"LBL_OK"), L"Übernehmen");

    language = L"1033";
    EXPECT_TRUE(LoadLanguageTexts(m_file, language, lcid));
    EXPECT_EQ(language, L"en");
    EXPECT_EQ(GetLanguageText(L"LBL_OK"), L"Apply");
}

TEST_F(LanguageHelper, LoadLanguageTextsFailureKeepsTheStore)
{
    GetLanguageSupport().SetText(L"OWN", L"kept");
    CString language = L"de";
    CString lcid;
    EXPECT_FALSE(LoadLanguageTexts(m_folder.Path("none.xml"), language, lcid));
    EXPECT_EQ(language, L"de");
    EXPECT_EQ(GetLanguageText(L"OWN"), L"kept");
    EXPECT_EQ(g_shown.size(), 1u);
}

namespace {

// What the user saw of a message box.
struct ShownBox {
    std::wstring caption;
    std::wstring text;
    bool hasIcon = false;
    bool ownerDisabled = false;
};

// Runs `failing` over an active window of an application and closes the box
// it brings up with `key`, as the user would.
ShownBox AnswerTheBox(const std::function<void()>& failing, UINT key)
{
    ShownBox shown;
    UiTest::Handler log;
    UiTest::WindowGuard owner;
    owner.hwnd = UiTest::Create(&log, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 60, 60, 500, 300);
    ::SetActiveWindow(owner.hwnd);
    UiTest::Drain();
    log.m_onMessage = [&](HWND, UINT message, WPARAM, LPARAM lParam, LRESULT&) {
        if (message != WM_ENTERIDLE || !shown.caption.empty())
            return false;
        HWND box = reinterpret_cast<HWND>(lParam);
        CWnd* wnd = CWnd::FromHandle(box);
        CString text;
        wnd->GetWindowText(text);
        shown.caption = text.GetString();
        for (HWND child = ::GetWindow(box, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
            CWnd::FromHandle(child)->GetWindowText(text);
            if (::GetDlgCtrlID(child) != 0xFFFF)
                continue;
            shown.text = text.GetString();
            // The icon is painted left of the text, which makes room for it.
            RECT place{};
            ::GetWindowRect(child, &place);
            ::MapWindowPoints(nullptr, box, reinterpret_cast<POINT*>(&place), 2);
            shown.hasIcon = place.left >= ZELL::Controls::kMessageBoxIconSize;
        }
        shown.ownerDisabled = !::IsWindowEnabled(owner.hwnd);
        UiTest::CDialogDriver(box).Press(key);
        return false;
    };
    failing();
    log.m_onMessage = nullptr;
    return shown;
}

}

TEST(LanguageHelperMessageBox, FailuresShowTheApplicationsBoxWithTheErrorIcon)
{
    ASSERT_TRUE(ZELL::Controls::RegisterStandardControls());
    SetMessageBoxHandler(nullptr);
    CWinApp app(L"Coupler Tool");
    bool supported = true;
    const ShownBox shown = AnswerTheBox(
        [&] { supported = CLanguageHelper().IsSupported(L"/nonexistent/zell/file.xml", L"de"); }, VK_RETURN);
    EXPECT_FALSE(supported);
    EXPECT_EQ(shown.caption, L"Coupler Tool");
    EXPECT_EQ(shown.text, L"CLanguageHelper::IsSupported() failed!\n\nUnknown exception!");
    EXPECT_TRUE(shown.hasIcon);
    EXPECT_TRUE(shown.ownerDisabled);

    // Escape closes it as well; what was set before the failure stays. (The
    // file above was told already: another one fails here.)
    CString designator = L"DEU";
    CString code = L"DEU";
    const ShownBox report = AnswerTheBox(
        [&] { CLanguageHelper().GetLanguageInfo(L"/nonexistent/zell/other.xml", designator, code); }, VK_ESCAPE);
    EXPECT_EQ(report.caption, L"Coupler Tool");
    EXPECT_EQ(report.text.rfind(L"GetLanguageInfo failed!\n\nCode\t  =  80004003\n", 0), 0u);
    EXPECT_EQ(designator, L"de");
    AfxDeleteTempObjects();
}

// Every lookup of a start (language list, support, texts of two languages)
// shares one parse of an unchanged file; a changed file is read again.
TEST_F(LanguageHelper, TheGuiFileIsReadOnceUntilItChanges)
{
    const std::string path = Text::WideToUtf8(m_file.str());
    const timespec settled[2] = {{0, UTIME_OMIT}, {std::time(nullptr) - 60, 0}};
    ASSERT_EQ(0, ::utimensat(AT_FDCWD, path.c_str(), settled, 0));
    TestSupport::CFileOpenCounter opens(path);
    for (const wchar_t* wanted : {L"de", L"en", L"de"}) {
        CString language = wanted;
        CString lcid;
        EXPECT_TRUE(CLanguageHelper().IsSupported(m_file, language));
        ASSERT_TRUE(LoadLanguageTexts(m_file, language, lcid));
    }
    EXPECT_EQ(GetLanguageText(L"LBL_OK"), CString(L"Übernehmen"));
    EXPECT_EQ(1, opens.Take());

    std::string changed = kGuiXml;
    changed.replace(changed.find("Apply"), std::strlen("Apply"), "Applied");
    m_folder.Write("Prog.GUI.XML", changed);
    CString language = L"en";
    CString lcid;
    ASSERT_TRUE(LoadLanguageTexts(m_file, language, lcid));
    EXPECT_EQ(GetLanguageText(L"LBL_OK"), CString(L"Applied"));
    EXPECT_TRUE(g_shown.empty());
}
