#include "Platform/Framework/Windows/PropertySheet.h"

#include "Platform/Framework/Windows/WndCreationHook.h"
#include "Platform/Ui/ResourceModule.h"

#include <algorithm>
#include <cstring>
#include <utility>

IMPLEMENT_DYNAMIC(CPropertySheet, CWnd)

BEGIN_MESSAGE_MAP(CPropertySheet, CWnd)
    ON_MESSAGE(WM_INITDIALOG, HandleInitDialog)
END_MESSAGE_MAP()

namespace {

// The sheet whose window is being made, for its template callback.
thread_local CPropertySheet* t_showing = nullptr;

constexpr DWORD kDefaultStyle = WS_SYSMENU | WS_POPUP | WS_CAPTION | DS_MODALFRAME | DS_CONTEXTHELP | WS_VISIBLE;
// The template bits the sheet keeps whatever style its creator asks for.
constexpr DWORD kTemplateBits = DS_SETFONT | DS_3DLOOK;
// A DLGTEMPLATEEX begins with version 1 and this signature.
constexpr WORD kExtendedSignature = 0xFFFF;

}

CPropertySheet::CPropertySheet(UINT captionId, CWnd* parent, UINT selectPage)
{
    Construct(MAKEINTRESOURCEW(captionId), parent, selectPage);
}

void CPropertySheet::Construct(LPCWSTR caption, CWnd* parent, UINT selectPage)
{
    m_psh = PROPSHEETHEADERW{};
    m_psh.hInstance = Ui::GetResourceModule();
    m_psh.nStartPage = selectPage;
    m_pParentWnd = parent;
    if (caption != nullptr && !IS_INTRESOURCE(caption)) {
        m_strCaption = caption;
        caption = m_strCaption.GetString();
    }
    m_psh.pszCaption = caption;
}

// --- pages -----------------------------------------------------------------------

void CPropertySheet::AddPage(CPropertyPage* page)
{
    if (page == nullptr || GetPageIndex(page) >= 0)
        return;
    m_arrPages.push_back(page);
    if (!m_hWnd)
        return;
    HPROPSHEETPAGE handle = ::CreatePropertySheetPageW(&page->m_psp);
    if (handle != nullptr && !SendMessage(PSM_ADDPAGE, 0, reinterpret_cast<LPARAM>(handle))) {
        ::DestroyPropertySheetPage(handle);
        m_arrPages.pop_back();
    }
}

void CPropertySheet::RemovePage(CPropertyPage* page)
{
    RemovePage(GetPageIndex(page));
}

void CPropertySheet::RemovePage(int index)
{
    if (index < 0 || index >= GetPageCount())
        return;
    if (m_hWnd)
        SendMessage(PSM_REMOVEPAGE, static_cast<WPARAM>(index), 0);
    m_arrPages.erase(m_arrPages.begin() + index);
}

CPropertyPage* CPropertySheet::GetPage(int index) const
{
    return index >= 0 && index < GetPageCount() ? m_arrPages[static_cast<std::size_t>(index)] : nullptr;
}

int CPropertySheet::GetPageIndex(CPropertyPage* page) const
{
    const auto place = std::find(m_arrPages.begin(), m_arrPages.end(), page);
    return place == m_arrPages.end() ? -1 : static_cast<int>(place - m_arrPages.begin());
}

int CPropertySheet::GetActiveIndex() const
{
    if (!m_hWnd)
        return static_cast<int>(m_psh.nStartPage);
    const LRESULT page = SendMessage(PSM_GETCURRENTPAGEHWND);
    return static_cast<int>(SendMessage(PSM_HWNDTOINDEX, static_cast<WPARAM>(page)));
}

BOOL CPropertySheet::SetActivePage(int index)
{
    if (index < 0 || index >= GetPageCount())
        return FALSE;
    if (!m_hWnd) {
        m_psh.nStartPage = static_cast<UINT>(index);
        return TRUE;
    }
    return SendMessage(PSM_SETCURSEL, static_cast<WPARAM>(index)) != 0;
}

CWnd* CPropertySheet::GetTabControl() const
{
    return m_hWnd ? FromHandle(reinterpret_cast<HWND>(SendMessage(PSM_GETTABCONTROL))) : nullptr;
}

void CPropertySheet::SetTitle(LPCWSTR text, UINT style)
{
    m_strCaption = text != nullptr ? text : L"";
    m_psh.pszCaption = m_strCaption.GetString();
    m_psh.dwFlags = (m_psh.dwFlags & ~PSH_PROPTITLE) | (style & PSH_PROPTITLE);
    if (m_hWnd)
        SendMessage(PSM_SETTITLEW, style, reinterpret_cast<LPARAM>(m_strCaption.GetString()));
}

BOOL CPropertySheet::PressButton(int button)
{
    if (!m_hWnd)
        return FALSE;
    SendMessage(PSM_PRESSBUTTON, static_cast<WPARAM>(button));
    return TRUE;
}

// --- showing -----------------------------------------------------------------------

INT_PTR CPropertySheet::DoModal()
{
    if (m_hWnd)
        return -1;
    m_bModeless = FALSE;
    const INT_PTR result = Show(0);
    if (result < 0)
        return -1;
    return result > 0 ? IDOK : IDCANCEL;
}

BOOL CPropertySheet::Create(CWnd* parent, DWORD style, DWORD exStyle)
{
    if (m_hWnd)
        return FALSE;
    m_bModeless = TRUE;
    m_pParentWnd = parent;
    m_dwCreateStyle = style == static_cast<DWORD>(-1) ? kDefaultStyle : style;
    m_dwCreateExStyle = exStyle;
    return Show(PSH_MODELESS) != -1 && m_hWnd != nullptr;
}

INT_PTR CPropertySheet::Show(DWORD flags)
{
    m_arrRecords.clear();
    // The records lie one after the other, each a whole record long.
    for (CPropertyPage* page : m_arrPages) {
        m_arrRecords.push_back(page->m_psp);
        m_arrRecords.back().dwSize = sizeof(PROPSHEETPAGEW);
    }
    m_psh.dwSize = sizeof(PROPSHEETHEADERW);
    m_psh.dwFlags = (m_psh.dwFlags & ~PSH_MODELESS) | flags | PSH_PROPSHEETPAGE | PSH_USECALLBACK;
    m_psh.pfnCallback = &SheetCallback;
    m_psh.nPages = static_cast<UINT>(m_arrRecords.size());
    m_psh.ppsp = m_arrRecords.empty() ? nullptr : m_arrRecords.data();
    HWND parent = m_pParentWnd != nullptr ? m_pParentWnd->GetSafeHwnd() : nullptr;
    m_psh.hwndParent = parent != nullptr || m_bModeless ? parent : ::GetActiveWindow();
    CPropertySheet* const outer = std::exchange(t_showing, this);
    INT_PTR result = -1;
    {
        const CWndCreationHook hook(this);
        result = ::PropertySheetW(&m_psh);
    }
    t_showing = outer;
    return result;
}

int CPropertySheet::SheetCallback(HWND, UINT message, LPARAM lParam)
{
    if (message == PSCB_PRECREATE && t_showing != nullptr && t_showing->m_bModeless && lParam != 0)
        t_showing->AdjustTemplate(reinterpret_cast<BYTE*>(lParam));
    return 0;
}

// The template's style and extended style as the creator asked; a child
// sheet is a control parent inside its dialog.
void CPropertySheet::AdjustTemplate(BYTE* image) const
{
    WORD signature = 0;
    std::memcpy(&signature, image + sizeof(WORD), sizeof signature);
    const std::size_t styleAt = signature == kExtendedSignature ? 12 : 0;
    const std::size_t exStyleAt = signature == kExtendedSignature ? 8 : 4;
    DWORD style = 0;
    DWORD exStyle = 0;
    std::memcpy(&style, image + styleAt, sizeof style);
    std::memcpy(&exStyle, image + exStyleAt, sizeof exStyle);
    style = (style & kTemplateBits) | m_dwCreateStyle;
    if ((style & WS_CHILD) != 0)
        style = (style & ~(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME)) | DS_CONTROL;
    exStyle |= m_dwCreateExStyle;
    std::memcpy(image + styleAt, &style, sizeof style);
    std::memcpy(image + exStyleAt, &exStyle, sizeof exStyle);
}

LRESULT CPropertySheet::HandleInitDialog(WPARAM, LPARAM)
{
    return OnInitDialog();
}

BOOL CPropertySheet::OnInitDialog()
{
    const BOOL result = static_cast<BOOL>(Default());
    if (!m_bStacked) {
        if (CWnd* tab = GetTabControl())
            tab->ModifyStyle(TCS_MULTILINE, 0);
    }
    if (m_bModeless)
        HideButtons();
    return result;
}

void CPropertySheet::HideButtons()
{
    for (int id : {IDOK, IDCANCEL, ID_APPLY_NOW, IDHELP})
        if (HWND button = ::GetDlgItem(m_hWnd, id))
            ::ShowWindow(button, SW_HIDE);
}

// A modeless pop-up sheet closed by its buttons goes away; a modal one ends
// its loop itself and a child one stays with its dialog.
BOOL CPropertySheet::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (CWnd::OnCommand(wParam, lParam))
        return TRUE;
    Default();
    const bool popup = (GetStyle() & WS_CHILD) == 0;
    if (m_bModeless && popup && m_hWnd && SendMessage(PSM_GETCURRENTPAGEHWND) == 0)
        DestroyWindow();
    return TRUE;
}

// A pop-up sheet runs its own keyboard interface; a child sheet leaves the
// keys to the dialog it sits in, whose dialog manager hands it Ctrl+Tab.
BOOL CPropertySheet::PreTranslateMessage(MSG* msg)
{
    if (msg->message < WM_KEYFIRST || msg->message > WM_KEYLAST || (GetStyle() & WS_CHILD) != 0)
        return FALSE;
    return SendMessage(PSM_ISDIALOGMESSAGE, 0, reinterpret_cast<LPARAM>(msg)) != 0;
}
