#include "Products/Corvane/Pages/Views/EthernetIPPage.h"

#include "Products/Corvane/App/CorvaneApp.h"
#include "Products/Corvane/Core/FBCData.h"
#include "Products/Corvane/Pages/Views/PageAppServices.h"
#include "Products/Corvane/Pages/Views/PageNumberField.h"
#include "Products/Corvane/Pages/Views/Res/ServicePageIds.h"

namespace Corvane {

using namespace ServicePageIds;

namespace {

struct tTextOfControl {
    int id;
    const wchar_t* key;
};

constexpr tTextOfControl kTexts[] = {
    {kRunIdleLabel, L"GRP_RUN_IDLE_HDR"},
    {kRunIdleO2TBox, L"LBL_RI_HDR_O2T"},
    {kRunIdleT2OBox, L"LBL_RI_HDR_T2O"},
    {kFieldbusVarsLabel, L"GRP_FB_VARS"},
    {kInputAdditionalLabel, L"LBL_PLC_INVAR_ADDITIONAL_101_103"},
    {kOutputAdditionalLabel, L"LBL_PLC_INVAR_ADDITIONAL_104_109"},
    {kAssembly111Label, L"LBL_PLC_INVAR_ASSEMBLY_111"},
    {kAssembly113Label, L"LBL_PLC_INVAR_ASSEMBLY_113"},
    {kAssembly110Label, L"LBL_PLC_OUTVAR_ASSEMBLY_110"},
    {kAssembly112Label, L"LBL_PLC_OUTVAR_ASSEMBLY_112"},
    {kWordAlignBox, L"LBL_ETHIP_WORDALIGN"},
};

struct tTooltip {
    int id;
    const wchar_t* body;
    const wchar_t* header;
};

constexpr tTooltip kTooltips[] = {
    {kRunIdleO2TBox, L"TT_RI_HDR_O2T_BODY", L"TT_RI_HDR_O2T_HDR"},
    {kRunIdleT2OBox, L"TT_RI_HDR_T2O_BODY", L"TT_RI_HDR_T2O_HDR"},
    {kInputAdditionalEdit, L"TT_PLC_INVAR_ADDITIONAL_101_103_BODY", L"TT_PLC_INVAR_ADDITIONAL_101_103_HDR"},
    {kOutputAdditionalEdit, L"TT_PLC_INVAR_ADDITIONAL_104_109_BODY", L"TT_PLC_INVAR_ADDITIONAL_104_109_HDR"},
    {kAssembly111Bytes, L"TT_PLC_INVAR_ASSEMBLY_111_BODY", L"TT_PLC_INVAR_ASSEMBLY_111_HDR"},
    {kAssembly111Offset, L"TT_PLC_INVAR_OFFSET_ASSEMBLY_111_BODY", L"TT_PLC_INVAR_OFFSET_ASSEMBLY_111_HDR"},
    {kAssembly113Bytes, L"TT_PLC_INVAR_ASSEMBLY_113_BODY", L"TT_PLC_INVAR_ASSEMBLY_113_HDR"},
    {kAssembly113Offset, L"TT_PLC_INVAR_OFFSET_ASSEMBLY_113_BODY", L"TT_PLC_INVAR_OFFSET_ASSEMBLY_113_HDR"},
    {kAssembly110Bytes, L"TT_PLC_OUTVAR_ASSEMBLY_110_BODY", L"TT_PLC_OUTVAR_ASSEMBLY_110_HDR"},
    {kAssembly110Offset, L"TT_PLC_OUTVAR_OFFSET_ASSEMBLY_110_BODY", L"TT_PLC_OUTVAR_OFFSET_ASSEMBLY_110_HDR"},
    {kAssembly112Bytes, L"TT_PLC_OUTVAR_ASSEMBLY_112_BODY", L"TT_PLC_OUTVAR_ASSEMBLY_112_HDR"},
    {kAssembly112Offset, L"TT_PLC_OUTVAR_OFFSET_ASSEMBLY_112_BODY", L"TT_PLC_OUTVAR_OFFSET_ASSEMBLY_112_HDR"},
    {kWordAlignBox, L"TT_ETHIP_WORDALIGN_BODY", L"TT_ETHIP_WORDALIGN_HDR"},
};

// The controller's fields that every controller has.
constexpr int kControllerControls[] = {kEthernetIPLine,      kFieldbusVarsLabel, kInputsGroup,
                                       kOutputsGroup,        kInputAdditionalLabel, kInputAdditionalEdit,
                                       kOutputAdditionalLabel, kOutputAdditionalEdit, kAssembly111Label,
                                       kAssembly111Bytes,    kAssembly111Offset, kAssembly110Label,
                                       kAssembly110Bytes,    kAssembly110Offset};
// Assemblies 113 and 112, only in the longer blocks of the extended devices.
constexpr int kExtensionControls[] = {kAssembly113Label, kAssembly113Bytes, kAssembly113Offset,
                                      kAssembly112Label, kAssembly112Bytes, kAssembly112Offset};

}

BEGIN_MESSAGE_MAP(CEthernetIPPage, CTextedSettingsPage)
    ON_CONTROL_RANGE(EN_CHANGE, kInputAdditionalEdit, kAssembly112Offset, OnNumberChanged)
    ON_BN_CLICKED(kRunIdleO2TBox, OnBoxClicked)
    ON_BN_CLICKED(kRunIdleT2OBox, OnBoxClicked)
    ON_BN_CLICKED(kWordAlignBox, OnBoxClicked)
END_MESSAGE_MAP()

CEthernetIPPage::CEthernetIPPage()
    : CTextedSettingsPage(kEthernetIPTemplate, 0), m_Codec(CPageAppServices::Capabilities())
{
    m_strPageKey = kPageKey;
}

std::vector<std::pair<int, int*>> CEthernetIPPage::Numbers()
{
    return {{kInputAdditionalEdit, &m_Codec.InputAdditional}, {kOutputAdditionalEdit, &m_Codec.OutputAdditional},
            {kAssembly111Bytes, &m_Codec.InputBytes111},      {kAssembly111Offset, &m_Codec.InputOffset111},
            {kAssembly113Bytes, &m_Codec.InputBytes113},      {kAssembly113Offset, &m_Codec.InputOffset113},
            {kAssembly110Bytes, &m_Codec.OutputBytes110},     {kAssembly110Offset, &m_Codec.OutputOffset110},
            {kAssembly112Bytes, &m_Codec.OutputBytes112},     {kAssembly112Offset, &m_Codec.OutputOffset112}};
}

void CEthernetIPPage::LoadFromDeviceData()
{
    const CDeviceBlock block = DeviceBlock();
    if (!block.IsPresent())
        return;
    // Every number comes from the device: one out of range is shown and
    // refused before a write instead of sticking to the page.
    m_Codec.Load(block);
    RefreshView();
}

bool CEthernetIPPage::StoreToDeviceData()
{
    CDeviceBlock block = DeviceBlock();
    if (!block.IsPresent())
        return FALSE;
    ApplyView();
    const bool valid = ValidateAll();
    // The codec keeps the numbers back when they fail, but the alignment
    // switch is stored either way.
    const bool stored = m_Codec.Store(block, IsController());
    return valid && stored;
}

bool CEthernetIPPage::ShowValues()
{
    ShowRunIdle(kRunIdleO2TBox, m_Codec.RunIdleO2T, m_nShownO2T);
    ShowRunIdle(kRunIdleT2OBox, m_Codec.RunIdleT2O, m_nShownT2O);
    CheckDlgButton(kWordAlignBox, m_Codec.WordAlignmentOn ? BST_CHECKED : BST_UNCHECKED);
    for (const auto& [id, value] : Numbers())
        CPageNumberField::Show(*this, id, L"%d", *value);
    return TRUE;
}

void CEthernetIPPage::ShowRunIdle(int id, int runIdle, UINT& shown)
{
    CheckDlgButton(id, runIdle < 0 ? BST_INDETERMINATE : (runIdle == 1 ? BST_CHECKED : BST_UNCHECKED));
    shown = IsDlgButtonChecked(id);
}

int CEthernetIPPage::RunIdleOf(int id, int runIdle, UINT shown) const
{
    const UINT state = IsDlgButtonChecked(id);
    if (state == shown)
        return runIdle;
    return state == BST_CHECKED ? 1 : 0;
}

bool CEthernetIPPage::ReadValues()
{
    m_Codec.RunIdleO2T = RunIdleOf(kRunIdleO2TBox, m_Codec.RunIdleO2T, m_nShownO2T);
    m_Codec.RunIdleT2O = RunIdleOf(kRunIdleT2OBox, m_Codec.RunIdleT2O, m_nShownT2O);
    m_Codec.WordAlignmentOn = IsDlgButtonChecked(kWordAlignBox) == BST_CHECKED;
    bool read = true;
    for (const auto& [id, value] : Numbers())
        read = CPageNumberField::Read(*this, id, false, *value) && read;
    return read;
}

bool CEthernetIPPage::ValidateAll()
{
    return !IsController() || CheckRanges(m_Codec.RangeChecks(false));
}

void CEthernetIPPage::ShowDeviceControls(int)
{
    const CCorvaneApp* app = GetCorvaneApp();
    const CFBCData* data = GetDeviceData();
    const bool isis = app != nullptr && data != nullptr && app->HasISIS(data->ArticleNo);
    const std::wstring firmware = data != nullptr ? data->SWVersion.str() : std::wstring();
    ShowControl(kWordAlignBox, CEthernetIPCodec::ShowsWordAlignment(m_Codec.WordAlignmentAvailable, isis, firmware));
}

void CEthernetIPPage::EnableControls(int)
{
    const bool controller = IsController();
    for (int id : kControllerControls)
        ShowControl(id, controller);
    const CCorvaneApp* app = GetCorvaneApp();
    const CFBCData* data = GetDeviceData();
    const bool extension = app != nullptr && data != nullptr && app->HasEthernetIPExtension(data->ArticleNo);
    const bool extensionShown =
        CEthernetIPCodec::ShowsExtensionAssemblies(controller, DeviceBlock().GetLength(), extension);
    for (int id : kExtensionControls)
        ShowControl(id, extensionShown);
}

void CEthernetIPPage::ApplyTexts()
{
    for (const tTextOfControl& text : kTexts) {
        SetDlgItemText(text.id, Text(text.key));
        GetDlgItem(text.id)->SetFont(&GetPageFont());
    }
    for (int label : {kRunIdleLabel, kFieldbusVarsLabel})
        FitStaticToText(GetDlgItem(label), Text(label == kRunIdleLabel ? L"GRP_RUN_IDLE_HDR" : L"GRP_FB_VARS"),
                        &GetPageFont());
    for (const tTooltip& tip : kTooltips)
        AddTooltip(tip.id, tip.body, tip.header);
}

void CEthernetIPPage::OnNumberChanged(UINT id)
{
    // The page filling its fields reads nothing back: the fields not yet
    // filled would overwrite their members.
    if (m_bUpdating)
        return;
    // The bounds of a size and its offset follow each other: the other one
    // is taken as it stands now.
    ApplyView();
    CheckWhileTyping(m_Codec.RangeChecks(true), id);
    NotifySettingsChanged(TRUE);
}

void CEthernetIPPage::OnBoxClicked()
{
    NotifySettingsChanged(TRUE);
}

}  // namespace Corvane
