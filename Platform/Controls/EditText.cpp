#include "Platform/Controls/EditText.h"

#include <algorithm>
#include <cwctype>

namespace ZELL::Controls {

int CEditText::Clamp(int index) const
{
    return std::clamp(index, 0, Length());
}

void CEditText::Replace(int start, int end, const std::wstring& with)
{
    start = Clamp(start);
    end = Clamp(end);
    if (start > end)
        std::swap(start, end);
    m_text.replace(static_cast<std::size_t>(start), static_cast<std::size_t>(end - start), with);
}

std::wstring CEditText::Range(int start, int end) const
{
    start = Clamp(start);
    end = Clamp(end);
    if (start > end)
        std::swap(start, end);
    return m_text.substr(static_cast<std::size_t>(start), static_cast<std::size_t>(end - start));
}

CEditText::Kind CEditText::KindAt(int index) const
{
    const wchar_t c = m_text[static_cast<std::size_t>(index)];
    if (std::iswspace(static_cast<wint_t>(c)) != 0)
        return Kind::Space;
    // Letters of every script (and anything outside ASCII the C library does
    // not classify) belong to words; ASCII punctuation stands apart.
    if (c < 0x80 && std::iswpunct(static_cast<wint_t>(c)) != 0)
        return Kind::Punctuation;
    return Kind::Word;
}

int CEditText::WordRight(int index) const
{
    int i = Clamp(index);
    const int length = Length();
    if (i < length && KindAt(i) != Kind::Space) {
        const Kind kind = KindAt(i);
        while (i < length && KindAt(i) == kind)
            ++i;
    }
    while (i < length && KindAt(i) == Kind::Space)
        ++i;
    return i;
}

int CEditText::WordLeft(int index) const
{
    int i = Clamp(index);
    while (i > 0 && KindAt(i - 1) == Kind::Space)
        --i;
    if (i > 0) {
        const Kind kind = KindAt(i - 1);
        while (i > 0 && KindAt(i - 1) == kind)
            --i;
    }
    return i;
}

void CEditText::WordAt(int index, int& start, int& end) const
{
    start = end = Clamp(index);
    if (Length() == 0)
        return;
    // At the end of the text (or of a run), the run before the point counts.
    const int probe = start < Length() ? start : start - 1;
    const Kind kind = KindAt(probe);
    start = probe;
    end = probe;
    while (start > 0 && KindAt(start - 1) == kind)
        --start;
    while (end < Length() && KindAt(end) == kind)
        ++end;
}

}
