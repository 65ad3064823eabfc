// CPropertySheet and CPropertyPage: modal sheets and their answers, the
// pages' data exchange on leaving and entering, a child sheet inside a
// CDialog driven by the keyboard, and pages made by their run-time class.
#include "Platform/Framework/Windows/Dialog.h"
#include "Platform/Framework/Windows/PropertySheet.h"
#include "Platform/Controls/Tests/TemplateItems.h"
#include "Platform/Framework/Tests/FrameworkTestSupport.h"
#include "Platform/Framework/Tests/ScriptedDialog.h"
#include "Platform/Ui/DialogTemplate.h"
#include "Platform/Ui/Tests/DialogDriver.h"

#include <functional>
#include <string>
#include <vector>

using Ui::DialogItemTemplate;
using Ui::NameOrOrdinal;
using UiTest::CDialogDriver;

namespace {

constexpr int kNameEdit = 501;
constexpr int kCountEdit = 502;
constexpr int kPortEdit = 511;
constexpr int kPlaceholder = 601;

DialogItemTemplate Edit(int id, short y)
{
    return ControlTest::Predefined(Ui::kClassEdit, id, WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL, 7, y, 100, 12);
}

const std::vector<BYTE>& IdentityImage()
{
    static const std::vector<BYTE> image = ControlTest::DialogImage(L"Identity", 160, 70, {Edit(kNameEdit, 7), Edit(kCountEdit, 25)});
    return image;
}

const std::vector<BYTE>& PortImage()
{
    static const std::vector<BYTE> image = ControlTest::DialogImage(L"Port", 180, 90, {Edit(kPortEdit, 7)});
    return image;
}

std::vector<std::string> g_log;

// A page that notes what the sheet tells it and may run a script once shown.
class CLoggingPage : public FrameworkTest::CScriptedDialog<CLoggingPage, CPropertyPage> {
public:
    CLoggingPage(const char* name, const std::vector<BYTE>& image) : m_name(name) { ConstructIndirect(reinterpret_cast<LPCDLGTEMPLATEW>(image.data())); }

    BOOL m_refuseLeave = FALSE;

    BOOL OnSetActive() override
    {
        g_log.push_back(m_name + " enter");
        if (m_script)
            PostScript();
        return CPropertyPage::OnSetActive();
    }
    BOOL OnKillActive() override
    {
        g_log.push_back(m_name + " leave");
        return m_refuseLeave ? FALSE : CPropertyPage::OnKillActive();
    }
    BOOL OnApply() override
    {
        g_log.push_back(m_name + " apply");
        return CPropertyPage::OnApply();
    }
    void OnReset() override
    {
        g_log.push_back(m_name + " reset");
        CPropertyPage::OnReset();
    }

private:
    std::string m_name;
};

class CIdentityPage : public CLoggingPage {
public:
    CIdentityPage() : CLoggingPage("identity", IdentityImage()) {}
    CString m_deviceName = L"coupler";
    int m_count = 4;

protected:
    void DoDataExchange(CDataExchange* dx) override
    {
        DDX_Text(dx, kNameEdit, m_deviceName);
        DDX_Text(dx, kCountEdit, m_count);
    }
};

// A page the sheet's owner makes by its run-time class, as settings pages are.
class CPortPage : public CLoggingPage {
    DECLARE_DYNCREATE(CPortPage)
public:
    CPortPage() : CLoggingPage("port", PortImage()) {}
    UINT m_port = 502;

protected:
    void DoDataExchange(CDataExchange* dx) override { DDX_Text(dx, kPortEdit, m_port); }
};

IMPLEMENT_DYNCREATE(CPortPage, CPropertyPage)

std::wstring ItemText(HWND window, int id)
{
    wchar_t text[64]{};
    ::GetDlgItemTextW(window, id, text, 64);
    return text;
}

class FrameworkPropertySheet : public ::testing::Test {
protected:
    void SetUp() override
    {
        FrameworkTest::RegisterControls();
        g_log.clear();
    }
    void TearDown() override { AfxDeleteTempObjects(); }
};

// A dialog that holds a child sheet over its placeholder, as the main dialog does.
class CHostDialog : public FrameworkTest::CScriptedDialog<CHostDialog> {
public:
    CPropertySheet m_sheet;
    CIdentityPage m_identity;
    CPortPage m_port;

protected:
    BOOL OnInitDialog() override
    {
        CDialog::OnInitDialog();
        m_sheet.AddPage(&m_identity);
        m_sheet.AddPage(&m_port);
        m_sheet.EnableStackedTabs(FALSE);
        if (!m_sheet.Create(this, WS_CHILD | WS_VISIBLE | WS_TABSTOP, WS_EX_CONTROLPARENT))
            return TRUE;
        CRect place;
        GetDlgItem(kPlaceholder)->GetWindowRect(&place);
        ScreenToClient(&place);
        m_sheet.SetWindowPos(nullptr, place.left, place.top, place.Width(), place.Height(), SWP_NOZORDER);
        PostScript();
        return TRUE;
    }
};

std::vector<BYTE> HostImage()
{
    return ControlTest::DialogImage(L"Main", 240, 170,
                                    {ControlTest::Placeholder(kPlaceholder, 5, 5, 230, 140),
                                     ControlTest::Button(L"Close", IDOK, WS_TABSTOP | BS_DEFPUSHBUTTON, 180, 150, 50, 14)},
                                    WS_POPUP | WS_CAPTION | WS_SYSMENU);
}

}

TEST_F(FrameworkPropertySheet, DoModalAnswersIdOkWithThePagesValuesReadBack)
{
    CPropertySheet sheet(L"Device");
    CIdentityPage identity;
    CPortPage port;
    sheet.AddPage(&identity);
    sheet.AddPage(&port);
    EXPECT_EQ(sheet.GetPageCount(), 2);
    identity.m_script = [&](CLoggingPage& page) {
        EXPECT_EQ(ItemText(page.m_hWnd, kNameEdit), L"coupler") << "OnInitDialog wrote the members";
        EXPECT_EQ(sheet.GetActivePage(), &identity);
        EXPECT_EQ(page.GetParentSheet(), &sheet);
        page.SetDlgItemText(kNameEdit, L"north hall");
        page.SetDlgItemText(kCountEdit, L"12");
        CDialogDriver driver(sheet.m_hWnd);
        driver.Press(VK_RETURN);
    };
    EXPECT_EQ(sheet.DoModal(), IDOK);
    EXPECT_EQ(identity.m_deviceName, CString(L"north hall"));
    EXPECT_EQ(identity.m_count, 12);
    EXPECT_EQ(g_log, (std::vector<std::string>{"identity enter", "identity leave", "identity apply"}))
        << "the port page was never shown, so it neither leaves nor applies";
    EXPECT_EQ(sheet.m_hWnd, nullptr);
    EXPECT_EQ(identity.m_hWnd, nullptr);

    // Shown again, the page starts from the members; Esc cancels and resets.
    g_log.clear();
    identity.m_script = [&](CLoggingPage& page) {
        EXPECT_EQ(ItemText(page.m_hWnd, kNameEdit), L"north hall");
        page.SetDlgItemText(kNameEdit, L"discarded");
        CDialogDriver driver(sheet.m_hWnd);
        driver.Press(VK_ESCAPE);
    };
    EXPECT_EQ(sheet.DoModal(), IDCANCEL);
    EXPECT_EQ(identity.m_deviceName, CString(L"north hall")) << "a cancelled page keeps its members";
    EXPECT_EQ(g_log, (std::vector<std::string>{"identity enter", "identity reset"}));
}

TEST_F(FrameworkPropertySheet, PagesMadeByTheirRunTimeClassWorkInTheSheet)
{
    CObject* made = RUNTIME_CLASS(CPortPage)->CreateObject();
    ASSERT_NE(made, nullptr);
    auto* port = DYNAMIC_DOWNCAST(CPropertyPage, made);
    ASSERT_NE(port, nullptr);
    EXPECT_TRUE(made->IsKindOf(RUNTIME_CLASS(CPropertyPage)));
    CPropertySheet sheet(L"Made");
    CIdentityPage identity;
    sheet.AddPage(&identity);
    sheet.AddPage(port);
    sheet.SetActivePage(port);
    static_cast<CPortPage*>(port)->m_script = [&](CLoggingPage& page) {
        EXPECT_EQ(ItemText(page.m_hWnd, kPortEdit), L"502");
        page.SetDlgItemText(kPortEdit, L"8080");
        sheet.PressButton(PSBTN_OK);
    };
    EXPECT_EQ(sheet.DoModal(), IDOK);
    EXPECT_EQ(static_cast<CPortPage*>(port)->m_port, 8080u);
    delete made;
}

TEST_F(FrameworkPropertySheet, AChildSheetInADialogSwitchesPagesByKeyboardAndKeepsARefusingPage)
{
    const std::vector<BYTE> image = HostImage();
    CHostDialog host;
    ASSERT_TRUE(host.InitModalIndirect(reinterpret_cast<LPCDLGTEMPLATEW>(image.data())));
    std::vector<std::string> afterSwitch;
    std::vector<std::string> afterRefusal;
    int activeAfterRefusal = -1;
    host.m_script = [&](CHostDialog& d) {
        CDialogDriver driver(d.m_hWnd);
        EXPECT_FALSE(::IsWindowVisible(::GetDlgItem(d.m_sheet.m_hWnd, IDOK))) << "a modeless sheet shows no OK button";
        EXPECT_EQ(d.m_sheet.GetTabControl()->GetStyle() & TCS_MULTILINE, 0u) << "tabs on one row when not stacked";
        EXPECT_TRUE(driver.Click(kNameEdit));
        driver.PumpUntilIdle();
        g_log.clear();
        driver.Press(VK_TAB, UiTest::kControl);
        driver.PumpUntilIdle();
        afterSwitch = g_log;
        EXPECT_EQ(d.m_sheet.GetActiveIndex(), 1);
        EXPECT_EQ(driver.FocusId(), kPortEdit);

        d.m_port.m_refuseLeave = TRUE;
        g_log.clear();
        driver.Press(VK_TAB, UiTest::kControl);
        driver.PumpUntilIdle();
        afterRefusal = g_log;
        activeAfterRefusal = d.m_sheet.GetActiveIndex();
        EXPECT_FALSE(d.m_sheet.SetActivePage(0));

        d.m_port.m_refuseLeave = FALSE;
        d.m_port.SetModified();
        EXPECT_TRUE(::IsWindowEnabled(::GetDlgItem(d.m_sheet.m_hWnd, ID_APPLY_NOW)));
        d.m_port.SetModified(FALSE);
        EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(d.m_sheet.m_hWnd, ID_APPLY_NOW)));
        d.m_sheet.RemovePage(&d.m_identity);
        EXPECT_EQ(d.m_sheet.GetPageCount(), 1);
        EXPECT_EQ(d.m_identity.m_hWnd, nullptr) << "the removed page's window is gone";
        d.EndDialog(IDOK);
    };
    EXPECT_EQ(host.DoModal(), IDOK);
    EXPECT_EQ(afterSwitch, (std::vector<std::string>{"identity leave", "port enter"}));
    EXPECT_EQ(afterRefusal, (std::vector<std::string>{"port leave"}));
    EXPECT_EQ(activeAfterRefusal, 1);
    EXPECT_EQ(host.m_sheet.m_hWnd, nullptr) << "the sheet went with its dialog";
}
