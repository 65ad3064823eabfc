#include "Platform/Controls/PropertySheetPage.h"

#include "Platform/Base/LastError.h"
#include "Platform/Ui/Resource.h"

#include <cstring>
#include <mutex>
#include <set>
#include <utility>

namespace ZELL::Controls {

namespace {

// Records longer than this are taken for garbage rather than copied.
constexpr DWORD kMaxRecordSize = 64u * 1024u;
// A template in memory comes without its size; the bound keeps a garbage
// count from running on without end.
constexpr std::size_t kUnsizedTemplateLimit = 16u << 20;
// Page styles a sheet does not let a page keep: a page is a borderless child.
constexpr DWORD kTopLevelStyles = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_VISIBLE | WS_DISABLED |
                                  DS_MODALFRAME | DS_CENTER | DS_SYSMODAL | DS_ABSALIGN;

std::mutex g_pagesMutex;
std::set<const CPropertySheetPage*> g_pages;

bool IsLive(const CPropertySheetPage* page)
{
    std::lock_guard lock(g_pagesMutex);
    return g_pages.count(page) != 0;
}

// Copies a text the record points at, so the caller's may go; the record
// then points at the copy. Resource ids stay as they are.
void KeepText(LPCWSTR& field, std::wstring& copy)
{
    if (field == nullptr || IS_INTRESOURCE(field))
        return;
    copy = field;
    field = copy.c_str();
}

std::wstring LoadedString(HINSTANCE instance, LPCWSTR id)
{
    wchar_t buffer[256]{};
    const int length = LoadStringW(instance, static_cast<UINT>(reinterpret_cast<std::uintptr_t>(id)), buffer, 256);
    return std::wstring(buffer, length > 0 ? static_cast<std::size_t>(length) : 0);
}

}

HPROPSHEETPAGE CPropertySheetPage::Create(LPCPROPSHEETPAGEW record)
{
    if (record == nullptr || record->dwSize < PROPSHEETPAGEW_V1_SIZE || record->dwSize > kMaxRecordSize) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    auto* page = new CPropertySheetPage;
    const std::size_t records = (record->dwSize + sizeof(PROPSHEETPAGEW) - 1) / sizeof(PROPSHEETPAGEW);
    page->m_storage.resize(records);
    std::memcpy(static_cast<void*>(page->m_storage.data()), record, record->dwSize);
    PROPSHEETPAGEW& own = page->Record();
    if ((own.dwFlags & PSP_DLGINDIRECT) == 0)
        KeepText(own.pszTemplate, page->m_templateName);
    if ((own.dwFlags & PSP_USETITLE) != 0)
        KeepText(own.pszTitle, page->m_titleText);
    {
        std::lock_guard lock(g_pagesMutex);
        g_pages.insert(page);
    }
    if ((own.dwFlags & PSP_USEREFPARENT) != 0 && own.pcRefParent != nullptr)
        ++*own.pcRefParent;
    page->Notify(PSPCB_ADDREF);
    return page->Handle();
}

CPropertySheetPage* CPropertySheetPage::FromHandle(HPROPSHEETPAGE page)
{
    auto* own = reinterpret_cast<CPropertySheetPage*>(page);
    return own != nullptr && IsLive(own) ? own : nullptr;
}

bool CPropertySheetPage::Destroy(HPROPSHEETPAGE page)
{
    CPropertySheetPage* own = FromHandle(page);
    if (own == nullptr) {
        SetLastError(ERROR_INVALID_HANDLE);
        return false;
    }
    delete own;
    return true;
}

CPropertySheetPage::~CPropertySheetPage()
{
    {
        std::lock_guard lock(g_pagesMutex);
        g_pages.erase(this);
    }
    DestroyWindow();
    Notify(PSPCB_RELEASE);
    PROPSHEETPAGEW& own = Record();
    if ((own.dwFlags & PSP_USEREFPARENT) != 0 && own.pcRefParent != nullptr && *own.pcRefParent > 0)
        --*own.pcRefParent;
}

HPROPSHEETPAGE CPropertySheetPage::Handle()
{
    return reinterpret_cast<HPROPSHEETPAGE>(this);
}

UINT CPropertySheetPage::Notify(UINT message)
{
    PROPSHEETPAGEW& own = Record();
    if ((own.dwFlags & PSP_USECALLBACK) == 0 || own.pfnCallback == nullptr)
        return 1;
    return own.pfnCallback(nullptr, message, &own);
}

bool CPropertySheetPage::LoadTemplate()
{
    if (m_loaded)
        return true;
    const PROPSHEETPAGEW& own = Record();
    if ((own.dwFlags & PSP_DLGINDIRECT) != 0) {
        m_loaded = own.pResource != nullptr && m_template.Parse(own.pResource, kUnsizedTemplateLimit);
    } else if (HRSRC resource = FindResourceW(own.hInstance, own.pszTemplate, RT_DIALOG)) {
        HGLOBAL loaded = LoadResource(own.hInstance, resource);
        m_loaded = m_template.Parse(LockResource(loaded), SizeofResource(own.hInstance, resource));
    }
    if (!m_loaded)
        SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
    return m_loaded;
}

std::wstring CPropertySheetPage::Title() const
{
    const PROPSHEETPAGEW& own = Record();
    if ((own.dwFlags & PSP_USETITLE) == 0 || own.pszTitle == nullptr)
        return m_template.caption;
    if (IS_INTRESOURCE(own.pszTitle))
        return LoadedString(own.hInstance, own.pszTitle);
    return own.pszTitle;
}

int CPropertySheetPage::TemplateId() const
{
    const PROPSHEETPAGEW& own = Record();
    if ((own.dwFlags & PSP_DLGINDIRECT) != 0 || !IS_INTRESOURCE(own.pszTemplate))
        return 0;
    return static_cast<int>(reinterpret_cast<std::uintptr_t>(own.pszTemplate));
}

HWND CPropertySheetPage::CreateWindowIn(HWND sheet)
{
    if (m_window != nullptr && IsWindow(m_window))
        return m_window;
    if (!LoadTemplate() || Notify(PSPCB_CREATE) == 0)
        return nullptr;
    Ui::CDialogTemplate child = m_template;
    child.style = (child.style & ~kTopLevelStyles) | WS_CHILD | DS_CONTROL | DS_3DLOOK;
    child.x = 0;
    child.y = 0;
    const std::vector<BYTE> image = child.ToImage();
    PROPSHEETPAGEW& own = Record();
    m_window = CreateDialogIndirectParamW(own.hInstance, reinterpret_cast<LPCDLGTEMPLATEW>(image.data()), sheet,
                                          own.pfnDlgProc, reinterpret_cast<LPARAM>(&own));
    return m_window;
}

void CPropertySheetPage::DestroyWindow()
{
    HWND window = std::exchange(m_window, nullptr);
    if (window != nullptr && IsWindow(window))
        ::DestroyWindow(window);
}

}
