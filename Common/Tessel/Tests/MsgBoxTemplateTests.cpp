// The message box's template as the dialog manager reads it: styles, items
// in window order, and the layout rules for icon, text and buttons.
#include "Common/Tessel/MsgBoxTemplate.h"
#include "Common/Tessel/Tests/TesselTestSupport.h"
#include "Common/Tessel/TesselExports.h"
#include "Platform/Controls/ControlStyles.h"
#include "Platform/Controls/MessageBox.h"
#include "Platform/Ui/DialogTemplate.h"

using namespace Tessel;

namespace {

class MsgBoxTemplateTest : public TesselTest::CFreshLibrary {
protected:
    static Ui::CDialogTemplate Parsed(const CMsgBoxTemplate& boxTemplate)
    {
        const std::vector<BYTE> image = boxTemplate.Image();
        Ui::CDialogTemplate parsed;
        EXPECT_TRUE(parsed.Parse(image.data(), image.size()));
        return parsed;
    }
    static MsgBoxRequest Request(const wchar_t* text, UINT type)
    {
        MsgBoxRequest request;
        request.text = text;
        request.type = type;
        request.caption = L"Caption";
        return request;
    }
};

}

TEST_F(MsgBoxTemplateTest, TheTemplateHoldsIconTextButtonsAndCheckBoxInWindowOrder)
{
    TSLXDLL_SetLanguage(0x0409);
    const CMsgBoxTemplate boxTemplate(Request(L"Text", MB_YESNO | MB_HELP | MB_DEFBUTTON2 | MB_ZELL_DONT_ASK_AGAIN));
    const Ui::CDialogTemplate parsed = Parsed(boxTemplate);
    EXPECT_EQ(parsed.style, 0x90C80880u);
    EXPECT_EQ(parsed.caption, L"Caption");
    ASSERT_EQ(parsed.items.size(), 6u);
    const std::pair<DWORD, DWORD> idsAndStyles[] = {
        {1000, 0x50000000}, {1001, 0x50000000}, {IDYES, 0x50010000}, {IDNO, 0x50010001}, {300, 0x50010000},
        {5555, 0x50010003}};
    for (std::size_t i = 0; i < parsed.items.size(); ++i) {
        EXPECT_EQ(parsed.items[i].id, idsAndStyles[i].first) << i;
        EXPECT_EQ(parsed.items[i].style, idsAndStyles[i].second) << i;
    }
    EXPECT_EQ(parsed.items[4].text.name, L"&Help");
    EXPECT_EQ(parsed.items[5].text.name, L"Don't ask me again");
    EXPECT_EQ(parsed.items[1].windowClass, Ui::NameOrOrdinal::Ordinal(Ui::kClassStatic));
    // The buttons share one row, right-aligned, and the check box lies below it.
    EXPECT_EQ(parsed.items[2].y, parsed.items[4].y);
    EXPECT_GT(parsed.items[5].y, parsed.items[2].y);
    EXPECT_EQ(boxTemplate.DefaultButtonId(), IDNO);
}

TEST_F(MsgBoxTemplateTest, SystemModalBoxesAreSystemModalDialogsAndBadDefaultsFallToTheFirstButton)
{
    const CMsgBoxTemplate boxTemplate(Request(L"Text", MB_SYSTEMMODAL | MB_ICONWARNING | MB_YESNO | MB_DEFBUTTON4));
    const Ui::CDialogTemplate parsed = Parsed(boxTemplate);
    EXPECT_EQ(parsed.style, 0x90C80882u);
    EXPECT_EQ(boxTemplate.DefaultButtonId(), IDYES);
    EXPECT_EQ(parsed.items[2].style, 0x50010001u);
    EXPECT_EQ(parsed.items[3].style, 0x50010000u);
}

TEST_F(MsgBoxTemplateTest, IconKindsFollowTheButtonSetWhenNoneIsGiven)
{
    EXPECT_EQ(CMsgBoxTemplate::WithDefaultIcon(MB_OK), MB_ICONWARNING);
    EXPECT_EQ(CMsgBoxTemplate::WithDefaultIcon(MB_OKCANCEL), MB_OKCANCEL | MB_ICONWARNING);
    EXPECT_EQ(CMsgBoxTemplate::WithDefaultIcon(MB_YESNO), MB_YESNO | MB_ICONQUESTION);
    EXPECT_EQ(CMsgBoxTemplate::WithDefaultIcon(MB_ABORTRETRYIGNORE), MB_ABORTRETRYIGNORE);
    EXPECT_EQ(CMsgBoxTemplate::WithDefaultIcon(MB_YESNO | MB_ICONERROR), MB_YESNO | MB_ICONERROR);
    // The abort set still shows the warning icon.
    const CMsgBoxTemplate abort(Request(L"Text", MB_ABORTRETRYIGNORE));
    EXPECT_NE(abort.Icon(), nullptr);
}

TEST_F(MsgBoxTemplateTest, AnIconKindNarrowsTheTextButTheAbortSetsDefaultIconDoesNot)
{
    std::wstring words;
    for (int i = 0; i < 80; ++i)
        words += L"word ";
    const CMsgBoxTemplate plain(Request(words.c_str(), MB_ABORTRETRYIGNORE));
    const CMsgBoxTemplate warning(Request(words.c_str(), MB_ABORTRETRYIGNORE | MB_ICONWARNING));
    const LONG plainWidth = plain.TextRect().right - plain.TextRect().left;
    const LONG warningWidth = warning.TextRect().right - warning.TextRect().left;
    EXPECT_GT(plainWidth, warningWidth);
    EXPECT_LE(plainWidth - warningWidth, 16 + GetSystemMetrics(SM_CXICON));
    // Several lines start level with the icon.
    EXPECT_EQ(warning.TextRect().top, 24);
    const CMsgBoxTemplate oneLine(Request(L"Short", MB_OK));
    EXPECT_EQ(oneLine.TextRect().top, 32);
}

TEST_F(MsgBoxTemplateTest, AnIconThatCannotBeLoadedLeavesTheTextAtTheMargin)
{
    MsgBoxRequest request = Request(L"Text", MB_OK);
    request.iconResId = 31999;  // the program has no such icon
    const CMsgBoxTemplate boxTemplate(request);
    EXPECT_EQ(boxTemplate.Icon(), nullptr);
    EXPECT_EQ(boxTemplate.TextRect().left, 16);
    EXPECT_EQ(Parsed(boxTemplate).items.front().id, 1001u);
}
