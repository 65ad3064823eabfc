#pragma once
// The version record of a module (program or library), built into it by the
// zell_version_record() CMake function and read back from the module's file:
// the fixed numbers of a version block and its texts (CompanyName,
// FileDescription, FileVersion, ProductName, ProductVersion, ...).

#include "Platform/Base/Types.h"

#include <filesystem>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace Version {

// The signature the fixed block of a version resource carries.
constexpr DWORD kFixedFileInfoSignature = 0xFEEF04BD;

struct CModuleVersionRecord {
    DWORD fileVersionMS = 0;
    DWORD fileVersionLS = 0;
    DWORD productVersionMS = 0;
    DWORD productVersionLS = 0;
    DWORD fileFlags = 0;
    // 1 an application, 2 a library.
    DWORD fileType = 0;
    WORD language = 0;
    WORD codePage = 0;
    std::vector<std::pair<std::wstring, std::wstring>> strings;

    // The text of that name (names compare without regard to case); empty
    // when the record has none.
    std::wstring Value(std::wstring_view name) const;
};

// False with a reason for a file that cannot be read, is not an ELF module,
// carries no record or a damaged one.
bool ReadModuleVersionRecord(const std::filesystem::path& file, CModuleVersionRecord& record, std::string& error);
// The record from the bytes of the version section.
bool ParseModuleVersionRecord(std::string_view section, CModuleVersionRecord& record, std::string& error);

}
