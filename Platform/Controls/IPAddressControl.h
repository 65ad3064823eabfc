#pragma once
// The "SysIPAddress32" class: four number fields of 0..255 (or of a range per
// field) drawn with dots between them, typed into with a caret. A field ends
// after three digits or a dot and the next one takes the typing; a value out
// of its field's range is pulled back to the nearest end with a notice. The
// parent hears IPN_FIELDCHANGED as a field is left and EN_CHANGE,
// EN_SETFOCUS and EN_KILLFOCUS as from an edit control.
#include "Platform/Controls/ControlWindow.h"
#include "Platform/Controls/IPAddressStyles.h"

#include <array>
#include <optional>
#include <string>

namespace ZELL::Controls {

class CIPAddressControl : public CControlWindow {
public:
    static constexpr int kFields = 4;

    explicit CIPAddressControl(HWND hwnd) : CControlWindow(hwnd) {}

protected:
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void Paint(HDC dc) override;

private:
    struct Field {
        std::wstring digits;
        BYTE low = 0;
        BYTE high = 255;
    };

    void OnSetFocus();
    void OnKillFocus();
    void OnKey(WPARAM key);
    void OnChar(wchar_t ch);
    void OnClick(POINT point);
    void TypeDigit(wchar_t digit);
    void Backspace();
    void MoveLeft();
    void MoveRight();
    // Leaves the current field for `field` with the caret at `caret`
    // (npos: the end) and the field's text selected when `select` is set.
    void EnterField(int field, std::size_t caret, bool select);
    // Checks the range of the field being left and tells the parent.
    void LeaveField();
    void ClampToRange(int field);
    void NotifyFieldChanged(int field);
    void Changed();
    void Paste();
    bool SetFromText(const std::wstring& text);
    LRESULT SetAddress(DWORD address);
    LRESULT GetAddress(DWORD* address) const;
    void Clear();
    LRESULT SetRange(WPARAM field, LPARAM range);
    void FocusField(WPARAM field);
    std::wstring Dotted() const;

    std::optional<int> ValueOf(int field) const;
    RECT FieldRect(int field) const;
    int FieldAt(POINT point) const;
    void PlaceCaret();

    std::array<Field, kFields> m_fields{};
    int m_current = 0;
    std::size_t m_caret = 0;
    bool m_selected = false;  // the current field's text is selected: typing replaces it
    bool m_hasCaret = false;
    bool m_inNotice = false;  // the out-of-range notice is up
};

}
