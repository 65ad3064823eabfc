#pragma once
// CStringT on std::basic_string: `CString` holds wide text, `CStringA` narrow
// (UTF-8) text; each converts to the other through UTF-8. Positions and counts
// are ints and out-of-range ones are clamped as the framework clamps them, so
// no argument can read or write outside the text.

#include "Platform/Base/Format.h"
#include "Platform/Base/Types.h"

#include <string>
#include <type_traits>

template<typename CharT>
class CStringT {
public:
    using XCHAR = CharT;
    using PXSTR = CharT*;
    using PCXSTR = const CharT*;
    using YCHAR = std::conditional_t<std::is_same_v<CharT, wchar_t>, char, wchar_t>;
    using PCYSTR = const YCHAR*;
    using StringType = std::basic_string<CharT>;

    CStringT() = default;
    CStringT(PCXSTR text);
    CStringT(PCYSTR text);
    CStringT(PCXSTR text, int length);
    CStringT(XCHAR ch, int repeat = 1);
    CStringT(StringType text) : m_text(std::move(text)) {}
    CStringT(const CStringT<YCHAR>& other);

    CStringT& operator=(PCXSTR text);
    CStringT& operator=(PCYSTR text);
    CStringT& operator=(XCHAR ch);
    CStringT& operator=(const CStringT<YCHAR>& other);

    int GetLength() const { return static_cast<int>(m_text.size()); }
    bool IsEmpty() const { return m_text.empty(); }
    void Empty() { m_text.clear(); }
    PCXSTR GetString() const { return m_text.c_str(); }
    operator PCXSTR() const { return m_text.c_str(); }
    const StringType& str() const { return m_text; }

    // Out of range: GetAt gives NUL and SetAt does nothing.
    XCHAR GetAt(int index) const;
    void SetAt(int index, XCHAR ch);
    XCHAR operator[](int index) const { return GetAt(index); }

    CStringT Left(int count) const;
    CStringT Right(int count) const;
    CStringT Mid(int first) const;
    CStringT Mid(int first, int count) const;
    CStringT SpanIncluding(PCXSTR charSet) const;
    CStringT SpanExcluding(PCXSTR charSet) const;
    // The next token after `start`, skipping leading delimiters; `start` is set
    // past it, or to -1 (with an empty result) when no token is left.
    CStringT Tokenize(PCXSTR tokens, int& start) const;

    int Find(XCHAR ch, int start = 0) const;
    int Find(PCXSTR sub, int start = 0) const;
    int ReverseFind(XCHAR ch) const;
    int FindOneOf(PCXSTR charSet) const;

    int Replace(XCHAR oldChar, XCHAR newChar);
    // Left to right without overlap, each search resuming after the inserted text.
    int Replace(PCXSTR oldText, PCXSTR newText);
    int Remove(XCHAR ch);
    int Insert(int index, XCHAR ch);
    int Insert(int index, PCXSTR text);
    int Delete(int index, int count = 1);

    CStringT& MakeUpper();
    CStringT& MakeLower();
    CStringT& MakeReverse();

    // Without an argument the blanks " \t\n\v\f\r" are trimmed.
    CStringT& Trim();
    CStringT& Trim(XCHAR target);
    CStringT& Trim(PCXSTR targets);
    CStringT& TrimLeft();
    CStringT& TrimLeft(XCHAR target);
    CStringT& TrimLeft(PCXSTR targets);
    CStringT& TrimRight();
    CStringT& TrimRight(XCHAR target);
    CStringT& TrimRight(PCXSTR targets);

    int Compare(PCXSTR other) const;
    int CompareNoCase(PCXSTR other) const;
    int Collate(PCXSTR other) const;

    // The buffer holds at least `minLength` characters plus the terminator; the
    // length is settled by ReleaseBuffer (-1: up to the first NUL).
    PXSTR GetBuffer() { return m_text.data(); }
    PXSTR GetBuffer(int minLength);
    PXSTR GetBufferSetLength(int length);
    void ReleaseBuffer(int newLength = -1);

    template<typename... Args>
    void Format(PCXSTR format, const Args&... args)
    {
        m_text = Text::Format(format, args...);
    }

    template<typename... Args>
    void AppendFormat(PCXSTR format, const Args&... args)
    {
        m_text += Text::Format(format, args...);
    }

    CStringT& operator+=(const CStringT& other) { m_text += other.m_text; return *this; }
    CStringT& operator+=(PCXSTR text);
    CStringT& operator+=(PCYSTR text);
    CStringT& operator+=(XCHAR ch) { m_text += ch; return *this; }

    friend CStringT operator+(const CStringT& a, const CStringT& b) { return CStringT(a.m_text + b.m_text); }
    friend CStringT operator+(const CStringT& a, PCXSTR b) { CStringT r(a); r += b; return r; }
    friend CStringT operator+(PCXSTR a, const CStringT& b) { CStringT r(a); r += b; return r; }
    friend CStringT operator+(const CStringT& a, XCHAR b) { CStringT r(a); r += b; return r; }
    friend CStringT operator+(XCHAR a, const CStringT& b) { CStringT r(a); r += b; return r; }

    friend bool operator==(const CStringT& a, const CStringT& b) { return a.m_text == b.m_text; }
    friend bool operator==(const CStringT& a, PCXSTR b) { return a.Compare(b) == 0; }
    friend bool operator==(PCXSTR a, const CStringT& b) { return b.Compare(a) == 0; }
    friend bool operator==(const CStringT& a, XCHAR b) { return a.m_text.size() == 1 && a.m_text[0] == b; }
    friend bool operator==(XCHAR a, const CStringT& b) { return b == a; }
    friend bool operator!=(const CStringT& a, const CStringT& b) { return !(a == b); }
    friend bool operator!=(const CStringT& a, PCXSTR b) { return !(a == b); }
    friend bool operator!=(PCXSTR a, const CStringT& b) { return !(b == a); }
    friend bool operator!=(const CStringT& a, XCHAR b) { return !(a == b); }
    friend bool operator!=(XCHAR a, const CStringT& b) { return !(b == a); }
    friend bool operator<(const CStringT& a, const CStringT& b) { return a.m_text < b.m_text; }
    friend bool operator<(const CStringT& a, PCXSTR b) { return a.Compare(b) < 0; }
    friend bool operator<(PCXSTR a, const CStringT& b) { return b.Compare(a) > 0; }
    friend bool operator>(const CStringT& a, const CStringT& b) { return b < a; }
    friend bool operator>(const CStringT& a, PCXSTR b) { return a.Compare(b) > 0; }
    friend bool operator>(PCXSTR a, const CStringT& b) { return b.Compare(a) < 0; }
    friend bool operator<=(const CStringT& a, const CStringT& b) { return !(b < a); }
    friend bool operator<=(const CStringT& a, PCXSTR b) { return a.Compare(b) <= 0; }
    friend bool operator<=(PCXSTR a, const CStringT& b) { return b.Compare(a) >= 0; }
    friend bool operator>=(const CStringT& a, const CStringT& b) { return !(a < b); }
    friend bool operator>=(const CStringT& a, PCXSTR b) { return a.Compare(b) >= 0; }
    friend bool operator>=(PCXSTR a, const CStringT& b) { return b.Compare(a) <= 0; }

private:
    StringType m_text;
};

extern template class CStringT<wchar_t>;
extern template class CStringT<char>;

using CString = CStringT<wchar_t>;
using CStringW = CStringT<wchar_t>;
using CStringA = CStringT<char>;
