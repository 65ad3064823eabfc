#include "Platform/Base/CString.h"
#include "Platform/Base/TextConversion.h"
#include "Platform/Base/WideRuntime.h"

#include <algorithm>
#include <cstring>
#include <cwchar>

namespace {

template<typename CharT>
std::basic_string_view<CharT> ViewOf(const CharT* text)
{
    return text ? std::basic_string_view<CharT>(text) : std::basic_string_view<CharT>();
}

// Narrow text is UTF-8; converting the other width always goes through it.
std::wstring Convert(std::string_view text, wchar_t*)
{
    return Text::Utf8ToWide(text);
}

std::string Convert(std::wstring_view text, char*)
{
    return Text::WideToUtf8(text);
}

template<typename CharT, typename OtherT>
std::basic_string<CharT> ConvertFrom(std::basic_string_view<OtherT> text)
{
    return Convert(text, static_cast<CharT*>(nullptr));
}

template<typename CharT>
constexpr const CharT* kBlanks = nullptr;
template<>
constexpr const wchar_t* kBlanks<wchar_t> = L" \t\n\v\f\r";
template<>
constexpr const char* kBlanks<char> = " \t\n\v\f\r";

template<typename CharT>
bool Contains(std::basic_string_view<CharT> set, CharT ch)
{
    return set.find(ch) != std::basic_string_view<CharT>::npos;
}

// Case mapping of narrow text goes through the characters when the text is
// UTF-8, so that letters beyond ASCII change too; other bytes stay as they are.
template<typename Map>
void MapCase(std::wstring& text, Map map)
{
    for (wchar_t& ch : text)
        ch = map(ch);
}

template<typename Map>
void MapCase(std::string& text, Map map)
{
    const std::wstring wide = Text::Utf8ToWide(text);
    if (Text::WideToUtf8(wide) == text) {
        std::wstring mapped = wide;
        MapCase(mapped, map);
        text = Text::WideToUtf8(mapped);
        return;
    }
    for (char& ch : text) {
        if (static_cast<unsigned char>(ch) < 0x80)
            ch = static_cast<char>(map(static_cast<wchar_t>(ch)));
    }
}

int Sign(int value)
{
    return value < 0 ? -1 : (value > 0 ? 1 : 0);
}

int CollateTexts(const wchar_t* a, const wchar_t* b)
{
    return std::wcscoll(a, b);
}

int CollateTexts(const char* a, const char* b)
{
    return std::strcoll(a, b);
}

int CompareNoCaseTexts(const wchar_t* a, const wchar_t* b)
{
    return _wcsicmp(a, b);
}

int CompareNoCaseTexts(const char* a, const char* b)
{
    return _stricmp(a, b);
}

}

template<typename CharT>
CStringT<CharT>::CStringT(PCXSTR text) : m_text(ViewOf(text))
{
}

template<typename CharT>
CStringT<CharT>::CStringT(PCYSTR text) : m_text(ConvertFrom<CharT>(ViewOf(text)))
{
}

template<typename CharT>
CStringT<CharT>::CStringT(PCXSTR text, int length)
{
    if (text && length > 0)
        m_text.assign(text, static_cast<std::size_t>(length));
}

template<typename CharT>
CStringT<CharT>::CStringT(XCHAR ch, int repeat)
{
    if (repeat > 0)
        m_text.assign(static_cast<std::size_t>(repeat), ch);
}

template<typename CharT>
CStringT<CharT>::CStringT(const CStringT<YCHAR>& other) : m_text(ConvertFrom<CharT>(std::basic_string_view<YCHAR>(other.str())))
{
}

template<typename CharT>
CStringT<CharT>& CStringT<CharT>::operator=(PCXSTR text)
{
    // The source may point into this string.
    m_text = StringType(ViewOf(text));
    return *this;
}

template<typename CharT>
CStringT<CharT>& CStringT<CharT>::operator=(PCYSTR text)
{
    m_text = ConvertFrom<CharT>(ViewOf(text));
    return *this;
}

template<typename CharT>
CStringT<CharT>& CStringT<CharT>::operator=(XCHAR ch)
{
    m_text.assign(1, ch);
    return *this;
}

template<typename CharT>
CStringT<CharT>& CStringT<CharT>::operator=(const CStringT<YCHAR>& other)
{
    m_text = ConvertFrom<CharT>(std::basic_string_view<YCHAR>(other.str()));
    return *this;
}

template<typename CharT>
CStringT<CharT>& CStringT<CharT>::operator+=(PCXSTR text)
{
    m_text += StringType(ViewOf(text));
    return *this;
}

template<typename CharT>
CStringT<CharT>& CStringT<CharT>::operator+=(PCYSTR text)
{
    m_text += ConvertFrom<CharT>(ViewOf(text));
    return *this;
}

template<typename CharT>
CharT CStringT<CharT>::GetAt(int index) const
{
    if (index < 0 || index >= GetLength())
        return CharT();
    return m_text[static_cast<std::size_t>(index)];
}

template<typename CharT>
void CStringT<CharT>::SetAt(int index, XCHAR ch)
{
    if (index >= 0 && index < GetLength())
        m_text[static_cast<std::size_t>(index)] = ch;
}

template<typename CharT>
CStringT<CharT> CStringT<CharT>::Left(int count) const
{
    count = std::clamp(count, 0, GetLength());
    return CStringT(m_text.substr(0, static_cast<std::size_t>(count)));
}

template<typename CharT>
CStringT<CharT> CStringT<CharT>::Right(int count) const
{
    count = std::clamp(count, 0, GetLength());
    return CStringT(m_text.substr(m_text.size() - static_cast<std::size_t>(count)));
}

template<typename CharT>
CStringT<CharT> CStringT<CharT>::Mid(int first) const
{
    return Mid(first, GetLength());
}

template<typename CharT>
CStringT<CharT> CStringT<CharT>::Mid(int first, int count) const
{
    first = std::clamp(first, 0, GetLength());
    count = std::clamp(count, 0, GetLength() - first);
    return CStringT(m_text.substr(static_cast<std::size_t>(first), static_cast<std::size_t>(count)));
}

template<typename CharT>
CStringT<CharT> CStringT<CharT>::SpanIncluding(PCXSTR charSet) const
{
    const auto set = ViewOf(charSet);
    if (set.empty())
        return {};
    const std::size_t end = m_text.find_first_not_of(set.data(), 0, set.size());
    return CStringT(m_text.substr(0, end));
}

template<typename CharT>
CStringT<CharT> CStringT<CharT>::SpanExcluding(PCXSTR charSet) const
{
    const auto set = ViewOf(charSet);
    const std::size_t end = set.empty() ? StringType::npos : m_text.find_first_of(set.data(), 0, set.size());
    return CStringT(m_text.substr(0, end));
}

template<typename CharT>
CStringT<CharT> CStringT<CharT>::Tokenize(PCXSTR tokens, int& start) const
{
    if (start < 0 || start >= GetLength()) {
        start = -1;
        return {};
    }
    const auto set = ViewOf(tokens);
    if (set.empty()) {
        // The rest is the one token. `start` moves past it so that a loop on the
        // result ends; left unchanged, the same token would come back forever.
        CStringT rest(m_text.substr(static_cast<std::size_t>(start)));
        start = GetLength() + 1;
        return rest;
    }
    const std::size_t from = m_text.find_first_not_of(set.data(), static_cast<std::size_t>(start), set.size());
    if (from == StringType::npos) {
        start = -1;
        return {};
    }
    std::size_t until = m_text.find_first_of(set.data(), from, set.size());
    if (until == StringType::npos)
        until = m_text.size();
    start = static_cast<int>(until) + 1;
    return CStringT(m_text.substr(from, until - from));
}

template<typename CharT>
int CStringT<CharT>::Find(XCHAR ch, int start) const
{
    if (start < 0 || start >= GetLength())
        return -1;
    const std::size_t pos = m_text.find(ch, static_cast<std::size_t>(start));
    return pos == StringType::npos ? -1 : static_cast<int>(pos);
}

template<typename CharT>
int CStringT<CharT>::Find(PCXSTR sub, int start) const
{
    if (!sub || start < 0 || start > GetLength())
        return -1;
    const std::size_t pos = m_text.find(sub, static_cast<std::size_t>(start));
    return pos == StringType::npos ? -1 : static_cast<int>(pos);
}

template<typename CharT>
int CStringT<CharT>::ReverseFind(XCHAR ch) const
{
    const std::size_t pos = m_text.rfind(ch);
    return pos == StringType::npos ? -1 : static_cast<int>(pos);
}

template<typename CharT>
int CStringT<CharT>::FindOneOf(PCXSTR charSet) const
{
    const auto set = ViewOf(charSet);
    if (set.empty())
        return -1;
    const std::size_t pos = m_text.find_first_of(set.data(), 0, set.size());
    return pos == StringType::npos ? -1 : static_cast<int>(pos);
}

template<typename CharT>
int CStringT<CharT>::Replace(XCHAR oldChar, XCHAR newChar)
{
    int count = 0;
    for (CharT& ch : m_text) {
        if (ch == oldChar) {
            ch = newChar;
            ++count;
        }
    }
    return count;
}

template<typename CharT>
int CStringT<CharT>::Replace(PCXSTR oldText, PCXSTR newText)
{
    const auto from = ViewOf(oldText);
    if (from.empty())
        return 0;
    // Both texts may point into this string: work on copies.
    const StringType search(from);
    const StringType replacement(ViewOf(newText));
    StringType result;
    int count = 0;
    std::size_t pos = 0;
    for (;;) {
        const std::size_t hit = m_text.find(search, pos);
        if (hit == StringType::npos)
            break;
        result.append(m_text, pos, hit - pos);
        result += replacement;
        pos = hit + search.size();
        ++count;
    }
    if (count > 0) {
        result.append(m_text, pos, StringType::npos);
        m_text = std::move(result);
    }
    return count;
}

template<typename CharT>
int CStringT<CharT>::Remove(XCHAR ch)
{
    const auto before = m_text.size();
    m_text.erase(std::remove(m_text.begin(), m_text.end(), ch), m_text.end());
    return static_cast<int>(before - m_text.size());
}

template<typename CharT>
int CStringT<CharT>::Insert(int index, XCHAR ch)
{
    index = std::clamp(index, 0, GetLength());
    m_text.insert(static_cast<std::size_t>(index), 1, ch);
    return GetLength();
}

template<typename CharT>
int CStringT<CharT>::Insert(int index, PCXSTR text)
{
    index = std::clamp(index, 0, GetLength());
    m_text.insert(static_cast<std::size_t>(index), StringType(ViewOf(text)));
    return GetLength();
}

template<typename CharT>
int CStringT<CharT>::Delete(int index, int count)
{
    index = std::max(index, 0);
    if (count > 0 && index < GetLength()) {
        count = std::min(count, GetLength() - index);
        m_text.erase(static_cast<std::size_t>(index), static_cast<std::size_t>(count));
    }
    return GetLength();
}

template<typename CharT>
CStringT<CharT>& CStringT<CharT>::MakeUpper()
{
    MapCase(m_text, Text::ToUpperChar);
    return *this;
}

template<typename CharT>
CStringT<CharT>& CStringT<CharT>::MakeLower()
{
    MapCase(m_text, Text::ToLowerChar);
    return *this;
}

template<typename CharT>
CStringT<CharT>& CStringT<CharT>::MakeReverse()
{
    std::reverse(m_text.begin(), m_text.end());
    return *this;
}

template<typename CharT>
CStringT<CharT>& CStringT<CharT>::Trim()
{
    return TrimRight().TrimLeft();
}

template<typename CharT>
CStringT<CharT>& CStringT<CharT>::Trim(XCHAR target)
{
    return TrimRight(target).TrimLeft(target);
}

template<typename CharT>
CStringT<CharT>& CStringT<CharT>::Trim(PCXSTR targets)
{
    return TrimRight(targets).TrimLeft(targets);
}

template<typename CharT>
CStringT<CharT>& CStringT<CharT>::TrimLeft()
{
    return TrimLeft(kBlanks<CharT>);
}

template<typename CharT>
CStringT<CharT>& CStringT<CharT>::TrimLeft(XCHAR target)
{
    const CharT set[] = {target, CharT()};
    const std::size_t first = m_text.find_first_not_of(set, 0, 1);
    m_text.erase(0, first);
    return *this;
}

template<typename CharT>
CStringT<CharT>& CStringT<CharT>::TrimLeft(PCXSTR targets)
{
    const auto set = ViewOf(targets);
    if (!set.empty())
        m_text.erase(0, m_text.find_first_not_of(set.data(), 0, set.size()));
    return *this;
}

template<typename CharT>
CStringT<CharT>& CStringT<CharT>::TrimRight()
{
    return TrimRight(kBlanks<CharT>);
}

template<typename CharT>
CStringT<CharT>& CStringT<CharT>::TrimRight(XCHAR target)
{
    const CharT set[] = {target, CharT()};
    const std::size_t last = m_text.find_last_not_of(set, StringType::npos, 1);
    m_text.erase(last == StringType::npos ? 0 : last + 1);
    return *this;
}

template<typename CharT>
CStringT<CharT>& CStringT<CharT>::TrimRight(PCXSTR targets)
{
    const auto set = ViewOf(targets);
    if (!set.empty()) {
        const std::size_t last = m_text.find_last_not_of(set.data(), StringType::npos, set.size());
        m_text.erase(last == StringType::npos ? 0 : last + 1);
    }
    return *this;
}

template<typename CharT>
int CStringT<CharT>::Compare(PCXSTR other) const
{
    return Sign(std::basic_string_view<CharT>(m_text).compare(ViewOf(other)));
}

template<typename CharT>
int CStringT<CharT>::CompareNoCase(PCXSTR other) const
{
    return Sign(CompareNoCaseTexts(m_text.c_str(), other));
}

template<typename CharT>
int CStringT<CharT>::Collate(PCXSTR other) const
{
    const StringType right(ViewOf(other));
    return Sign(CollateTexts(m_text.c_str(), right.c_str()));
}

template<typename CharT>
CharT* CStringT<CharT>::GetBuffer(int minLength)
{
    if (minLength > GetLength())
        m_text.resize(static_cast<std::size_t>(minLength));
    return m_text.data();
}

template<typename CharT>
CharT* CStringT<CharT>::GetBufferSetLength(int length)
{
    m_text.resize(static_cast<std::size_t>(std::max(length, 0)));
    return m_text.data();
}

template<typename CharT>
void CStringT<CharT>::ReleaseBuffer(int newLength)
{
    if (newLength < 0) {
        const std::size_t nul = m_text.find(CharT());
        if (nul != StringType::npos)
            m_text.resize(nul);
        return;
    }
    m_text.resize(std::min(static_cast<std::size_t>(newLength), m_text.size()));
}

template class CStringT<wchar_t>;
template class CStringT<char>;
