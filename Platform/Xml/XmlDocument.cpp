#include "Platform/Xml/XmlDocument.h"

#include "Platform/Base/FileSystemPath.h"
#include "Platform/Xml/XmlDecoder.h"
#include "Platform/Xml/XmlDocumentData.h"
#include "Platform/Xml/XmlReferences.h"
#include "Platform/Xml/XmlWriter.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>

#include <fcntl.h>
#include <unistd.h>

namespace Xml {
namespace {

// Larger files are refused rather than read whole into memory.
constexpr std::uintmax_t kMaxXmlFileSize = 256 * 1024 * 1024;

bool IsWhiteOnly(const char* text)
{
    for (; *text; ++text) {
        if (*text != ' ' && *text != '\t' && *text != '\n' && *text != '\r')
            return false;
    }
    return true;
}

// The parser counts bytes of UTF-8; the caller counts characters.
std::size_t CharacterOffset(const std::string& utf8, std::ptrdiff_t byteOffset)
{
    std::size_t chars = 0;
    const auto end = std::min<std::size_t>(static_cast<std::size_t>(std::max<std::ptrdiff_t>(byteOffset, 0)), utf8.size());
    for (std::size_t i = 0; i < end; ++i) {
        if ((static_cast<unsigned char>(utf8[i]) & 0xC0) != 0x80)
            ++chars;
    }
    return chars;
}

// Where in the buffer the fault is: its text searched from its node on.
std::ptrdiff_t FaultOffset(const std::string& utf8, const CReferenceFault& fault)
{
    if (fault.nodeOffset < 0)
        return 0;
    const auto at = utf8.find(fault.faultyText, static_cast<std::size_t>(fault.nodeOffset));
    return at == std::string::npos ? fault.nodeOffset : static_cast<std::ptrdiff_t>(at);
}

std::wstring ErrnoText(int error)
{
    return Text::Utf8ToWide(std::strerror(error));
}

}

CXmlDocument::CXmlDocument() : m_data(std::make_shared<CDocumentData>()) {}

bool CXmlDocument::Fail(std::wstring reason, std::size_t offset, std::wstring_view text)
{
    m_data = std::make_shared<CDocumentData>();
    m_data->preserveWhiteSpace = m_preserveWhiteSpace;
    m_error = CParseError{std::move(reason), offset, 0, 0};
    LocateOffset(text, m_error);
    return false;
}

bool CXmlDocument::Load(const std::filesystem::path& path)
{
    std::error_code ec;
    const auto size = std::filesystem::file_size(path, ec);
    if (ec)
        return Fail(L"cannot open the file " + Text::WidePath(path) + L": "
                + Text::Utf8ToWide(ec.message()),
            0, {});
    if (size > kMaxXmlFileSize)
        return Fail(L"the file is too large", 0, {});
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return Fail(L"cannot read the file " + Text::WidePath(path), 0, {});
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return LoadBytes(bytes);
}

bool CXmlDocument::LoadBytes(std::string_view bytes)
{
    std::wstring text;
    CParseError error;
    if (!DecodeXmlBytes(bytes, text, error))
        return Fail(error.reason, error.offset, text);
    return Parse(text);
}

bool CXmlDocument::LoadXml(std::wstring_view text)
{
    if (CParseError error; !CheckXmlChars(text, error))
        return Fail(error.reason, error.offset, text);
    return Parse(text);
}

bool CXmlDocument::Parse(std::wstring_view text)
{
    auto data = std::make_shared<CDocumentData>();
    data->preserveWhiteSpace = m_preserveWhiteSpace;
    const std::string utf8 = Text::WideToUtf8(text);
    // References are resolved by ResolveReferences, which refuses those the
    // parser would keep as literal text.
    unsigned flags = (pugi::parse_default & ~pugi::parse_escapes) | pugi::parse_declaration | pugi::parse_comments
        | pugi::parse_pi | pugi::parse_doctype | pugi::parse_fragment; // fragment: top-level text is kept, and refused below
    if (m_preserveWhiteSpace)
        flags |= pugi::parse_ws_pcdata;
    const pugi::xml_parse_result result
        = data->document.load_buffer(utf8.data(), utf8.size(), flags, pugi::encoding_utf8);
    if (!result)
        return Fail(Text::Utf8ToWide(result.description()), CharacterOffset(utf8, result.offset), text);
    std::size_t elements = 0;
    for (auto child = data->document.first_child(); child; child = child.next_sibling()) {
        if (child.type() == pugi::node_element)
            ++elements;
        if ((child.type() == pugi::node_pcdata || child.type() == pugi::node_cdata) && !IsWhiteOnly(child.value()))
            return Fail(L"text outside the document element", 0, text);
    }
    if (elements != 1)
        return Fail(elements == 0 ? L"no document element" : L"only one top-level element is allowed", 0, text);
    if (CReferenceFault fault; !ResolveReferences(data->document, fault))
        return Fail(fault.reason, CharacterOffset(utf8, FaultOffset(utf8, fault)), text);
    m_data = std::move(data);
    m_error = CParseError{};
    return true;
}

void CXmlDocument::SetPreserveWhiteSpace(bool preserve)
{
    m_preserveWhiteSpace = preserve;
    m_data->preserveWhiteSpace = preserve;
}

bool CXmlDocument::SetProperty(std::wstring_view name, std::wstring_view value)
{
    return name == L"SelectionLanguage" && value == L"XPath";
}

void CXmlDocument::CreateNew(std::wstring_view version, std::wstring_view encoding)
{
    m_data = std::make_shared<CDocumentData>();
    m_data->preserveWhiteSpace = m_preserveWhiteSpace;
    m_error = CParseError{};
    if (version.empty())
        return;
    pugi::xml_node declaration = m_data->document.append_child(pugi::node_declaration);
    declaration.append_attribute("version").set_value(Text::WideToUtf8(version).c_str());
    if (!encoding.empty())
        declaration.append_attribute("encoding").set_value(Text::WideToUtf8(encoding).c_str());
}

CXmlNode CXmlDocument::Root() const
{
    return CXmlNode(m_data, m_data->document);
}

CXmlNode CXmlDocument::DocumentElement() const
{
    return CXmlNode(m_data, m_data->document.document_element());
}

std::wstring CXmlDocument::Xml() const
{
    CSaveOptions options;
    options.indent.clear();
    options.lineEnd = L"\r\n";
    CXmlWriter writer(options, std::nullopt);
    return writer.WriteDocument(m_data->document);
}

CSaveResult CXmlDocument::SaveToBytes(std::string& bytes, const CSaveOptions& options) const
{
    CXmlWriter writer(options, std::wstring(CXmlWriter::EncodingName(options.encoding)));
    const std::wstring text = writer.WriteDocument(m_data->document);
    bytes = CXmlWriter::Encode(text, options);
    CSaveResult result;
    result.ok = !writer.NameUnwritable();
    result.replaced = writer.Replaced();
    if (!result.ok)
        result.error = std::wstring(L"a name in the document cannot be written in ")
            + CXmlWriter::EncodingName(options.encoding);
    return result;
}

CSaveResult CXmlDocument::Save(const std::filesystem::path& path, const CSaveOptions& options) const
{
    static std::atomic<unsigned> counter{0};
    std::string bytes;
    CSaveResult result = SaveToBytes(bytes, options);
    if (!result.ok)
        return result;
    const std::string temp = path.string() + ".tmp-" + std::to_string(::getpid()) + "-" + std::to_string(counter++);
    const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0) {
        result.ok = false;
        result.error = L"cannot create " + Text::FileNameToWide(temp) + L": " + ErrnoText(errno);
        return result;
    }
    int error = 0;
    for (std::size_t done = 0; done < bytes.size() && error == 0;) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno != EINTR)
            error = errno;
        else if (n > 0)
            done += static_cast<std::size_t>(n);
    }
    if (error == 0 && ::fsync(fd) != 0)
        error = errno;
    if (::close(fd) != 0 && error == 0)
        error = errno;
    if (error == 0 && ::rename(temp.c_str(), path.c_str()) != 0)
        error = errno;
    if (error != 0) {
        ::unlink(temp.c_str());
        result.ok = false;
        result.error = L"cannot write " + Text::WidePath(path) + L": " + ErrnoText(error);
    }
    return result;
}

}
