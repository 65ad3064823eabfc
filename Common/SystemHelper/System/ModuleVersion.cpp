#include "Common/SystemHelper/System/ModuleVersion.h"

#include "Platform/Base/LastError.h"
#include "Platform/Base/Module.h"
#include "Platform/Base/FileSystemPath.h"
#include "Platform/Base/WinError.h"
#include "Platform/Registry/ModuleVersionRecord.h"

#include <filesystem>

namespace {

constexpr DWORD kModulePathLength = 4096;

// Frees a library that was loaded only for the look-up, on every way out.
class TemporaryLibrary {
public:
    TemporaryLibrary() = default;
    TemporaryLibrary(const TemporaryLibrary&) = delete;
    TemporaryLibrary& operator=(const TemporaryLibrary&) = delete;
    ~TemporaryLibrary()
    {
        if (m_module)
            FreeLibrary(m_module);
    }
    void Own(HMODULE module) { m_module = module; }

private:
    HMODULE m_module = nullptr;
};

bool ModulePath(LPCWSTR moduleName, TemporaryLibrary& loaded, std::wstring& path)
{
    HMODULE module = GetModuleHandleW(moduleName);
    if (!module) {
        if (!moduleName || GetLastError() != ERROR_MOD_NOT_FOUND)
            return false;
        module = LoadLibraryW(moduleName);
        if (!module)
            return false;
        loaded.Own(module);
    }
    path.assign(kModulePathLength, L'\0');
    const DWORD length = GetModuleFileNameW(module, path.data(), kModulePathLength);
    if (length == 0 || length >= kModulePathLength)
        return false;
    path.resize(length);
    return true;
}

}

CModuleVersion::CModuleVersion() = default;
CModuleVersion::~CModuleVersion() = default;

bool CModuleVersion::Load(LPCWSTR moduleName)
{
    m_codePage = 1252;
    m_language = 0;
    static_cast<VS_FIXEDFILEINFO&>(*this) = VS_FIXEDFILEINFO{};
    m_versionData.reset();

    std::wstring path;
    TemporaryLibrary loaded;
    // A path is read as a file: a module need not run to show its version.
    if (moduleName && std::wstring_view(moduleName).find(L'/') != std::wstring_view::npos)
        path = moduleName;
    else if (!ModulePath(moduleName, loaded, path))
        return false;

    auto record = std::make_unique<Version::CModuleVersionRecord>();
    std::string error;
    if (!Version::ReadModuleVersionRecord(Text::FsPath(path), *record, error))
        return false;

    dwSignature = Version::kFixedFileInfoSignature;
    dwStrucVersion = 0x00010000;
    dwFileVersionMS = record->fileVersionMS;
    dwFileVersionLS = record->fileVersionLS;
    dwProductVersionMS = record->productVersionMS;
    dwProductVersionLS = record->productVersionLS;
    dwFileFlags = record->fileFlags;
    dwFileType = record->fileType;
    m_language = record->language;
    m_codePage = record->codePage;
    m_versionData = std::move(record);
    return dwSignature == Version::kFixedFileInfoSignature;
}

std::wstring CModuleVersion::GetValue(const std::wstring& valueName) const
{
    if (!m_versionData)
        return std::wstring();
    return m_versionData->Value(valueName);
}
