#include "Common/Skin/PropSheetInDlg.h"

#include "Common/Skin/Support/ThemeHelper.h"
#include "Platform/Controls/CommCtrl.h"

namespace ZELL::Skin {

LOGFONTW CPropSheetInDlg::s_globalFont{};
BOOL CPropSheetInDlg::s_globalFontGiven = FALSE;

namespace {

// The sheet's own buttons, where a sheet of this kind still has them.
constexpr int kSheetButtons[] = {IDOK, IDCANCEL, 0x3021 /* Apply */, IDHELP};

}

BEGIN_MESSAGE_MAP(CPropSheetInDlg, CPropertySheet)
    ON_WM_CREATE()
    ON_WM_CTLCOLOR()
END_MESSAGE_MAP()

CPropSheetInDlg::CPropSheetInDlg(CWnd* parentDialog, UINT placeholderId)
    : m_parentDialog(parentDialog), m_placeholderId(placeholderId)
{
}

CPropSheetInDlg::~CPropSheetInDlg()
{
    m_whiteBrush.DeleteObject();
    m_font.DeleteObject();
}

void CPropSheetInDlg::SetGlobalFont(const LOGFONTW& font)
{
    s_globalFont = font;
    s_globalFontGiven = TRUE;
}

void CPropSheetInDlg::AddPage(CPropertyPage* page, LPCWSTR title)
{
    if (title != nullptr && *title != L'\0') {
        m_titles.emplace_back(title);
        page->m_psp.pszTitle = m_titles.back().c_str();
        page->m_psp.dwFlags |= PSP_USETITLE;
    }
    CPropertySheet::AddPage(page);
}

int CPropSheetInDlg::OnCreate(CREATESTRUCTW* create)
{
    // The base applies the stacked-tabs setting while the window is made.
    return CPropertySheet::OnCreate(create) == -1 ? -1 : 0;
}

BOOL CPropSheetInDlg::OnInitDialog()
{
    if (m_whiteBrush.GetSafeHandle() == nullptr)
        m_whiteBrush.CreateSolidBrush(RGB(255, 255, 255));
    const BOOL result = CPropertySheet::OnInitDialog();
    if (!IsStackedTabs()) {
        if (CWnd* tab = GetTabControl(); tab != nullptr)
            tab->ModifyStyle(TCS_MULTILINE, 0);
    }
    return result;
}

HBRUSH CPropSheetInDlg::OnCtlColor(CDC* dc, CWnd* wnd, UINT ctlColor)
{
    if (ModuleThemeHelper().IsThemeActive() && m_whiteBrush.GetSafeHandle() != nullptr)
        return static_cast<HBRUSH>(m_whiteBrush.GetSafeHandle());
    return CPropertySheet::OnCtlColor(dc, wnd, ctlColor);
}

BOOL CPropSheetInDlg::FitToPlaceholder(CWnd* parentDialog, UINT placeholderId, DWORD tabStyle)
{
    if (parentDialog != nullptr)
        m_parentDialog = parentDialog;
    if (placeholderId != 0)
        m_placeholderId = placeholderId;
    CRect area;
    if (m_parentDialog != nullptr) {
        if (CWnd* placeholder = m_parentDialog->GetDlgItem(static_cast<int>(m_placeholderId)); placeholder != nullptr) {
            placeholder->GetWindowRect(&area);
            m_parentDialog->ScreenToClient(&area);
        }
    }
    ApplyFont();
    ModifyStyleEx(0, WS_EX_CONTROLPARENT);
    if (CWnd* tab = GetTabControl(); tab != nullptr && tabStyle != 0)
        tab->ModifyStyle(0, tabStyle);
    PlaceOver(area);
    FitTabsToRow();
    return TRUE;
}

void CPropSheetInDlg::ApplyFont()
{
    if (s_globalFontGiven) {
        m_logFont = s_globalFont;
    } else {
        NONCLIENTMETRICSW metrics;
        ::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0);
        m_logFont = metrics.lfMessageFont;
    }
    m_font.DeleteObject();
    m_font.CreateFontIndirect(&m_logFont);
    if (CWnd* tab = GetTabControl(); tab != nullptr)
        tab->SetFont(&m_font);
    SetFont(&m_font);
    for (int id : kSheetButtons) {
        if (CWnd* button = GetDlgItem(id); button != nullptr)
            button->SetFont(&m_font);
    }
}

void CPropSheetInDlg::PlaceOver(const CRect& area)
{
    if (CWnd* tab = GetTabControl(); tab != nullptr)
        tab->SetWindowPos(nullptr, 0, 0, area.Width(), area.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
    SetWindowPos(nullptr, area.left, area.top, area.Width(), area.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
}

bool CPropSheetInDlg::SetTabText(int tab, LPCWSTR text)
{
    if (m_hWnd == nullptr)
        return false;
    CWnd* tabControl = GetTabControl();
    if (tabControl == nullptr || tabControl->GetSafeHwnd() == nullptr)
        return false;
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<LPWSTR>(text);
    tabControl->SendMessage(TCM_SETITEMW, static_cast<WPARAM>(tab), reinterpret_cast<LPARAM>(&item));
    FitTabsToRow();
    return true;
}

int CPropSheetInDlg::FitTabsToRow()
{
    CWnd* tab = m_hWnd != nullptr ? GetTabControl() : nullptr;
    if (tab == nullptr || tab->GetSafeHwnd() == nullptr || (tab->GetStyle() & TCS_MULTILINE) != 0)
        return kTabPadding;
    int padding = kTabPadding;
    for (;; --padding) {
        tab->SendMessage(TCM_SETPADDING, 0,
                         MAKELPARAM(static_cast<WORD>(padding), static_cast<WORD>(kTabPaddingHeight)));
        if (padding == kNarrowestTabPadding || !TabsOverflow(*tab))
            return padding;
    }
}

// A row too long for the control scrolls: the control shows its arrows.
bool CPropSheetInDlg::TabsOverflow(CWnd& tab) const
{
    RECT first{};
    tab.SendMessage(TCM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&first));
    return ::FindWindowExW(tab.GetSafeHwnd(), nullptr, UPDOWN_CLASSW, nullptr) != nullptr;
}

}  // namespace ZELL::Skin
