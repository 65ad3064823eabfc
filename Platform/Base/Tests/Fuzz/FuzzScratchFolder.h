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
            std::string pattern = (std::filesystem::temp_directory_path() / "zell-fuzz-XXXXXX").string();
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
