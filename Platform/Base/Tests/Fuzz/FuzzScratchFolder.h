#pragma once
// The folder in which a fuzz target writes its temporary files: one of this
// process's own, made fresh on first use and removed with everything in it
// when the process ends, so that parallel runs never share or leave files.

#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

#include <unistd.h>

namespace FuzzSupport {

inline const std::filesystem::path& ScratchFolder()
{
    static const struct Folder {
        std::filesystem::path path;
        Folder()
        {
            // Memory-backed where there is such a folder: a synced write
            // then costs no disk round trip per input.
            std::error_code error;
            const std::filesystem::path base = std::filesystem::is_directory("/dev/shm", error)
                ? std::filesystem::path("/dev/shm")
                : std::filesystem::temp_directory_path();
            std::string pattern = (base / "zell-fuzz-XXXXXX").string();
            if (::mkdtemp(pattern.data()) == nullptr)
                std::abort();
            path = pattern;
        }
        ~Folder()
        {
            std::error_code ignored;
            std::filesystem::permissions(path, std::filesystem::perms::owner_all, ignored);
            std::filesystem::remove_all(path, ignored);
        }
    } folder;
    return folder.path;
}

}
