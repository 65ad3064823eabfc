// The application's message boxes as the user meets them: their text and
// caption read from the box on the screen, answered with a key.
#include "Common/Application/Tests/TestApp.h"
#include "Common/SystemHelper/Texts/LanguageTexts.h"
#include "Platform/Controls/StandardControls.h"
#include "Platform/Framework/Windows/Wnd.h"
#include "Platform/Ui/ResourceTable.h"
#include "Platform/Ui/Tests/DialogDriver.h"
#include "Platform/Ui/Tests/UiTestSupport.h"
#include "Platform/Ui/Tests/WindowText.h"

#include <gtest/gtest.h>

#include <functional>

using namespace AppTest;

namespace {

constexpr UINT kTextId = 7401;
constexpr UINT kDetailId = 7402;
constexpr UINT kExtraId = 7403;
// The label of a message box's text.
constexpr int kBoxTextId = 0xFFFF;

using namespace Ui::Res;
const StringTable kStrings{MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US), {
    {kTextId, L"The settings were not saved."},
    {kDetailId, L"The device did not answer."},
    {kExtraId, L"Check the cable."},
}};
const ResourceTable kTable{.strings = {&kStrings}};
const Registration kRegistration{kTable};

struct ShownBox {
    std::wstring caption;
    std::wstring text;
    UINT answeredWith = 0;
};

using UiTest::TextOf;

// An active main window over which `show` brings up a box; the box is read
// and answered with `key` once it waits for the user.
class MessageBoxes : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(ZELL::Controls::RegisterStandardControls());
        GetLanguageSupport().Clear();
        m_owner.hwnd = UiTest::Create(&m_log, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 60, 60, 500, 300);
        ::SetActiveWindow(m_owner.hwnd);
        UiTest::Drain();
    }
    void TearDown() override { GetLanguageSupport().Clear(); }

    int Answer(const std::function<int()>& show, UINT key)
    {
        m_shown = ShownBox{};
        bool seen = false;
        m_log.m_onMessage = [&](HWND, UINT message, WPARAM, LPARAM lParam, LRESULT&) {
            if (message != WM_ENTERIDLE || seen)
                return false;
            seen = true;
            HWND box = reinterpret_cast<HWND>(lParam);
            m_shown.caption = TextOf(box);
            UiTest::CDialogDriver driver(box);
            m_shown.text = driver.Text(kBoxTextId);
            driver.Press(key);
            return false;
        };
        const int answer = show();
        m_log.m_onMessage = nullptr;
        EXPECT_TRUE(seen) << "no box came up";
        return answer;
    }
    CWnd* Owner() const { return CWnd::FromHandle(m_owner.hwnd); }

    ScratchFolder m_folder;
    UiTest::Handler m_log;
    UiTest::WindowGuard m_owner;
    ShownBox m_shown;
};

}

TEST_F(MessageBoxes, TextDetailAndExtraAreSeparatedByBlankLinesUnderTheProgramsName)
{
    CTestApp app(m_folder.Write("Tool.GUI.XML", GuiXml(Keyed("OEM_NAME", "Brand Tool"))));
    ASSERT_TRUE(app.InitFramework(L"en", L"1033"));
    const int answer = Answer([&] { return app.ShowMessage(L"Write?", L"The device restarts.", L"", MB_YESNO, Owner()); },
                              VK_RETURN);
    EXPECT_EQ(answer, IDYES);
    EXPECT_EQ(m_shown.caption, L"Brand Tool");
    EXPECT_EQ(m_shown.text, L"Write?\r\n\r\nThe device restarts.");

    EXPECT_EQ(Answer([&] { return app.ShowMessage(L"A", L"B", L"C", MB_OKCANCEL, Owner()); }, VK_ESCAPE), IDCANCEL);
    EXPECT_EQ(m_shown.text, L"A\r\n\r\nB\r\n\r\nC");
    app.ExitInstance();
}

TEST_F(MessageBoxes, TextsComeFromTheStringResourcesWhereIdsAreGiven)
{
    CTestApp app(m_folder.Write("Tool.GUI.XML", GuiXml("")));
    EXPECT_EQ(Answer([&] { return app.ShowMessageIds(kTextId, kDetailId, kExtraId, MB_OK, Owner()); }, VK_RETURN), IDOK);
    EXPECT_EQ(m_shown.caption, L"Zell App Tests");
    EXPECT_EQ(m_shown.text, L"The settings were not saved.\r\n\r\nThe device did not answer.\r\n\r\nCheck the cable.");

    Answer([&] { return app.ShowMessageIds(kTextId, 0, 0, MB_OK, Owner()); }, VK_RETURN);
    EXPECT_EQ(m_shown.text, L"The settings were not saved.\r\n\r\n") << "id 0 is an empty text";

    Answer([&] { return app.ShowMessageIdsText(kTextId, kDetailId, L"COM3 is busy.", MB_OK, Owner()); }, VK_RETURN);
    EXPECT_EQ(m_shown.text, L"The settings were not saved.\r\n\r\nThe device did not answer.\r\n\r\nCOM3 is busy.");
}

TEST_F(MessageBoxes, AnObjectLibraryErrorListsItsCodeMeaningSourceAndDescription)
{
    CTestApp app(m_folder.Write("Tool.GUI.XML", GuiXml("")));
    ASSERT_TRUE(app.InitFramework(L"en", L"1033"));
    const _com_error error(E_POINTER, L"No document element.", L"XMLDOMHelper");
    EXPECT_EQ(Answer([&] { return app.ShowComError(L"Loading failed.", L"settings.wes", error); }, VK_RETURN), IDOK);
    EXPECT_EQ(m_shown.caption, L"Zell App Tests");
    EXPECT_EQ(m_shown.text, L"Loading failed.\r\n\r\nsettings.wes\r\n\r\n"
                            L"Error code: 0x80004003\r\n"
                            L"Meaning: " + error.ErrorMessage() + L"\r\n"
                            L"Error code: XMLDOMHelper\r\n"
                            L"Description: No document element.\r\n");

    // Without source and description only the code and its meaning are listed.
    Answer([&] { return app.ShowComErrorIds(kTextId, kDetailId, _com_error(E_FAIL)); }, VK_RETURN);
    EXPECT_EQ(m_shown.text, L"The settings were not saved.\r\n\r\nThe device did not answer.\r\n\r\n"
                            L"Error code: 0x80004005\r\nMeaning: Unspecified error\r\n");
    app.ExitInstance();
}
