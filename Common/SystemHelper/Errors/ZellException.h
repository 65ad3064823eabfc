#pragma once
// Root of the exception tree of the communication code, which the language-
// text store here throws and catches too. Thrown by value and caught by
// reference, never deleted through a base pointer, so there is no virtual
// destructor. Everything is defined in this header, so that it adds no link.
//
// The communication library's users catch it across the library's border, so
// its type information stays visible although the libraries hide the rest.

#include "Platform/Base/TextConversion.h"
#include "Platform/Base/Types.h"

#include <cstddef>
#include <cstdlib>
#include <cwchar>
#include <memory>
#include <string>
#include <typeinfo>

#include <cxxabi.h>

class __attribute__((visibility("default"))) CZellException {
public:
    static constexpr std::size_t kBufferLength = 1024;

    CZellException(const wchar_t* message, LONG code)
        : m_lCode(code)
    {
        CopyCut(m_szMessage, message ? message : L"");
    }
    CZellException(const CZellException& other) = default;
    CZellException& operator=(const CZellException& other) = default;
    ~CZellException() = default;

    // The dynamic class as the run-time type information names it.
    virtual const wchar_t* GetTypeName()
    {
        const char* raw = typeid(*this).name();
        int status = 0;
        std::unique_ptr<char, decltype(&std::free)> demangled(abi::__cxa_demangle(raw, nullptr, nullptr, &status),
                                                              &std::free);
        const std::wstring name = Text::Utf8ToWide(status == 0 && demangled ? demangled.get() : raw);
        CopyCut(m_szTypeName, name.c_str());
        return m_szTypeName;
    }

    // Summary, a blank line when there is a summary, then the details. Valid
    // until the next call or the end of the object.
    const wchar_t* GetText()
    {
        m_strText = m_strSummary;
        if (!m_strSummary.empty())
            m_strText += L"\n\n";
        m_strText += m_strDetails;
        return m_strText.c_str();
    }

    void SetDetails(const std::wstring& details) { m_strDetails = details; }

    std::wstring m_strSummary;
    std::wstring m_strDetails;
    ULONG m_ulValue = 0;
    std::wstring m_strText;
    LONG m_lCode = 0;
    wchar_t m_szMessage[kBufferLength] = {};
    wchar_t m_szTypeName[kBufferLength] = {};

protected:
    // At most kBufferLength - 1 characters, always terminated.
    static void CopyCut(wchar_t (&buffer)[kBufferLength], const wchar_t* text)
    {
        const std::size_t length = std::wcslen(text);
        const std::size_t count = length < kBufferLength - 1 ? length : kBufferLength - 1;
        std::wmemcpy(buffer, text, count);
        buffer[count] = L'\0';
    }
};
