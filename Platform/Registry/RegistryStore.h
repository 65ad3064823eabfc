#pragma once
// The file-backed store of one hive. Each process holds the hive in memory
// and reads the file again whenever another process has replaced it; every
// change is a read-modify-write under an advisory lock on a lock file beside
// the store, written to a temporary file and renamed over the old one, so
// concurrent writers lose nothing and a reader never sees half a file.

#include "Platform/Base/FileStamp.h"
#include "Platform/Registry/RegistryKey.h"

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace Registry {

enum class Hive { ClassesRoot, CurrentUser, LocalMachine, Users, CurrentConfig };

// Something the user must hear about once: a damaged store file was moved
// aside (file names the copy that holds the old content), or the store is
// read-only, so changes stay in memory and are not kept (file names the store).
struct CStoreNotice {
    enum class Kind { SetAside, ReadOnly };
    Kind kind = Kind::SetAside;
    std::wstring file;
    friend bool operator==(const CStoreNotice&, const CStoreNotice&) = default;
};

class CRegistryStore {
public:
    // Returns a DWORD error code; `changed` tells the store to save.
    using Reader = std::function<DWORD(const CRegistryKey& root)>;
    using Writer = std::function<DWORD(CRegistryKey& root, bool& changed)>;

    static CRegistryStore& Of(Hive hive);
    // "$XDG_CONFIG_HOME/zell-software", else "$HOME/.config/zell-software";
    // looked up on every access, so a test can move the store.
    static std::filesystem::path Directory();

    explicit CRegistryStore(std::string fileStem) : m_fileStem(std::move(fileStem)) {}
    CRegistryStore(const CRegistryStore&) = delete;
    CRegistryStore& operator=(const CRegistryStore&) = delete;

    std::filesystem::path FilePath() const;

    DWORD Read(const Reader& reader);
    DWORD Write(const Writer& writer);

    // How long a writer waits for another process's lock before it gives up.
    void SetLockTimeout(std::chrono::milliseconds timeout);

    // The notices of all stores of this process not taken yet; each is
    // handed out once.
    static std::vector<CStoreNotice> TakeNotices();

private:
    using CFileIdentity = Platform::CFileStamp;

    DWORD Refresh(const std::filesystem::path& path, bool haveLock);
    DWORD LoadOnce(const std::filesystem::path& path, bool haveLock, bool& retry);
    DWORD SetAside(const std::filesystem::path& path, const CFileIdentity& bad, const std::string& reason,
        bool haveLock, bool& retry);
    DWORD Save(const std::filesystem::path& path);
    // The file, or the folder that would take it, refuses our writes.
    bool NoteIfReadOnly(const std::filesystem::path& path);
    DWORD WriteInMemoryOnly(const std::filesystem::path& path, const Writer& writer);
    void ResetToEmpty();

    std::string m_fileStem;
    std::mutex m_mutex;
    std::filesystem::path m_cachedPath;
    bool m_loaded = false;
    // Set when a damaged file could not be moved aside: writing would destroy it.
    bool m_blocked = false;
    // The read-only notice of this store was given.
    bool m_readOnlyNoted = false;
    std::optional<CFileIdentity> m_identity;
    CRegistryKey m_root;
    std::uint64_t m_generation = 0;
    std::chrono::milliseconds m_lockTimeout{10000};
};

}
