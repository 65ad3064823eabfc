#include "Common/PelorusDLL/Dialogs/ModulePath.h"

#include "Platform/Base/Module.h"

#include <vector>

CModulePath::CModulePath(HMODULE module)
{
    std::vector<wchar_t> path(4096, L'\0');
    const DWORD length = ::GetModuleFileNameW(module, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0 || length >= path.size())
        return;
    m_path.assign(path.data(), length);
    const std::size_t slash = m_path.find_last_of(L'/');
    if (slash != std::wstring::npos)
        m_folder = m_path.substr(0, slash + 1);
}

CModulePath CModulePath::Of(const void* address)
{
    HMODULE module = Platform::GetModuleOfAddress(address);
    return module ? CModulePath(module) : CModulePath();
}

std::wstring CModulePath::BaseName() const
{
    std::wstring name = m_path.substr(m_folder.size());
    const std::size_t dot = name.find_last_of(L'.');
    if (dot != std::wstring::npos && dot > 0)
        name.erase(dot);
    return name;
}
