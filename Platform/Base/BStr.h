#pragma once
// _bstr_t: a wide text value that converts to and from narrow (UTF-8) text,
// used where the system passes texts as COM strings.

#include <compare>
#include <string>

class _bstr_t {
public:
    _bstr_t() = default;
    _bstr_t(const wchar_t* text);
    _bstr_t(const char* text);
    _bstr_t(std::wstring text);
    _bstr_t(const std::string& text);

    operator const wchar_t*() const { return m_text.c_str(); }
    // The narrow form is made on demand and kept until the value changes.
    operator const char*() const;

    const std::wstring& wstr() const { return m_text; }
    std::string str() const;
    unsigned int length() const { return static_cast<unsigned int>(m_text.size()); }

    _bstr_t& operator+=(const _bstr_t& other);
    friend _bstr_t operator+(_bstr_t left, const _bstr_t& right) { return left += right; }
    friend bool operator==(const _bstr_t& a, const _bstr_t& b) { return a.m_text == b.m_text; }
    friend std::strong_ordering operator<=>(const _bstr_t& a, const _bstr_t& b) { return a.m_text <=> b.m_text; }

private:
    std::wstring m_text;
    mutable std::string m_narrow;
    mutable bool m_narrowValid = false;
};
