#include "Platform/Shell/LastFolderStore.h"

#include "Platform/Base/Module.h"
#include "Platform/Registry/ProfileStore.h"

#include <vector>

namespace ZELL::Shell {

namespace {

constexpr const wchar_t* kSection = L"FileDialogs";

Registry::CProfileStore Store() { return Registry::CProfileStore(L"Zell Software", L"Shell"); }

}  // namespace

std::wstring CLastFolderStore::ProgramName()
{
    std::vector<wchar_t> path(4096);
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    const std::wstring full(path.data(), length < path.size() ? length : 0);
    const auto slash = full.rfind(L'/');
    const std::wstring name = slash == std::wstring::npos ? full : full.substr(slash + 1);
    return name.empty() ? std::wstring(L"program") : name;
}

std::wstring CLastFolderStore::Load()
{
    return Store().GetString(kSection, ProgramName());
}

bool CLastFolderStore::Save(const std::wstring& folder)
{
    return Store().WriteString(kSection, ProgramName().c_str(), folder.c_str());
}

}  // namespace ZELL::Shell
