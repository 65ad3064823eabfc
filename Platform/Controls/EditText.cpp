#include "Platform/Controls/EditText.h"

#include <atomic>
#include <new>
#include <stdexcept>

#include <algorithm>
#include <cwctype>

namespace ZELL::Controls {

int CEditText::Clamp(int index) const
{
    return std::clamp(index, 0, Length());
}

namespace {

std::atomic<std::size_t> g_allocationCeiling{0};

// The new text is built aside, so a failure leaves the old one whole.
bool Allocate(std::wstring& next, std::size_t size)
{
    const std::size_t ceiling = g_allocationCeiling.load();
    if (ceiling != 0 && size > ceiling)
        return false;
    try {
        next.reserve(size);
        return true;
    } catch (const std::bad_alloc&) {
        return false;
    } catch (const std::length_error&) {
        return false;
    }
}

}

void CEditText::SetAllocationCeilingForTests(std::size_t characters)
{
    g_allocationCeiling.store(characters);
}

bool CEditText::Assign(const std::wstring& text)
{
    std::wstring next;
    if (!Allocate(next, text.size()))
        return false;
    next = text;
    m_text.swap(next);
    return true;
}

bool CEditText::Replace(int start, int end, const std::wstring& with)
{
    start = Clamp(start);
    end = Clamp(end);
    if (start > end)
        std::swap(start, end);
    std::wstring next;
    if (!Allocate(next, m_text.size() - static_cast<std::size_t>(end - start) + with.size()))
        return false;
    next.append(m_text, 0, static_cast<std::size_t>(start)).append(with).append(m_text, static_cast<std::size_t>(end));
    m_text.swap(next);
    return true;
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
