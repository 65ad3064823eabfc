// Arbitrary bytes as a store file, found by a reader or a writer, oversized,
// read-only or locked by another holder: the store reads what parses, sets
// aside what does not (keeping its bytes), never writes over a file it could
// not read, and what it saves parses again with the value it was given.
#include "Platform/Base/Tests/FileBytes.h"
#include "Platform/Base/Tests/Fuzz/FuzzScratchFolder.h"
#include "Platform/Base/WinError.h"
#include "Platform/Registry/RegistryFormat.h"
#include "Platform/Registry/RegistryStore.h"
#include "Platform/Registry/RegistryTypes.h"

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

enum Flags : std::uint8_t { kOversized = 1, kReadOnly = 2, kLocked = 4, kWriterFirst = 8 };

struct SetAside {
    bool found = false;
    std::uintmax_t size = 0;
    std::string bytes; // of a copy that is not oversized
};

// The copy set aside, gone again so that the folder does not grow.
SetAside TakeSetAside(const fs::path& folder)
{
    SetAside kept;
    for (const auto& entry : fs::directory_iterator(folder)) {
        if (entry.path().filename().string().find(".corrupt-") == std::string::npos)
            continue;
        kept.found = true;
        kept.size = fs::file_size(entry.path());
        if (kept.size <= Registry::kMaxRegistryFileSize)
            kept.bytes = TestSupport::ReadFile(entry.path());
        fs::remove(entry.path());
    }
    return kept;
}

}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 1)
        return 0;
    const std::uint8_t flags = data[0];
    const std::string bytes(reinterpret_cast<const char*>(data + 1), size - 1);
    static const bool configured = [] {
        return ::setenv("XDG_CONFIG_HOME", FuzzSupport::ScratchFolder().c_str(), 1) == 0;
    }();
    (void)configured;

    Registry::CRegistryStore store("Fuzz");
    store.SetLockTimeout(std::chrono::milliseconds(1));
    const fs::path file = store.FilePath();
    fs::create_directories(file.parent_path());
    TestSupport::WriteFile(file, bytes);
    if (flags & kOversized)
        fs::resize_file(file, Registry::kMaxRegistryFileSize + 1);
    const std::uintmax_t sizeBefore = fs::file_size(file);
    if (flags & kReadOnly)
        fs::permissions(file, fs::perms::owner_read);
    int holder = -1;
    if (flags & kLocked) {
        holder = ::open((file.string() + ".lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
        if (holder < 0 || ::flock(holder, LOCK_EX | LOCK_NB) != 0)
            std::abort();
    }

    const auto read = [&] {
        return store.Read([](const Registry::CRegistryKey&) { return DWORD{ERROR_SUCCESS}; });
    };
    const auto write = [&] {
        return store.Write([](Registry::CRegistryKey& root, bool& changed) {
            root.SetValue({L"fuzz", REG_DWORD, {1, 2, 3, 4}});
            changed = true;
            return DWORD{ERROR_SUCCESS};
        });
    };
    const DWORD first = (flags & kWriterFirst) ? write() : read();
    const DWORD second = write();

    const SetAside aside = TakeSetAside(file.parent_path());
    // A file set aside keeps every byte it had.
    if (aside.found && (aside.size != sizeBefore || (!(flags & kOversized) && aside.bytes != bytes)))
        std::abort();
    if (flags & kReadOnly) {
        // A read-only store is never replaced.
        if (fs::exists(file) && fs::file_size(file) != sizeBefore && !aside.found)
            std::abort();
    } else if (second == ERROR_SUCCESS && !(flags & kLocked) && fs::exists(file)) {
        Registry::CRegistryFileContent content;
        std::string error;
        if (!Registry::ParseRegistryFile(TestSupport::ReadFile(file), content, error) || !content.root.FindValue(L"fuzz"))
            std::abort();
    }
    (void)first;
    if (holder >= 0)
        ::close(holder);
    std::error_code ignored;
    fs::permissions(file, fs::perms::owner_read | fs::perms::owner_write, ignored);
    fs::remove(file, ignored);
    return 0;
}
