#pragma once
// The "Edit" class: a single-line or multi-line text field with caret,
// selection by mouse and keyboard, one level of undo, the clipboard, and
// the platform's EM_ messages and EN_ notifications. A multi-line edit
// wraps its lines unless it scrolls sideways (ES_AUTOHSCROLL or
// WS_HSCROLL) and drives the window's own scroll bars. The context menu is
// not offered: WM_CONTEXTMENU goes to DefWindowProc.
#include "Platform/Controls/ControlWindow.h"
#include "Platform/Controls/EditLayout.h"
#include "Platform/Controls/EditStyles.h"
#include "Platform/Controls/EditText.h"
#include "Platform/Controls/EditUndo.h"

#include <string>
#include <utility>
#include <vector>

namespace ZELL::Controls {

class CEditControl : public CControlWindow {
public:
    using CControlWindow::CControlWindow;

    // The classic limit that a new edit starts with, and the largest one.
    static constexpr int kDefaultLimit = 30000;
    static constexpr int kMaxLimit = 0x7FFFFFFE;
    // Dialog units between the tab stops of a multi-line edit that sets none.
    static constexpr int kDefaultTabStop = 32;
    static constexpr WPARAM kMaxTabStops = 1024;

protected:
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void Paint(HDC dc) override;

private:
    // --- styles --------------------------------------------------------------
    bool Multiline() const { return (Style() & ES_MULTILINE) != 0; }
    bool ReadOnly() const { return (Style() & ES_READONLY) != 0; }
    bool Password() const { return !Multiline() && m_passwordChar != 0 && (Style() & ES_PASSWORD) != 0; }
    bool Wraps() const { return Multiline() && (Style() & (ES_AUTOHSCROLL | WS_HSCROLL)) == 0; }
    bool ScrollsSideways() const { return !Wraps(); }

    // --- messages (EditControl.cpp) -----------------------------------------------
    LRESULT OnEditMessage(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnWindowMessage(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT DialogCode(LPARAM msg) const;
    // False (with EN_ERRSPACE) when the text cannot be held.
    bool SetText(LPCWSTR text, bool notify);
    LRESULT GetText(WPARAM size, LPARAM buffer) const;
    LRESULT GetSel(WPARAM start, LPARAM end) const;
    void SetSel(int start, int end);
    LRESULT GetLine(WPARAM line, LPARAM buffer) const;
    LRESULT LineIndex(int line) const;
    LRESULT LineLength(int index) const;
    LRESULT LineFromChar(int index) const;
    LRESULT PosFromChar(int index) const;
    LRESULT CharFromPos(LPARAM point) const;
    void SetLimit(WPARAM limit);
    bool SetTabStops(WPARAM count, const int* stops);
    // The stops in pixels of the current font, for the layout.
    void ApplyTabStops();
    void SetMargins(WPARAM which, LPARAM margins);
    void SetRect(const RECT* rect, bool redraw);

    // --- editing (EditControlEditing.cpp) ------------------------------------------
    void Change(int start, int end, const std::wstring& inserted, bool canUndo, bool typed);
    // Puts user text in place of the selection within the limit (EN_MAXTEXT
    // when it had to be cut); false when nothing changed.
    bool InsertByUser(std::wstring text, bool typed, bool canUndo = true);
    std::wstring Converted(std::wstring text) const;
    void OnChar(wchar_t c);
    void TypeCharacter(wchar_t c);
    void DeleteBack();
    void DeleteForward();
    void Undo();
    bool Copy() const;
    void Cut();
    void Paste();
    // The pointer's selection (X11's PRIMARY): what the user selects is offered
    // there, and a middle click pastes it where it points, as X11 programs do.
    using SelectionMark = std::pair<int, int>;
    SelectionMark MarkSelection() const { return {m_anchor, m_caret}; }
    void OfferSelectionIfChanged(SelectionMark before) const;
    void OfferSelection() const;
    void PasteAt(LPARAM point);
    void Clear();

    // --- caret and keys (EditControlInput.cpp) ---------------------------------------
    void OnKeyDown(WPARAM key);
    int StepLeft(int index) const;
    int StepRight(int index) const;
    int VerticalTarget(int lines) const;
    void MoveCaret(int index, bool extend, bool keepGoal = false);
    void OnButtonDown(LPARAM point, WPARAM keys);
    void OnMouseMove(LPARAM point);
    void OnDoubleClick(LPARAM point);
    void OnDragTimer();
    void EndDrag();
    void OnFocus(bool focused);

    // --- view (EditControlView.cpp) -----------------------------------------------------
    // The text as drawn (password characters for a password), kept by Relayout.
    const std::wstring& Shown() const { return m_shown; }
    RECT FormatRect() const;
    int VisibleLines() const;
    int FormatWidth() const;
    // Whether the text `next` stays within what the edit shows, where it does not scroll.
    bool Fits(const std::wstring& next) const;
    void Relayout(bool redraw = true);
    void Measure();
    POINT PositionOf(int index) const;
    int IndexAt(POINT p) const;
    int AlignOffset(const EditLine& line) const;
    void ScrollToCaret();
    void SetTop(int line);
    void SetXOffset(int x);
    void UpdateScrollBars();
    void UpdateCaret() const;
    void OnScroll(int bar, WORD code);
    void PaintLine(HDC dc, int line, COLORREF text) const;
    // The characters [from, to) of a line, each tab-free run at its place.
    void DrawRun(HDC dc, POINT origin, const EditLine& line, int from, int to) const;

    CEditText m_text;
    std::wstring m_shown;
    CEditLayout m_layout;
    CEditUndo m_undo;
    int m_anchor = 0;
    int m_caret = 0;
    int m_goalX = -1;       // where Up and Down aim, in text pixels
    int m_limit = kDefaultLimit;
    bool m_modified = false;
    wchar_t m_passwordChar = L'*';
    std::vector<int> m_tabStops;  // in dialog units
    int m_tabEvery = kDefaultTabStop;
    int m_leftMargin = 2;
    int m_rightMargin = 2;
    bool m_customRect = false;
    RECT m_rect{};          // the formatting rectangle set by EM_SETRECT
    int m_top = 0;          // the first visible line
    int m_xOffset = 0;      // pixels scrolled to the left
    int m_lineHeight = 13;
    int m_charWidth = 6;
    int m_textWidth = 0;    // the widest line
    bool m_focused = false;
    bool m_dragging = false;
    POINT m_dragPoint{};
};

}
