#include "Platform/Controls/PropertySheetWindow.h"

#include "Platform/Base/LastError.h"
#include "Platform/Controls/StandardControls.h"
#include "Platform/Controls/TabStyles.h"
#include "Platform/Ui/Resource.h"
#include "Platform/Ui/ResourceImage.h"

#include <algorithm>
#include <utility>

namespace ZELL::Controls {

namespace {

// The sheet's margins and buttons, in dialog units.
constexpr int kMargin = 7;
constexpr int kGap = 4;
constexpr int kButtonWidth = 50;
constexpr int kButtonHeight = 14;
// More pages than this are taken for a garbage count.
constexpr UINT kMaxPages = 1000;

Ui::DialogItemTemplate Item(Ui::NameOrOrdinal cls, LPCWSTR text, int id, DWORD style)
{
    Ui::DialogItemTemplate item;
    item.windowClass = std::move(cls);
    item.text = Ui::NameOrOrdinal::Name(text);
    item.id = static_cast<DWORD>(id);
    item.style = WS_CHILD | WS_VISIBLE | style;
    item.cx = kButtonWidth;
    item.cy = kButtonHeight;
    return item;
}

Ui::DialogItemTemplate PushButton(LPCWSTR text, int id, DWORD style = 0)
{
    return Item(Ui::NameOrOrdinal::Ordinal(Ui::kClassButton), text, id, WS_TABSTOP | style);
}

bool ControlDown()
{
    return GetKeyState(VK_CONTROL) < 0;
}

void Answer(HWND sheet, LRESULT result)
{
    SetWindowLongPtrW(sheet, DWLP_MSGRESULT, result);
}

}

// --- making the sheet ---------------------------------------------------------

INT_PTR CPropertySheetWindow::Run(LPCPROPSHEETHEADERW header)
{
    if (header == nullptr || header->dwSize < PROPSHEETHEADERW_V1_SIZE || header->nPages > kMaxPages ||
        (header->nPages > 0 && header->ppsp == nullptr)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return -1;
    }
    RegisterStandardControls();
    auto* sheet = new CPropertySheetWindow;
    if (!sheet->TakeHeader(*header)) {
        delete sheet;
        return -1;
    }
    Ui::CDialogTemplate dt = sheet->Template();
    std::vector<BYTE> image = dt.ToImage();
    if (sheet->m_callback != nullptr)
        sheet->m_callback(nullptr, PSCB_PRECREATE, reinterpret_cast<LPARAM>(image.data()));
    const auto* dialogTemplate = reinterpret_cast<LPCDLGTEMPLATEW>(image.data());
    // The window owns the sheet from WM_INITDIALOG on; before that, nothing does.
    bool adopted = false;
    sheet->m_adopted = &adopted;
    const auto self = reinterpret_cast<LPARAM>(sheet);
    const bool modal = sheet->m_modal;
    INT_PTR result = -1;
    if (modal) {
        result = DialogBoxIndirectParamW(sheet->m_instance, dialogTemplate, header->hwndParent, &Proc, self);
    } else if (HWND window = CreateDialogIndirectParamW(sheet->m_instance, dialogTemplate, header->hwndParent, &Proc,
                                                        self)) {
        result = reinterpret_cast<INT_PTR>(window);
    }
    if (!adopted)
        delete sheet;
    return result;
}

CPropertySheetWindow::~CPropertySheetWindow()
{
    for (const Entry& entry : m_entries)
        CPropertySheetPage::Destroy(entry.page);
}

bool CPropertySheetWindow::TakeHeader(const PROPSHEETHEADERW& header)
{
    m_flags = header.dwFlags;
    m_modal = (m_flags & PSH_MODELESS) == 0;
    m_instance = header.hInstance;
    if ((m_flags & PSH_USEHICON) != 0)
        m_icon = header.hIcon;
    else if ((m_flags & PSH_USEICONID) != 0 && header.pszIcon != nullptr)
        m_icon = LoadIconW(header.hInstance, header.pszIcon);
    m_caption = CaptionOf(header.pszCaption, m_flags);
    m_callback = (m_flags & PSH_USECALLBACK) != 0 ? header.pfnCallback : nullptr;
    if (!TakePages(header))
        return false;
    m_start = StartIndex(header);
    return true;
}

// The pages come as records, made here, or as made pages, which the sheet
// takes over. A page whose template cannot be read is left out.
bool CPropertySheetWindow::TakePages(const PROPSHEETHEADERW& header)
{
    const bool records = (header.dwFlags & PSH_PROPSHEETPAGE) != 0;
    const auto* bytes = reinterpret_cast<const BYTE*>(header.ppsp);
    for (UINT i = 0; i < header.nPages; ++i) {
        HPROPSHEETPAGE page = nullptr;
        if (records) {
            const auto* record = reinterpret_cast<LPCPROPSHEETPAGEW>(bytes);
            page = CreatePropertySheetPageW(record);
            if (page == nullptr)
                return false;
            bytes += record->dwSize;
        } else {
            page = header.phpage[i];
        }
        CPropertySheetPage* own = CPropertySheetPage::FromHandle(page);
        if (own == nullptr)
            continue;
        if (own->LoadTemplate())
            m_entries.push_back({page, false});
        else
            CPropertySheetPage::Destroy(page);
    }
    return true;
}

int CPropertySheetWindow::StartIndex(const PROPSHEETHEADERW& header) const
{
    if ((header.dwFlags & PSH_USEPSTARTPAGE) == 0)
        return header.nStartPage < m_entries.size() ? static_cast<int>(header.nStartPage) : 0;
    if (header.pStartPage == nullptr)
        return 0;
    const bool byId = IS_INTRESOURCE(header.pStartPage);
    const auto id = static_cast<int>(reinterpret_cast<std::uintptr_t>(header.pStartPage));
    for (int i = 0; i < Count(); ++i) {
        const CPropertySheetPage* page = PageAt(i);
        if (page != nullptr && (byId ? page->TemplateId() == id : page->Title() == header.pStartPage))
            return i;
    }
    return 0;
}

std::wstring CPropertySheetWindow::CaptionOf(LPCWSTR text, DWORD flags) const
{
    std::wstring caption;
    if (text != nullptr && IS_INTRESOURCE(text)) {
        wchar_t buffer[256]{};
        const int length = LoadStringW(m_instance, static_cast<UINT>(reinterpret_cast<std::uintptr_t>(text)), buffer, 256);
        caption.assign(buffer, length > 0 ? static_cast<std::size_t>(length) : 0);
    } else if (text != nullptr) {
        caption = text;
    }
    return (flags & PSH_PROPTITLE) != 0 ? L"Properties for " + caption : caption;
}

// The buttons go where the layout puts them once the pages are measured.
Ui::CDialogTemplate CPropertySheetWindow::Template() const
{
    Ui::CDialogTemplate dt;
    dt.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT | DS_3DLOOK | DS_CENTER;
    if (!m_modal)
        dt.style |= WS_VISIBLE;
    dt.exStyle = WS_EX_CONTROLPARENT;
    dt.caption = m_caption;
    dt.pointSize = 8;
    dt.faceName = L"MS Shell Dlg";
    dt.cx = 200;
    dt.cy = 150;
    Ui::DialogItemTemplate tab = Item(Ui::NameOrOrdinal::Name(WC_TABCONTROLW), L"", IDC_TABCONTROL_SHEET,
                                      WS_TABSTOP | WS_GROUP | WS_CLIPSIBLINGS | TCS_MULTILINE);
    dt.items.push_back(tab);
    dt.items.push_back(PushButton(L"OK", IDOK, BS_DEFPUSHBUTTON | WS_GROUP));
    dt.items.push_back(PushButton(L"Cancel", IDCANCEL));
    if ((m_flags & PSH_NOAPPLYNOW) == 0)
        dt.items.push_back(PushButton(L"&Apply", ID_APPLY_NOW, WS_DISABLED));
    if ((m_flags & PSH_HASHELP) != 0)
        dt.items.push_back(PushButton(L"Help", IDHELP));
    return dt;
}

// --- messages -----------------------------------------------------------------

INT_PTR CPropertySheetWindow::Proc(HWND sheet, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG) {
        auto* self = reinterpret_cast<CPropertySheetWindow*>(lParam);
        SetWindowLongPtrW(sheet, DWLP_USER, lParam);
        self->m_sheet = sheet;
        if (self->m_adopted != nullptr)
            *std::exchange(self->m_adopted, nullptr) = true;
        return self->OnInit();
    }
    auto* self = reinterpret_cast<CPropertySheetWindow*>(GetWindowLongPtrW(sheet, DWLP_USER));
    if (self == nullptr)
        return FALSE;
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(sheet, DWLP_USER, 0);
        delete self;
        return FALSE;
    }
    LRESULT result = 0;
    if (!self->OnMessage(message, wParam, lParam, result))
        return FALSE;
    Answer(sheet, result);
    return TRUE;
}

bool CPropertySheetWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    switch (message) {
    case WM_COMMAND:
        if (HIWORD(wParam) != BN_CLICKED)
            return false;
        result = OnCommand(LOWORD(wParam));
        return true;
    case WM_NOTIFY: {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        if (header == nullptr || header->hwndFrom != m_tab)
            return false;
        result = OnTabNotify(*header);
        return true;
    }
    case WM_CLOSE: PressCancel(true); return true;
    case WM_GETDLGCODE: result = IsPageKey(reinterpret_cast<const MSG*>(lParam)) ? DLGC_WANTMESSAGE : 0; return true;
    case WM_KEYDOWN:
        if (!ControlDown() || (wParam != VK_TAB && wParam != VK_PRIOR && wParam != VK_NEXT))
            return false;
        StepTabSelection(m_tab, wParam == VK_TAB ? GetKeyState(VK_SHIFT) >= 0 : wParam == VK_NEXT);
        return true;
    case WM_SIZE:
        if (HWND page = WindowAt(m_current))
            PlacePage(page);
        return false;
    default: return OnPageMessage(message, wParam, lParam, result) || OnQueryMessage(message, wParam, lParam, result);
    }
}

bool CPropertySheetWindow::OnPageMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    const auto page = reinterpret_cast<HPROPSHEETPAGE>(lParam);
    switch (message) {
    case PSM_ADDPAGE: result = InsertPage(Count(), page); return true;
    case PSM_INSERTPAGE: {
        const auto after = reinterpret_cast<HPROPSHEETPAGE>(wParam);
        const int index = IS_INTRESOURCE(after) ? static_cast<int>(wParam) : IndexOf(after) + 1;
        result = index >= 0 && InsertPage(std::min(index, Count()), page);
        return true;
    }
    case PSM_REMOVEPAGE: result = RemovePage(page != nullptr ? IndexOf(page) : static_cast<int>(wParam)); return true;
    case PSM_SETCURSEL: result = SelectPage(page != nullptr ? IndexOf(page) : static_cast<int>(wParam)); return true;
    case PSM_SETCURSELID: result = SelectPage(IndexOfId(static_cast<int>(lParam))); return true;
    case PSM_CHANGED: SetChanged(reinterpret_cast<HWND>(wParam), true); return true;
    case PSM_UNCHANGED: SetChanged(reinterpret_cast<HWND>(wParam), false); return true;
    case PSM_APPLY: result = Apply(false); return true;
    case PSM_PRESSBUTTON: {
        const int buttons[] = {0, 0, 0, IDOK, ID_APPLY_NOW, IDCANCEL, IDHELP};
        const int which = static_cast<int>(wParam);
        if (which >= 0 && which < 7 && buttons[which] != 0)
            OnCommand(buttons[which]);
        return true;
    }
    case PSM_SETTITLEW:
        m_caption = CaptionOf(reinterpret_cast<LPCWSTR>(lParam), static_cast<DWORD>(wParam));
        SetWindowTextW(m_sheet, m_caption.c_str());
        return true;
    case PSM_CANCELTOCLOSE:
        SetDlgItemTextW(m_sheet, IDOK, L"Close");
        EnableWindow(GetDlgItem(m_sheet, IDCANCEL), FALSE);
        return true;
    case PSM_RESTARTWINDOWS: m_restart |= ID_PSRESTARTWINDOWS; return true;
    case PSM_REBOOTSYSTEM: m_restart |= ID_PSREBOOTSYSTEM; return true;
    default: return false;
    }
}

bool CPropertySheetWindow::OnQueryMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    const int index = static_cast<int>(wParam);
    switch (message) {
    case PSM_GETCURRENTPAGEHWND: result = reinterpret_cast<LRESULT>(m_closed ? nullptr : WindowAt(m_current)); return true;
    case PSM_GETTABCONTROL: result = reinterpret_cast<LRESULT>(m_tab); return true;
    case PSM_GETRESULT: result = m_closed ? m_result : -1; return true;
    case PSM_ISDIALOGMESSAGE: result = IsSheetMessage(reinterpret_cast<MSG*>(lParam)); return true;
    case PSM_QUERYSIBLINGS:
        result = 0;
        for (int i = 0; i < Count() && result == 0; ++i)
            if (HWND page = WindowAt(i))
                result = SendMessageW(page, PSM_QUERYSIBLINGS, wParam, lParam);
        return true;
    case PSM_PAGETOINDEX: result = IndexOf(reinterpret_cast<HPROPSHEETPAGE>(lParam)); return true;
    case PSM_INDEXTOPAGE:
        result = index >= 0 && index < Count() ? reinterpret_cast<LRESULT>(m_entries[index].page) : 0;
        return true;
    case PSM_HWNDTOINDEX: result = IndexOfWindow(reinterpret_cast<HWND>(wParam)); return true;
    case PSM_INDEXTOHWND: result = reinterpret_cast<LRESULT>(WindowAt(index)); return true;
    case PSM_IDTOINDEX: result = IndexOfId(static_cast<int>(lParam)); return true;
    case PSM_INDEXTOID: result = PageAt(index) != nullptr ? PageAt(index)->TemplateId() : 0; return true;
    default: return false;
    }
}

LRESULT CPropertySheetWindow::OnInit()
{
    m_tab = GetDlgItem(m_sheet, IDC_TABCONTROL_SHEET);
    if (m_icon != nullptr)
        SendMessageW(m_sheet, WM_SETICON, 0, reinterpret_cast<LPARAM>(m_icon));
    for (int i = 0; i < Count(); ++i)
        InsertTab(i);
    Layout();
    for (int i = 0; i < Count(); ++i) {
        CPropertySheetPage* page = PageAt(i);
        if (page != nullptr && (page->Flags() & PSP_PREMATURE) != 0 && page->CreateWindowIn(m_sheet) != nullptr)
            PlacePage(page->Window());
    }
    if (Count() > 0) {
        SendMessageW(m_tab, TCM_SETCURSEL, static_cast<WPARAM>(m_start), 0);
        Enter(m_start);
    }
    if (m_callback != nullptr)
        m_callback(m_sheet, PSCB_INITIALIZED, 0);
    // The sheet opens with the focus in its page, not on the tabs: having
    // placed it, the answer tells the dialog manager to leave it there.
    HWND page = WindowAt(m_current);
    HWND first = page != nullptr ? GetNextDlgTabItem(page, nullptr, FALSE) : nullptr;
    if (first == nullptr)
        return TRUE;
    SetFocus(first);
    return FALSE;
}

LRESULT CPropertySheetWindow::OnCommand(int id)
{
    switch (id) {
    case IDOK: PressOk(); break;
    case IDCANCEL: PressCancel(false); break;
    case ID_APPLY_NOW:
        if (IsWindowEnabled(GetDlgItem(m_sheet, ID_APPLY_NOW)))
            Apply(false);
        break;
    case IDHELP:
        if (HWND page = WindowAt(m_current))
            Notify(page, PSN_HELP);
        break;
    default: break;
    }
    return 0;
}

// The tab control asks before its selection moves: the current page may refuse.
LRESULT CPropertySheetWindow::OnTabNotify(const NMHDR& header)
{
    if (header.code == TCN_SELCHANGING)
        return LeaveCurrent() ? FALSE : TRUE;
    if (header.code == TCN_SELCHANGE)
        Enter(static_cast<int>(SendMessageW(m_tab, TCM_GETCURSEL, 0, 0)));
    return 0;
}

bool CPropertySheetWindow::IsPageKey(const MSG* msg) const
{
    return msg != nullptr && msg->message == WM_KEYDOWN && ControlDown() &&
           (msg->wParam == VK_TAB || msg->wParam == VK_PRIOR || msg->wParam == VK_NEXT);
}

LRESULT CPropertySheetWindow::IsSheetMessage(MSG* msg)
{
    if (msg == nullptr)
        return FALSE;
    if (IsPageKey(msg) && (msg->hwnd == m_sheet || IsChild(m_sheet, msg->hwnd))) {
        StepTabSelection(m_tab, msg->wParam == VK_TAB ? GetKeyState(VK_SHIFT) >= 0 : msg->wParam == VK_NEXT);
        return TRUE;
    }
    return IsDialogMessageW(m_sheet, msg);
}

// --- pages --------------------------------------------------------------------

CPropertySheetPage* CPropertySheetWindow::PageAt(int index) const
{
    return index >= 0 && index < Count() ? CPropertySheetPage::FromHandle(m_entries[index].page) : nullptr;
}

HWND CPropertySheetWindow::WindowAt(int index) const
{
    CPropertySheetPage* page = PageAt(index);
    return page != nullptr ? page->Window() : nullptr;
}

int CPropertySheetWindow::IndexOf(HPROPSHEETPAGE page) const
{
    for (int i = 0; i < Count(); ++i)
        if (m_entries[i].page == page)
            return i;
    return -1;
}

int CPropertySheetWindow::IndexOfWindow(HWND window) const
{
    for (int i = 0; window != nullptr && i < Count(); ++i)
        if (WindowAt(i) == window)
            return i;
    return -1;
}

int CPropertySheetWindow::IndexOfId(int id) const
{
    for (int i = 0; id != 0 && i < Count(); ++i)
        if (PageAt(i) != nullptr && PageAt(i)->TemplateId() == id)
            return i;
    return -1;
}

void CPropertySheetWindow::InsertTab(int index)
{
    const CPropertySheetPage* page = PageAt(index);
    const std::wstring title = page != nullptr ? page->Title() : std::wstring();
    TCITEMW item;
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<LPWSTR>(title.c_str());
    SendMessageW(m_tab, TCM_INSERTITEMW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
}

// A top-level sheet grows to a larger page; a child sheet's size is its owner's.
bool CPropertySheetWindow::InsertPage(int index, HPROPSHEETPAGE page)
{
    CPropertySheetPage* own = CPropertySheetPage::FromHandle(page);
    if (own == nullptr || IndexOf(page) >= 0 || !own->LoadTemplate() || m_entries.size() >= kMaxPages)
        return false;
    m_entries.insert(m_entries.begin() + index, Entry{page, false});
    if (m_current >= index)
        ++m_current;
    InsertTab(index);
    if ((GetWindowLongPtrW(m_sheet, GWL_STYLE) & WS_CHILD) == 0)
        Layout();
    if (m_current < 0) {
        SendMessageW(m_tab, TCM_SETCURSEL, static_cast<WPARAM>(index), 0);
        Enter(index);
    } else {
        SendMessageW(m_tab, TCM_SETCURSEL, static_cast<WPARAM>(m_current), 0);
    }
    return true;
}

// The removed page goes without being asked; the one after it (or before
// it, at the end) takes its place when it was the current one.
bool CPropertySheetWindow::RemovePage(int index)
{
    if (index < 0 || index >= Count())
        return false;
    const bool wasCurrent = index == m_current;
    CPropertySheetPage::Destroy(m_entries[index].page);
    m_entries.erase(m_entries.begin() + index);
    SendMessageW(m_tab, TCM_DELETEITEM, static_cast<WPARAM>(index), 0);
    if (m_current > index)
        --m_current;
    if (wasCurrent) {
        m_current = -1;
        if (Count() > 0) {
            const int next = std::min(index, Count() - 1);
            SendMessageW(m_tab, TCM_SETCURSEL, static_cast<WPARAM>(next), 0);
            Enter(next);
        }
    } else if (m_current >= 0) {
        SendMessageW(m_tab, TCM_SETCURSEL, static_cast<WPARAM>(m_current), 0);
    }
    UpdateApplyButton();
    return true;
}

bool CPropertySheetWindow::LeaveCurrent()
{
    HWND page = WindowAt(m_current);
    return page == nullptr || Notify(page, PSN_KILLACTIVE) == 0;
}

// A page that refuses PSN_SETACTIVE, or cannot be made, leaves the sheet on
// the page before, which is told it is active again.
bool CPropertySheetWindow::Enter(int index)
{
    CPropertySheetPage* page = PageAt(index);
    HWND window = page != nullptr ? page->Window() : nullptr;
    if (window == nullptr && (page == nullptr || (window = page->CreateWindowIn(m_sheet)) == nullptr)) {
        StayOnCurrent();
        return false;
    }
    PlacePage(window);
    if (Notify(window, PSN_SETACTIVE) != 0 && m_current >= 0 && m_current != index) {
        StayOnCurrent();
        return false;
    }
    ShowPage(index);
    return true;
}

void CPropertySheetWindow::StayOnCurrent()
{
    if (m_current < 0)
        return;
    SendMessageW(m_tab, TCM_SETCURSEL, static_cast<WPARAM>(m_current), 0);
    if (HWND current = WindowAt(m_current))
        Notify(current, PSN_SETACTIVE);
}

bool CPropertySheetWindow::SelectPage(int index)
{
    if (index < 0 || index >= Count())
        return false;
    if (index == m_current)
        return true;
    if (!LeaveCurrent())
        return false;
    SendMessageW(m_tab, TCM_SETCURSEL, static_cast<WPARAM>(index), 0);
    return Enter(index);
}

// The focus follows into the new page when it was in the page left.
void CPropertySheetWindow::ShowPage(int index)
{
    HWND previous = WindowAt(m_current);
    HWND next = WindowAt(index);
    HWND focus = GetFocus();
    const bool focusInPage = focus == nullptr || (previous != nullptr && (focus == previous || IsChild(previous, focus)));
    m_current = index;
    ShowWindow(next, SW_SHOWNA);
    if (previous != nullptr && previous != next)
        ShowWindow(previous, SW_HIDE);
    if (focusInPage && IsWindowVisible(m_sheet)) {
        HWND first = GetNextDlgTabItem(next, nullptr, FALSE);
        SetFocus(first != nullptr ? first : m_tab);
    }
    UpdateHelpButton();
}

// Pages lie over the tab control's display area, above it in the Z-order:
// the tab control clips them out when it paints.
void CPropertySheetWindow::PlacePage(HWND page) const
{
    const RECT area = PageArea();
    HWND above = GetWindow(m_tab, GW_HWNDPREV);
    const UINT keepOrder = above == page ? SWP_NOZORDER : 0;
    SetWindowPos(page, above != nullptr ? above : HWND_TOP, area.left, area.top, area.right - area.left,
                 area.bottom - area.top, SWP_NOACTIVATE | keepOrder);
}

LRESULT CPropertySheetWindow::Notify(HWND page, UINT code, LPARAM lParam) const
{
    PSHNOTIFY notify;
    notify.hdr = NMHDR{m_sheet, 0, code};
    notify.lParam = lParam;
    return SendMessageW(page, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&notify));
}

void CPropertySheetWindow::SetChanged(HWND page, bool changed)
{
    const int index = IndexOfWindow(page);
    if (index < 0)
        return;
    m_entries[index].changed = changed;
    UpdateApplyButton();
}

// --- buttons ------------------------------------------------------------------

// Every made page applies, in order; the first that refuses is shown (unless
// it asks to keep the current page) and the sheet stays.
bool CPropertySheetWindow::Apply(bool closing)
{
    if (!LeaveCurrent())
        return false;
    for (int i = 0; i < Count(); ++i) {
        HWND page = WindowAt(i);
        if (page == nullptr)
            continue;
        const LRESULT answer = Notify(page, PSN_APPLY, closing ? TRUE : FALSE);
        if (answer == PSNRET_INVALID || answer == PSNRET_INVALID_NOCHANGEPAGE) {
            if (answer == PSNRET_INVALID && i != m_current) {
                SendMessageW(m_tab, TCM_SETCURSEL, static_cast<WPARAM>(i), 0);
                Enter(i);
            }
            return false;
        }
    }
    for (Entry& entry : m_entries)
        entry.changed = false;
    m_applied = true;
    UpdateApplyButton();
    return true;
}

void CPropertySheetWindow::PressOk()
{
    if (!m_closed && Apply(true))
        Close(m_restart != 0 ? m_restart : 1);
}

void CPropertySheetWindow::PressCancel(bool closeBox)
{
    if (m_closed)
        return;
    if (HWND page = WindowAt(m_current); page != nullptr && Notify(page, PSN_QUERYCANCEL) != 0)
        return;
    for (int i = 0; i < Count(); ++i)
        if (HWND page = WindowAt(i))
            Notify(page, PSN_RESET, closeBox ? TRUE : FALSE);
    Close(m_applied ? (m_restart != 0 ? m_restart : 1) : 0);
}

// A modeless sheet stays until its owner destroys it, which it learns from
// PSM_GETCURRENTPAGEHWND answering null.
void CPropertySheetWindow::Close(INT_PTR result)
{
    m_closed = true;
    m_result = result;
    if (m_modal)
        EndDialog(m_sheet, result);
}

void CPropertySheetWindow::UpdateApplyButton() const
{
    const bool any = std::any_of(m_entries.begin(), m_entries.end(), [](const Entry& e) { return e.changed; });
    if (HWND apply = GetDlgItem(m_sheet, ID_APPLY_NOW))
        EnableWindow(apply, any ? TRUE : FALSE);
}

void CPropertySheetWindow::UpdateHelpButton() const
{
    const CPropertySheetPage* page = PageAt(m_current);
    if (HWND help = GetDlgItem(m_sheet, IDHELP))
        EnableWindow(help, page != nullptr && (page->Flags() & PSP_HASHELP) != 0 ? TRUE : FALSE);
}

// --- layout -------------------------------------------------------------------

int CPropertySheetWindow::DialogUnitsX(int units) const
{
    RECT r{0, 0, units, 0};
    MapDialogRect(m_sheet, &r);
    return r.right;
}

int CPropertySheetWindow::DialogUnitsY(int units) const
{
    RECT r{0, 0, 0, units};
    MapDialogRect(m_sheet, &r);
    return r.bottom;
}

SIZE CPropertySheetWindow::LargestPage() const
{
    SIZE largest{DialogUnitsX(kButtonWidth * 3 + kGap * 2), DialogUnitsY(kButtonHeight * 2)};
    for (int i = 0; i < Count(); ++i) {
        if (PageAt(i) == nullptr)
            continue;
        const SIZE units = PageAt(i)->TemplateSize();
        largest.cx = std::max<LONG>(largest.cx, DialogUnitsX(units.cx));
        largest.cy = std::max<LONG>(largest.cy, DialogUnitsY(units.cy));
    }
    return largest;
}

RECT CPropertySheetWindow::PageArea() const
{
    RECT area{};
    GetWindowRect(m_tab, &area);
    MapWindowPoints(nullptr, m_sheet, reinterpret_cast<POINT*>(&area), 2);
    SendMessageW(m_tab, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&area));
    return area;
}

// The tab control around the largest page, the buttons in a row at the
// bottom right, the sheet around both. The tab rows depend on the width,
// so the tab control is sized once for its width and then for its rows.
void CPropertySheetWindow::Layout()
{
    const SIZE page = LargestPage();
    const int margin = DialogUnitsX(kMargin);
    RECT tab{margin, margin, margin + page.cx, margin + page.cy};
    for (int pass = 0; pass < 2; ++pass) {
        RECT outer = {margin, margin, margin + page.cx, margin + page.cy};
        SendMessageW(m_tab, TCM_ADJUSTRECT, TRUE, reinterpret_cast<LPARAM>(&outer));
        OffsetRect(&outer, margin - outer.left, margin - outer.top);
        tab = outer;
        SetWindowPos(m_tab, nullptr, tab.left, tab.top, tab.right - tab.left, tab.bottom - tab.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
    const int buttonWidth = DialogUnitsX(kButtonWidth);
    const int buttonHeight = DialogUnitsY(kButtonHeight);
    const int gap = DialogUnitsX(kGap);
    const int top = tab.bottom + DialogUnitsY(kGap);
    int right = tab.right;
    for (int id : {IDHELP, ID_APPLY_NOW, IDCANCEL, IDOK}) {
        if (HWND button = GetDlgItem(m_sheet, id)) {
            SetWindowPos(button, nullptr, right - buttonWidth, top, buttonWidth, buttonHeight,
                         SWP_NOZORDER | SWP_NOACTIVATE);
            right -= buttonWidth + gap;
        }
    }
    RECT window{0, 0, tab.right + margin, top + buttonHeight + margin};
    const DWORD style = static_cast<DWORD>(GetWindowLongPtrW(m_sheet, GWL_STYLE));
    AdjustWindowRectEx(&window, style, FALSE, static_cast<DWORD>(GetWindowLongPtrW(m_sheet, GWL_EXSTYLE)));
    SetWindowPos(m_sheet, nullptr, 0, 0, window.right - window.left, window.bottom - window.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    if (HWND current = WindowAt(m_current))
        PlacePage(current);
}

}
