#pragma once
// _com_error: a failed call of the XML layer, with its HRESULT, the system's
// text for it, and the source and description the failing call gave.

#include "Platform/Base/BStr.h"
#include "Platform/Base/Types.h"

#include <string>

// HRESULTs of object creation that the XML layer reports.
constexpr HRESULT REGDB_E_CLASSNOTREG = static_cast<HRESULT>(0x80040154u);
constexpr HRESULT CO_E_CLASSSTRING = static_cast<HRESULT>(0x800401F3u);

class _com_error {
public:
    explicit _com_error(HRESULT result, std::wstring description = {}, std::wstring source = {});

    HRESULT Error() const { return m_result; }
    // The system's text for the HRESULT; "Unknown error 0x%08lX" for others.
    std::wstring ErrorMessage() const;
    _bstr_t Source() const { return m_source; }
    _bstr_t Description() const { return m_description; }

private:
    HRESULT m_result = S_OK;
    std::wstring m_description;
    std::wstring m_source;
};
