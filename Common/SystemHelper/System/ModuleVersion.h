#pragma once
// The version record of a module: the fixed numbers and the version texts
// (FileVersion, ProductName ...) that the about dialog shows.

#include "Platform/Base/Types.h"

#include <memory>
#include <string>

// The fixed block of a version record, with the platform's field layout.
struct VS_FIXEDFILEINFO {
    DWORD dwSignature = 0;
    DWORD dwStrucVersion = 0;
    DWORD dwFileVersionMS = 0;
    DWORD dwFileVersionLS = 0;
    DWORD dwProductVersionMS = 0;
    DWORD dwProductVersionLS = 0;
    DWORD dwFileFlagsMask = 0;
    DWORD dwFileFlags = 0;
    DWORD dwFileOS = 0;
    DWORD dwFileType = 0;
    DWORD dwFileSubtype = 0;
    DWORD dwFileDateMS = 0;
    DWORD dwFileDateLS = 0;
};

namespace Version {
struct CModuleVersionRecord;
}

class CModuleVersion : public VS_FIXEDFILEINFO {
public:
    CModuleVersion();
    virtual ~CModuleVersion();
    CModuleVersion(const CModuleVersion&) = delete;
    CModuleVersion& operator=(const CModuleVersion&) = delete;

    // Null is the program itself; a name is a library loaded in the process
    // (loaded for the look-up when it is not) or a path. True when the record
    // was read and carries the version signature.
    bool Load(LPCWSTR moduleName = nullptr);
    // The text of that name; empty when nothing is loaded or it is missing.
    std::wstring GetValue(const std::wstring& valueName) const;

    WORD GetLanguage() const { return m_language; }
    WORD GetCodePage() const { return m_codePage; }

private:
    std::unique_ptr<Version::CModuleVersionRecord> m_versionData;
    WORD m_language = 0;
    WORD m_codePage = 1252;
};
