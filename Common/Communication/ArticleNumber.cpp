#include "Common/Communication/ArticleNumber.h"

#include "Common/SystemHelper/Values/StringUtils.h"

namespace {

std::wstring LeftFill(const std::wstring& text, std::size_t width)
{
    return text.size() >= width ? text : std::wstring(width - text.size(), L'0') + text;
}

}

CArticleNumber::CArticleNumber(const std::wstring& text)
{
    Parse(text);
}

CArticleNumber::CArticleNumber(int part0, int part1, int part2, int part3, int part4, int part5)
{
    SetParts({FormatNumber(part0), FormatNumber(part1), FormatNumber(part2), FormatNumber(part3),
              FormatNumber(part4), FormatNumber(part5)});
}

CArticleNumber::CArticleNumber(const std::wstring& part0, const std::wstring& part1, const std::wstring& part2,
                               const std::wstring& part3, const std::wstring& part4, const std::wstring& part5)
{
    SetParts({part0, part1, part2, part3, part4, part5});
}

std::wstring CArticleNumber::FormatPart(const std::wstring& part, bool fourDigits)
{
    if (fourDigits)
        return LeftFill(part, 4);
    std::wstring shortened = part;
    if (!shortened.empty() && shortened.front() == L'0')
        shortened.erase(0, 1);
    return LeftFill(shortened, 3);
}

std::wstring CArticleNumber::FormatNumber(int number)
{
    // A negative number keeps its sign in front of the fill, as printf's
    // zero flag does.
    std::wstring digits = std::to_wstring(number);
    if (number < 0)
        return L"-" + LeftFill(digits.substr(1), 3);
    return LeftFill(digits, 4);
}

bool CArticleNumber::IsZeroPair(const std::wstring& first, const std::wstring& second)
{
    return FormatPart(first, true) == L"0000" && FormatPart(second, true) == L"0000";
}

void CArticleNumber::Parse(const std::wstring& text)
{
    m_fullText.clear();
    const std::wstring relevant = text.substr(0, text.find(L'#'));
    std::vector<std::wstring> pieces;
    SplitString(relevant, L"-/", pieces, true);
    // Trimming can leave a piece of blanks only, which counts as no piece.
    std::erase_if(pieces, [](const std::wstring& piece) { return piece.empty(); });

    const std::size_t count = pieces.size();
    if (count == 0) {
        pieces.push_back(L"0000");
    } else if (count <= 6) {
        if (count == 3 || count == 5)
            pieces.push_back(L"0000");
        if (pieces.size() == 6 && IsZeroPair(pieces[4], pieces[5]))
            pieces.resize(4);
        if (pieces.size() == 4 && IsZeroPair(pieces[2], pieces[3]))
            pieces.resize(2);
    } else if (IsZeroPair(pieces[2], pieces[3])) {
        pieces.erase(pieces.begin() + 2, pieces.begin() + 4);
    }
    for (std::wstring& piece : pieces)
        piece = FormatPart(piece, true);
    m_parts = std::move(pieces);
}

void CArticleNumber::SetParts(const std::vector<std::wstring>& texts)
{
    m_parts.clear();
    if (!IsZeroPair(texts[4], texts[5]))
        m_parts.assign(texts.begin(), texts.begin() + 6);
    else if (IsZeroPair(texts[2], texts[3]))
        m_parts.assign(texts.begin(), texts.begin() + 2);
    else
        m_parts.assign(texts.begin(), texts.begin() + 4);
}

std::wstring CArticleNumber::FormatBase(bool fourDigits) const
{
    if (m_parts.empty())
        return {};
    std::wstring text = FormatPart(m_parts[0], fourDigits);
    if (m_parts.size() > 1)
        text += L"-" + FormatPart(m_parts[1], fourDigits);
    return text;
}

std::wstring CArticleNumber::FormatOption(bool fourDigits) const
{
    if (m_parts.size() <= 3)
        return {};
    std::wstring text = FormatPart(m_parts[2], fourDigits) + L"-" + FormatPart(m_parts[3], fourDigits);
    if (m_parts.size() == 6)
        text += L"/" + FormatPart(m_parts[4], fourDigits) + L"-" + FormatPart(m_parts[5], fourDigits);
    return text;
}

std::wstring CArticleNumber::FormatFull(bool fourDigits) const
{
    std::wstring text = FormatBase(fourDigits);
    if (m_parts.size() > 3)
        text += L"/" + FormatOption(fourDigits);
    return text;
}

const wchar_t* CArticleNumber::GetText(bool fourDigits)
{
    m_fullText = FormatFull(fourDigits);
    return m_fullText.c_str();
}

const wchar_t* CArticleNumber::GetBaseText(bool fourDigits)
{
    m_baseText = FormatBase(fourDigits);
    return m_baseText.c_str();
}

const wchar_t* CArticleNumber::GetOptionText(bool fourDigits)
{
    m_optionText = FormatOption(fourDigits);
    return m_optionText.c_str();
}

std::wstring CArticleNumber::GetPart(unsigned int index, bool fourDigits) const
{
    return index < m_parts.size() ? FormatPart(m_parts[index], fourDigits) : std::wstring();
}

std::wstring CArticleNumber::FormatCompact(bool allPairs) const
{
    const std::size_t count = m_parts.size();
    if (count != 2 && count != 4 && count != 6)
        return {};
    std::wstring text = FormatPart(m_parts[0], true) + FormatPart(m_parts[1], true);
    if (allPairs && count >= 4)
        text += L"_" + FormatPart(m_parts[2], true) + FormatPart(m_parts[3], true);
    if (allPairs && count == 6)
        text += L"_" + FormatPart(m_parts[4], true) + FormatPart(m_parts[5], true);
    return text;
}

bool CArticleNumber::IsSameBase(const CArticleNumber& other) const
{
    const CArticleNumber mine(FormatBase(false));
    const CArticleNumber theirs(other.FormatBase(false));
    return mine.m_parts == theirs.m_parts;
}

bool CArticleNumber::IsSameBase(const std::wstring& text) const
{
    return IsSameBase(CArticleNumber(text));
}

bool CArticleNumber::Matches(const std::wstring& text, bool familyWildcard)
{
    CArticleNumber given(text);
    CArticleNumber mine(FormatFull(true));
    if (familyWildcard) {
        given.SetPart(0, L"061x");
        mine.SetPart(0, L"061x");
    }
    return std::wstring(given.GetText(true)) == mine.GetText(true);
}

void CArticleNumber::SetPart(unsigned int index, const std::wstring& text)
{
    if (index < m_parts.size())
        m_parts[index] = text;
}
