#pragma once
// The text of a masked edit and how typing, clearing and pasting change it.
// In the mask "#" marks a place for an allowed character; every other
// character is a literal that the edit writes itself. Address rules add
// what an IP address needs: a "." ends a group (padding it with zeros in
// front) and a group above 255 becomes 255.
#include "Platform/Base/CString.h"

#include <vector>

namespace ZELL::Grid {

class CMaskedInput {
public:
    CMaskedInput(LPCWSTR mask, LPCWSTR allowed, bool addressRules);

    // Refused unless 2 to 254 characters with at least one "#"; clears the text.
    bool SetMask(LPCWSTR mask);
    const CString& GetMask() const { return m_mask; }
    // Ignored when empty; else replaces the set and clears the text.
    bool SetAllowed(LPCWSTR allowed);

    void SetText(LPCWSTR text);
    const CString& GetText() const { return m_text; }
    // The selection [start, end) in characters; clamped to the text.
    void Select(int start, int end);
    int GetSelStart() const { return m_selStart; }
    int GetSelEnd() const { return m_selEnd; }

    // One typed character (Backspace included); the caret ends behind it.
    void Type(wchar_t ch);
    // Delete, cut and clear: the selection becomes zeros and literals, or
    // goes when it reaches the end of the text.
    void Clear();
    void Paste(const CString& text);

private:
    bool IsAllowed(wchar_t ch) const;
    bool IsPlace(int position) const { return position < m_mask.GetLength() && m_mask[position] == L'#'; }
    void Write(int position, wchar_t ch);
    void Backspace();
    void TypeDot();
    void ClampGroup(int position);
    void MoveCaret(int position);
    void PasteFilling(const CString& text);

    CString m_mask;
    std::vector<wchar_t> m_allowed;
    bool m_addressRules = false;
    CString m_text;
    int m_selStart = 0;
    int m_selEnd = 0;
};

}  // namespace ZELL::Grid
