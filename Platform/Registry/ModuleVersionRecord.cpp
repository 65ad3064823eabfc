#include "Platform/Registry/ModuleVersionRecord.h"

#include "Platform/Base/TextConversion.h"
#include "Platform/Registry/ElfSectionReader.h"
#include "Platform/Registry/RegistryNames.h"

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace Version {
namespace {

constexpr char kMarker[16] = {'Z', 'E', 'L', 'L', 'V', 'E', 'R', 'S', 'I', 'O', 'N', 'R', 'E', 'C', '1', '\0'};
constexpr std::size_t kHeaderSize = 52;
constexpr std::size_t kMaxSectionSize = 1024 * 1024;

template <typename T>
T Load(std::string_view bytes, std::size_t offset)
{
    T value{};
    std::memcpy(&value, bytes.data() + offset, sizeof value);
    return value;
}

}

std::wstring CModuleVersionRecord::Value(std::wstring_view name) const
{
    for (const auto& [key, value] : strings) {
        if (Registry::NamesEqual(key, name))
            return value;
    }
    return {};
}

bool ParseModuleVersionRecord(std::string_view section, CModuleVersionRecord& record, std::string& error)
{
    record = CModuleVersionRecord{};
    if (section.size() < kHeaderSize || std::memcmp(section.data(), kMarker, sizeof kMarker) != 0) {
        error = "no version record in the section";
        return false;
    }
    if (Load<std::uint32_t>(section, 16) != 1) {
        error = "unknown version record format";
        return false;
    }
    const std::uint32_t size = Load<std::uint32_t>(section, 20);
    if (size < kHeaderSize + 1 || size > section.size()) {
        error = "version record size does not fit its section";
        return false;
    }
    record.fileVersionMS = Load<std::uint32_t>(section, 24);
    record.fileVersionLS = Load<std::uint32_t>(section, 28);
    record.productVersionMS = Load<std::uint32_t>(section, 32);
    record.productVersionLS = Load<std::uint32_t>(section, 36);
    record.fileFlags = Load<std::uint32_t>(section, 40);
    record.fileType = Load<std::uint32_t>(section, 44);
    record.language = Load<std::uint16_t>(section, 48);
    record.codePage = Load<std::uint16_t>(section, 50);

    // Name, NUL, value, NUL ..., ended by an empty name.
    const std::string_view strings = section.substr(kHeaderSize, size - kHeaderSize);
    std::size_t pos = 0;
    for (;;) {
        const auto nameEnd = strings.find('\0', pos);
        if (nameEnd == std::string_view::npos) {
            error = "version texts not terminated";
            return false;
        }
        if (nameEnd == pos)
            return true;
        const auto valueEnd = strings.find('\0', nameEnd + 1);
        if (valueEnd == std::string_view::npos) {
            error = "version texts not terminated";
            return false;
        }
        record.strings.emplace_back(Text::Utf8ToWide(strings.substr(pos, nameEnd - pos)),
            Text::Utf8ToWide(strings.substr(nameEnd + 1, valueEnd - nameEnd - 1)));
        pos = valueEnd + 1;
    }
}

bool ReadModuleVersionRecord(const std::filesystem::path& file, CModuleVersionRecord& record, std::string& error)
{
    record = CModuleVersionRecord{};
    const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        error = "cannot open " + file.string() + ": " + std::strerror(errno);
        return false;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        error = file.string() + " is not a regular file";
        return false;
    }
    const auto readAt = [fd](std::uint64_t offset, std::size_t size, void* out) {
        auto* target = static_cast<char*>(out);
        std::size_t done = 0;
        while (done < size) {
            const ssize_t n = ::pread(fd, target + done, size - done, static_cast<off_t>(offset + done));
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                return false;
            done += static_cast<std::size_t>(n);
        }
        return true;
    };
    CElfSectionReader reader(readAt, static_cast<std::uint64_t>(info.st_size));
    std::string section;
    const bool found = reader.Find(".zell_version", kMaxSectionSize, section, error);
    ::close(fd);
    return found && ParseModuleVersionRecord(section, record, error);
}

}
