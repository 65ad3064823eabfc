#pragma once
// What the list-box tests need beyond the shared scene: the parent's answers
// to the owner-draw and keyboard questions a list asks (WM_MEASUREITEM,
// WM_COMPAREITEM, WM_VKEYTOITEM, WM_CHARTOITEM), a record of those and of
// WM_DELETEITEM and WM_CTLCOLORLISTBOX, and the points of items to click.
#include "ControlTestSupport.h"
#include "Platform/Controls/ComboListBox.h"
#include "Platform/Controls/ListControlStyles.h"

#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace ListTest {

struct Asked {
    UINT message = 0;
    UINT itemID = 0;
    ULONG_PTR itemData = 0;
    WPARAM wParam = 0;
};

// Sits between the scene's parent window and its procedure.
class ListParent {
public:
    explicit ListParent(HWND parent) : m_parent(parent)
    {
        SetPropW(parent, kProperty, reinterpret_cast<HANDLE>(this));
        m_previous = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(parent, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Proc)));
    }
    ~ListParent()
    {
        if (IsWindow(m_parent)) {
            SetWindowLongPtrW(m_parent, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_previous));
            RemovePropW(m_parent, kProperty);
        }
    }
    ListParent(const ListParent&) = delete;
    ListParent& operator=(const ListParent&) = delete;

    UINT m_measuredHeight = 0;  // 0: leave the list's proposal
    std::function<UINT(const MEASUREITEMSTRUCT&)> m_measure;
    LRESULT m_vkeyAnswer = -1;
    LRESULT m_charAnswer = -1;
    HBRUSH m_listBrush = nullptr;

    std::vector<Asked> m_asked;
    std::vector<std::pair<UINT, UINT>> m_compared;  // itemID1, itemID2
    std::vector<Asked> Of(UINT message) const
    {
        std::vector<Asked> result;
        for (const Asked& a : m_asked)
            if (a.message == message)
                result.push_back(a);
        return result;
    }

private:
    static constexpr LPCWSTR kProperty = L"ListTestParent";

    static LRESULT Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
    {
        auto* self = reinterpret_cast<ListParent*>(GetPropW(hwnd, kProperty));
        LRESULT result = 0;
        if (self != nullptr && self->Answer(message, wParam, lParam, result))
            return result;
        WNDPROC previous = self != nullptr ? self->m_previous : nullptr;
        return previous != nullptr ? CallWindowProcW(previous, hwnd, message, wParam, lParam)
                                   : DefWindowProcW(hwnd, message, wParam, lParam);
    }

    bool Answer(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
    {
        switch (message) {
        case WM_MEASUREITEM: {
            auto* m = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
            m_asked.push_back({message, m->itemID, m->itemData, wParam});
            if (m_measure)
                m->itemHeight = m_measure(*m);
            else if (m_measuredHeight != 0)
                m->itemHeight = m_measuredHeight;
            result = TRUE;
            return true;
        }
        case WM_COMPAREITEM: {
            const auto* c = reinterpret_cast<const COMPAREITEMSTRUCT*>(lParam);
            m_asked.push_back({message, c->itemID1, c->itemData1, wParam});
            m_compared.push_back({c->itemID1, c->itemID2});
            result = c->itemData1 < c->itemData2 ? -1 : (c->itemData1 > c->itemData2 ? 1 : 0);
            return true;
        }
        case WM_DELETEITEM: {
            const auto* d = reinterpret_cast<const DELETEITEMSTRUCT*>(lParam);
            m_asked.push_back({message, d->itemID, d->itemData, wParam});
            result = TRUE;
            return true;
        }
        case WM_VKEYTOITEM:
            m_asked.push_back({message, HIWORD(wParam), 0, wParam});
            result = m_vkeyAnswer;
            return true;
        case WM_CHARTOITEM:
            m_asked.push_back({message, HIWORD(wParam), 0, wParam});
            result = m_charAnswer;
            return true;
        case WM_CTLCOLORLISTBOX:
            m_asked.push_back({message, 0, 0, wParam});
            if (m_listBrush == nullptr)
                return false;
            result = reinterpret_cast<LRESULT>(m_listBrush);
            return true;
        default: return false;
        }
    }

    HWND m_parent = nullptr;
    WNDPROC m_previous = nullptr;
};

inline void Fill(HWND list, std::initializer_list<LPCWSTR> texts)
{
    for (LPCWSTR text : texts)
        SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
    UiTest::Drain();
}

inline std::vector<std::wstring> Texts(HWND list)
{
    std::vector<std::wstring> texts;
    const auto count = static_cast<int>(SendMessageW(list, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        std::wstring text(static_cast<std::size_t>(SendMessageW(list, LB_GETTEXTLEN, static_cast<WPARAM>(i), 0)), L'\0');
        SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text.data()));
        texts.push_back(text);
    }
    return texts;
}

inline std::vector<int> Selection(HWND list)
{
    std::vector<int> selected(64, -1);
    const auto n = SendMessageW(list, LB_GETSELITEMS, selected.size(), reinterpret_cast<LPARAM>(selected.data()));
    selected.resize(static_cast<std::size_t>(std::max<LRESULT>(n, 0)));
    return selected;
}

// The middle of an item as it is shown now.
inline POINT ItemPoint(HWND list, int index)
{
    RECT r{};
    SendMessageW(list, LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&r));
    return {10, (r.top + r.bottom) / 2};
}

inline LRESULT Send(HWND list, UINT message, WPARAM wParam = 0, LPARAM lParam = 0)
{
    return SendMessageW(list, message, wParam, lParam);
}

// Holds a modifier key down for the life of the object.
class HeldKey {
public:
    explicit HeldKey(UINT key) : m_key(key) { ControlTest::Scene::Display().InjectKeyDown(key); UiTest::Drain(); }
    ~HeldKey() { ControlTest::Scene::Display().InjectKeyUp(m_key); UiTest::Drain(); }
    HeldKey(const HeldKey&) = delete;
    HeldKey& operator=(const HeldKey&) = delete;

private:
    UINT m_key;
};

// A click on the down arrow of the list's own vertical bar.
inline void ClickDownArrow(HWND list)
{
    RECT window{};
    GetWindowRect(list, &window);
    const POINT arrow{window.right - 2 - GetSystemMetrics(SM_CXVSCROLL) / 2, window.bottom - 4};
    ControlTest::Scene::Display().InjectMouseDown(Display::MouseButton::Left, arrow);
    UiTest::Drain();
    ControlTest::Scene::Display().InjectMouseUp(Display::MouseButton::Left, arrow);
    UiTest::Drain();
}

inline void Type(const std::wstring& text)
{
    ControlTest::Scene::Display().InjectText(text);
    UiTest::Drain();
}

}
