#include "Platform/Ui/Resource.h"

#include "Platform/Base/LastError.h"
#include "Platform/Ui/ResourceRegistry.h"
#include "Platform/Ui/ResourceTypes.h"

#include <algorithm>
#include <cwchar>

using namespace Ui;

namespace {

constexpr LANGID kDefaultUiLanguage = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);

thread_local LANGID g_uiLanguage = 0;

HRSRC ToResourceHandle(const std::shared_ptr<const CompiledResource>& resource)
{
    return resource ? reinterpret_cast<HRSRC>(resource->handle) : nullptr;
}

std::shared_ptr<const CompiledResource> FromResourceHandle(HRSRC resource)
{
    return CResourceRegistry::Get().FromHandle(reinterpret_cast<HANDLE>(resource));
}

}  // namespace

LANGID GetThreadUILanguage()
{
    return g_uiLanguage ? g_uiLanguage : kDefaultUiLanguage;
}

LANGID SetThreadUILanguage(LANGID language)
{
    g_uiLanguage = language;
    return GetThreadUILanguage();
}

HRSRC FindResourceW(HMODULE module, LPCWSTR name, LPCWSTR type)
{
    return ToResourceHandle(
        CResourceRegistry::Get().Find(module, CResourceKey::From(type), CResourceKey::From(name), std::nullopt));
}

HRSRC FindResourceExW(HMODULE module, LPCWSTR type, LPCWSTR name, WORD language)
{
    std::optional<LANGID> wanted;
    if (language != MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL))
        wanted = language;
    return ToResourceHandle(
        CResourceRegistry::Get().Find(module, CResourceKey::From(type), CResourceKey::From(name), wanted));
}

HGLOBAL LoadResource(HMODULE, HRSRC resource)
{
    return FromResourceHandle(resource) ? reinterpret_cast<HGLOBAL>(resource) : nullptr;
}

LPVOID LockResource(HGLOBAL data)
{
    const auto resource = CResourceRegistry::Get().FromHandle(data);
    // The bytes are read-only, as a module's resource section is.
    return resource ? const_cast<BYTE*>(resource->data) : nullptr;
}

DWORD SizeofResource(HMODULE, HRSRC resource)
{
    const auto found = FromResourceHandle(resource);
    return found ? static_cast<DWORD>(found->size) : 0;
}

BOOL FreeResource(HGLOBAL)
{
    return FALSE;
}

int LoadStringW(HINSTANCE instance, UINT id, LPWSTR buffer, int size)
{
    if (!buffer || size < 0 || id > 0xFFFF) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    const auto block = CResourceRegistry::Get().Find(instance, CResourceKey(ResourceType::kString),
                                                     CResourceKey(static_cast<WORD>(id / 16 + 1)), std::nullopt);
    const std::wstring* text = block && block->texts.size() == 16 ? &block->texts[id % 16] : nullptr;
    if (size == 0) {
        *reinterpret_cast<LPCWSTR*>(buffer) = text && !text->empty() ? text->c_str() : nullptr;
        return text ? static_cast<int>(text->size()) : 0;
    }
    if (!text || text->empty()) {
        buffer[0] = L'\0';
        if (block)
            SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
        return 0;
    }
    const std::size_t count = std::min(text->size(), static_cast<std::size_t>(size - 1));
    std::wmemcpy(buffer, text->c_str(), count);
    buffer[count] = L'\0';
    return static_cast<int>(count);
}
