// The sheet inside a dialog: laid over its placeholder, switching pages by
// keyboard, and tab captions that outlive the caller's title text.
#include "Common/Controls/PropSheetInDlg.h"
#include "Platform/Controls/StandardControls.h"
#include "Platform/Controls/Tests/TemplateItems.h"
#include "Platform/Framework/Tests/ScriptedDialog.h"
#include "Platform/Framework/Windows/Dialog.h"
#include "Platform/Ui/DialogTemplate.h"
#include "Platform/Ui/Tests/DialogDriver.h"

#include <gtest/gtest.h>

#include <functional>
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
    host.m_script = [&](CHost& d) {
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
