#pragma once
// A device's article number: two four-digit groups, optionally an option pair
// and a third pair, kept as text so that family wildcards such as "061x" fit.

#include "Common/Communication/PelorusApi.h"

#include <string>
#include <vector>

class PELORUS_API CArticleNumber {
public:
    CArticleNumber() = default;
    explicit CArticleNumber(const std::wstring& text);
    CArticleNumber(int part0, int part1, int part2, int part3, int part4, int part5);
    CArticleNumber(const std::wstring& part0, const std::wstring& part1, const std::wstring& part2,
                   const std::wstring& part3, const std::wstring& part4, const std::wstring& part5);

    // The pointers stay valid until the same operation runs again.
    const wchar_t* GetText(bool fourDigits);
    const wchar_t* GetBaseText(bool fourDigits);
    const wchar_t* GetOptionText(bool fourDigits);

    std::wstring GetPart(unsigned int index, bool fourDigits) const;
    std::wstring FormatCompact(bool allPairs) const;
    bool IsSameBase(const CArticleNumber& other) const;
    bool IsSameBase(const std::wstring& text) const;
    bool Matches(const std::wstring& text, bool familyWildcard);
    void SetPart(unsigned int index, const std::wstring& text);

    std::size_t GetPartCount() const { return m_parts.size(); }

private:
    void Parse(const std::wstring& text);
    void SetParts(const std::vector<std::wstring>& texts);
    std::wstring FormatFull(bool fourDigits) const;
    std::wstring FormatBase(bool fourDigits) const;
    std::wstring FormatOption(bool fourDigits) const;

    static std::wstring FormatPart(const std::wstring& part, bool fourDigits);
    static std::wstring FormatNumber(int number);
    static bool IsZeroPair(const std::wstring& first, const std::wstring& second);

    std::vector<std::wstring> m_parts;
    std::wstring m_fullText;
    std::wstring m_baseText;
    std::wstring m_optionText;
};
