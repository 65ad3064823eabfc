#include "Common/SystemHelper/Xml/XmlFileCache.h"

#include "Platform/Base/FileStamp.h"
#include "Platform/Base/FileSystemPath.h"

#include <filesystem>
#include <map>
#include <mutex>
#include <optional>

namespace {

struct CachedFile {
    // Empty for a file that was missing.
    std::optional<Platform::CFileStamp> stamp;
    CXmlFileCache::tLoad load;
};

struct Cache {
    std::mutex mutex;
    std::map<std::wstring, CachedFile> files;
};

Cache& TheCache()
{
    static Cache cache;
    return cache;
}

}

CXmlFileCache::tLoad CXmlFileCache::Load(const std::wstring& path)
{
    const std::string narrow = Text::WideToFileName(path);
    const std::optional<Platform::CFileStamp> stamp = Platform::CFileStamp::Of(narrow);
    // A file written a moment ago may change again under the same stamp: it
    // is parsed anew, and only its failure is remembered, to be told once.
    const bool settled = !stamp || stamp->IsSettled();
    Cache& cache = TheCache();
    // Held while parsing: lookups that race for one file parse it once.
    std::lock_guard guard(cache.mutex);
    const auto found = cache.files.find(path);
    const bool same = found != cache.files.end() && found->second.stamp == stamp;
    if (same && settled) {
        tLoad again = found->second.load;
        again.firstFailure = false;
        return again;
    }
    const bool failedBefore = same && !found->second.load.document;
    auto document = std::make_shared<Xml::CXmlDocument>();
    tLoad load;
    if (document->Load(std::filesystem::path(narrow))) {
        load.document = std::move(document);
        if (!settled) {
            cache.files.erase(path);
            return load;
        }
    } else {
        load.error = document->ParseError();
        load.firstFailure = !failedBefore;
    }
    cache.files[path] = CachedFile{stamp, load};
    return load;
}

void CXmlFileCache::Clear()
{
    Cache& cache = TheCache();
    std::lock_guard guard(cache.mutex);
    cache.files.clear();
}
