#include "Products/Corvane/Pages/Views/Tests/Rigs/PageBaseRig.h"

#include "Platform/Base/Format.h"
#include "Platform/Controls/EditStyles.h"
#include "Platform/Controls/IPAddressStyles.h"

namespace Corvane {

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
    : m_arrImage(std::move(image)), m_nDecimalId(decimalId), m_nHexId(hexId)
{
    ConstructIndirect(reinterpret_cast<LPCDLGTEMPLATEW>(m_arrImage.data()));
    m_strPageKey = L"TEST";
}

bool CTestPage::ValidateAll()
{
    if (!CheckRange(static_cast<UINT>(m_nDecimalId), L"TXT_FIRST", CFieldRange::kDecimalMode, &m_nDecimal, 1, 100))
        return false;
    return m_nHexId == 0 || CheckRange(static_cast<UINT>(m_nHexId), L"TXT_SECOND", CFieldRange::kHexMode, &m_nHex, 0, 0xFF);
}

void CTestPage::LoadFromDeviceData()
{
    ++m_nLoads;
    const CDeviceBlock block = DeviceBlock();
    const std::optional<WORD> decimal = block.Read(0);
    const std::optional<BYTE> hex = block.ReadByte(2);
    m_nDecimal = decimal ? *decimal : -1;
    m_nHex = hex ? *hex : -1;
}

bool CTestPage::StoreToDeviceData()
{
    ++m_nStores;
    if (!m_bStoreResult)
        return false;
    CDeviceBlock block = DeviceBlock();
    block.Write(0, static_cast<WORD>(m_nDecimal));
    if (m_nHexId != 0)
        block.WriteByte(2, static_cast<BYTE>(m_nHex));
    return true;
}

BOOL CTestPage::UpdateLanguageTexts()
{
    if (IsActive())
        ++m_nTextUpdates;
    return CCouplerSettingsPageBase::UpdateLanguageTexts();
}

void CTestPage::DoDataExchange(CDataExchange* dx)
{
    CCouplerSettingsPageBase::DoDataExchange(dx);
    DDX_Text(dx, m_nDecimalId, m_nDecimal);
    if (m_nHexId == 0)
        return;
    CString hex = FormatW(L"0x%02X", m_nHex).c_str();
    DDX_Text(dx, m_nHexId, hex);
    if (dx->m_bSaveAndValidate)
        m_nHex = static_cast<int>(std::wcstol(hex.GetString(), nullptr, 16));
}

void CTestPage::ShowBalloon(const CString& title, const CString& text, UINT ctrlId)
{
    m_arrBalloons.push_back({title, text, ctrlId});
    if (m_bRealBalloon)
        CCouplerSettingsPageBase::ShowBalloon(title, text, ctrlId);
}

CMainWindow::CMainWindow()
{
    const CWorkerMessages& ids = Ids();
    m_Handler.m_onMessage = [this, &ids](HWND, UINT message, WPARAM, LPARAM lParam, LRESULT& result) {
        if (message == ids.IsPageInList && lParam != 0)
            m_arrAskedKeys.emplace_back(reinterpret_cast<LPCWSTR>(lParam));
        const auto answer = m_mapAnswers.find(message);
        if (answer == m_mapAnswers.end())
            return false;
        result = answer->second;
        return true;
    };
    m_hWnd = UiTest::Create(&m_Handler, WS_OVERLAPPEDWINDOW, 0, 0, 300, 200);
    m_Wnd.Attach(m_hWnd);
}

CMainWindow::~CMainWindow()
{
    m_Wnd.Detach();
    ::DestroyWindow(m_hWnd);
}

std::vector<WPARAM> CMainWindow::WParams(UINT message) const
{
    std::vector<WPARAM> values;
    for (const UiTest::Record& record : m_Handler.Of(message))
        values.push_back(record.wParam);
    return values;
}

BOOL CHostDialog::OnInitDialog()
{
    CDialog::OnInitDialog();
    for (CCouplerSettingsPageBase* page : m_arrPages)
        m_Sheet.AddPage(page, L"");
    if (m_Sheet.Create(this, WS_CHILD | WS_VISIBLE | WS_TABSTOP))
        m_Sheet.FitToPlaceholder();
    return TRUE;
}

CPageRig::CPageRig()
{
    ZELL::Controls::RegisterStandardControls();
    m_App.m_pMainWnd = CWnd::FromHandlePermanent(m_Main.Handle());
    m_pPage = std::make_unique<CTestPage>(FirstPageImage(), kDecimalField, kHexField);
    m_pOther = std::make_unique<CTestPage>(SecondPageImage(), kOtherField, 0);
    m_pPage->AttachDeviceData(m_arrWords.data(), static_cast<unsigned>(m_arrWords.size()), 0, 0);
    m_pOther->AttachDeviceData(m_arrOtherWords.data(), static_cast<unsigned>(m_arrOtherWords.size()), 0, 0);
    m_pPage->SetInSheet(true);
    m_pOther->SetInSheet(true);
    m_Host.m_arrPages = {m_pPage.get(), m_pOther.get()};
}

CPageRig::~CPageRig()
{
    if (m_Host.GetSafeHwnd())
        m_Host.DestroyWindow();
    UiTest::Drain();
    m_App.m_pMainWnd = nullptr;
    CCouplerSettingsPageBase::SetPagesSuspended(true);
}

void CPageRig::Show()
{
    m_arrHostImage = HostImage();
    ASSERT_TRUE(m_Host.CreateIndirect(reinterpret_cast<LPCDLGTEMPLATEW>(m_arrHostImage.data())));
    CCouplerSettingsPageBase::SetPagesSuspended(false);
    if (auto* active = dynamic_cast<CCouplerSettingsPageBase*>(m_Host.m_Sheet.GetActivePage()))
        active->RefreshView();
    Driver().PumpUntilIdle();
}

bool CPageRig::SwitchTo(int index)
{
    m_Host.m_Sheet.SetActivePage(index);
    Driver().PumpUntilIdle();
    return ActiveIndex() == index;
}

void CPageRig::Replace(int id, const std::wstring& text)
{
    ::SetWindowTextW(Driver().Control(id), text.c_str());
    Driver().PumpUntilIdle();
}

}

}  // namespace Corvane
