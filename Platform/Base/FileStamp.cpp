#include "Platform/Base/FileStamp.h"

#include <sys/stat.h>

#include <ctime>

namespace Platform {
namespace {

CFileStamp StampOf(const struct stat& info)
{
    return CFileStamp{static_cast<std::uint64_t>(info.st_dev), static_cast<std::uint64_t>(info.st_ino),
        static_cast<std::int64_t>(info.st_size), static_cast<std::int64_t>(info.st_mtim.tv_sec),
        static_cast<std::int64_t>(info.st_mtim.tv_nsec), static_cast<std::int64_t>(info.st_ctim.tv_sec),
        static_cast<std::int64_t>(info.st_ctim.tv_nsec)};
}

}

bool CFileStamp::IsSettled() const
{
    timespec now {};
    ::clock_gettime(CLOCK_REALTIME, &now);
    return now.tv_sec - mtimeSec >= 2;
}

std::optional<CFileStamp> CFileStamp::Of(const std::string& path)
{
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0)
        return std::nullopt;
    return StampOf(info);
}

std::optional<CFileStamp> CFileStamp::OfDescriptor(int fd)
{
    struct stat info {};
    if (::fstat(fd, &info) != 0)
        return std::nullopt;
    return StampOf(info);
}

}
