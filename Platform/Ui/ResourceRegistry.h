#pragma once
// The resources of every module of the process, by module handle. Tables
// register when their module loads and are compiled into the platform's
// formats on the first look-up in that module, so that nothing a table's
// builders need has to be ready at load time.
#include "Platform/Ui/CompiledResource.h"
#include "Platform/Ui/ResourceCompiler.h"
#include "Platform/Ui/ResourceTable.h"

#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

namespace Ui {

class CResourceRegistry {
public:
    static CResourceRegistry& Get();

    // The module is found from the table's address on the next look-up,
    // not while the module is still being loaded.
    void Register(const Res::ResourceTable* table);
    void Unregister(const Res::ResourceTable* table);

    // `language` empty: the full language search of FindResource; a value:
    // that language or its neutral sub-language. Null with the error set.
    std::shared_ptr<const CompiledResource> Find(HMODULE module, const CResourceKey& type, const CResourceKey& name,
                                                 std::optional<LANGID> language);
    // Null with ERROR_INVALID_HANDLE unless the handle came from Find.
    std::shared_ptr<const CompiledResource> FromHandle(HANDLE handle) const;

private:
    using ByLanguage = std::map<LANGID, std::shared_ptr<CompiledResource>>;
    using ByName = std::map<CResourceKey, ByLanguage>;
    struct ModuleResources {
        std::vector<const Res::ResourceTable*> pending;
        std::map<const Res::ResourceTable*, std::vector<std::shared_ptr<CompiledResource>>> compiled;
        std::map<CResourceKey, ByName> byType;
        CResourceCompiler compiler;
        bool versionTried = false;
    };

    CResourceRegistry() = default;
    void PlaceUnplaced();
    void CompilePending(ModuleResources& module);
    void Add(ModuleResources& module, std::shared_ptr<CompiledResource> resource,
             std::vector<std::shared_ptr<CompiledResource>>& added);
    void AddVersion(HMODULE handle, ModuleResources& module);
    static std::shared_ptr<CompiledResource> ChooseLanguage(const ByLanguage& languages, std::optional<LANGID> language);

    mutable std::recursive_mutex m_mutex; // a table's builder may look up resources itself
    std::vector<const Res::ResourceTable*> m_unplaced;
    std::map<HMODULE, ModuleResources> m_modules;
};

}
