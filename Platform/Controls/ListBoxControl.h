#pragma once
// The "ListBox" class: a column of items (texts, or owner-drawn with or
// without strings) with single, multiple or extended selection, sorted or in
// insertion order, scrolled with the window's own vertical bar, driven by
// mouse, keyboard and type-ahead, and reporting to its parent as the
// platform's list box does (LBN_ notifications only for what the user does).
//
// The same code serves the drop-down list of a combo box (CComboListBox):
// then the list is a pop-up owned by the combo, everything that would go to
// a parent goes to the combo, and the combo can make it follow the pointer.
#include "Platform/Controls/ControlWindow.h"
#include "Platform/Controls/ListBoxItems.h"
#include "Platform/Controls/ListBoxLayout.h"
#include "Platform/Controls/ListControlStyles.h"

#include <vector>

namespace ZELL::Controls {

class CListBoxControl : public CControlWindow {
public:
    explicit CListBoxControl(HWND hwnd);

protected:
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void Paint(HDC dc) override;

    // A drop-down list: its owner combo gets the notifications and the
    // owner-draw messages, and it does not take the focus.
    void MakeDropDownOf(HWND combo) { m_combo = combo; }
    bool IsDropDown() const { return m_combo != nullptr; }

private:
    enum class Mode { Single, Multiple, Extended, None };

    // --- messages, by kind -----------------------------------------------------
    LRESULT OnWindowMessage(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnItemMessage(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnSelectionMessage(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnViewMessage(UINT message, WPARAM wParam, LPARAM lParam);

    // --- set-up and layout ---------------------------------------------------
    void OnCreate(const CREATESTRUCTW& create);
    Mode SelectionMode() const;
    bool OwnerDraw() const { return (Style() & (LBS_OWNERDRAWFIXED | LBS_OWNERDRAWVARIABLE)) != 0; }
    bool Variable() const { return (Style() & LBS_OWNERDRAWVARIABLE) != 0; }
    bool HasStrings() const { return !OwnerDraw() || (Style() & LBS_HASSTRINGS) != 0; }
    int FontHeight() const;
    void MeasureFixed();
    void FitIntegralHeight();
    int HeightOf(int index) const;
    int ClientHeight() const;
    int ItemY(int index) const;  // the item's top in the client area
    RECT ItemRect(int index) const;
    int ItemAtY(int y, bool* outside) const;
    int PageSize() const;
    int MaxTop() const;
    void SetTop(int top);
    void ShowItem(int index, bool partly);
    void UpdateScrollBar();
    void OnVScroll(WORD code);

    // --- items -----------------------------------------------------------------
    LRESULT AddItem(int index, LPARAM lParam, bool sorted);
    int MeasureVariable(int index, LPARAM lParam) const;
    int CompareItems(const ListBoxItem& item, int index) const;
    LRESULT DeleteItem(int index);
    void ResetContent();
    void SendDeleteItem(int index, const ListBoxItem& item) const;
    LRESULT GetText(int index, LPARAM buffer) const;
    LRESULT GetTextLength(int index) const;
    LRESULT Find(WPARAM start, LPARAM lParam, bool exact) const;
    LRESULT SelectString(WPARAM start, LPARAM lParam);
    LRESULT SetItemHeight(WPARAM index, LPARAM height);
    LRESULT SetTabStops(WPARAM count, LPARAM stops);
    LRESULT InitStorage(WPARAM count);
    LRESULT ErrorSpace();

    // --- selection ---------------------------------------------------------------
    LRESULT SetCurSel(int index);
    LRESULT GetCurSel() const;
    LRESULT SetSel(bool select, int index);
    LRESULT GetSelItems(WPARAM max, LPARAM out) const;
    LRESULT SelectRange(int first, int last, bool select);
    void SetCaret(int index);
    void Refresh(const std::vector<int>& changed);
    // Runs a user's action and tells the parent when it changed the selection.
    template <class Action>
    void ByUser(Action action);
    // What a click, a drag or a key does to the selection at `index`.
    void SelectByPointer(int index, WPARAM keys, bool first);
    void SelectByKey(int index);

    // --- input -----------------------------------------------------------------
    void OnButtonDown(POINT p, WPARAM keys, bool doubleClick);
    void OnMouseMove(POINT p);
    void OnButtonUp(POINT p);
    void EndDrag();
    void OnCaptureLost(HWND newCapture);
    void OnAutoScroll();
    void OnKeyDown(WPARAM key);
    int KeyTarget(WPARAM key) const;
    void OnChar(wchar_t c);
    void TypeAhead(wchar_t c);
    void OnFocus(bool focused);
    LRESULT StartTracking(bool buttonDown);
    bool TrackPress(POINT p);

    // --- drawing -----------------------------------------------------------------
    bool CanDraw() const;
    HBRUSH Background(HDC dc) const;
    void PaintItem(HDC dc, int index, UINT action) const;
    UINT ItemState(int index) const;
    void SendDrawItem(HDC dc, int index, UINT action) const;
    // Draws one item at once where owner-drawn (ODA_SELECT, ODA_FOCUS), or
    // has it painted at the next WM_PAINT.
    void RefreshItem(int index, UINT action) const;

    // --- talking to the parent (or the combo) --------------------------------------
    HWND Target() const;
    void Notify(WORD code) const;
    bool Notifies() const { return IsDropDown() || (Style() & LBS_NOTIFY) != 0; }

    CListBoxItems m_items;
    CListBoxLayout m_layout{m_items};
    HWND m_combo = nullptr;
    int m_top = 0;
    int m_caret = 0;
    int m_anchor = 0;
    bool m_focused = false;
    bool m_redraw = true;
    bool m_hasScrollBar = false;
    bool m_fitting = false;
    bool m_pressed = false;      // the button went down on an item and is held
    bool m_dragSelects = true;   // a Ctrl drag in extended mode selects or clears
    WPARAM m_dragKeys = 0;
    POINT m_lastPoint{};
    bool m_tracking = false;     // a combo's list following the pointer
    bool m_barPress = false;     // ... that lent the capture to its scroll bar
    std::vector<int> m_tabStops;  // dialog units; empty: every 32
    std::wstring m_typed;
    DWORD m_typedTick = 0;
};

}
