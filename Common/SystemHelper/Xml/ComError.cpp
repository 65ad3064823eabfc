#include "Common/SystemHelper/Xml/ComError.h"

#include "Platform/Base/Format.h"

#include <utility>

_com_error::_com_error(HRESULT result, std::wstring description, std::wstring source)
    : m_result(result)
    , m_description(std::move(description))
    , m_source(std::move(source))
{
}

std::wstring _com_error::ErrorMessage() const
{
    struct Entry {
        HRESULT result;
        const wchar_t* text;
    };
    static const Entry kTexts[] = {
        {S_OK, L"No error"},
        {E_FAIL, L"Unspecified error"},
        {E_NOTIMPL, L"Not implemented"},
        {E_INVALIDARG, L"The parameter is incorrect."},
        {E_OUTOFMEMORY, L"Not enough memory resources are available to complete this operation."},
        {E_POINTER, L"Invalid pointer"},
        {E_NOINTERFACE, L"No such interface supported"},
        {E_ACCESSDENIED, L"Access is denied."},
        {E_UNEXPECTED, L"Catastrophic failure"},
        {REGDB_E_CLASSNOTREG, L"Class not registered"},
        {CO_E_CLASSSTRING, L"Invalid class string"},
    };
    for (const Entry& entry : kTexts) {
        if (entry.result == m_result)
            return entry.text;
    }
    return FormatW(L"Unknown error 0x%08lX", static_cast<DWORD>(m_result));
}
