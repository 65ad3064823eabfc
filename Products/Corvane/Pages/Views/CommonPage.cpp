#include "Products/Corvane/Pages/Views/CommonPage.h"

#include "Common/Communication/ArticleNumber.h"
#include "Common/Skin/ZellMenu.h"
#include "Common/SystemHelper/Desktop/WindowHelpers.h"
#include "Common/Tessel/TesselExports.h"
#include "Platform/Framework/Files/FileDialog.h"
#include "Platform/Framework/Exceptions/FileException.h"
#include "Platform/Framework/Files/StdioFile.h"
#include "Products/Corvane/App/CorvaneApp.h"
#include "Products/Corvane/Core/FBCData.h"

namespace Corvane {

using namespace ZELL::Skin;
using namespace ZELL::Grid;

BEGIN_MESSAGE_MAP(CCommonPage, CGridPageBase)
    ON_NOTIFY(GRIDN_RCLICK, kGridId, OnGridRightClick)
END_MESSAGE_MAP()

CCommonPage::CCommonPage(UINT templateId) : CGridPageBase(templateId, 0) { m_strPageKey = kPageKey; }

void CCommonPage::SetIPAddressTexts(const CString& ip1, const CString& ip2)
{
    m_strIPAddress = ip1;
    m_strIPAddress2 = ip2;
}

void CCommonPage::TakeIdentification(const CFBCData& data)
{
    m_strDescription = data.Description;
    m_strArticleNo = data.ArticleNo;
    m_strFWVersion = data.SWVersion;
    m_strHWVersion = data.HWVersion;
    m_strFWLVersion = data.FWLVersion;
    m_strSerialNo = data.SerialNo;
    m_strIMEI = data.IMEI;
}

void CCommonPage::ClearIdentification()
{
    TakeIdentification(CFBCData());
    m_strMACAddress.Empty();
    m_strMACAddress2.Empty();
    SetIPAddressTexts(CString(), CString());
    m_arrRows.clear();
    m_strCopyText.Empty();
}

// --- rows ----------------------------------------------------------------------------

void CCommonPage::AddRow(LPCWSTR nameKey, const CString& value)
{
    tRow row;
    row.value = value;
    if (row.value.Find(kErrorMarker) >= 0) {
        row.value.Replace(kErrorMarker, L"");
        row.state = kRowError;
    }
    row.name = Text(nameKey) + L" ";
    m_strCopyText.AppendFormat(L"%s= %s\r\n", row.name.GetString(), row.value.GetString());
    m_arrRows.push_back(row);
}

void CCommonPage::AddAddressRows()
{
    if (!DeviceHasIP())
        return;
    if (m_strIPAddress2.IsEmpty()) {
        AddRow(L"TXT_MAC_ADDRESS", m_strMACAddress);
        AddRow(L"TXT_IP_ADDRESS", m_strIPAddress);
        return;
    }
    AddRow(L"TXT_MAC_ADDRESS_X1", m_strMACAddress);
    AddRow(L"TXT_MAC_ADDRESS_X2", m_strMACAddress2);
    AddRow(L"TXT_IP_ADDRESS_X1", m_strIPAddress);
    AddRow(L"TXT_IP_ADDRESS_X2", m_strIPAddress2);
}

void CCommonPage::LoadFromDeviceData()
{
    m_nShownState = 0;
    m_arrRows.clear();
    m_strCopyText.Empty();
    CArticleNumber article{std::wstring(m_strArticleNo.GetString())};
    AddRow(L"TXT_ITEM_NUMBER", article.GetText(false));
    AddRow(L"TXT_DESCRIPTION", m_strDescription);
    AddRow(L"TXT_FW_VERSION", m_strFWVersion);
    AddRow(L"TXT_HW_VERSION", m_strHWVersion);
    AddRow(L"TXT_FWL_VERSION", m_strFWLVersion);
    AddRow(L"TXT_SERIAL_NUMBER", m_strSerialNo);
    // A device without a mobile modem says so with "--".
    if (m_strIMEI != L"--")
        AddRow(L"TXT_IMEI", m_strIMEI);
    AddAddressRows();
    const CFBCData* data = GetDeviceData();
    if (data != nullptr && data->ActiveRuntimeSystem != kNoRuntimeSystem) {
        CString key;
        key.Format(L"RUNTIMESYSTEM_%02d", static_cast<int>(data->ActiveRuntimeSystem));
        AddRow(L"TXT_RUNTIME_SYSTEM", Text(key));
    }
    ShowRows();
}

void CCommonPage::ShowRows()
{
    m_Grid.SetRowTotal(static_cast<int>(m_arrRows.size()));
    for (int i = 0; i < static_cast<int>(m_arrRows.size()); ++i) {
        InitGridRow(i, true);
        FillGrid(i, m_arrRows[i].name, m_arrRows[i].value, m_arrRows[i].state);
    }
    RedrawGrid(true);
}

// A page that shows a state (a failed read, the request to read) keeps it:
// its rows would bring back a device that is gone.
BOOL CCommonPage::UpdateLanguageTexts()
{
    if (IsActive() && m_Grid.GetSafeHwnd() && m_Grid.IsWindowVisible()) {
        if (m_nShownState == 0)
            LoadFromDeviceData();
        else
            ShowGridState(m_nShownState, m_strShownStateText);
    }
    return CGridPageBase::UpdateLanguageTexts();
}

void CCommonPage::BeginWaitState(int state, LPCWSTR text)
{
    ShowGridState(state, text);
    m_nShownState = state;
    m_strShownStateText = text != nullptr ? text : L"";
    if (state == 0)
        LoadFromDeviceData();
}

// --- window ----------------------------------------------------------------------------

BOOL CCommonPage::OnInitDialog()
{
    CGridPageBase::OnInitDialog();
    if (CCorvaneApp* app = GetCorvaneApp())
        app->LoadImageList(m_RowImages, kRowImagesId, 32, kImageMask);
    m_Grid.SetImageList(&m_RowImages);
    SetUpGrid(1, 3, 0, 1);
    return TRUE;
}

void CCommonPage::DoDataExchange(CDataExchange* dx)
{
    CGridPageBase::DoDataExchange(dx);
    DDX_Control(dx, kGridId, m_Grid);
}

bool CCommonPage::DeviceHasIP() const
{
    const CCorvaneApp* app = GetCorvaneApp();
    return app != nullptr && app->DeviceHasIP(m_strArticleNo);
}

// --- context menu ------------------------------------------------------------------

void CCommonPage::OnGridRightClick(NMHDR*, LRESULT* result)
{
    CPoint cursor;
    ::GetCursorPos(&cursor);
    ShowContextMenu(cursor);
    *result = 0;
}

void CCommonPage::ShowContextMenu(CPoint screen)
{
    if (m_strCopyText.IsEmpty())
        return;
    CZellMenu menu;
    menu.CreatePopupMenu();
    CZellMenu::SetIconSize(16, 20);
    menu.SetBackgroundColor(kImageMask);
    menu.AppendODMenu(Text(L"CMD_REFRESH"), MF_OWNERDRAW, kRefreshCommand);
    menu.AppendODMenu(L"", MF_OWNERDRAW | MF_SEPARATOR);
    menu.AppendODMenu(Text(L"CMD_COPY"), MF_OWNERDRAW, kCopyCommand);
    menu.AppendODMenu(Text(L"CMD_PASTE"), MF_OWNERDRAW | MF_GRAYED, kPasteCommand);
    menu.AppendODMenu(Text(L"CMD_DELETE"), MF_OWNERDRAW | MF_GRAYED, kDeleteCommand);
    menu.AppendODMenu(L"", MF_OWNERDRAW | MF_SEPARATOR);
    menu.AppendODMenu(Text(L"CMD_SAVE"), MF_OWNERDRAW, kSaveCommand);
    menu.LoadToolbar(kMenuImagesId);
    RunMenuCommand(TrackContextMenu(menu, screen));
}

UINT CCommonPage::TrackContextMenu(CZellMenu& menu, CPoint screen)
{
    return static_cast<UINT>(
        menu.TrackPopupMenu(TPM_RIGHTBUTTON | TPM_RETURNCMD, screen.x, screen.y, this));
}

void CCommonPage::RunMenuCommand(UINT command)
{
    switch (command) {
    case kRefreshCommand: RequestReadSettings(); break;
    case kCopyCommand: SetClipboardText(std::wstring(m_strCopyText.GetString()), this); break;
    case kSaveCommand: SaveWithDialog(); break;
    default: break;
    }
}

// --- saving ----------------------------------------------------------------------------

CString CCommonPage::AskSaveFileName()
{
    CCorvaneApp* app = GetCorvaneApp();
    CString initial = (app ? app->GetDataFolder() : CString()) + L"/*.txt";
    initial.Replace(L"//", L"/");
    CFileDialog dialog(FALSE, L"txt", initial, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, Text(L"TXT_FILE_FILTER"), this);
    if (dialog.DoModal() != IDOK)
        return CString();
    return dialog.GetPathName();
}

void CCommonPage::SaveWithDialog()
{
    if (m_strCopyText.IsEmpty())
        return;
    const CString path = AskSaveFileName();
    if (path.IsEmpty())
        return;
    const int slash = path.ReverseFind(L'/');
    if (CWinApp* app = AfxGetApp(); app != nullptr && slash > 0)
        app->WriteProfileString(L"Folder", L"MyDocuments", path.Left(slash));
    SaveToFile(path);
}

bool CCommonPage::SaveToFile(const CString& path)
{
    CStdioFile file;
    CFileException error;
    if (!file.Open(path, CFile::modeCreate | CFile::modeWrite | CFile::typeText, &error)) {
        error.ReportError();
        return false;
    }
    try {
        file.WriteString(m_strCopyText);
        file.Close();
        return true;
    } catch (CException* failure) {
        failure->Delete();
        file.Abort();
        ShowMessage(Text(L"TXT_UNABLE_SAVE_FILE"));
        return false;
    }
}

void CCommonPage::ShowMessage(const CString& text) { ZELLMessageBox(text, MB_OK, L"", 0); }

}  // namespace Corvane
