#pragma once
// The text form of one hive's store file. Every line is plain UTF-8; names and
// string data are quoted with escapes, so quotes, line breaks, NULs and
// characters outside Unicode survive. The last line carries a checksum of
// everything before it, so that a file cut short or garbled is recognised
// instead of being taken for a smaller registry.

#include "Platform/Registry/RegistryKey.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace Registry {

// Nothing legitimate comes near this; a larger file is taken as damaged
// rather than read into memory, and the store refuses to grow beyond it.
constexpr std::size_t kMaxRegistryFileSize = 64 * 1024 * 1024;

struct CRegistryFileContent {
    CRegistryKey root;
    std::uint64_t generation = 0;
};

std::string SerializeRegistryFile(const CRegistryKey& root, std::uint64_t generation);

// False with a reason (and the line it was found on) for anything that is not
// a complete store file; `content` is then unspecified.
bool ParseRegistryFile(std::string_view text, CRegistryFileContent& content, std::string& error);

std::uint32_t Crc32(std::string_view bytes);

}
