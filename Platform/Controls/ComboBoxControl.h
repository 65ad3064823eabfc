#pragma once
// The "ComboBox" class: a selection field (CBS_DROPDOWNLIST) or an "Edit"
// child (CBS_DROPDOWN) with a drop button over a list that drops down as a
// pop-up ("ComboLBox") following the pointer under capture, or an edit over
// a list that is always shown (CBS_SIMPLE). The list keeps
// the items; the combo answers the CB_ messages on it, passes its owner-draw
// and colour questions on to the parent under the combo's own type and id,
// and tells the parent what the user does in the platform's order:
// CBN_DROPDOWN before the list shows; a pick gives CBN_SELCHANGE (as the
// pointer or a key moves the selection), CBN_SELENDOK, CBN_CLOSEUP; a cancel
// (Esc, a press outside) gives CBN_SELENDCANCEL, CBN_SELCHANGE when the
// previous selection comes back, CBN_CLOSEUP. The edit's changes by the
// user come as CBN_EDITUPDATE then CBN_EDITCHANGE; a selection from the
// list puts the item's text into the edit, selected.
#include "Platform/Controls/ComboLayout.h"
#include "Platform/Controls/ComboStyles.h"
#include "Platform/Controls/ListControlStyles.h"
#include "Platform/Controls/ControlWindow.h"

#include <string>

namespace ZELL::Controls {

class CComboBoxControl : public CControlWindow {
public:
    explicit CComboBoxControl(HWND hwnd) : CControlWindow(hwnd) {}

protected:
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void Paint(HDC dc) override;

private:
    enum class Close { Accept, Cancel, Quiet };  // Quiet: CB_SHOWDROPDOWN, CBN_CLOSEUP only

    // --- messages, by kind ------------------------------------------------------
    LRESULT OnWindowMessage(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnInputMessage(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnItemMessage(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnDropDownMessage(UINT message, WPARAM wParam, LPARAM lParam);

    // --- set-up and size -------------------------------------------------------
    LRESULT OnCreate(const CREATESTRUCTW& create);
    DWORD ListStyle() const;
    void TakeScrollBarsForTheList(DWORD style);
    bool Simple() const { return (Style() & CBS_TYPEMASK) == CBS_SIMPLE; }
    // The frame, button and field: the top of a simple combo, else all of it.
    CComboLayout Layout() const;
    bool OwnerDraw() const { return (Style() & (CBS_OWNERDRAWFIXED | CBS_OWNERDRAWVARIABLE)) != 0; }
    bool HasStrings() const { return !OwnerDraw() || (Style() & CBS_HASSTRINGS) != 0; }
    int FontHeight() const;
    int MeasureField() const;
    void FitToField();
    void OnSize();
    LRESULT SetItemHeight(WPARAM index, LPARAM height);
    void OnSetFont(WPARAM wParam, LPARAM lParam);

    // --- items -------------------------------------------------------------------
    LRESULT ToList(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
    LRESULT AddString(UINT listMessage, WPARAM index, LPARAM text);
    LRESULT SetCurSel(WPARAM index);
    int CurSel() const { return static_cast<int>(ToList(LB_GETCURSEL)); }
    std::wstring ItemText(int index) const;
    LRESULT TextMessage(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT GetText(WPARAM size, LPARAM buffer) const;
    LRESULT SetText(LPARAM text);

    // --- the drop-down list ------------------------------------------------------
    void DropDown(bool buttonDown);
    void CloseUp(Close how);
    RECT DroppedRect() const;
    SIZE ListSize() const;
    int DroppedWidth() const;
    LRESULT FromList(WPARAM wParam, LPARAM lParam);
    LRESULT ComboInfo(LPARAM info) const;

    // --- input -------------------------------------------------------------------
    void OnButtonDown(POINT p);
    void OnKeyDown(WPARAM key);
    bool OnSysKeyDown(WPARAM key, LPARAM lParam);
    void SelectByKey(WPARAM key);
    void OnFocus(bool focused);

    // --- the edit field of CBS_DROPDOWN (ComboBoxEdit.cpp) ---------------------------
    bool HasEdit() const { return m_edit != nullptr; }
    bool CreateEdit();
    void PlaceEdit() const;
    // The list of a simple combo: a child under the edit, always shown.
    HWND CreateSimpleList();
    void PlaceList() const;
    // The edit's keys that belong to the combo go there first.
    static LRESULT EditProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT FromEdit(WPARAM wParam);
    void ShowInEdit(int index);
    void SetEditText(const std::wstring& text);
    std::wstring EditText() const;
    LRESULT EditMessage(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT ForwardEditColor(UINT message, WPARAM dc, LPARAM edit);
    // From the edit: it is losing the focus to wParam.
    static constexpr UINT kEditLostFocus = WM_USER + 0x120;
    void OnEditLostFocus(HWND newFocus);

    // --- owner draw and colours, as the parent sees them ---------------------------
    LRESULT ForwardItemMessage(UINT message, WPARAM wParam, LPARAM lParam) const;
    LRESULT ForwardListColor(WPARAM dc, LPARAM list) const;
    void PaintField(HDC dc, const RECT& field);
    void DrawFieldItem(HDC dc, const RECT& field) const;
    bool CanDraw() const { return m_redraw && IsWindowVisible(Hwnd()) != FALSE; }
    void RedrawField() const
    {
        if (CanDraw())
            Redraw();
    }

    HWND m_list = nullptr;
    HWND m_edit = nullptr;
    std::wstring m_savedText;  // the edit's text when the list dropped
    bool m_settingText = false;  // the combo itself fills the edit: no CBN_EDITCHANGE
    DWORD m_listBars = 0;   // the scroll-bar styles the combo was made with, which its list takes
    int m_fullHeight = 0;   // the height the combo was made with: down to the list's bottom
    int m_fieldHeight = 0;  // of the selection field's item
    int m_droppedWidth = 0;
    int m_savedSel = -1;    // the selection when the list dropped, for a cancel
    bool m_dropped = false;
    bool m_focused = false;
    bool m_redraw = true;
    bool m_extendedUi = false;
    bool m_sizing = false;
};

}
