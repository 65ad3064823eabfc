#include "Common/Tessel/AboutDlg.h"

#include "Common/Application/ZellWinApp.h"
#include "Common/SystemHelper/Texts/LanguageTexts.h"
#include "Common/SystemHelper/System/ModuleVersion.h"
#include "Common/SystemHelper/Desktop/ShellHelpers.h"
#include "Common/SystemHelper/System/WindowsVersion.h"
#include "Common/Tessel/AboutFileList.h"
#include "Common/Tessel/LibrarySettings.h"
#include "Common/Tessel/TesselResourceIds.h"
#include "Platform/Base/Module.h"
#include "Platform/Controls/ControlStyles.h"
#include "Platform/Ui/ResourceImage.h"
#include "Platform/Ui/ResourceModule.h"

#include <algorithm>

using namespace ZELL::Skin;
using namespace ZELL::Grid;

namespace Tessel {

namespace {

constexpr std::array<int, 18> kLabelIds = {1064, 1065, 1070, 1071, 1075, 1072, 1076, 1073, 1068,
                                           1074, 1069, 1083, 1078, 1081, 1079, 1082, 1080, 1077};
constexpr int kLogo = 2000;
constexpr int kProgramIcon = 1067;
constexpr int kTitle = 1173;
constexpr int kVersionLine = 1059;
constexpr int kAddressBox = 1066;
constexpr int kCompanyName = 1064;
constexpr int kSupportHeading = 1083;
constexpr int kSupportFaxLabel = 1079;
constexpr int kSupportFaxValue = 1082;
constexpr int kSupportMailLabel = 1080;
constexpr int kSupportMailValue = 1077;
constexpr int kFilesHeader = 1061;
constexpr int kFileList = 1060;
constexpr int kSystemHeader = 1063;
constexpr int kSystemList = 1062;
constexpr int kCopyright = 1057;
constexpr COLORREF kLinkColour = 0xFF0000;
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr int kVersionLineLift = 8;

CString OwnLibraryFile()
{
    wchar_t path[4096] = {};
    const DWORD length = GetModuleFileNameW(Ui::OwnModule(), path, 4096);
    return CString(path, static_cast<int>(std::min<DWORD>(length, 4095)));
}

CString OwnModuleName()
{
    return AfxGetApp() != nullptr ? CString(AfxGetApp()->m_pszAppName) : CString(L"Tessel");
}

CString Dashes()
{
    CString line(L'-', CAboutDlg::kDashCount);
    return line + L"\n";
}

bool IsDefined(const CString& text)
{
    return !CZellWinApp::IsUndefinedText(text);
}

bool NamesItself(const CString& productVersion)
{
    CString upper = productVersion;
    upper.MakeUpper();
    return upper.Find(L"RELEASE CANDIDATE") >= 0 || upper.Find(L"VERSION") >= 0 || upper.Find(L"EDITION") >= 0;
}

}

BEGIN_MESSAGE_MAP(CAboutDlg, CDialog)
    ON_CONTROL_RANGE(STN_CLICKED, kSupportMailValue, kSupportFaxValue, OnSupportValueClicked)
END_MESSAGE_MAP()

CAboutDlg::CAboutDlg(const AboutArguments& arguments, CWnd* parent)
    : CDialog(kTemplateId, parent), m_executable(arguments.executable), m_appName(arguments.appName),
      m_productVersion(arguments.productVersion), m_fileVersion(arguments.fileVersion), m_date(arguments.date),
      m_iconIndex(arguments.iconIndex), m_icon(arguments.icon)
{
    GetVersionText();
}

// Fills what the caller left empty from the program's version record and
// notes the application information of the support mail.
void CAboutDlg::GetVersionText()
{
    if (m_executable.IsEmpty())
        m_executable = OwnModuleName() + L".EXE";
    FillFromVersionRecord();
    m_applicationInformation += m_appName + L"\n";
    const CString asRead = m_productVersion;
    if (!NamesItself(m_productVersion))
        m_productVersion = L"Version " + m_productVersion;
    CString line;
    line.Format(L"%s : %s\n", LoadLangStringOrEnglish(IDS_ABOUT_VERSION).GetString(), asRead.GetString());
    m_applicationInformation += line;
    line.Format(L"%s : %s (%s)", m_executable.GetString(), m_fileVersion.GetString(), m_date.GetString());
    m_applicationInformation += line;
}

void CAboutDlg::FillFromVersionRecord()
{
    CModuleVersion record;
    const CAboutFileList files(CZellWinApp::GetModuleDirectory(), OwnLibraryFile());
    const bool loaded = record.Load(files.Resolve(m_executable).GetString());
    auto value = [&](LPCWSTR name) { return loaded ? CString(record.GetValue(name).c_str()) : CString(); };
    if (m_appName.IsEmpty())
        m_appName = value(L"ProductName");
    if (m_appName.IsEmpty())
        m_appName = OwnModuleName();
    m_appName.Replace(L" - ", L"\n");
    if (m_productVersion.IsEmpty())
        m_productVersion = value(L"ProductVersion");
    if (m_fileVersion.IsEmpty())
        m_fileVersion = value(L"FileVersion");
    if (m_date.IsEmpty())
        m_date = value(L"Created");
    // Older builds wrote the date under its German name.
    if (m_date.IsEmpty())
        m_date = value(L"Erstellt");
}

BOOL CAboutDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    NONCLIENTMETRICSW metrics;
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0);
    m_dialogLogFont = metrics.lfMessageFont;
    m_dialogFont.CreateFontIndirect(&m_dialogLogFont);
    SetFont(&m_dialogFont, TRUE);
    SetDlgItemText(IDOK, LoadLangStringOrEnglish(IDS_ABOUT_CLOSE));
    SubclassControls();
    FillTexts();
    FillModuleList();
    FillSystemList();
    return TRUE;
}

void CAboutDlg::SubclassControls()
{
    m_logo.SubclassDlgItem(kLogo, this);
    m_programIcon.SubclassDlgItem(kProgramIcon, this);
    m_title.SubclassDlgItem(kTitle, this);
    m_versionLine.SubclassDlgItem(kVersionLine, this);
    m_addressBox.SubclassDlgItem(kAddressBox, this);
    for (std::size_t i = 0; i < kLabelIds.size(); ++i)
        m_labels[i].SubclassDlgItem(static_cast<UINT>(kLabelIds[i]), this);
    m_filesHeader.SubclassDlgItem(kFilesHeader, this);
    m_systemHeader.SubclassDlgItem(kSystemHeader, this);
    m_fileList.SubclassDlgItem(kFileList, this);
    m_systemList.SubclassDlgItem(kSystemList, this);
}

CZellStatic& CAboutDlg::Label(int id)
{
    const auto found = std::find(kLabelIds.begin(), kLabelIds.end(), id);
    return m_labels[static_cast<std::size_t>(found - kLabelIds.begin())];
}

// Hides the line and moves every control of the company box below it up by
// the distance from its top to the top of the next line.
void CAboutDlg::CloseUpAddressLine(int id, int nextId)
{
    CWnd* line = GetDlgItem(id);
    CWnd* next = GetDlgItem(nextId);
    CWnd* box = GetDlgItem(kAddressBox);
    if (line == nullptr || next == nullptr || box == nullptr)
        return;
    CRect lineRect, nextRect, boxRect;
    line->GetWindowRect(lineRect);
    next->GetWindowRect(nextRect);
    box->GetWindowRect(boxRect);
    line->ShowWindow(SW_HIDE);
    const int lift = nextRect.top - lineRect.top;
    for (CWnd* child = GetWindow(GW_CHILD); child != nullptr; child = child->GetWindow(GW_HWNDNEXT)) {
        CRect place;
        child->GetWindowRect(place);
        if (child == box || child == line || place.top <= lineRect.top || place.right > boxRect.right)
            continue;
        ScreenToClient(place);
        place.OffsetRect(0, -lift);
        child->MoveWindow(place, FALSE);
    }
}

void CAboutDlg::HideControl(int id)
{
    if (CWnd* control = GetDlgItem(id))
        control->ShowWindow(SW_HIDE);
}

// Shows the text of a key that the GUI XML file defines; false (and the
// template's text stays) otherwise.
bool CAboutDlg::SetDefinedText(LPCWSTR key, int id)
{
    const CString text = GetLanguageText(key);
    if (!IsDefined(text))
        return false;
    Label(id).SetText(text);
    return true;
}

void CAboutDlg::FillTexts()
{
    // They all lie on the white bands.
    for (CZellStatic* label : {&m_title, &m_versionLine})
        label->SetFont(m_dialogLogFont).SetBackground(kWhite);
    for (CZellStatic& label : m_labels)
        label.SetFont(m_dialogLogFont).SetBackground(kWhite);
    m_addressBox.SetFont(m_dialogLogFont);
    FillLogoAndIcon();
    FillTitle();
    FillCompanyTexts();
    FillSupportTexts();
    FillCaptionAndLabels();
}

void CAboutDlg::FillLogoAndIcon()
{
    const auto* app = dynamic_cast<CZellWinApp*>(AfxGetApp());
    HBITMAP logo = app != nullptr && app->IsOemMode() ? app->GetLogoBitmap() : nullptr;
    if (logo != nullptr)
        m_logo.SetBitmap(logo);
    else
        m_logo.ShowWindow(SW_HIDE);
    if (m_iconIndex != -1 && m_icon == nullptr)
        m_programIcon.SetIcon(static_cast<UINT>(m_iconIndex));
    else if (m_iconIndex == -1 && m_icon != nullptr)
        m_programIcon.SetIconHandle(m_icon);
    if (m_programIcon.GetIcon() == nullptr)
        m_programIcon.SetIcon(IDI_ZELL_INFORMATION);
}

void CAboutDlg::FillTitle()
{
    if (m_appName.Find(L'\n') < 0) {
        m_title.ModifyStyle(0, SS_CENTERIMAGE);
        m_title.SetFontSize(11);
        m_versionLine.ModifyStyle(SS_CENTERIMAGE, 0);
        m_versionLine.SetFontSize(9);
        CRect place;
        m_versionLine.GetWindowRect(place);
        ScreenToClient(place);
        place.OffsetRect(0, -kVersionLineLift);
        m_versionLine.MoveWindow(place);
    } else {
        m_title.ModifyStyle(SS_CENTERIMAGE, 0);
        m_title.SetFontSize(10);
    }
    m_title.SetFontBold(TRUE).SetText(m_appName);
    m_versionLine.SetFontBold(TRUE).SetText(m_productVersion);
    Label(kCompanyName).SetFontBold(TRUE);
}

void CAboutDlg::FillCompanyTexts()
{
    SetDefinedText(L"COMPANY_NAME", kCompanyName);
    // An address line the texts do not give leaves no gap: what follows it
    // in the company box moves up into its place.
    if (!SetDefinedText(L"COMPANY_STREET", 1070))
        CloseUpAddressLine(1070, 1071);
    if (!SetDefinedText(L"COMPANY_POSTBOX", 1065))
        CloseUpAddressLine(1065, 1070);
    SetDefinedText(L"COMPANY_PHONE", 1075);
    SetDefinedText(L"COMPANY_FAX", 1076);
    SetDefinedText(L"COMPANY_EMAIL", 1068);
    SetDefinedText(L"COMPANY_WEBSITE", 1069);
    SetDefinedText(L"SUPPORT_PHONE", 1081);
}

void CAboutDlg::FillSupportTexts()
{
    const bool hasFax = SetDefinedText(L"SUPPORT_FAX", kSupportFaxValue);
    m_supportMailLabelId = kSupportMailLabel;
    m_supportMailId = kSupportMailValue;
    if (!hasFax) {
        // The address moves up into the fax row, which then shows it.
        HideControl(kSupportMailLabel);
        HideControl(kSupportMailValue);
        m_supportMailLabelId = kSupportFaxLabel;
        m_supportMailId = kSupportFaxValue;
        Label(m_supportMailLabelId).SetText(L"Email:");
        Label(m_supportMailId).SetText(LoadLangStringOrEnglish(IDS_ABOUT_SUPPORT_ADDRESS));
    }
    StyleLinks();
    FillSupportContact();
}

void CAboutDlg::StyleLinks()
{
    const HCURSOR hand = LoadCursorW(nullptr, IDC_HAND);
    Label(1068).SetMailLink(TRUE, FALSE);
    Label(1069).SetLink(TRUE, FALSE);
    for (int id : {1068, 1069, m_supportMailId})
        Label(id).SetFontUnderline(TRUE).SetTextColor(kLinkColour).SetLinkCursor(hand);
    Label(kSupportHeading).SetFontBold(TRUE);
}

// The support address, or a support website instead (which then opens
// itself and starts no mail).
void CAboutDlg::FillSupportContact()
{
    const CString mail = GetLanguageText(L"SUPPORT_EMAIL");
    if (IsDefined(mail)) {
        m_showsWebsite = false;
        Label(m_supportMailLabelId).SetText(L"Email:");
        Label(m_supportMailId).SetText(mail);
    }
    const CString website = GetLanguageText(L"SUPPORT_WEBSITE");
    if (!IsDefined(website))
        return;
    m_showsWebsite = true;
    const CString shown = GetLanguageText(L"LBL_SUPPORT_WEBSITE");
    Label(m_supportMailLabelId).SetText(L"Online:");
    Label(m_supportMailId).SetText(IsDefined(shown) ? shown : website).SetLink(TRUE, FALSE).SetLinkUrl(website);
}

void CAboutDlg::FillCaptionAndLabels()
{
    CString format = LoadLangStringOrEnglish(IDS_ABOUT_CAPTION);
    if (format.IsEmpty())
        format = L"About %s ...";
    CString name = m_appName;
    name.Replace(L"\n", L" - ");
    CString caption;
    caption.Format(format.GetString(), name.GetString());
    caption.Replace(L"...", L"");
    SetWindowText(caption);
    // As window text too, so that readers of the window find it.
    for (auto [header, id] : {std::pair{&m_filesHeader, IDS_ABOUT_FILES}, std::pair{&m_systemHeader, IDS_ABOUT_SYSTEM}}) {
        const CString text = LoadLangStringOrEnglish(id);
        header->SetWindowText(text);
        header->SetText(text);
    }
    const CString phone = LoadLangStringOrEnglish(IDS_ABOUT_PHONE);
    const CString fax = LoadLangStringOrEnglish(IDS_ABOUT_FAX);
    Label(1071).SetText(phone);
    Label(1078).SetText(phone);
    Label(1072).SetText(fax);
    // Without a support fax the second support row shows the address.
    if (m_supportMailId == kSupportMailValue)
        Label(kSupportFaxLabel).SetText(fax);
    const CString copyright = GetLanguageText(L"COPYRIGHT");
    SetDlgItemText(kCopyright, IsDefined(copyright) ? copyright : LoadLangStringOrEnglish(IDS_ABOUT_COPYRIGHT));
}

// A list the user reads but cannot edit, select, resize or drag.
void CAboutDlg::MakeStaticList(CZellGrid& grid, int rows, int columns, int fixedRows)
{
    grid.SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(m_dialogFont.GetSafeHandle()), TRUE);
    grid.SetColumnTotal(columns);
    grid.SetRowTotal(rows);
    grid.SetFixedRowTotal(fixedRows);
    grid.SetGridLines(GRIDLINES_NONE);
    grid.EnableEditing(FALSE);
    grid.EnableSelection(FALSE);
    grid.EnableRowResize(FALSE);
    grid.EnableColumnResize(FALSE);
    grid.EnableTitleTips(FALSE);
    grid.EnableDragAndDrop(FALSE);
    grid.SetHeaderSort(FALSE);
    grid.ClearSelection();
    grid.GetDefaultCell(FALSE, FALSE)->SetBackColour(kWhite);
}

void CAboutDlg::FillModuleList()
{
    MakeStaticList(m_fileList, 5, 3, 1);
    for (CGridDefaultCell* cell : {m_fileList.GetDefaultCell(FALSE, TRUE), m_fileList.GetDefaultCell(TRUE, FALSE)})
        cell->SetBackColour(kWhite);
    LOGFONTW bold = m_dialogLogFont;
    bold.lfWeight = 600;
    m_fileList.GetDefaultCell(TRUE, FALSE)->SetFont(&bold);
    m_fileList.GetDefaultCell(TRUE, TRUE)->SetFont(&bold);
    for (int column = 0; column < 3; ++column)
        m_fileList.SetCellText(0, column, LoadLangStringOrEnglish(IDS_ABOUT_FILE_NAME + static_cast<UINT>(column)));
    const CAboutFileList files(CZellWinApp::GetModuleDirectory(), OwnLibraryFile());
    const std::vector<AboutFileRow> rows = files.Rows(m_executable, m_fileVersion, m_date);
    if (static_cast<int>(rows.size()) + 1 > m_fileList.GetRowCount())
        m_fileList.SetRowTotal(static_cast<int>(rows.size()) + 1);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const AboutFileRow& row = rows[i];
        const int at = static_cast<int>(i) + 1;
        m_fileList.SetCellTextFormat(at, 0, L"%s ", row.name.GetString());
        m_fileList.SetCellText(at, 1, row.version);
        m_fileList.SetCellText(at, 2, row.date);
        if (i == 0 && row.name == m_executable)
            continue;
        CString line;
        line.Format(L"\n%s : %s (%s)", row.name.GetString(), row.version.GetString(), row.date.GetString());
        m_applicationInformation += line;
    }
    m_fileList.FitAllColumnWidths();
    m_fileList.SpreadColumnsOverWidth();
    m_fileList.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

void CAboutDlg::FillSystemList()
{
    MakeStaticList(m_systemList, 5, 1, 0);
    for (CGridDefaultCell* cell : {m_systemList.GetDefaultCell(FALSE, TRUE), m_systemList.GetDefaultCell(TRUE, FALSE)})
        cell->SetBackColour(GetSysColor(COLOR_3DFACE));
    WindowsVersionText version;
    DescribeSystem(version);
    CString edition = version.edition.c_str();
    if (!edition.IsEmpty() && !version.bitness.empty())
        edition.Format(L"%s (%s)", version.edition.c_str(), version.bitness.c_str());
    const CString lines[] = {version.name.c_str(), edition, version.version.c_str(), version.servicePack.c_str()};
    for (int row = 0; row < 4; ++row) {
        m_systemList.SetCellTextFormat(row, 0, L"  %s", lines[row].GetString());
        m_systemInformation += (row == 0 ? L"" : L"\n") + lines[row];
    }
    m_systemList.SpreadRowsOverHeight();
    m_systemList.SpreadColumnsOverWidth();
    m_systemList.StretchLastColumn();
    m_systemList.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

void CAboutDlg::DescribeSystem(WindowsVersionText& text) const
{
    GetWindowsVersionText(text);
}

CString CAboutDlg::SupportMailAddress() const
{
    CString address;
    if (const CWnd* control = GetDlgItem(m_supportMailId))
        control->GetWindowText(address);
    return address;
}

CString CAboutDlg::SupportMailBody() const
{
    const CString dashes = Dashes();
    return LoadLangStringOrEnglish(IDS_ABOUT_MAIL_PROMPT) + L"\n\n" + dashes + L"  " + LoadLangStringOrEnglish(IDS_ABOUT_APPLICATION_INFO) + L"\n" + dashes +
           m_applicationInformation + L"\r\n\r\n" + dashes + L"  " + LoadLangStringOrEnglish(IDS_ABOUT_SYSTEM_INFO) + L"\n" + dashes +
           m_systemInformation + L"\r\n\r\n";
}

// Both the support fax value and the support e-mail value may show the
// address; only the one that does starts the mail.
void CAboutDlg::OnSupportValueClicked(UINT id)
{
    if (static_cast<int>(id) == m_supportMailId)
        OnSupportMail();
}

void CAboutDlg::OnSupportMail()
{
    if (m_showsWebsite)
        return;
    // The mail helper encodes subject and body, line breaks included.
    SendMailTo(SupportMailAddress().GetString(), SupportMailSubject().GetString(), SupportMailBody().GetString());
}

}
