#include "Products/Corvane/Pages/Views/ModbusParamPage.h"

#include "Products/Corvane/Pages/Views/PageListField.h"
#include "Products/Corvane/Pages/Views/Res/ServicePageIds.h"

namespace Corvane {

using namespace ServicePageIds;

namespace {

constexpr const wchar_t* kBaudRates[] = {L"150 Baud",   L"300 Baud",   L"600 Baud",   L"1200 Baud",
                                         L"2400 Baud",  L"4800 Baud",  L"9600 Baud",  L"19200 Baud",
                                         L"38400 Baud", L"57600 Baud", L"115200 Baud"};
constexpr const wchar_t* kFrameKeys[] = {L"DATAFRAME_8N1", L"DATAFRAME_8E1", L"DATAFRAME_8O1",
                                         L"DATAFRAME_8N2", L"DATAFRAME_7N2", L"DATAFRAME_7N3"};
// Shown as they stand in every language.
constexpr const wchar_t* kEndOfFrameTimes[] = {L"Frametime", L"1ms",   L"10ms",   L"50ms",
                                               L"100ms",     L"200ms", L"500ms",  L"1000ms"};
constexpr const wchar_t* kModes[] = {L"ASCII", L"RTU"};

template <std::size_t N>
std::vector<CString> Texts(const wchar_t* const (&items)[N])
{
    return std::vector<CString>(std::begin(items), std::end(items));
}

void Check(CWnd& page, int id, bool on)
{
    page.CheckDlgButton(id, on ? BST_CHECKED : BST_UNCHECKED);
}

}

BEGIN_MESSAGE_MAP(CModbusParamPage, CTextedSettingsPage)
    ON_CBN_SELCHANGE(kBaudList, OnChanged)
    ON_CBN_SELCHANGE(kFrameList, OnChanged)
    ON_CBN_SELCHANGE(kEndOfFrameList, OnChanged)
    ON_CBN_SELCHANGE(kModeList, OnChanged)
    ON_BN_CLICKED(kErrorCheckBox, OnChanged)
    ON_BN_CLICKED(kWatchdogBox, OnChanged)
    ON_BN_CLICKED(kLibraryBox, OnChanged)
END_MESSAGE_MAP()

CModbusParamPage::CModbusParamPage() : CTextedSettingsPage(kModbusParamTemplate, 0)
{
    m_strPageKey = kPageKey;
}

void CModbusParamPage::LoadFromDeviceData()
{
    const CDeviceBlock block = DeviceBlock();
    if (!block.IsPresent())
        return;
    m_Codec.Load(block);
    RefreshView();
}

bool CModbusParamPage::StoreToDeviceData()
{
    CDeviceBlock block = DeviceBlock();
    if (!block.IsPresent())
        return FALSE;
    ApplyView();
    if (!ValidateAll())
        return FALSE;
    return m_Codec.Store(block, IsController());
}

bool CModbusParamPage::ShowValues()
{
    const CModbusParamCodec::CFields& values = m_Codec.Values;
    CPageListField::Select(*this, kBaudList, values.BaudIndex);
    CPageListField::Select(*this, kFrameList, values.FrameIndex);
    CPageListField::Select(*this, kEndOfFrameList, values.EndOfFrameIndex);
    CPageListField::Select(*this, kModeList, values.ModeIndex);
    Check(*this, kErrorCheckBox, values.ErrorCheck);
    Check(*this, kWatchdogBox, values.Watchdog);
    Check(*this, kLibraryBox, IsController() ? values.UseLibrary : values.Compatibility);
    return TRUE;
}

bool CModbusParamPage::ReadValues()
{
    CModbusParamCodec::CFields& values = m_Codec.Values;
    values.BaudIndex = CPageListField::Selection(*this, kBaudList);
    values.FrameIndex = CPageListField::Selection(*this, kFrameList);
    values.EndOfFrameIndex = CPageListField::Selection(*this, kEndOfFrameList);
    values.ModeIndex = CPageListField::Selection(*this, kModeList);
    values.ErrorCheck = IsDlgButtonChecked(kErrorCheckBox) == BST_CHECKED;
    values.Watchdog = IsDlgButtonChecked(kWatchdogBox) == BST_CHECKED;
    values.UseLibrary = values.Compatibility = IsDlgButtonChecked(kLibraryBox) == BST_CHECKED;
    return TRUE;
}

BOOL CModbusParamPage::OnInitDialog()
{
    CTextedSettingsPage::OnInitDialog();
    CPageListField::Fill(*this, kBaudList, Texts(kBaudRates));
    CPageListField::Fill(*this, kModeList, Texts(kModes));
    return TRUE;
}

BOOL CModbusParamPage::UpdateLanguageTexts()
{
    const BOOL pending = CTextedSettingsPage::UpdateLanguageTexts();
    // The lists were filled anew: their selections come back from the block.
    if (IsActive())
        LoadFromDeviceData();
    return pending;
}

void CModbusParamPage::ApplyTexts()
{
    SetDlgItemText(kBaudLabel, Text(L"LBL_BAUDRATE"));
    SetDlgItemText(kFrameLabel, Text(L"LBL_DATAFRAME"));
    SetDlgItemText(kEndOfFrameLabel, Text(L"LBL_EOF_TIME"));
    SetDlgItemText(kModeLabel, Text(L"LBL_MODEBUS_MODE"));
    SetDlgItemText(kErrorCheckBox, Text(L"ERROR_CHECK"));
    SetDlgItemText(kWatchdogBox, Text(L"WATCHDOG"));
    SetDlgItemText(kLibraryBox, Text(IsController() ? L"USE_FB_CONFIG_LIB" : L"COMPATIBILITY_MODE"));
    std::vector<CString> frames;
    for (const wchar_t* key : kFrameKeys)
        frames.push_back(Text(key));
    CPageListField::Fill(*this, kFrameList, frames);
    CPageListField::Fill(*this, kEndOfFrameList, Texts(kEndOfFrameTimes));
    for (int id : {kBaudList, kFrameList, kEndOfFrameList, kModeList, kErrorCheckBox, kWatchdogBox, kLibraryBox})
        GetDlgItem(id)->SetFont(&GetPageFont());
}

void CModbusParamPage::OnChanged()
{
    NotifySettingsChanged(TRUE);
}

}  // namespace Corvane
