#include "Platform/Base/BStr.h"
#include "Platform/Base/TextConversion.h"

_bstr_t::_bstr_t(const wchar_t* text)
    : m_text(text ? text : L"")
{
}

_bstr_t::_bstr_t(const char* text)
    : m_text(text ? Text::Utf8ToWide(text) : std::wstring())
{
}

_bstr_t::_bstr_t(std::wstring text)
    : m_text(std::move(text))
{
}

_bstr_t::_bstr_t(const std::string& text)
    : m_text(Text::Utf8ToWide(text))
{
}

_bstr_t::operator const char*() const
{
    if (!m_narrowValid) {
        m_narrow = Text::WideToUtf8(m_text);
        m_narrowValid = true;
    }
    return m_narrow.c_str();
}

std::string _bstr_t::str() const
{
    return Text::WideToUtf8(m_text);
}

_bstr_t& _bstr_t::operator+=(const _bstr_t& other)
{
    m_text += other.m_text;
    m_narrowValid = false;
    return *this;
}
