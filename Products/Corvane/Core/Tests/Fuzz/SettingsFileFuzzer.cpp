// Any bytes as a settings file: the reader either takes the whole file or
// leaves the data set untouched, and what it took writes and reads again.

#include "Products/Corvane/Core/SettingsFileReader.h"
#include "Products/Corvane/Core/SettingsFileWriter.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

using namespace Corvane;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    Xml::CXmlDocument document;
    document.SetPreserveWhiteSpace(true);
    if (!document.LoadBytes(std::string_view(reinterpret_cast<const char*>(data), size)))
        return 0;
    CFBCData set;
    set.ArticleNo = L"before";
    CSettingsFileReader reader;
    if (!reader.ReadDocument(document, set)) {
        if (set.ArticleNo != L"before" || reader.GetError().IsEmpty())
            __builtin_trap();
        return 0;
    }
    if (set.GetEthernetPortCount() > CFBCData::kMaxEthernetPortCount)
        __builtin_trap();
    const std::string bytes = CSettingsFileWriter::Encode(CSettingsFileWriter::BuildText(set, CSettingsFileHeader()));
    Xml::CXmlDocument again;
    again.SetPreserveWhiteSpace(true);
    CFBCData reread;
    if (!again.LoadBytes(bytes) || !reader.ReadDocument(again, reread))
        __builtin_trap();
    return 0;
}
