#pragma once
// What tells one state of a file from the next without reading it: device,
// inode, size and both change times. A file replaced by rename, grown, cut or
// rewritten in place gets another stamp, so readers may keep what they parsed
// for as long as the stamp holds (see IsSettled).

#include <cstdint>
#include <optional>
#include <string>

namespace Platform {

struct CFileStamp {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::int64_t size = 0;
    std::int64_t mtimeSec = 0;
    std::int64_t mtimeNsec = 0;
    std::int64_t ctimeSec = 0;
    std::int64_t ctimeNsec = 0;
    friend bool operator==(const CFileStamp&, const CFileStamp&) = default;

    // The file time has a coarse clock: a file written in the last moments
    // may be written again with the same stamp. Only a settled file's
    // content may be kept by its stamp.
    bool IsSettled() const;

    // Empty when the file cannot be looked at (missing, no permission).
    static std::optional<CFileStamp> Of(const std::string& path);
    static std::optional<CFileStamp> OfDescriptor(int fd);
};

}
