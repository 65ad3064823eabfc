// Arbitrary bytes as an XML file: a document that loads must save in every
// encoding and load again from its own output.
#include "Platform/Xml/XmlDocument.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size)
{
    Xml::CXmlDocument document;
    if (!document.LoadBytes(std::string_view(reinterpret_cast<const char*>(data), size)))
        return 0;
    try {
        document.SelectNodes(L"//*[@*]");
        document.SelectNodes(L"//text()");
    } catch (const Xml::CXPathError&) {
        std::abort();
    }
    (void)document.DocumentElement().Text();
    for (const auto encoding : {Xml::Encoding::Utf8, Xml::Encoding::Utf16, Xml::Encoding::Latin1}) {
        Xml::CSaveOptions options;
        options.encoding = encoding;
        options.lineEnd = L"\r\n";
        std::string bytes;
        if (!document.SaveToBytes(bytes, options).ok)
            continue; // a name the encoding cannot hold
        Xml::CXmlDocument again;
        if (!again.LoadBytes(bytes))
            std::abort();
    }
    return 0;
}
