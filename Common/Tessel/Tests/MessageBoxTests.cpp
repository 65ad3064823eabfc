// The library's message box driven as a user meets it: button sets and
// their answers, languages, keys, the check box's bit, copying, help, and
// the system box for system-modal errors.
#include "Common/Tessel/Tests/MessageBoxDriver.h"
#include "Common/Tessel/TesselExports.h"
#include "Common/Tessel/TesselResourceIds.h"
#include "Common/Tessel/MsgBoxDialog.h"
#include "Common/Tessel/ZellMessageBox.h"
#include "Platform/Controls/MessageBox.h"
#include "Platform/Ui/Clipboard.h"
#include "Platform/Ui/Tests/GoldenImage.h"

#include <cstring>
#include <filesystem>

using namespace TesselTest;
using UiTest::CDialogDriver;
using UiTest::kControl;

namespace {

class ZellMessageBoxTest : public CMessageBoxFixture {};

struct ButtonSet {
    UINT type;
    std::vector<int> ids;
    std::vector<std::wstring> captions;
};

std::wstring ClipboardText()
{
    std::wstring text;
    if (!OpenClipboard(nullptr))
        return text;
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        text = static_cast<const wchar_t*>(GlobalLock(data));
        GlobalUnlock(data);
    }
    CloseClipboard();
    return text;
}

}

TEST_F(ZellMessageBoxTest, EachButtonSetShowsItsButtonsAndAnswersWithTheClickedOne)
{
    TSLXDLL_SetLanguage(0x0409);
    const std::vector<ButtonSet> sets = {
        {MB_OK, {1}, {L"OK"}},
        {MB_OKCANCEL, {1, 2}, {L"OK", L"&Cancel"}},
        {MB_ABORTRETRYIGNORE, {3, 4, 5}, {L"&Abort", L"&Retry", L"&Ignore"}},
        {MB_YESNOCANCEL, {6, 7, 2}, {L"&Yes", L"&No", L"&Cancel"}},
        {MB_YESNO, {6, 7}, {L"&Yes", L"&No"}},
        {MB_RETRYCANCEL, {4, 2}, {L"&Retry", L"&Cancel"}},
        {MB_CANCELTRYCONTINUE, {2, 10, 11}, {L"&Cancel", L"&Try Again", L"&Continue"}},
        {7, {11, 3}, {L"&Continue", L"&Abort"}},
        {8, {14, 15, 2}, {L"&Skip", L"S&kip All", L"&Cancel"}},
        {9, {5, 16, 2}, {L"&Ignore", L"I&gnore All", L"&Cancel"}},
        {12, {1}, {L"OK"}},
        {MB_YESNOCANCEL | MB_ZELL_YES_TO_ALL | MB_ZELL_NO_TO_ALL, {6, 19, 7, 20, 2},
         {L"&Yes", L"Y&es to All", L"&No", L"N&o to All", L"&Cancel"}},
        {MB_YESNO | MB_ZELL_NO_TO_ALL, {6, 7, 20}, {L"&Yes", L"&No", L"N&o to All"}},
    };
    for (const ButtonSet& set : sets) {
        const int last = set.ids.back();
        EXPECT_EQ(Show(L"Proceed?", set.type, {Click(last)}), last) << "type " << std::hex << set.type;
        EXPECT_EQ(m_seen.buttonIds, set.ids) << "type " << std::hex << set.type;
        EXPECT_EQ(m_seen.captions, set.captions) << "type " << std::hex << set.type;
        EXPECT_TRUE(m_seen.hasIcon);
    }
}

TEST_F(ZellMessageBoxTest, ButtonsSpeakTheLibrarysLanguageAndEnglishWhereItHasNone)
{
    const std::pair<WORD, std::vector<std::wstring>> cases[] = {
        {0x0407, {L"&Ja", L"&Nein", L"&Abbrechen"}},
        {0x040C, {L"&Oui", L"&Non", L"&Annuler"}},
        // Spanish has no table: the built-in English texts.
        {0x0C0A, {L"&Yes", L"&No", L"Cancel"}},
        {0x0400, {L"&Yes", L"&No", L"Cancel"}},
    };
    for (const auto& [language, captions] : cases) {
        TSLXDLL_SetLanguage(language);
        Show(L"Save?", MB_YESNOCANCEL | MB_ZELL_DONT_ASK_AGAIN, {Press(VK_ESCAPE)});
        EXPECT_EQ(m_seen.captions, captions) << std::hex << language;
    }
    EXPECT_EQ(m_seen.checkBox, L"Don't ask me again");
    TSLXDLL_SetLanguage(0x0407);
    Show(L"Save?", MB_OK | MB_ZELL_DONT_SHOW_AGAIN, {Press(VK_RETURN)});
    EXPECT_EQ(m_seen.checkBox, L"Nicht mehr anzeigen");
}

TEST_F(ZellMessageBoxTest, EscapeAndTheCloseBoxEndOnlyBoxesWithACancelOrTheOkOnlySet)
{
    const std::pair<UINT, int> rules[] = {
        {MB_OK, IDOK}, {MB_OKCANCEL, IDCANCEL}, {MB_YESNOCANCEL, IDCANCEL}, {8, IDCANCEL},
        {MB_YESNO, 0}, {MB_ABORTRETRYIGNORE, 0}, {7, 0},
    };
    for (const auto& [type, answer] : rules) {
        bool stillOpen = false;
        const Step look = [&stillOpen](CDialogDriver& d) { stillOpen = IsWindowVisible(d.Dialog()) != FALSE; };
        const int result = Show(L"Leave?", type, {Press(VK_ESCAPE), look});
        if (answer != 0) {
            EXPECT_EQ(result, answer) << "type " << type;
            EXPECT_FALSE(m_seen.closeGreyed) << "type " << type;
        } else {
            // Nothing ended it but the quit that the steps leave behind.
            EXPECT_TRUE(stillOpen) << "type " << type;
            EXPECT_EQ(result, -1) << "type " << type;
            EXPECT_TRUE(m_seen.closeGreyed) << "type " << type;
        }
    }
    // The Close item of the window menu is Escape as well.
    EXPECT_EQ(Show(L"Leave?", MB_RETRYCANCEL,
                   {[](CDialogDriver& d) { SendMessageW(d.Dialog(), WM_SYSCOMMAND, SC_CLOSE, 0); }}),
              IDCANCEL);
}

TEST_F(ZellMessageBoxTest, TheDefaultButtonHasTheFocusAndEnterPressesIt)
{
    const std::pair<UINT, int> cases[] = {
        {MB_YESNOCANCEL, IDYES}, {MB_YESNOCANCEL | MB_DEFBUTTON2, IDNO}, {MB_YESNOCANCEL | MB_DEFBUTTON3, IDCANCEL},
        // Beyond the buttons of the set: the first one.
        {MB_YESNO | MB_DEFBUTTON3, IDYES}, {MB_OK | 0x500, IDOK}, {MB_YESNO | 0x900, IDYES},
    };
    for (const auto& [type, expected] : cases) {
        EXPECT_EQ(Show(L"Write?", type, {Press(VK_RETURN)}), expected) << std::hex << type;
        EXPECT_EQ(m_seen.focusId, expected) << std::hex << type;
    }
}

TEST_F(ZellMessageBoxTest, ATickedCheckBoxAddsItsFlagToTheAnswer)
{
    TSLXDLL_SetLanguage(0x0409);
    EXPECT_EQ(Show(L"Delete?", MB_YESNO | MB_ZELL_DONT_SHOW_AGAIN, {Click(5555), Click(IDNO)}),
              IDNO | static_cast<int>(MB_ZELL_DONT_SHOW_AGAIN));
    EXPECT_EQ(m_seen.checkBox, L"Don't show again");
    EXPECT_EQ(Show(L"Delete?", MB_YESNO | MB_ZELL_DONT_SHOW_AGAIN, {Click(IDYES)}), IDYES);
    // Ticked and unticked again.
    EXPECT_EQ(Show(L"Delete?", MB_YESNO | MB_ZELL_DONT_SHOW_AGAIN, {Click(5555), Click(5555), Click(IDYES)}), IDYES);
    // The first of the three flags chooses the check box.
    const int answer = Show(L"Go on?", MB_OK | MB_ZELL_DONT_TELL_AGAIN | MB_ZELL_DONT_SHOW_AGAIN,
                            {Press(VK_SPACE), Press(VK_RETURN)}, L"Coupler");
    EXPECT_EQ(m_seen.checkBox, L"Don't tell me again");
    EXPECT_EQ(answer & 0xFF, IDOK);
    // The box itself writes nothing down: the next box starts unticked.
    EXPECT_EQ(Show(L"Delete?", MB_YESNO | MB_ZELL_DONT_SHOW_AGAIN, {Click(IDYES)}), IDYES);
}

TEST_F(ZellMessageBoxTest, CtrlCCopiesTheWholeBoxAsText)
{
    TSLXDLL_SetLanguage(0x0409);
    const int answer = Show(L"The & settings\r\nwere read.", MB_OKCANCEL | MB_HELP | MB_ZELL_DONT_ASK_AGAIN,
                            {Press('C', kControl), Click(IDOK)}, L"Read settings");
    EXPECT_EQ(answer, IDOK);
    const std::wstring rule = L"---------------------------\r\n";
    EXPECT_EQ(ClipboardText(), rule + L"Read settings\r\n" + rule + L"The & settings\r\nwere read.\r\n" + rule +
                                   L"OK   Cancel   Help   Don't ask me again   \r\n" + rule);
    // The C alone copies nothing.
    OpenClipboard(nullptr);
    EmptyClipboard();
    CloseClipboard();
    Show(L"Plain", MB_OK, {Press('C'), Press(VK_RETURN)});
    EXPECT_EQ(ClipboardText(), L"");
}

TEST_F(ZellMessageBoxTest, CopiedTextIsBounded)
{
    const std::wstring longText(70000, L'x');
    Show(longText.c_str(), MB_OK, {Press('C', kControl), Press(VK_RETURN)});
    const std::wstring copied = ClipboardText();
    // Four rules, the caption, 4000 characters of the text and the button, each line with its CRLF.
    EXPECT_EQ(copied.size(), 4u * 29 + 7 + 2 + 4000 + 2 + 5 + 2);
    EXPECT_NE(copied.find(std::wstring(4000, L'x') + L"\r\n---"), std::wstring::npos);
    EXPECT_EQ(m_seen.text.size(), 65535u);
}

TEST_F(ZellMessageBoxTest, HelpComesLastAndLeavesTheBoxOpen)
{
    TSLXDLL_SetLanguage(0x0407);
    bool stillOpen = false;
    const int answer = Show(L"Help?", MB_YESNO | MB_HELP,
                            {Click(300), [&](CDialogDriver& d) { stillOpen = IsWindow(d.Dialog()) != FALSE; },
                             Click(IDNO)});
    EXPECT_EQ(answer, IDNO);
    EXPECT_TRUE(stillOpen);
    EXPECT_EQ(m_seen.buttonIds, (std::vector<int>{IDYES, IDNO, 300}));
    EXPECT_EQ(m_seen.captions.back(), L"&Hilfe");
    EXPECT_EQ(Tessel::HelpFileOf(L"/opt/zell/corvane.bin"), L"/opt/zell/corvane.hlp");
    EXPECT_EQ(Tessel::HelpFileOf(L"/opt/zell.d/corvane"), L"");
    EXPECT_EQ(Tessel::HelpFileOf(L"C:\\Tools\\Setup.EXE"), L"C:\\Tools\\Setup.hlp");
}

TEST_F(ZellMessageBoxTest, TheOwnerIsDisabledWhileTheBoxIsUpAndTheCaptionDefaultsToTheAppName)
{
    EXPECT_EQ(Show(L"Done.", MB_OK | MB_ICONINFORMATION, {Press(VK_RETURN)}, L""), IDOK);
    EXPECT_FALSE(m_seen.ownerEnabled);
    EXPECT_TRUE(IsWindowEnabled(m_owner.hwnd));
    EXPECT_EQ(m_seen.owner, m_owner.hwnd);
    EXPECT_EQ(m_seen.caption, L"TesselTests");
    // With no window active (another client has the focus) the question
    // still belongs to the main window, above it and with it disabled.
    SetActiveWindow(nullptr);
    Show(L"Done.", MB_OK, {Press(VK_RETURN)});
    EXPECT_EQ(m_seen.owner, m_owner.hwnd);
    EXPECT_FALSE(m_seen.ownerEnabled);
    TSLXDLL_SetAppName(L"Corvane");
    Show(L"Done.", MB_OK, {Press(VK_RETURN)}, nullptr);
    EXPECT_EQ(m_seen.caption, L"Corvane");
}

TEST_F(ZellMessageBoxTest, AQuitEndsTheBoxAndIsPassedOn)
{
    EXPECT_EQ(Show(L"Waiting.", MB_YESNO, {}), -1);
    EXPECT_TRUE(m_endedByQuit);
    EXPECT_TRUE(IsWindowEnabled(m_owner.hwnd));
}

TEST_F(ZellMessageBoxTest, AStringNumberIsTheLibrarysText)
{
    TSLXDLL_SetLanguage(0x040C);
    Show(MAKEINTRESOURCEW(Tessel::IDS_ABOUT_FILES), MB_OK, {Press(VK_RETURN)});
    EXPECT_EQ(m_seen.text, L"Fichiers");
    TSLXDLL_SetLanguage(0x0411);
    EXPECT_EQ(Tessel::ResolveMessageText(MAKEINTRESOURCEW(Tessel::IDS_ABOUT_FILES)), L"Files");
    EXPECT_EQ(Tessel::ResolveMessageText(nullptr), L"");
}

TEST_F(ZellMessageBoxTest, SystemModalErrorsGoToTheSystemBoxWithTheTextResolvedAndOwnFlagsStripped)
{
    TSLXDLL_SetLanguage(0x0409);
    std::wstring shownText;
    bool hasOwnButtons = false;
    const Step answerIt = [&](CDialogDriver& d) {
        shownText = TextOf(GetDlgItem(d.Dialog(), 0xFFFF));
        hasOwnButtons = GetDlgItem(d.Dialog(), 5555) != nullptr || GetDlgItem(d.Dialog(), 19) != nullptr;
        d.Press(VK_RETURN);
    };
    const UINT type = MB_SYSTEMMODAL | MB_ICONERROR | MB_YESNO | MB_ZELL_DONT_SHOW_AGAIN | MB_ZELL_YES_TO_ALL;
    const int answer = Show(nullptr, type, {answerIt}, L"Failure", [&] {
        return ZELLMessageBox(MAKEINTRESOURCEW(Tessel::IDS_ABOUT_SYSTEM), type, L"Failure", 0);
    });
    EXPECT_EQ(answer, IDYES);
    EXPECT_EQ(shownText, L"System");
    EXPECT_FALSE(hasOwnButtons);
    EXPECT_TRUE(Tessel::UsesSystemBox(MB_SYSTEMMODAL | MB_ICONERROR));
    EXPECT_FALSE(Tessel::UsesSystemBox(MB_SYSTEMMODAL | MB_ICONWARNING));
    EXPECT_FALSE(Tessel::UsesSystemBox(MB_ICONERROR));
}

TEST_F(ZellMessageBoxTest, QuestionWithCheckBoxLooksAsItShould)
{
    TSLXDLL_SetLanguage(0x0409);
    Show(L"The settings have changed.\nWrite them to the coupler before you leave?",
         MB_YESNOCANCEL | MB_ZELL_DONT_ASK_AGAIN, {LooksAsGolden("MessageBoxQuestion"), Press(VK_ESCAPE)});
    EXPECT_TRUE(m_seen.hasIcon);
}
