#include "Common/SystemHelper/Texts/LanguageSupportImpl.h"

#include "Common/SystemHelper/Errors/ZellException.h"
#include "Common/SystemHelper/System/AutoLock.h"
#include "Common/SystemHelper/Texts/LanguageSupportBinaryFile.h"
#include "Common/SystemHelper/Values/StringUtils.h"
#include "Common/SystemHelper/Xml/XMLDOMHelper.h"
#include "Common/SystemHelper/Texts/GuiXmlTables.h"
#include "Platform/Base/Format.h"
#include "Platform/Base/LastError.h"
#include "Platform/Base/FileSystemPath.h"
#include "Platform/Base/WinError.h"

#include <cerrno>
#include <cstdint>
#include <fcntl.h>
#include <limits>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr const wchar_t* kSetLanguage = L"CLanguageSupportImpl::SetLanguage";

void TraceParseError(const wchar_t* what, const std::wstring& source, const Xml::CParseError& error)
{
    DebugTrace(L"CLanguageSupportImpl: %s '%s' does not load: %s (line %u, column %u)", what, source.c_str(),
               error.reason.c_str(), static_cast<unsigned>(error.line), static_cast<unsigned>(error.column));
}

// Closes the descriptor on every way out.
class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : m_fd(fd) {}
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    ~FileDescriptor()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    int Get() const { return m_fd; }

private:
    int m_fd = -1;
};

[[noreturn]] void ThrowSystemError(DWORD error)
{
    throw CZellException(kSetLanguage, static_cast<LONG>(static_cast<WORD>(error)));
}

// The whole file; false when a read fails part way.
bool ReadAll(int fd, std::vector<BYTE>& bytes)
{
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t count = ::read(fd, bytes.data() + done, bytes.size() - done);
        if (count < 0 && errno == EINTR)
            continue;
        if (count <= 0)
            return false;
        done += static_cast<std::size_t>(count);
    }
    return true;
}

}

CLanguageSupportImpl::CLanguageSupportImpl()
{
    InitializeCriticalSection(&m_section);
}

CLanguageSupportImpl::~CLanguageSupportImpl()
{
    DeleteCriticalSection(&m_section);
}

bool CLanguageSupportImpl::HasText(const _bstr_t& key)
{
    CAutoLock lock(&m_section);
    return Lookup(key) != nullptr;
}

const std::wstring* CLanguageSupportImpl::Lookup(const _bstr_t& key) const
{
    const auto found = m_texts.find(key);
    if (found != m_texts.end())
        return &found->second.wstr();
    return m_loaded ? CGuiXmlTables::Find(*m_loaded, key.wstr()) : nullptr;
}

void CLanguageSupportImpl::LoadXml(const _bstr_t& file, const _bstr_t& lcid, bool keep)
{
    CAutoLock lock(&m_section);
    if (file == m_currentFile && lcid == m_currentLanguage)
        return;
    const CGuiXmlTables::tLanguages languages = CGuiXmlTables::Languages(file.wstr());
    if (!languages.loads) {
        TraceParseError(L"GUI XML file", file.wstr(), languages.error);
        throw CZellException((L"Missing file!\n" + file.wstr()).c_str(), kMissingFile);
    }
    const std::wstring code = CodeOf(languages.list, lcid);
    Take(CGuiXmlTables::Texts(file.wstr(), code), keep);
    m_currentFile = file;
    m_currentLanguage = lcid;
}

void CLanguageSupportImpl::LoadXmlText(const _bstr_t& xml, const _bstr_t& lcid, bool keep)
{
    CAutoLock lock(&m_section);
    CXMLDOMHelper document("Msxml2.DOMDocument");
    if (!document.LoadXml(xml.wstr())) {
        const Xml::CParseError& error = document.m_xmlDoc->ParseError();
        TraceParseError(L"XML text", L"", error);
        throw _com_error(E_POINTER, error.reason, L"CLanguageSupportImpl::LoadXmlText");
    }
    const std::wstring code = CodeOf(CGuiXmlTables::LanguagesOf(*document.m_xmlDoc), lcid);
    Take(CGuiXmlTables::TextsOf(*document.m_xmlDoc, code), keep);
    m_currentFile = L"";
    m_currentLanguage = lcid;
}

std::wstring CLanguageSupportImpl::CodeOf(const CGuiXmlTables::Table& languages, const _bstr_t& lcid)
{
    const auto code = languages ? CGuiXmlTables::CodeOf(*languages, lcid.wstr()) : std::nullopt;
    if (!code)
        throw CZellException((L"Language not supported!\n" + lcid.wstr()).c_str(), kLanguageNotSupported);
    return *code;
}

void CLanguageSupportImpl::Take(CGuiXmlTables::Table texts, bool keep)
{
    if (!texts)
        throw CZellException(L"CLanguageSupportImpl::LoadXml", kMissingFile);
    // A fresh load shares the table; one added to what the store holds goes
    // over it key by key.
    if (!keep || (!m_loaded && m_texts.empty())) {
        Clear();
        m_loaded = std::move(texts);
        return;
    }
    for (const auto& [key, text] : *texts)
        SetText(key, text);
}

void CLanguageSupportImpl::SetLanguage(const _bstr_t& file, bool keep)
{
    CAutoLock lock(&m_section);
    if (file == m_currentFile)
        return;
    try {
        ReadBinaryFile(file, keep);
    } catch (const CZellException& error) {
        DebugTrace(L"%s: '%s' not read, error %d", kSetLanguage, file.wstr().c_str(), static_cast<int>(error.m_lCode));
    }
}

void CLanguageSupportImpl::ReadBinaryFile(const _bstr_t& file, bool keep)
{
    const FileDescriptor fd(::open(Text::WideToFileName(file.wstr()).c_str(), O_RDONLY | O_CLOEXEC));
    if (fd.Get() < 0)
        ThrowSystemError(Win32ErrorFromErrno(errno));
    struct stat status {};
    if (::fstat(fd.Get(), &status) != 0)
        ThrowSystemError(Win32ErrorFromErrno(errno));
    if (!S_ISREG(status.st_mode))
        ThrowSystemError(ERROR_ACCESS_DENIED);
    if (static_cast<std::uint64_t>(status.st_size) > std::numeric_limits<DWORD>::max())
        throw CZellException(kSetLanguage, kFileTooLarge);
    if (!keep)
        Clear();
    std::vector<BYTE> bytes(static_cast<std::size_t>(status.st_size));
    if (ReadAll(fd.Get(), bytes) && bytes.size() > 4) {
        const CLanguageSupportBinaryFile content = CLanguageSupportBinaryFile::Parse(bytes.data(), bytes.size());
        m_currentLanguage = FormatW(L"%lu", content.header);
        for (const auto& [key, text] : content.records)
            SetText(key, text);
        if (!content.stopReason.empty())
            DebugTrace(L"%s: '%s': %s; reading stopped", kSetLanguage, file.wstr().c_str(), content.stopReason.c_str());
    }
    m_currentFile = file;
}

_bstr_t CLanguageSupportImpl::GetText(const _bstr_t& key)
{
    CAutoLock lock(&m_section);
    if (const std::wstring* text = Lookup(key))
        return *text;
    return m_missingPrefix + key;
}

_bstr_t CLanguageSupportImpl::GetErrorTextKey(WORD code)
{
    return FormatW(L"ERROR_TEXT_%ld", static_cast<LONG>(code));
}

_bstr_t CLanguageSupportImpl::GetLanguage()
{
    return m_currentLanguage;
}

_bstr_t CLanguageSupportImpl::GetCurrentFile()
{
    CAutoLock lock(&m_section);
    return m_currentFile;
}

void CLanguageSupportImpl::Clear()
{
    m_texts.clear();
    m_loaded.reset();
    m_currentFile = L"";
    m_currentLanguage = L"";
}

void CLanguageSupportImpl::SetMissingPrefix(const _bstr_t& prefix)
{
    m_missingPrefix = prefix;
}

void CLanguageSupportImpl::SetText(const _bstr_t& key, const _bstr_t& text)
{
    m_texts[key] = text;
}
