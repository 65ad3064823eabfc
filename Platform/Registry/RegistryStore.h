#pragma once
// The file-backed store of one hive. Each process holds the hive in memory
// and reads the file again whenever another process has replaced it; every
// change is a read-modify-write under an advisory lock on a lock file beside
// the store, written to a temporary file and renamed over the old one, so
// concurrent writers lose nothing and a reader never sees half a file.

#include "Platform/Registry/RegistryKey.h"

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <mutex>
#include <optional>
#include <string>

namespace Registry {

enum class Hive { ClassesRoot, CurrentUser, LocalMachine, Users, CurrentConfig };

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

private:
    struct CFileIdentity {
        std::uint64_t device = 0;
        std::uint64_t inode = 0;
        std::int64_t size = 0;
        std::int64_t mtimeSec = 0;
        std::int64_t mtimeNsec = 0;
        std::int64_t ctimeSec = 0;
        std::int64_t ctimeNsec = 0;
        friend bool operator==(const CFileIdentity&, const CFileIdentity&) = default;
    };

    DWORD Refresh(const std::filesystem::path& path, bool haveLock);
    DWORD LoadOnce(const std::filesystem::path& path, bool haveLock, bool& retry);
    DWORD SetAside(const std::filesystem::path& path, const CFileIdentity& bad, const std::string& reason,
        bool haveLock, bool& retry);
    DWORD Save(const std::filesystem::path& path);
    void ResetToEmpty();

    std::string m_fileStem;
    std::mutex m_mutex;
    std::filesystem::path m_cachedPath;
    bool m_loaded = false;
    // Set when a damaged file could not be moved aside: writing would destroy it.
    bool m_blocked = false;
    std::optional<CFileIdentity> m_identity;
    CRegistryKey m_root;
    std::uint64_t m_generation = 0;
    // How long a writer waits for another process's lock before it gives up.
    static constexpr std::chrono::milliseconds m_lockTimeout{10000};
};

}
