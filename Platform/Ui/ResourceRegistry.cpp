#include "Platform/Ui/ResourceRegistry.h"

#include "Platform/Base/HandleTable.h"
#include "Platform/Base/LastError.h"
#include "Platform/Base/Module.h"
#include "Platform/Ui/ResourceTypes.h"
#include "Platform/Ui/VersionResource.h"

#include <algorithm>

namespace Ui {

namespace {

Platform::HandleTable<CompiledResource, HANDLE>& Handles()
{
    static auto* table = new Platform::HandleTable<CompiledResource, HANDLE>(Platform::HandleKind::Other1);
    return *table;
}

}  // namespace

CResourceRegistry& CResourceRegistry::Get()
{
    // Never destroyed: modules unregister from their own exit code.
    static auto* registry = new CResourceRegistry;
    return *registry;
}

void CResourceRegistry::Register(const Res::ResourceTable* table)
{
    if (!table)
        return;
    std::lock_guard lock(m_mutex);
    m_unplaced.push_back(table);
}

void CResourceRegistry::PlaceUnplaced()
{
    for (const Res::ResourceTable* table : m_unplaced) {
        if (HMODULE module = Platform::GetModuleOfAddress(table))
            m_modules[module].pending.push_back(table);
    }
    m_unplaced.clear();
}

void CResourceRegistry::Unregister(const Res::ResourceTable* table)
{
    std::lock_guard lock(m_mutex);
    m_unplaced.erase(std::remove(m_unplaced.begin(), m_unplaced.end(), table), m_unplaced.end());
    for (auto module = m_modules.begin(); module != m_modules.end(); ++module) {
        auto& pending = module->second.pending;
        pending.erase(std::remove(pending.begin(), pending.end(), table), pending.end());
        const auto compiled = module->second.compiled.find(table);
        if (compiled == module->second.compiled.end())
            continue;
        for (const auto& resource : compiled->second) {
            auto& names = module->second.byType[resource->type];
            auto& languages = names[resource->name];
            languages.erase(resource->language);
            if (languages.empty())
                names.erase(resource->name);
            Handles().Remove(resource->handle);
        }
        module->second.compiled.erase(compiled);
        if (module->second.compiled.empty() && module->second.pending.empty()) {
            m_modules.erase(module);
            return;
        }
    }
}

void CResourceRegistry::CompilePending(ModuleResources& module)
{
    while (!module.pending.empty()) {
        const Res::ResourceTable* table = module.pending.front();
        module.pending.erase(module.pending.begin());
        auto& added = module.compiled[table];
        for (auto& resource : module.compiler.Compile(*table))
            Add(module, std::move(resource), added);
    }
}

void CResourceRegistry::Add(ModuleResources& module, std::shared_ptr<CompiledResource> resource,
                            std::vector<std::shared_ptr<CompiledResource>>& added)
{
    auto& slot = module.byType[resource->type][resource->name][resource->language];
    if (slot)
        return; // the first table to name a resource keeps it
    resource->handle = Handles().Insert(resource);
    if (!resource->handle)
        return;
    slot = resource;
    added.push_back(std::move(resource));
}

void CResourceRegistry::AddVersion(HMODULE handle, ModuleResources& module)
{
    if (module.versionTried)
        return;
    module.versionTried = true;
    if (module.byType.count(CResourceKey(ResourceType::kVersion)))
        return; // a table brings its own
    LANGID language = 0;
    std::vector<BYTE> bytes = ReadVersionResource(handle, language);
    if (bytes.empty())
        return;
    auto resource = std::make_shared<CompiledResource>();
    resource->type = CResourceKey(ResourceType::kVersion);
    resource->name = CResourceKey(1);
    resource->language = language;
    resource->Own(std::move(bytes));
    Add(module, std::move(resource), module.compiled[nullptr]);
}

std::shared_ptr<CompiledResource> CResourceRegistry::ChooseLanguage(const ByLanguage& languages,
                                                                    std::optional<LANGID> language)
{
    const auto pick = [&](LANGID wanted) -> std::shared_ptr<CompiledResource> {
        const auto found = languages.find(wanted);
        return found == languages.end() ? nullptr : found->second;
    };
    if (language) {
        if (auto exact = pick(*language))
            return exact;
        return pick(MAKELANGID(PRIMARYLANGID(*language), SUBLANG_NEUTRAL));
    }
    const LANGID ui = GetThreadUILanguage();
    for (LANGID wanted : {ui, MAKELANGID(PRIMARYLANGID(ui), SUBLANG_NEUTRAL), MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL),
                          MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), MAKELANGID(LANG_NEUTRAL, SUBLANG_SYS_DEFAULT),
                          MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US)}) {
        if (auto found = pick(wanted))
            return found;
    }
    return languages.empty() ? nullptr : languages.begin()->second;
}

std::shared_ptr<const CompiledResource> CResourceRegistry::Find(HMODULE handle, const CResourceKey& type,
                                                                const CResourceKey& name,
                                                                std::optional<LANGID> language)
{
    if (!handle)
        handle = GetModuleHandleW(nullptr);
    if (!type.IsValid() || !name.IsValid()) {
        SetLastError(type.IsValid() ? ERROR_RESOURCE_NAME_NOT_FOUND : ERROR_RESOURCE_TYPE_NOT_FOUND);
        return nullptr;
    }
    std::lock_guard lock(m_mutex);
    PlaceUnplaced();
    auto found = m_modules.find(handle);
    if (found == m_modules.end()) {
        if (type != CResourceKey(ResourceType::kVersion)) {
            SetLastError(ERROR_RESOURCE_DATA_NOT_FOUND);
            return nullptr;
        }
        found = m_modules.emplace(handle, ModuleResources{}).first;
    }
    ModuleResources& module = found->second;
    CompilePending(module);
    if (type == CResourceKey(ResourceType::kVersion)) {
        AddVersion(handle, module);
        if (module.byType.empty() && module.compiled.empty()) {
            // No module of ours, or one without resources: nothing to keep.
            m_modules.erase(found);
            SetLastError(ERROR_RESOURCE_DATA_NOT_FOUND);
            return nullptr;
        }
    }
    const auto names = module.byType.find(type);
    if (names == module.byType.end() || names->second.empty()) {
        SetLastError(ERROR_RESOURCE_TYPE_NOT_FOUND);
        return nullptr;
    }
    const auto languages = names->second.find(name);
    if (languages == names->second.end()) {
        SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
        return nullptr;
    }
    auto resource = ChooseLanguage(languages->second, language);
    if (!resource)
        SetLastError(ERROR_RESOURCE_LANG_NOT_FOUND);
    return resource;
}

std::shared_ptr<const CompiledResource> CResourceRegistry::FromHandle(HANDLE handle) const
{
    auto resource = Handles().Lookup(handle);
    if (!resource)
        SetLastError(ERROR_INVALID_HANDLE);
    return resource;
}

Res::Registration::Registration(const ResourceTable& table) : m_table(&table)
{
    CResourceRegistry::Get().Register(&table);
}

Res::Registration::~Registration()
{
    CResourceRegistry::Get().Unregister(m_table);
}

}
