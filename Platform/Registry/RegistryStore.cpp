#include "Platform/Registry/RegistryStore.h"

#include "Platform/Base/LastError.h"
#include "Platform/Base/FileSystemPath.h"
#include "Platform/Base/WinError.h"
#include "Platform/Registry/RegistryFormat.h"
#include "Platform/Registry/RegistryTrace.h"

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <thread>
#include <utility>

#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace Registry {
namespace {

using Text::WidePath;

class CUniqueFd {
public:
    explicit CUniqueFd(int fd = -1) : m_fd(fd) {}
    ~CUniqueFd()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    CUniqueFd(const CUniqueFd&) = delete;
    CUniqueFd& operator=(const CUniqueFd&) = delete;
    int Get() const { return m_fd; }
    bool Valid() const { return m_fd >= 0; }
    void Reset(int fd)
    {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = fd;
    }
    int Release()
    {
        const int fd = m_fd;
        m_fd = -1;
        return fd;
    }

private:
    int m_fd = -1;
};

// The advisory lock that serialises writers of one hive across processes. A
// fresh descriptor per acquisition keeps the lock from being shared with a
// forked child through an inherited descriptor.
class CStoreLock {
public:
    DWORD Acquire(const std::filesystem::path& lockPath, std::chrono::milliseconds timeout)
    {
        m_fd.Reset(::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600));
        if (!m_fd.Valid())
            return Win32ErrorFromErrno(errno);
        const auto deadline = std::chrono::steady_clock::now() + timeout;
        auto pause = std::chrono::microseconds(200);
        for (;;) {
            if (::flock(m_fd.Get(), LOCK_EX | LOCK_NB) == 0)
                return ERROR_SUCCESS;
            if (errno != EWOULDBLOCK && errno != EINTR)
                return Win32ErrorFromErrno(errno);
            if (std::chrono::steady_clock::now() >= deadline)
                return ERROR_LOCK_VIOLATION;
            std::this_thread::sleep_for(pause);
            pause = std::min(pause * 2, std::chrono::microseconds(5000));
        }
    }

private:
    CUniqueFd m_fd;
};

DWORD ReadAll(int fd, std::int64_t size, std::string& bytes)
{
    bytes.clear();
    bytes.resize(static_cast<std::size_t>(size));
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::read(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return Win32ErrorFromErrno(errno);
        }
        if (n == 0)
            break;
        done += static_cast<std::size_t>(n);
    }
    bytes.resize(done);
    return ERROR_SUCCESS;
}

DWORD WriteAll(int fd, const std::string& bytes)
{
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return Win32ErrorFromErrno(errno);
        }
        done += static_cast<std::size_t>(n);
    }
    return ERROR_SUCCESS;
}

std::string UtcStamp()
{
    const std::time_t now = std::time(nullptr);
    std::tm parts{};
    gmtime_r(&now, &parts);
    char text[32] = {};
    std::strftime(text, sizeof text, "%Y%m%dT%H%M%SZ", &parts);
    return text;
}

struct NoticeBoard {
    std::mutex mutex;
    std::vector<CStoreNotice> pending;
};

NoticeBoard& Notices()
{
    static NoticeBoard board;
    return board;
}

void PostNotice(CStoreNotice::Kind kind, const std::filesystem::path& file)
{
    NoticeBoard& board = Notices();
    std::lock_guard guard(board.mutex);
    board.pending.push_back({kind, WidePath(file)});
}

// By the mode bits as well as by access(), so that a profile made read-only
// is respected by a user whom the system would let write anyway.
bool RefusesWrites(const std::filesystem::path& path)
{
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0)
        return false;
    return (info.st_mode & S_IWUSR) == 0 || ::access(path.c_str(), W_OK) != 0;
}

bool IsReadOnly(const std::filesystem::path& store)
{
    return RefusesWrites(store) || RefusesWrites(store.parent_path());
}

std::filesystem::path HomeDirectory()
{
    if (const char* home = std::getenv("HOME"); home && *home)
        return home;
    if (const passwd* entry = ::getpwuid(::getuid()); entry && entry->pw_dir)
        return entry->pw_dir;
    return "/tmp";
}

}

CRegistryStore& CRegistryStore::Of(Hive hive)
{
    static CRegistryStore classesRoot("HKEY_CLASSES_ROOT");
    static CRegistryStore currentUser("HKEY_CURRENT_USER");
    static CRegistryStore localMachine("HKEY_LOCAL_MACHINE");
    static CRegistryStore users("HKEY_USERS");
    static CRegistryStore currentConfig("HKEY_CURRENT_CONFIG");
    switch (hive) {
    case Hive::ClassesRoot: return classesRoot;
    case Hive::CurrentUser: return currentUser;
    case Hive::LocalMachine: return localMachine;
    case Hive::Users: return users;
    case Hive::CurrentConfig: return currentConfig;
    }
    return currentUser;
}

std::filesystem::path CRegistryStore::Directory()
{
    // Relative values are ignored, as the base-directory convention asks.
    if (const char* config = std::getenv("XDG_CONFIG_HOME"); config && config[0] == '/')
        return std::filesystem::path(config) / "zell-software";
    return HomeDirectory() / ".config" / "zell-software";
}

std::filesystem::path CRegistryStore::FilePath() const
{
    return Directory() / (m_fileStem + ".reg");
}

std::vector<CStoreNotice> CRegistryStore::TakeNotices()
{
    NoticeBoard& board = Notices();
    std::lock_guard guard(board.mutex);
    return std::exchange(board.pending, {});
}

bool CRegistryStore::NoteIfReadOnly(const std::filesystem::path& path)
{
    const bool readOnly = IsReadOnly(path);
    if (readOnly && !m_readOnlyNoted) {
        m_readOnlyNoted = true;
        PostNotice(CStoreNotice::Kind::ReadOnly, path);
    }
    return readOnly;
}

void CRegistryStore::SetLockTimeout(std::chrono::milliseconds timeout)
{
    std::lock_guard guard(m_mutex);
    m_lockTimeout = timeout;
}

void CRegistryStore::ResetToEmpty()
{
    m_root = CRegistryKey();
    m_generation = 0;
    m_identity.reset();
}

DWORD CRegistryStore::Read(const Reader& reader)
{
    std::lock_guard guard(m_mutex);
    const auto path = FilePath();
    if (const DWORD rc = Refresh(path, false); rc != ERROR_SUCCESS)
        return rc;
    NoteIfReadOnly(path);
    return reader(m_root);
}

DWORD CRegistryStore::Write(const Writer& writer)
{
    std::lock_guard guard(m_mutex);
    const auto path = FilePath();
    if (IsReadOnly(path))
        return WriteInMemoryOnly(path, writer);
    std::error_code ec;
    // The hives hold the user's settings: only the user may read them.
    if (std::filesystem::create_directories(path.parent_path(), ec))
        std::filesystem::permissions(path.parent_path(), std::filesystem::perms::owner_all, ec);
    if (ec)
        return Win32ErrorFromErrno(ec.value());
    CStoreLock lock;
    if (const DWORD rc = lock.Acquire(path.string() + ".lock", m_lockTimeout); rc != ERROR_SUCCESS)
        return rc;
    if (const DWORD rc = Refresh(path, true); rc != ERROR_SUCCESS)
        return rc;
    if (m_blocked)
        return ERROR_REGISTRY_CORRUPT;
    bool changed = false;
    const DWORD rc = writer(m_root, changed);
    if (!changed)
        return rc;
    if (rc != ERROR_SUCCESS) {
        // A writer that fails half-way must not leave its half in memory.
        m_loaded = false;
        return rc;
    }
    return Save(path);
}

// A read-only profile is the user's choice: its file and mode stay as they
// are, and changes last as long as the process.
DWORD CRegistryStore::WriteInMemoryOnly(const std::filesystem::path& path, const Writer& writer)
{
    if (const DWORD rc = Refresh(path, false); rc != ERROR_SUCCESS)
        return rc;
    NoteIfReadOnly(path);
    bool changed = false;
    const DWORD rc = writer(m_root, changed);
    if (changed && rc != ERROR_SUCCESS)
        m_loaded = false;
    return rc;
}

DWORD CRegistryStore::Refresh(const std::filesystem::path& path, bool haveLock)
{
    if (path != m_cachedPath) {
        m_cachedPath = path;
        m_loaded = false;
        m_blocked = false;
        m_readOnlyNoted = false;
    }
    // A file that is replaced again while being set aside is tried anew; the
    // bound keeps a process that keeps writing damaged files from stalling us.
    for (int attempt = 0; attempt < 4; ++attempt) {
        bool retry = false;
        const DWORD rc = LoadOnce(path, haveLock, retry);
        if (!retry)
            return rc;
    }
    ResetToEmpty();
    m_loaded = true;
    return ERROR_SUCCESS;
}

DWORD CRegistryStore::LoadOnce(const std::filesystem::path& path, bool haveLock, bool& retry)
{
    CUniqueFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (!fd.Valid()) {
        if (errno != ENOENT)
            return Win32ErrorFromErrno(errno);
        // Changes made in memory only (a read-only folder) outlive the
        // check as long as the file stays absent.
        if (!m_blocked && !(m_loaded && !m_identity))
            ResetToEmpty();
        m_loaded = true;
        m_blocked = false;
        return ERROR_SUCCESS;
    }
    const auto stamp = CFileIdentity::OfDescriptor(fd.Get());
    if (!stamp)
        return Win32ErrorFromErrno(errno);
    const CFileIdentity& identity = *stamp;
    if (m_loaded && m_identity && *m_identity == identity)
        return ERROR_SUCCESS;
    if (identity.size > static_cast<std::int64_t>(kMaxRegistryFileSize))
        return SetAside(path, identity, "file too large", haveLock, retry);
    std::string bytes;
    if (const DWORD rc = ReadAll(fd.Get(), identity.size, bytes); rc != ERROR_SUCCESS)
        return rc;
    CRegistryFileContent content;
    std::string reason;
    if (!ParseRegistryFile(bytes, content, reason))
        return SetAside(path, identity, reason, haveLock, retry);
    m_root = std::move(content.root);
    m_generation = content.generation;
    m_identity = identity;
    m_loaded = true;
    m_blocked = false;
    return ERROR_SUCCESS;
}

DWORD CRegistryStore::SetAside(const std::filesystem::path& path, const CFileIdentity& bad,
    const std::string& reason, bool haveLock, bool& retry)
{
    CStoreLock lock;
    if (!haveLock) {
        if (const DWORD rc = lock.Acquire(path.string() + ".lock", m_lockTimeout); rc != ERROR_SUCCESS)
            return rc;
        // Another process may have dealt with the file meanwhile.
        struct stat info {};
        if (::stat(path.c_str(), &info) != 0 || static_cast<std::uint64_t>(info.st_ino) != bad.inode
            || static_cast<std::int64_t>(info.st_size) != bad.size
            || static_cast<std::int64_t>(info.st_mtim.tv_nsec) != bad.mtimeNsec) {
            retry = true;
            return ERROR_SUCCESS;
        }
    }
    const std::string base = path.string() + ".corrupt-" + UtcStamp();
    std::string aside = base;
    std::error_code unknown;
    for (int n = 1; std::filesystem::exists(aside, unknown) && n < 1000; ++n)
        aside = base + "-" + std::to_string(n);
    ResetToEmpty();
    m_loaded = true;
    if (::rename(path.c_str(), aside.c_str()) != 0) {
        const int error = errno;
        m_blocked = true;
        TraceRegistryProblem(L"the store file " + WidePath(path) + L" is damaged ("
            + Text::Utf8ToWide(reason) + L") and could not be moved aside ("
            + Text::Utf8ToWide(std::strerror(error)) + L"); it is left untouched and not written");
        return ERROR_SUCCESS;
    }
    m_blocked = false;
    PostNotice(CStoreNotice::Kind::SetAside, aside);
    TraceRegistryProblem(L"the store file " + WidePath(path) + L" is damaged (" + Text::Utf8ToWide(reason)
        + L"); kept as " + Text::FileNameToWide(aside) + L", starting with an empty hive");
    return ERROR_SUCCESS;
}

DWORD CRegistryStore::Save(const std::filesystem::path& path)
{
    static std::atomic<unsigned> counter{0};
    const std::string text = SerializeRegistryFile(m_root, m_generation + 1);
    if (text.size() > kMaxRegistryFileSize) {
        m_loaded = false;
        return ERROR_NOT_ENOUGH_MEMORY;
    }
    const std::string temp
        = path.string() + ".tmp-" + std::to_string(::getpid()) + "-" + std::to_string(counter++);
    DWORD rc = ERROR_SUCCESS;
    {
        CUniqueFd fd(::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600));
        if (!fd.Valid()) {
            m_loaded = false;
            return Win32ErrorFromErrno(errno);
        }
        rc = WriteAll(fd.Get(), text);
        if (rc == ERROR_SUCCESS && ::fsync(fd.Get()) != 0)
            rc = Win32ErrorFromErrno(errno);
        if (::close(fd.Release()) != 0 && rc == ERROR_SUCCESS)
            rc = Win32ErrorFromErrno(errno);
    }
    if (rc == ERROR_SUCCESS && ::rename(temp.c_str(), path.c_str()) != 0)
        rc = Win32ErrorFromErrno(errno);
    if (rc != ERROR_SUCCESS) {
        ::unlink(temp.c_str());
        // The tree in memory holds a change the file does not: read it again.
        m_loaded = false;
        return rc;
    }
    m_identity = CFileIdentity::Of(path.string());
    if (!m_identity)
        m_loaded = false;
    ++m_generation;
    return ERROR_SUCCESS;
}

}
