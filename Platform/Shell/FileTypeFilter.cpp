#include "Platform/Shell/FileTypeFilter.h"

#include "Platform/Base/WideRuntime.h"

namespace ZELL::Shell {

namespace {

std::wstring Trimmed(const std::wstring& text)
{
    const auto first = text.find_first_not_of(L' ');
    if (first == std::wstring::npos)
        return {};
    return text.substr(first, text.find_last_not_of(L' ') - first + 1);
}

std::vector<std::wstring> Split(const std::wstring& text, wchar_t separator)
{
    std::vector<std::wstring> parts;
    std::size_t start = 0;
    for (;;) {
        const auto end = text.find(separator, start);
        parts.push_back(text.substr(start, end == std::wstring::npos ? std::wstring::npos : end - start));
        if (end == std::wstring::npos)
            return parts;
        start = end + 1;
    }
}

bool SameLetter(wchar_t a, wchar_t b) { return Text::ToLowerChar(a) == Text::ToLowerChar(b); }

}  // namespace

std::vector<FileType> CFileTypeFilter::Parse(LPCWSTR list, std::size_t maxPairs)
{
    std::vector<FileType> types;
    if (list == nullptr)
        return types;
    const wchar_t* at = list;
    while (*at != L'\0' && types.size() < maxPairs) {
        FileType type;
        type.description = at;
        at += type.description.size() + 1;
        if (*at == L'\0')
            break;
        type.patterns = at;
        at += type.patterns.size() + 1;
        types.push_back(std::move(type));
    }
    return types;
}

std::vector<FileType> CFileTypeFilter::ParseBarSeparated(const std::wstring& text)
{
    std::vector<FileType> types;
    const std::vector<std::wstring> parts = Split(text, L'|');
    for (std::size_t i = 0; i + 1 < parts.size(); i += 2) {
        if (parts[i].empty() && parts[i + 1].empty())
            break;
        types.push_back({parts[i], parts[i + 1]});
    }
    return types;
}

bool CFileTypeFilter::Matches(const std::wstring& name, const std::wstring& patterns)
{
    if (Trimmed(patterns).empty())
        return true;
    for (const std::wstring& pattern : Split(patterns, L';')) {
        const std::wstring one = Trimmed(pattern);
        if (!one.empty() && MatchesOne(name, one))
            return true;
    }
    return false;
}

// Iterative wildcard match: the last "*" seen is where a mismatch backs up to.
bool CFileTypeFilter::MatchesOne(const std::wstring& name, const std::wstring& pattern)
{
    // "*.*" stands for every name, with or without a dot, as it always has.
    if (pattern == L"*.*")
        return true;
    std::size_t n = 0;
    std::size_t p = 0;
    std::size_t starAt = std::wstring::npos;
    std::size_t resumeAt = 0;
    while (n < name.size()) {
        if (p < pattern.size() && (pattern[p] == L'?' || SameLetter(pattern[p], name[n]))) {
            ++n;
            ++p;
        } else if (p < pattern.size() && pattern[p] == L'*') {
            starAt = p++;
            resumeAt = n;
        } else if (starAt != std::wstring::npos) {
            p = starAt + 1;
            n = ++resumeAt;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == L'*')
        ++p;
    return p == pattern.size();
}

bool CFileTypeFilter::HasWildcard(const std::wstring& text)
{
    return text.find_first_of(L"*?") != std::wstring::npos;
}

std::wstring CFileTypeFilter::FirstExtension(const std::wstring& patterns)
{
    const std::wstring first = Trimmed(Split(patterns, L';').front());
    if (first.size() < 3 || first.compare(0, 2, L"*.") != 0)
        return {};
    const std::wstring extension = first.substr(2);
    return HasWildcard(extension) ? std::wstring() : extension;
}

}  // namespace ZELL::Shell
