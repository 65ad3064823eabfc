#include "Platform/Base/SharedFileTables.h"

#include <map>
#include <mutex>

namespace Platform {
namespace {

struct FileTables {
    CFileStamp stamp;
    std::map<std::wstring, std::shared_ptr<const CTextTable>> tables;
};

struct Registry {
    std::mutex mutex;
    std::map<std::string, FileTables> files;
};

// Built on first use and never destroyed: a deliverable's statics may look
// tables up while the process ends.
Registry& TheRegistry()
{
    static Registry* registry = new Registry;
    return *registry;
}

}

std::shared_ptr<const CTextTable> CSharedFileTables::Find(const std::string& path, const std::wstring& name,
                                                          const CFileStamp& stamp)
{
    Registry& registry = TheRegistry();
    std::lock_guard guard(registry.mutex);
    const auto file = registry.files.find(path);
    if (file == registry.files.end() || file->second.stamp != stamp)
        return nullptr;
    const auto table = file->second.tables.find(name);
    return table == file->second.tables.end() ? nullptr : table->second;
}

std::shared_ptr<const CTextTable> CSharedFileTables::Keep(const std::string& path, const std::wstring& name,
                                                          const CFileStamp& stamp, CTextTable table)
{
    auto made = std::make_shared<const CTextTable>(std::move(table));
    Registry& registry = TheRegistry();
    std::lock_guard guard(registry.mutex);
    FileTables& file = registry.files[path];
    if (file.stamp != stamp)
        file = FileTables{stamp, {}};
    return file.tables.try_emplace(name, std::move(made)).first->second;
}

void CSharedFileTables::Clear()
{
    Registry& registry = TheRegistry();
    std::lock_guard guard(registry.mutex);
    registry.files.clear();
}

}
