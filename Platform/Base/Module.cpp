#include "Platform/Base/Module.h"

#include "Platform/Base/HandleTable.h"
#include "Platform/Base/LastError.h"
#include "Platform/Base/FileSystemPath.h"
#include "Platform/Base/WinError.h"

#include <dlfcn.h>
#include <link.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <cstring>
#include <map>
#include <mutex>
#include <string>
#include <vector>

namespace {

struct LoadedModule {
    std::string path;             // full path, UTF-8
    void* library = nullptr;      // dlopen handle
    int loadCount = 0;            // LoadLibrary calls not yet freed
    bool pinned = false;          // found, not loaded, by us: stays for the life of the process
};

using ModuleTable = Platform::HandleTable<LoadedModule, HMODULE>;

// Never destroyed: libraries may be freed from threads still running at exit.
struct ModuleRegistry {
    ModuleTable table{Platform::HandleKind::Module};
    std::mutex mutex; // guards byPath and the modules' counts
    std::map<std::string, HMODULE> byPath;
};

ModuleRegistry& Registry()
{
    static auto* registry = new ModuleRegistry;
    return *registry;
}

std::string CanonicalPath(const std::string& path)
{
    char buffer[PATH_MAX];
    return realpath(path.c_str(), buffer) ? std::string(buffer) : path;
}

const std::string& ExecutablePath()
{
    static const std::string path = [] {
        std::vector<char> buffer(PATH_MAX);
        for (;;) {
            const ssize_t length = readlink("/proc/self/exe", buffer.data(), buffer.size());
            if (length < 0)
                return std::string();
            if (static_cast<std::size_t>(length) < buffer.size())
                return std::string(buffer.data(), static_cast<std::size_t>(length));
            buffer.resize(buffer.size() * 2);
        }
    }();
    return path;
}

std::string ExecutableFolder()
{
    const std::string& path = ExecutablePath();
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

std::string PathOfLibrary(void* library)
{
    link_map* map = nullptr;
    if (dlinfo(library, RTLD_DI_LINKMAP, &map) != 0 || !map || !map->l_name || !*map->l_name)
        return std::string();
    return CanonicalPath(map->l_name);
}

// The registered module of the path; a new entry when none exists.
// With the registry mutex held.
HMODULE ModuleForPath(const std::string& path, void* library, bool load)
{
    ModuleRegistry& registry = Registry();
    const auto found = registry.byPath.find(path);
    if (found != registry.byPath.end()) {
        if (const auto module = registry.table.Lookup(found->second)) {
            if (load) {
                ++module->loadCount;
            } else if (library) {
                dlclose(library); // the entry holds its own reference already
            }
            return found->second;
        }
        registry.byPath.erase(found);
    }
    auto module = std::make_shared<LoadedModule>();
    module->path = path;
    module->library = library;
    module->loadCount = load ? 1 : 0;
    module->pinned = !load;
    HMODULE handle = registry.table.Insert(module);
    if (!handle) {
        if (library)
            dlclose(library);
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    registry.byPath.emplace(path, handle);
    return handle;
}

HMODULE ExecutableModule()
{
    ModuleRegistry& registry = Registry();
    std::lock_guard lock(registry.mutex);
    return ModuleForPath(CanonicalPath(ExecutablePath()), dlopen(nullptr, RTLD_LAZY), false);
}

std::vector<std::string> Candidates(const std::string& name)
{
    if (name.find('/') != std::string::npos)
        return {name};
    return {ExecutableFolder() + "/" + name, name};
}

HMODULE OpenLibrary(const std::string& name, bool load)
{
    if (name.empty()) {
        SetLastError(ERROR_MOD_NOT_FOUND);
        return nullptr;
    }
    // Code is loaded from an absolute path only: a bare or relative name would
    // let a file planted beside the program, in the current folder or along
    // the system's search run as ours. Finding a loaded module loads nothing.
    if (load && name.front() != '/') {
        SetLastError(ERROR_MOD_NOT_FOUND);
        return nullptr;
    }
    const int flags = load ? (RTLD_NOW | RTLD_LOCAL) : (RTLD_LAZY | RTLD_NOLOAD);
    for (const std::string& candidate : Candidates(name)) {
        void* library = dlopen(candidate.c_str(), flags);
        if (!library)
            continue;
        std::string path = PathOfLibrary(library);
        if (path.empty())
            path = CanonicalPath(candidate);
        ModuleRegistry& registry = Registry();
        std::lock_guard lock(registry.mutex);
        return ModuleForPath(path, library, load);
    }
    SetLastError(ERROR_MOD_NOT_FOUND);
    return nullptr;
}

bool CopyPath(const std::wstring& path, LPWSTR buffer, DWORD size, DWORD& result)
{
    if (!buffer || size == 0) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        result = 0;
        return false;
    }
    if (path.size() < size) {
        std::wmemcpy(buffer, path.c_str(), path.size() + 1);
        result = static_cast<DWORD>(path.size());
        return true;
    }
    std::wmemcpy(buffer, path.c_str(), size - 1);
    buffer[size - 1] = L'\0';
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    result = size;
    return false;
}

}

HMODULE LoadLibraryW(LPCWSTR fileName)
{
    if (!fileName) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    return OpenLibrary(Text::WideToFileName(fileName), true);
}

HMODULE LoadLibraryA(LPCSTR fileName)
{
    if (!fileName) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    return OpenLibrary(fileName, true);
}

HMODULE LoadLibraryExW(LPCWSTR fileName, HANDLE, DWORD)
{
    return LoadLibraryW(fileName);
}

HMODULE LoadLibraryExA(LPCSTR fileName, HANDLE, DWORD)
{
    return LoadLibraryA(fileName);
}

BOOL FreeLibrary(HMODULE module)
{
    ModuleRegistry& registry = Registry();
    std::lock_guard lock(registry.mutex);
    const auto entry = registry.table.Lookup(module);
    if (!entry) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    if (entry->loadCount == 0)
        return TRUE;
    if (--entry->loadCount == 0 && !entry->pinned) {
        registry.table.Remove(module);
        registry.byPath.erase(entry->path);
    }
    dlclose(entry->library);
    return TRUE;
}

FARPROC GetProcAddress(HMODULE module, LPCSTR procName)
{
    const auto entry = Registry().table.Lookup(module);
    if (!entry || !entry->library) {
        SetLastError(ERROR_MOD_NOT_FOUND);
        return nullptr;
    }
    if (!procName) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    void* symbol = dlsym(entry->library, procName);
    if (!symbol) {
        SetLastError(ERROR_PROC_NOT_FOUND);
        return nullptr;
    }
    return reinterpret_cast<FARPROC>(symbol);
}

HMODULE GetModuleHandleW(LPCWSTR moduleName)
{
    if (!moduleName)
        return ExecutableModule();
    return OpenLibrary(Text::WideToFileName(moduleName), false);
}

DWORD GetModuleFileNameW(HMODULE module, LPWSTR fileName, DWORD size)
{
    std::string path;
    if (!module) {
        path = ExecutablePath();
    } else {
        const auto entry = Registry().table.Lookup(module);
        if (!entry) {
            SetLastError(ERROR_MOD_NOT_FOUND);
            return 0;
        }
        path = entry->path;
    }
    DWORD result = 0;
    if (CopyPath(Text::FileNameToWide(path), fileName, size, result))
        SetLastError(ERROR_SUCCESS);
    return result;
}

namespace Platform {

HMODULE GetModuleOfAddress(const void* address)
{
    Dl_info info{};
    link_map* map = nullptr;
    if (!address || dladdr1(address, &info, reinterpret_cast<void**>(&map), RTLD_DL_LINKMAP) == 0) {
        SetLastError(ERROR_MOD_NOT_FOUND);
        return nullptr;
    }
    // The link map names a library by the path it was loaded from; the
    // program has no name there (dli_fname would be argv[0], which is
    // relative to the folder the program started in, not the current one).
    const std::string executable = CanonicalPath(ExecutablePath());
    const std::string path = map && map->l_name && *map->l_name ? CanonicalPath(map->l_name) : executable;
    if (path == executable)
        return ExecutableModule();
    // The library may be linked at load time; it stays loaded while the
    // entry holds its reference.
    void* library = dlopen(path.c_str(), RTLD_LAZY | RTLD_NOLOAD);
    ModuleRegistry& registry = Registry();
    std::lock_guard lock(registry.mutex);
    return ModuleForPath(path, library, false);
}

}
