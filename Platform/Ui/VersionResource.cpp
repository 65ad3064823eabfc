#include "Platform/Ui/VersionResource.h"

#include "Platform/Base/Module.h"
#include "Platform/Base/FileSystemPath.h"
#include "Platform/Base/Format.h"
#include "Platform/Registry/ModuleVersionRecord.h"
#include "Platform/Ui/ResourceWriter.h"

#include <string>

namespace Ui {

namespace {

constexpr DWORD kStructureVersion = 0x00010000;
constexpr DWORD kFlagsMask = 0x3F;
constexpr DWORD kOsNtWindows32 = 0x00040004;

struct Block {
    std::wstring key;
    std::vector<BYTE> value;
    WORD valueLength = 0; // bytes for binary values, characters for texts
    WORD type = 1;        // 1 text, 0 binary
    std::vector<Block> children;
};

// Blocks start on a DWORD boundary of the whole resource; their length
// leaves out the padding after them.
void Write(const Block& block, CResourceWriter& out)
{
    out.Align();
    const std::size_t start = out.Size();
    out.Word(0);
    out.Word(block.valueLength);
    out.Word(block.type);
    out.Text(block.key);
    out.Align();
    out.Raw(block.value.data(), block.value.size());
    for (const Block& child : block.children)
        Write(child, out);
    out.PatchWord(start, static_cast<unsigned>(out.Size() - start));
}

Block TextBlock(const std::wstring& name, const std::wstring& value)
{
    CResourceWriter text;
    text.Text(value);
    return Block{name, text.Take(), static_cast<WORD>(Text::WideToUtf16(value).size() + 1), 1, {}};
}

std::vector<BYTE> FixedPart(const Version::CModuleVersionRecord& record)
{
    CResourceWriter fixed;
    for (DWORD value : {Version::kFixedFileInfoSignature, kStructureVersion, record.fileVersionMS,
                        record.fileVersionLS, record.productVersionMS, record.productVersionLS, kFlagsMask,
                        record.fileFlags, kOsNtWindows32, record.fileType, DWORD{0}, DWORD{0}, DWORD{0}})
        fixed.Dword(value);
    return fixed.Take();
}

}  // namespace

std::vector<BYTE> BuildVersionResource(const Version::CModuleVersionRecord& record)
{
    Block strings{FormatW(L"%04X%04X", record.language, record.codePage), {}, 0, 1, {}};
    for (const auto& [name, value] : record.strings)
        strings.children.push_back(TextBlock(name, value));
    CResourceWriter pair;
    pair.Word(record.language);
    pair.Word(record.codePage);
    Block translation{L"Translation", pair.Take(), 4, 0, {}};

    Block root{L"VS_VERSION_INFO", FixedPart(record), 0, 0, {}};
    root.valueLength = static_cast<WORD>(root.value.size());
    root.children.push_back(Block{L"StringFileInfo", {}, 0, 1, {strings}});
    root.children.push_back(Block{L"VarFileInfo", {}, 0, 1, {translation}});
    CResourceWriter out;
    Write(root, out);
    return out.Take();
}

std::vector<BYTE> ReadVersionResource(HMODULE module, LANGID& language)
{
    std::wstring path(4096, L'\0');
    const DWORD length = GetModuleFileNameW(module, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0 || length >= path.size())
        return {};
    path.resize(length);
    Version::CModuleVersionRecord record;
    std::string error;
    if (!Version::ReadModuleVersionRecord(Text::WideToFileName(path), record, error))
        return {};
    language = record.language;
    return BuildVersionResource(record);
}

}
