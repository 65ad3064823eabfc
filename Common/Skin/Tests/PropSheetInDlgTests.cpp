// The sheet inside a dialog: laid over its placeholder, switching pages by
// keyboard, tab captions that outlive the caller's title text, and tabs that
// stay on their row.
#include "Common/Skin/PropSheetInDlg.h"
#include "Platform/Controls/CommCtrl.h"
#include "Platform/Controls/StandardControls.h"
#include "Platform/Controls/Tests/TemplateItems.h"
#include "Platform/Framework/Tests/ScriptedDialog.h"
#include "Platform/Framework/Windows/Dialog.h"
#include "Platform/Ui/DialogTemplate.h"
#include "Platform/Ui/Tests/DialogDriver.h"

#include <gtest/gtest.h>

#include <cwchar>
#include <functional>
#include <memory>
#include <string>
#include <vector>

using namespace ZELL::Skin;

using Ui::DialogItemTemplate;
using Ui::NameOrOrdinal;

namespace {

constexpr int kPlaceholder = 701;
constexpr int kFirstEdit = 711;
constexpr int kSecondEdit = 712;

std::vector<BYTE> PageImage(const wchar_t* caption, int editId)
{
    return ControlTest::DialogImage(caption, 150, 60, {ControlTest::Predefined(Ui::kClassEdit, editId, WS_TABSTOP | WS_BORDER, 7, 7, 90, 12)});
}

class CPage : public CPropertyPage {
public:
    explicit CPage(const std::vector<BYTE>& image) { ConstructIndirect(reinterpret_cast<LPCDLGTEMPLATEW>(image.data())); }
};

class CHost : public FrameworkTest::CScriptedDialog<CHost> {
public:
    CHost() : m_sheet(this, kPlaceholder) {}

    CPropSheetInDlg m_sheet;
    std::function<void(CHost&)> m_beforeCreate;

protected:
    BOOL OnInitDialog() override
    {
        CDialog::OnInitDialog();
        if (m_beforeCreate)
            m_beforeCreate(*this);
        m_sheet.EnableStackedTabs(FALSE);
        if (m_sheet.Create(this, WS_CHILD | WS_VISIBLE | WS_TABSTOP))
            m_sheet.FitToPlaceholder();
        PostScript();
        return TRUE;
    }
};

std::vector<BYTE> HostImage()
{
    return ControlTest::DialogImage(L"Host", 240, 170, {ControlTest::Placeholder(kPlaceholder, 10, 10, 200, 130)},
                                    WS_POPUP | WS_CAPTION | WS_SYSMENU);
}

std::wstring TabText(CWnd* tab, int index)
{
    wchar_t buffer[64] = {};
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = buffer;
    item.cchTextMax = 64;
    tab->SendMessage(TCM_GETITEMW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
    return buffer;
}

}

TEST(PropSheetInDlg, LiesOverItsPlaceholderSwitchesPagesAndKeepsItsOwnTitleCopies)
{
    ZELL::Controls::RegisterStandardControls();
    const std::vector<BYTE> first = PageImage(L"First own", kFirstEdit);
    const std::vector<BYTE> second = PageImage(L"Second own", kSecondEdit);
    CPage firstPage(first);
    CPage secondPage(second);
    const std::vector<BYTE> image = HostImage();
    CHost host;
    ASSERT_TRUE(host.InitModalIndirect(reinterpret_cast<LPCDLGTEMPLATEW>(image.data())));
    EXPECT_FALSE(host.m_sheet.SetTabText(0, L"early")) << "no window yet";
    host.m_beforeCreate = [&](CHost& d) {
        // The caller's texts are gone before the pages are made.
        {
            std::wstring title = L"Serial port";
            d.m_sheet.AddPage(&firstPage, title.c_str());
            title.assign(title.size(), L'#');
        }
        d.m_sheet.AddPage(&secondPage, L"");
    };
    host.m_fnScript = [&](CHost& d) {
        CWnd* tab = d.m_sheet.GetTabControl();
        ASSERT_NE(tab, nullptr);
        EXPECT_EQ(TabText(tab, 0), L"Serial port");
        EXPECT_EQ(TabText(tab, 1), L"Second own") << "an empty title keeps the page's caption";
        EXPECT_EQ(tab->GetStyle() & TCS_MULTILINE, 0u);
        EXPECT_NE(d.m_sheet.GetExStyle() & WS_EX_CONTROLPARENT, 0u);

        CRect placeholder;
        CRect sheet;
        d.GetDlgItem(kPlaceholder)->GetWindowRect(&placeholder);
        d.m_sheet.GetWindowRect(&sheet);
        EXPECT_EQ(sheet, placeholder);

        UiTest::CDialogDriver driver(d.m_hWnd);
        driver.Press(VK_TAB, UiTest::kControl);
        driver.PumpUntilIdle();
        EXPECT_EQ(d.m_sheet.GetActiveIndex(), 1);
        EXPECT_TRUE(d.m_sheet.SetTabText(1, L"Network"));
        EXPECT_EQ(TabText(tab, 1), L"Network");
        d.EndDialog(IDOK);
    };
    EXPECT_EQ(host.DoModal(), IDOK);
}

// Tabs that would scroll narrow their side padding as far as it takes to
// keep every tab on the row; where nothing helps the row scrolls.
TEST(PropSheetInDlg, TabsNarrowTheirPaddingToStayOnTheRow)
{
    ZELL::Controls::RegisterStandardControls();
    const wchar_t* titles[] = {L"Identification", L"Network settings", L"Transmission", L"Controller memo",
                               L"Memory card"};
    std::vector<std::vector<BYTE>> images;
    std::vector<std::unique_ptr<CPage>> pages;
    for (int i = 0; i < 5; ++i) {
        images.push_back(PageImage(titles[i], kFirstEdit));
        pages.push_back(std::make_unique<CPage>(images.back()));
    }
    const std::vector<BYTE> image = HostImage();
    CHost host;
    ASSERT_TRUE(host.InitModalIndirect(reinterpret_cast<LPCDLGTEMPLATEW>(image.data())));
    host.m_beforeCreate = [&](CHost& d) {
        for (int i = 0; i < 5; ++i)
            d.m_sheet.AddPage(pages[static_cast<std::size_t>(i)].get(), titles[i]);
    };
    std::vector<int> paddings;
    std::vector<bool> scrolls;
    host.m_fnScript = [&](CHost& d) {
        CWnd* tab = d.m_sheet.GetTabControl();
        ASSERT_NE(tab, nullptr);
        const HDC dc = ::GetDC(tab->GetSafeHwnd());
        const HGDIOBJ old = ::SelectObject(dc, reinterpret_cast<HGDIOBJ>(tab->SendMessage(WM_GETFONT)));
        int text = 0;
        for (const wchar_t* title : titles) {
            SIZE size{};
            ::GetTextExtentPoint32W(dc, title, static_cast<int>(std::wcslen(title)), &size);
            text += size.cx;
        }
        ::SelectObject(dc, old);
        ::ReleaseDC(tab->GetSafeHwnd(), dc);
        // Room for the usual padding; for a narrower one only; for none.
        for (const int width : {text + 5 * 2 * 6 + 40, text + 5 * 2 * 4 + 10, text / 2}) {
            tab->SetWindowPos(nullptr, 0, 0, width, 100, SWP_NOZORDER | SWP_NOMOVE | SWP_NOACTIVATE);
            paddings.push_back(d.m_sheet.FitTabsToRow());
            scrolls.push_back(::FindWindowExW(tab->GetSafeHwnd(), nullptr, UPDOWN_CLASSW, nullptr) != nullptr);
        }
        d.EndDialog(IDOK);
    };
    EXPECT_EQ(host.DoModal(), IDOK);
    ASSERT_EQ(paddings.size(), 3u);
    EXPECT_EQ(paddings[0], CPropSheetInDlg::kTabPadding);
    EXPECT_LT(paddings[1], CPropSheetInDlg::kTabPadding);
    EXPECT_EQ(paddings[2], CPropSheetInDlg::kNarrowestTabPadding);
    EXPECT_EQ(scrolls, (std::vector<bool>{false, false, true}));
}
