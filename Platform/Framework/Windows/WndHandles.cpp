// CWnd: the handle maps, creation, subclassing and destruction.
#include "Platform/Framework/Windows/Wnd.h"

#include "Platform/Framework/Core/TempHandleMap.h"
#include "Platform/Framework/Windows/WndCreationHook.h"

#include <unordered_map>
#include <utility>

namespace {

std::unordered_map<HWND, CWnd*>& PermanentWindows()
{
    thread_local std::unordered_map<HWND, CWnd*> map;
    return map;
}

using TempWindows = CTempHandleMap<CWnd, HWND, &CWnd::m_hWnd>;

}

CWnd::~CWnd()
{
    if (m_hWnd && FromHandlePermanent(m_hWnd) == this)
        ::DestroyWindow(m_hWnd);
    // A window of another thread, or one destroyed without its messages.
    if (m_hWnd && FromHandlePermanent(m_hWnd) == this)
        Detach();
}

CWnd* CWnd::FromHandlePermanent(HWND hwnd)
{
    auto& map = PermanentWindows();
    const auto place = map.find(hwnd);
    return place == map.end() ? nullptr : place->second;
}

CWnd* CWnd::FromHandle(HWND hwnd)
{
    if (!hwnd)
        return nullptr;
    if (CWnd* permanent = FromHandlePermanent(hwnd))
        return permanent;
    return TempWindows::FromHandle(hwnd);
}

void AfxDeleteTempWindows() { AfxDeleteTempObjects(); }

std::size_t AfxTempWindowCount() { return AfxTempObjectCount(); }

BOOL CWnd::Attach(HWND hwnd)
{
    if (!hwnd || m_hWnd || !::IsWindow(hwnd))
        return FALSE;
    const auto [place, added] = PermanentWindows().try_emplace(hwnd, this);
    if (!added)
        return FALSE;
    m_hWnd = hwnd;
    return TRUE;
}

HWND CWnd::Detach()
{
    const HWND hwnd = std::exchange(m_hWnd, nullptr);
    auto& map = PermanentWindows();
    const auto place = map.find(hwnd);
    if (place != map.end() && place->second == this)
        map.erase(place);
    return hwnd;
}

BOOL CWnd::SubclassWindow(HWND hwnd)
{
    if (!Attach(hwnd))
        return FALSE;
    PreSubclassWindow();
    const auto previous = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&AfxWndProc)));
    if (previous != &AfxWndProc)
        m_pfnSuper = previous;
    return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT id, CWnd* parent)
{
    HWND control = parent ? ::GetDlgItem(parent->m_hWnd, static_cast<int>(id)) : nullptr;
    return control ? SubclassWindow(control) : FALSE;
}

HWND CWnd::UnsubclassWindow()
{
    if (!m_hWnd)
        return nullptr;
    if (m_pfnSuper)
        ::SetWindowLongPtrW(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
    m_pfnSuper = nullptr;
    return Detach();
}

// --- creation -------------------------------------------------------------------

void CWnd::AttachForCreation(HWND hwnd)
{
    if (!Attach(hwnd))
        return;
    const auto previous = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&AfxWndProc)));
    if (previous != &AfxWndProc)
        m_pfnSuper = previous;
}

LPCWSTR CWnd::DefaultClassName()
{
    static const LPCWSTR name = [] {
        WNDCLASSEXW wc;
        wc.style = CS_DBLCLKS;
        wc.lpfnWndProc = &::DefWindowProcW;
        wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
        wc.lpszClassName = L"ZellFrameworkWindow";
        ::RegisterClassExW(&wc);
        return wc.lpszClassName;
    }();
    return name;
}

BOOL CWnd::PreCreateWindow(CREATESTRUCTW& cs)
{
    if (!cs.lpszClass)
        cs.lpszClass = DefaultClassName();
    return TRUE;
}

BOOL CWnd::Create(LPCWSTR className, LPCWSTR windowName, DWORD style, const RECT& rect, CWnd* parent, UINT id,
                  void* createParam)
{
    return CreateEx(0, className, windowName, style | WS_CHILD, rect, parent, id, createParam);
}

BOOL CWnd::CreateEx(DWORD exStyle, LPCWSTR className, LPCWSTR windowName, DWORD style, const RECT& rect,
                    CWnd* parent, UINT id, void* createParam)
{
    return CreateEx(exStyle, className, windowName, style, rect.left, rect.top, rect.right - rect.left,
                    rect.bottom - rect.top, parent ? parent->m_hWnd : nullptr,
                    reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), createParam);
}

BOOL CWnd::CreateEx(DWORD exStyle, LPCWSTR className, LPCWSTR windowName, DWORD style, int x, int y, int width,
                    int height, HWND parent, HMENU idOrMenu, void* createParam)
{
    if (m_hWnd)
        return FALSE;
    CREATESTRUCTW cs;
    cs.dwExStyle = exStyle;
    cs.lpszClass = className;
    cs.lpszName = windowName;
    cs.style = static_cast<LONG>(style);
    cs.x = x;
    cs.y = y;
    cs.cx = width;
    cs.cy = height;
    cs.hwndParent = parent;
    cs.hMenu = idOrMenu;
    cs.lpCreateParams = createParam;
    if (!PreCreateWindow(cs))
        return FALSE;
    HWND hwnd = nullptr;
    {
        const CWndCreationHook hook(this);
        hwnd = ::CreateWindowExW(cs.dwExStyle, cs.lpszClass, cs.lpszName, static_cast<DWORD>(cs.style), cs.x, cs.y,
                                 cs.cx, cs.cy, cs.hwndParent, cs.hMenu, cs.hInstance, cs.lpCreateParams);
    }
    // A window that failed in WM_CREATE is gone, and so is our hold on it.
    return hwnd != nullptr && m_hWnd == hwnd;
}

BOOL CWnd::DestroyWindow()
{
    if (!m_hWnd)
        return FALSE;
    const HWND hwnd = m_hWnd;
    const bool permanent = FromHandlePermanent(hwnd) == this;
    const BOOL destroyed = ::DestroyWindow(hwnd);
    // Self-deleting windows are gone here; only a wrapper that was not
    // permanent still holds the dead handle.
    if (!permanent)
        m_hWnd = nullptr;
    return destroyed;
}
