#include "Common/Grid/MaskedInput.h"

#include <algorithm>
#include <cwctype>

namespace ZELL::Grid {

namespace {

constexpr int kMinMask = 2;
constexpr int kMaxMask = 254;

wchar_t Upper(wchar_t ch)
{
    return static_cast<wchar_t>(std::towupper(static_cast<wint_t>(ch)));
}

}

CMaskedInput::CMaskedInput(LPCWSTR mask, LPCWSTR allowed, bool addressRules) : m_addressRules(addressRules)
{
    SetMask(mask);
    SetAllowed(allowed);
}

bool CMaskedInput::SetMask(LPCWSTR mask)
{
    const CString candidate(mask != nullptr ? mask : L"");
    if (candidate.GetLength() < kMinMask || candidate.GetLength() > kMaxMask || candidate.Find(L'#') < 0)
        return false;
    m_mask = candidate;
    SetText(L"");
    return true;
}

bool CMaskedInput::SetAllowed(LPCWSTR allowed)
{
    if (allowed == nullptr || *allowed == L'\0')
        return false;
    m_allowed.assign(allowed, allowed + std::char_traits<wchar_t>::length(allowed));
    SetText(L"");
    return true;
}

void CMaskedInput::SetText(LPCWSTR text)
{
    m_text = text != nullptr ? text : L"";
    if (m_text.GetLength() > m_mask.GetLength())
        m_text = m_text.Left(m_mask.GetLength());
    MoveCaret(std::min(m_selStart, m_text.GetLength()));
}

void CMaskedInput::Select(int start, int end)
{
    const int length = m_text.GetLength();
    m_selStart = std::clamp(start, 0, length);
    m_selEnd = std::clamp(end < 0 ? length : end, m_selStart, length);
}

void CMaskedInput::MoveCaret(int position)
{
    m_selStart = m_selEnd = std::clamp(position, 0, m_text.GetLength());
}

bool CMaskedInput::IsAllowed(wchar_t ch) const
{
    return std::find(m_allowed.begin(), m_allowed.end(), ch) != m_allowed.end();
}

void CMaskedInput::Write(int position, wchar_t ch)
{
    if (position < m_text.GetLength())
        m_text.SetAt(position, ch);
    else if (position == m_text.GetLength() && position < m_mask.GetLength())
        m_text += ch;
}

void CMaskedInput::Backspace()
{
    const int length = m_text.GetLength();
    if (m_selEnd >= length) {
        if (m_selStart < m_selEnd) {
            m_text.Delete(m_selStart, m_selEnd - m_selStart);
            MoveCaret(m_selStart);
        } else if (m_selStart > 0) {
            m_text.Delete(m_selStart - 1, 1);
            MoveCaret(m_selStart - 1);
        }
        return;
    }
    int from = m_selStart;
    int to = m_selEnd;
    if (from == to) {
        // Nothing before the first character to take away.
        if (from == 0)
            return;
        --from;
    }
    for (int position = from; position < to; ++position)
        if (IsPlace(position))
            Write(position, L'0');
    MoveCaret(from);
}

void CMaskedInput::ClampGroup(int position)
{
    if (position < 2 || (position - 2) % 4 != 0 || position >= m_text.GetLength())
        return;
    const CString group = m_text.Mid(position - 2, 3);
    int value = 0;
    for (int i = 0; i < group.GetLength(); ++i) {
        if (!std::iswdigit(static_cast<wint_t>(group[i])))
            return;
        value = value * 10 + (group[i] - L'0');
    }
    static constexpr wchar_t kHighest[] = L"255";
    if (value >= 256)
        for (int i = 0; i < 3; ++i)
            m_text.SetAt(position - 2 + i, kHighest[i]);
}

void CMaskedInput::TypeDot()
{
    int caret = m_selStart;
    int groupStart = caret;
    while (groupStart > 0 && IsPlace(groupStart - 1))
        --groupStart;
    int places = 0;
    for (int position = caret; IsPlace(position); ++position)
        ++places;
    if (places > 0 && caret <= m_text.GetLength()) {
        m_text.Insert(groupStart, CString(L'0', places));
        caret += places;
    }
    if (caret < m_text.GetLength() && m_text[caret] != L'.') {
        m_text.SetAt(caret, L'.');
        m_text.Delete(caret + 1, places);
    } else if (caret >= m_text.GetLength()) {
        m_text += L'.';
    }
    if (m_text.GetLength() > m_mask.GetLength())
        m_text = m_text.Left(m_mask.GetLength());
    MoveCaret(caret + 1);
}

void CMaskedInput::Type(wchar_t typed)
{
    const wchar_t ch = Upper(typed);
    if (ch == L'\b') {
        Backspace();
        return;
    }
    int caret = std::min(m_selStart, m_text.GetLength());
    if (m_addressRules && ch == L'.' && IsAllowed(ch)) {
        TypeDot();
        return;
    }
    if (!IsAllowed(ch)) {
        if (caret < m_mask.GetLength() && !IsPlace(caret) && m_mask[caret] == ch) {
            Write(caret, ch);
            MoveCaret(caret + 1);
        }
        return;
    }
    if (caret >= m_mask.GetLength())
        return;
    if (!IsPlace(caret)) {
        Write(caret, m_mask[caret]);
        ++caret;
    }
    if (IsPlace(caret)) {
        Write(caret, ch);
        if (m_addressRules)
            ClampGroup(caret);
        ++caret;
    }
    MoveCaret(caret);
}

void CMaskedInput::Clear()
{
    if (m_selStart >= m_selEnd)
        return;
    if (m_selEnd >= m_text.GetLength()) {
        m_text.Delete(m_selStart, m_selEnd - m_selStart);
        MoveCaret(m_selStart);
        return;
    }
    for (int position = m_selStart; position < m_selEnd; ++position)
        Write(position, IsPlace(position) ? L'0' : m_mask[position]);
}

void CMaskedInput::PasteFilling(const CString& text)
{
    const bool whole = m_selStart == 0 && m_selEnd >= m_text.GetLength();
    int position = m_selStart;
    int limit = m_selStart < m_selEnd ? m_selEnd : m_mask.GetLength();
    if (whole || m_text.GetLength() < text.GetLength()) {
        m_text.Empty();
        position = 0;
        limit = m_mask.GetLength();
    }
    int next = 0;
    while (next < text.GetLength() && position < limit && position <= m_text.GetLength()) {
        if (!IsPlace(position)) {
            // A literal stays; the pasted copy of it is taken up.
            Write(position, m_mask[position]);
            if (text[next] == m_mask[position])
                ++next;
        } else {
            const wchar_t ch = Upper(text[next++]);
            Write(position, IsAllowed(ch) ? ch : L'0');
        }
        ++position;
    }
    MoveCaret(position);
}

void CMaskedInput::Paste(const CString& text)
{
    if (!m_addressRules) {
        PasteFilling(text);
        return;
    }
    // Address text goes in as typed, so that its dots end their groups.
    if ((m_selStart == 0 && m_selEnd >= m_text.GetLength()) || m_text.GetLength() < text.GetLength())
        SetText(L"");
    for (int i = 0; i < text.GetLength() && m_selStart < m_mask.GetLength(); ++i)
        Type(text[i] == L'\b' ? L'0' : text[i]);
}

}  // namespace ZELL::Grid
