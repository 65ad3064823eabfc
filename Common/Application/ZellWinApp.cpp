#include "Common/Application/ZellWinApp.h"

#include "Common/Skin/GradientStatic.h"
#include "Common/Skin/ZellMenu.h"
#include "Common/Skin/ZellTooltip.h"
#include "Common/Grid/ZellGrid.h"
#include "Common/SystemHelper/System/FileHelpers.h"
#include "Common/SystemHelper/Texts/LanguageHelper.h"
#include "Common/SystemHelper/Texts/LanguageTexts.h"
#include "Common/SystemHelper/Values/StringUtils.h"
#include "Common/SystemHelper/Desktop/SystemInfo.h"
#include "Platform/Base/Module.h"
#include "Platform/Controls/StandardControls.h"
#include "Platform/Gdi/Gdi.h"
#include "Platform/Gdi/SysColors.h"
#include "Platform/Shell/ComInit.h"
#include "Platform/Ui/ResourceImage.h"
#include "Platform/Ui/SystemMetrics.h"

#include <climits>
#include <cwctype>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

using namespace ZELL::Skin;
using namespace ZELL::Grid;

// One row of the metrics by screen DPI: the row applies up to `maxDpi`.
// A negative value leaves that metric as it is; the logo id is set only
// where a row names one.
struct CZellWinApp::tDpiRow {
    int maxDpi;
    LONG fontHeight;
    int buttonIconSize;
    int smallIconSize;
    int largeButtonIconSize;
    int iconStaticSize;
    int dialogMetric;
    int labelFontSize;
    LPCWSTR labelFormat;
    void (CZellWinApp::*hook)();
    UINT logoId;
};

namespace {

constexpr UINT kLogoUnchanged = 0;
constexpr LPCWSTR kCommonSection = L"Common";
constexpr LPCWSTR kSupportedLanguagesEntry = L"SupportedLanguages";
constexpr LPCWSTR kDefaultSupportedLanguages = L"de;en";
constexpr LPCWSTR kBlankLine = L"\r\n\r\n";

// Colours outside OEM mode: the program's own look.
constexpr COLORREF kGradientStart = 0x00009B32;
constexpr COLORREF kGradientEnd = 0x006EDCA0;
constexpr COLORREF kGradientText = 0x00FFFFFF;
constexpr COLORREF kGridBack = 0x006EDCA0;
constexpr COLORREF kGridText = 0x00FFFFFF;
constexpr COLORREF kMenuSelect = 0x00EFEFEF;
constexpr COLORREF kMenuSelectFill = 0x00EFEFEF;
constexpr COLORREF kMenuText = 0x00000000;
constexpr COLORREF kTooltipBegin = 0x00FFFFFF;
constexpr COLORREF kTooltipMiddle = 0x00DDF7E9;
constexpr COLORREF kTooltipEnd = 0x00A7E9C5;
// Near black: the tips' small body text is thin, and a grey on the green
// end of their gradient read faint.
constexpr COLORREF kTooltipText = 0x00202020;
// The grid ignores its last two arguments.
constexpr COLORREF kGridUnused = static_cast<COLORREF>(-1);

CString LoadResourceText(UINT id)
{
    return id == 0 ? CString() : ZellLoadString(AfxGetResourceHandle(), id);
}

CString FileNameOf(const std::wstring& path)
{
    const std::size_t slash = path.find_last_of(L'/');
    return CString(slash == std::wstring::npos ? path.c_str() : path.c_str() + slash + 1);
}

std::wstring ExecutablePath()
{
    std::vector<wchar_t> path(4096);
    const DWORD length = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    return std::wstring(path.data(), length);
}

void AppendErrorLine(CString& lines, LPCWSTR labelKey, const std::wstring& value)
{
    lines += GetLanguageText(labelKey);
    lines += L" ";
    lines += value.c_str();
    lines += L"\r\n";
}

}

const CZellWinApp::tDpiRow& CZellWinApp::DpiRowOf(int dpi)
{
    static const tDpiRow kRows[] = {
        {90, -11, 24, -1, 60, 32, 24, 11, L"    %s", &CZellWinApp::OnDpiUpTo100, kDefaultLogoId},
        {100, -13, 32, 16, 60, 38, 30, 11, L"    %s", &CZellWinApp::OnDpiUpTo100, kDefaultLogoId},
        {120, -16, 40, 22, 75, 44, 36, 12, L"     %s", &CZellWinApp::OnDpiUpTo120, kLogoUnchanged},
        {144, -19, 48, 26, 90, 52, 44, 13, L"     %s", &CZellWinApp::OnDpiUpTo144, kLogoUnchanged},
        {INT_MAX, -24, 64, 32, 120, 68, 60, 12, L"      %s", &CZellWinApp::OnDpiAbove144, kLogoUnchanged},
    };
    for (const tDpiRow& row : kRows) {
        if (dpi <= row.maxDpi)
            return row;
    }
    return kRows[std::size(kRows) - 1];
}

CZellWinApp::CZellWinApp(LPCWSTR appName) : CWinApp(appName)
{
    m_colourReceivers.gradient = &CGradientStatic::SetGlobalColors;
    m_colourReceivers.menu = &CZellMenu::SetGlobalColors;
    m_colourReceivers.tooltip = &CZellTooltip::SetGlobalColors;
    // The grid takes only the selection's colours; kKeepColour keeps one.
    m_colourReceivers.grid = [](COLORREF back, COLORREF text, COLORREF, COLORREF) {
        SetGridHighlightColours(back, text);
    };
}

CZellWinApp::~CZellWinApp()
{
    if (m_logo != nullptr)
        ::DeleteObject(m_logo);
    m_messageFont.DeleteObject();
}

BOOL CZellWinApp::InitFramework(const CString& language, const CString& lcid)
{
    if (!CWinApp::InitInstance())
        return FALSE;
    if (FAILED(::CoInitialize(nullptr)))
        return FALSE;
    // The program runs the chain again with its final language: each start
    // of the object library is ended once.
    ++m_comStarts;
    ::InitCommonControls();
    InitDpiMetrics();
    InitExePaths();
    // Start-up goes on without texts: each then shows as its key.
    CString chosenLanguage = language;
    CString chosenLcid = lcid;
    const bool loaded = SetupLanguage(chosenLanguage, chosenLcid);
    LoadOemSettings();
    if (m_oemMode)
        SetAppName(GetAppText(L"OEM_NAME"));
    InitRegistryKey(kDefaultRegistryKey);
    if (loaded)
        HandGuiXmlFileToLibrary(m_guiXmlFile, LcidOfText(chosenLcid));
    HandAppNameToLibrary(CString(m_pszAppName));
    return TRUE;
}

bool CZellWinApp::SetupLanguage(CString& language, CString& lcid)
{
    if (m_guiXmlFile.IsEmpty())
        InitGuiXmlFile();
    if (m_guiXmlFile.IsEmpty())
        return false;
    // A file that does not load was told to the user here; the library
    // would tell it once more.
    const bool loaded = LoadLanguageTexts(m_guiXmlFile, language, lcid);
    if (loaded)
        HandGuiXmlFileToLibrary(m_guiXmlFile, LcidOfText(lcid));
    return loaded;
}

void CZellWinApp::InitExePaths()
{
    m_exeFileName = FileNameOf(ExecutablePath());
    m_exeDirectory = GetModuleDirectory();
}

void CZellWinApp::InitDpiMetrics()
{
    NONCLIENTMETRICSW metrics;
    ::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0);
    m_messageLogFont = metrics.lfMessageFont;
    const tDpiRow& row = DpiRowOf(GetScreenDpi());
    ApplyDpiRow(row);
    (this->*row.hook)();
    m_messageFont.DeleteObject();
    m_messageFont.CreateFontIndirect(&m_messageLogFont);
}

void CZellWinApp::ApplyDpiRow(const tDpiRow& row)
{
    m_messageLogFont.lfHeight = row.fontHeight;
    m_buttonIconSize = row.buttonIconSize;
    if (row.smallIconSize >= 0)
        m_smallIconSize = row.smallIconSize;
    m_largeButtonIconSize = row.largeButtonIconSize;
    m_iconStaticSize = row.iconStaticSize;
    m_dialogMetric = row.dialogMetric;
    m_labelFontSize = row.labelFontSize;
    m_labelFormat = row.labelFormat;
    if (row.logoId != kLogoUnchanged)
        m_logoId = row.logoId;
}

int CZellWinApp::ExitInstance()
{
    for (; m_comStarts > 0; --m_comStarts)
        ::CoUninitialize();
    return CWinApp::ExitInstance();
}

CString CZellWinApp::GetExeBaseName() const
{
    return CString(m_pszExeName != nullptr ? m_pszExeName : L"");
}

CString CZellWinApp::GetModuleDirectory()
{
    const std::wstring path = ExecutablePath();
    const std::size_t slash = path.find_last_of(L'/');
    return CString(slash == std::wstring::npos ? L"" : path.substr(0, slash).c_str());
}

bool CZellWinApp::IsLanguageAvailable(const CString& code) const
{
    const std::wstring wanted = Trim(code.GetString());
    if (wanted.empty() || m_guiXmlFile.IsEmpty())
        return false;
    const CString listed = GetProfileString(kCommonSection, kSupportedLanguagesEntry, kDefaultSupportedLanguages);
    std::vector<std::wstring> items;
    SplitString(listed.GetString(), L";", items, true);
    bool inProfile = false;
    for (const std::wstring& item : items)
        inProfile = inProfile || CompareNoCase(item, wanted) == 0;
    return inProfile && CLanguageHelper().IsSupported(m_guiXmlFile, CString(wanted.c_str()));
}

bool CZellWinApp::IsUndefinedText(const CString& text)
{
    return text.Left(2) == kUndefinedMark;
}

WORD CZellWinApp::LcidOfText(const CString& lcid)
{
    const std::wstring text = Trim(lcid.GetString());
    if (text.empty() || text.size() > 5)
        return 0;
    unsigned long value = 0;
    for (wchar_t digit : text) {
        if (!std::iswdigit(static_cast<wint_t>(digit)))
            return 0;
        value = value * 10 + static_cast<unsigned long>(digit - L'0');
    }
    return value <= 0xFFFF ? static_cast<WORD>(value) : WORD{0};
}

COLORREF CZellWinApp::OemColour(LPCWSTR key, COLORREF undefined) const
{
    const CString text = GetAppText(key);
    return IsUndefinedText(text) ? undefined : ParseRgbText(text.GetString());
}

void CZellWinApp::LoadOemSettings()
{
    m_oemMode = !IsUndefinedText(GetAppText(L"OEM_NAME"));
    LoadOemColours();
    LoadOemLogo(false);
    const CString showHelp = GetAppText(L"SHOW_HELP");
    if (!IsUndefinedText(showHelp) && showHelp == L"HIDE")
        m_showHelp = false;
}

void CZellWinApp::LoadOemColours()
{
    const tColourReceivers& to = m_colourReceivers;
    if (!m_oemMode) {
        if (to.gradient)
            to.gradient(kGradientStart, kGradientEnd, kGradientText);
        if (to.grid)
            to.grid(kGridBack, kGridText, kGridUnused, kGridUnused);
        if (to.tooltip)
            to.tooltip(kTooltipBegin, kTooltipMiddle, kTooltipEnd, kTooltipText);
        if (to.menu)
            to.menu(kMenuSelect, kMenuSelectFill, kMenuText);
        return;
    }
    if (to.gradient)
        to.gradient(OemColour(L"GradientColorStart", ::GetSysColor(COLOR_ACTIVECAPTION)),
                    OemColour(L"GradientColorEnd", ::GetSysColor(COLOR_GRADIENTACTIVECAPTION)),
                    OemColour(L"GradientColorText", ::GetSysColor(COLOR_CAPTIONTEXT)));
    if (to.grid)
        to.grid(OemColour(L"GridColorHighlightBack", kKeepColour), OemColour(L"GridColorHighlightText", kKeepColour),
                kGridUnused, kGridUnused);
    if (to.tooltip)
        to.tooltip(OemColour(L"TooltipColorBegin", kKeepColour), OemColour(L"TooltipColorMiddle", kKeepColour),
                   OemColour(L"TooltipColorEnd", kKeepColour), OemColour(L"TooltipColorText", kKeepColour));
    if (to.menu)
        to.menu(OemColour(L"MenuColorSelect", kKeepColour), OemColour(L"MenuColorSelectFill", kKeepColour),
                OemColour(L"MenuColorText", kKeepColour));
}

void CZellWinApp::LoadOemLogo(bool force)
{
    if (m_logo != nullptr)
        ::DeleteObject(std::exchange(m_logo, nullptr));
    HANDLE picture = nullptr;
    if (!m_oemMode || force) {
        picture = ::LoadImageW(AfxGetResourceHandle(), MAKEINTRESOURCEW(m_logoId), IMAGE_BITMAP, 0, 0, LR_DEFAULTSIZE);
    } else {
        const CString file = GetAppText(L"OEM_LOGO");
        if (!IsUndefinedText(file) && FileExists(file.GetString()))
            picture = ::LoadImageW(nullptr, file.GetString(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_DEFAULTSIZE);
    }
    m_logo = reinterpret_cast<HBITMAP>(picture);
}

void CZellWinApp::SetAppName(const CString& name)
{
    if (name.IsEmpty())
        return;
    m_appNameCopy = name.GetString();
    m_pszAppName = m_appNameCopy.c_str();
}

void CZellWinApp::InitRegistryKey(const CString& key)
{
    if (!m_registryKey.IsEmpty())
        return;
    const CString configured = GetAppText(L"REGISTRY_KEY");
    m_registryKey = IsUndefinedText(configured) ? key : configured;
    m_registryPath.Format(L"HKEY_CURRENT_USER\\Software\\%s\\%s", m_registryKey.GetString(), m_pszAppName);
    SetRegistryKey(m_registryKey.GetString());
}

int CZellWinApp::ShowMessage(const CString& text, const CString& detail, const CString& extra, UINT type, CWnd* owner)
{
    CString message = text + kBlankLine + detail;
    if (!extra.IsEmpty())
        message += kBlankLine + extra;
    return ::MessageBoxW(owner != nullptr ? owner->GetSafeHwnd() : nullptr, message.GetString(), AfxGetAppName(), type);
}

int CZellWinApp::ShowMessageIds(UINT textId, UINT detailId, UINT extraId, UINT type, CWnd* owner)
{
    return ShowMessage(LoadResourceText(textId), LoadResourceText(detailId), LoadResourceText(extraId), type, owner);
}

int CZellWinApp::ShowMessageIdsText(UINT textId, UINT detailId, const CString& extra, UINT type, CWnd* owner)
{
    return ShowMessage(LoadResourceText(textId), LoadResourceText(detailId), extra, type, owner);
}

int CZellWinApp::ShowComError(const CString& text, const CString& detail, const _com_error& error)
{
    CString lines;
    CString code;
    code.Format(L"0x%08X", static_cast<unsigned int>(error.Error()));
    AppendErrorLine(lines, L"LBL_ERROR_CODE", code.GetString());
    if (const std::wstring meaning = error.ErrorMessage(); !meaning.empty())
        AppendErrorLine(lines, L"LBL_MEANING", meaning);
    // The source goes under the code's label: the texts have no label of its own.
    if (error.Source().length() != 0)
        AppendErrorLine(lines, L"LBL_ERROR_CODE", error.Source().wstr());
    if (error.Description().length() != 0)
        AppendErrorLine(lines, L"LBL_ERROR_DESCRIPTION", error.Description().wstr());
    return ShowMessage(text, detail, lines, MB_ICONERROR, CWnd::FromHandle(::GetActiveWindow()));
}

int CZellWinApp::ShowComErrorIds(UINT textId, UINT detailId, const _com_error& error)
{
    return ShowComError(LoadResourceText(textId), LoadResourceText(detailId), error);
}
