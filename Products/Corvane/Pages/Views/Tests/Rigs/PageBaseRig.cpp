#include "Products/Corvane/Pages/Views/Tests/Rigs/PageBaseRig.h"

#include "Platform/Base/Format.h"
#include "Platform/Controls/EditStyles.h"
#include "Platform/Controls/IPAddressStyles.h"

namespace PageBaseTest {

namespace {

constexpr DWORD kEdit = WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL;
constexpr DWORD kPage = WS_CHILD | DS_CONTROL;

}

Ui::DialogItemTemplate Placeholder(short x, short y, short cx, short cy)
{
    // Hidden, as in the main dialog.
    return ControlTest::Placeholder(kPlaceholder, x, y, cx, cy);
}

namespace {

std::vector<BYTE> HostImage()
{
    return ControlTest::DialogImage(L"Host", 260, 170,
                                    {Placeholder(5, 5, 250, 140),
                                     ControlTest::Button(L"OK", IDOK, BS_PUSHBUTTON, 200, 150, 50, 14)},
                                    WS_POPUP | WS_CAPTION | WS_VISIBLE);
}

}

std::vector<BYTE> FirstPageImage()
{
    return ControlTest::DialogImage(
        L"First", 240, 110,
        {ControlTest::Predefined(Ui::kClassEdit, kDecimalField, kEdit, 10, 10, 80, 12),
         ControlTest::Predefined(Ui::kClassEdit, kHexField, kEdit, 10, 30, 80, 12),
         ControlTest::Common(WC_IPADDRESSW, kAddressField, WS_TABSTOP, 10, 50, 100, 12),
         ControlTest::Static(L"A label", 0, 120, 10, 100, 20, 1200)},
        kPage);
}

std::vector<BYTE> SecondPageImage()
{
    return ControlTest::DialogImage(L"Second", 240, 110,
                                    {ControlTest::Predefined(Ui::kClassEdit, kOtherField, kEdit, 10, 10, 80, 12)},
                                    kPage);
}

BEGIN_MESSAGE_MAP(CTestPage, CCouplerSettingsPageBase)
    ON_CONTROL_RANGE(EN_CHANGE, kDecimalField, kOtherField, OnFieldChanged)
END_MESSAGE_MAP()

CTestPage::CTestPage(std::vector<BYTE> image, int decimalId, int hexId)
    : m_image(std::move(image)), m_decimalId(decimalId), m_hexId(hexId)
{
    ConstructIndirect(reinterpret_cast<LPCDLGTEMPLATEW>(m_image.data()));
    m_pageKey = L"TEST";
}

bool CTestPage::ValidateAll()
{
    if (!CheckRange(static_cast<UINT>(m_decimalId), L"TXT_FIRST", CFieldRange::DecimalMode, &m_decimal, 1, 100))
        return false;
    return m_hexId == 0 || CheckRange(static_cast<UINT>(m_hexId), L"TXT_SECOND", CFieldRange::HexMode, &m_hex, 0, 0xFF);
}

void CTestPage::LoadFromDeviceData()
{
    ++m_loads;
    const CDeviceBlock block = DeviceBlock();
    const std::optional<WORD> decimal = block.Read(0);
    const std::optional<BYTE> hex = block.ReadByte(2);
    m_decimal = decimal ? *decimal : -1;
    m_hex = hex ? *hex : -1;
}

bool CTestPage::StoreToDeviceData()
{
    ++m_stores;
    if (!m_storeResult)
        return false;
    CDeviceBlock block = DeviceBlock();
    block.Write(0, static_cast<WORD>(m_decimal));
    if (m_hexId != 0)
        block.WriteByte(2, static_cast<BYTE>(m_hex));
    return true;
}

BOOL CTestPage::UpdateLanguageTexts()
{
    if (IsActive())
        ++m_textUpdates;
    return CCouplerSettingsPageBase::UpdateLanguageTexts();
}

void CTestPage::DoDataExchange(CDataExchange* dx)
{
    CCouplerSettingsPageBase::DoDataExchange(dx);
    DDX_Text(dx, m_decimalId, m_decimal);
    if (m_hexId == 0)
        return;
    CString hex = FormatW(L"0x%02X", m_hex).c_str();
    DDX_Text(dx, m_hexId, hex);
    if (dx->m_bSaveAndValidate)
        m_hex = static_cast<int>(std::wcstol(hex.GetString(), nullptr, 16));
}

void CTestPage::ShowBalloon(const CString& title, const CString& text, UINT ctrlId)
{
    m_balloons.push_back({title, text, ctrlId});
    if (m_realBalloon)
        CCouplerSettingsPageBase::ShowBalloon(title, text, ctrlId);
}

CMainWindow::CMainWindow()
{
    const CWorkerMessages& ids = Ids();
    m_handler.onMessage = [this, &ids](HWND, UINT message, WPARAM, LPARAM lParam, LRESULT& result) {
        if (message == ids.IsPageInList && lParam != 0)
            m_askedKeys.emplace_back(reinterpret_cast<LPCWSTR>(lParam));
        const auto answer = m_answers.find(message);
        if (answer == m_answers.end())
            return false;
        result = answer->second;
        return true;
    };
    m_hwnd = UiTest::Create(&m_handler, WS_OVERLAPPEDWINDOW, 0, 0, 300, 200);
    m_wnd.Attach(m_hwnd);
}

CMainWindow::~CMainWindow()
{
    m_wnd.Detach();
    ::DestroyWindow(m_hwnd);
}

std::vector<WPARAM> CMainWindow::WParams(UINT message) const
{
    std::vector<WPARAM> values;
    for (const UiTest::Record& record : m_handler.Of(message))
        values.push_back(record.wParam);
    return values;
}

BOOL CHostDialog::OnInitDialog()
{
    CDialog::OnInitDialog();
    for (CCouplerSettingsPageBase* page : m_pages)
        m_sheet.AddPage(page, L"");
    if (m_sheet.Create(this, WS_CHILD | WS_VISIBLE | WS_TABSTOP))
        m_sheet.FitToPlaceholder();
    return TRUE;
}

CPageRig::CPageRig()
{
    ZELL::Controls::RegisterStandardControls();
    m_app.m_pMainWnd = CWnd::FromHandlePermanent(m_main.Handle());
    m_page = std::make_unique<CTestPage>(FirstPageImage(), kDecimalField, kHexField);
    m_other = std::make_unique<CTestPage>(SecondPageImage(), kOtherField, 0);
    m_page->AttachDeviceData(m_words.data(), static_cast<unsigned>(m_words.size()), 0, 0);
    m_other->AttachDeviceData(m_otherWords.data(), static_cast<unsigned>(m_otherWords.size()), 0, 0);
    m_page->SetInSheet(true);
    m_other->SetInSheet(true);
    m_host.m_pages = {m_page.get(), m_other.get()};
}

CPageRig::~CPageRig()
{
    if (m_host.GetSafeHwnd())
        m_host.DestroyWindow();
    UiTest::Drain();
    m_app.m_pMainWnd = nullptr;
    CCouplerSettingsPageBase::SetPagesSuspended(true);
}

void CPageRig::Show()
{
    m_hostImage = HostImage();
    ASSERT_TRUE(m_host.CreateIndirect(reinterpret_cast<LPCDLGTEMPLATEW>(m_hostImage.data())));
    CCouplerSettingsPageBase::SetPagesSuspended(false);
    if (auto* active = dynamic_cast<CCouplerSettingsPageBase*>(m_host.m_sheet.GetActivePage()))
        active->RefreshView();
    Driver().PumpUntilIdle();
}

bool CPageRig::SwitchTo(int index)
{
    m_host.m_sheet.SetActivePage(index);
    Driver().PumpUntilIdle();
    return ActiveIndex() == index;
}

void CPageRig::Replace(int id, const std::wstring& text)
{
    ::SetWindowTextW(Driver().Control(id), text.c_str());
    Driver().PumpUntilIdle();
}

}
