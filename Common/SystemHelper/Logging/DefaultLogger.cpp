#include "Common/SystemHelper/Logging/DefaultLogger.h"

#include "Common/SystemHelper/System/AutoLock.h"
#include "Common/SystemHelper/Values/Conversions.h"
#include "Common/SystemHelper/Values/StringUtils.h"
#include "Common/SystemHelper/Xml/XMLDOMHelper.h"
#include "Platform/Base/Format.h"
#include "Platform/Base/SystemTime.h"
#include "Platform/Base/FileSystemPath.h"
#include "Platform/Base/Thread.h"

#include <exception>
#include <filesystem>

namespace {

struct LevelName {
    const wchar_t* name;
    int level;
};

constexpr LevelName kLevelNames[] = {
    {L"LOG_LEVEL_ERROR", LOG_LEVEL_ERROR},
    {L"LOG_LEVEL_WARNING", LOG_LEVEL_WARNING},
    {L"LOG_LEVEL_INFO", LOG_LEVEL_INFO},
    {L"LOG_LEVEL_TRACE", LOG_LEVEL_TRACE},
    {L"LOG_LEVEL_LIBRARY_TRACE", LOG_LEVEL_LIBRARY_TRACE},
};

std::wstring LinePrefix()
{
    SYSTEMTIME now{};
    GetLocalTime(&now);
    return FormatW(L"[%04d-%02d-%02d %2d:%02d:%02d.%03d] ", now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute,
                   now.wSecond, now.wMilliseconds)
        + FormatW(L"[TID=%lu] ", GetCurrentThreadId());
}

}

CDefaultLogger::CDefaultLogger()
{
    InitializeCriticalSection(&m_section);
}

CDefaultLogger::~CDefaultLogger()
{
    if (m_file.is_open())
        m_file.close();
    DeleteCriticalSection(&m_section);
}

bool CDefaultLogger::Configure(const _bstr_t& configuration)
{
    CAutoLock lock(&m_section);
    if (m_configured.load())
        return true;
    try {
        CXMLDOMHelper document("Msxml2.DOMDocument");
        if (!document.LoadXml(configuration.wstr())) {
            const Xml::CParseError& error = document.m_xmlDoc->ParseError();
            DebugTrace(L"CDefaultLogger::Configure: the configuration is not XML: %s (line %u, column %u)",
                       error.reason.c_str(), static_cast<unsigned>(error.line), static_cast<unsigned>(error.column));
            return false;
        }
        OpenOutput(document);
        ReadLevel(document);
    } catch (const _com_error& error) {
        DebugTrace(L"CDefaultLogger::Configure: %s", error.ErrorMessage().c_str());
        return false;
    }
    return m_configured.load() != 0;
}

void CDefaultLogger::OpenOutput(CXMLDOMHelper& document)
{
    const Xml::CXmlNode outFile = document.m_xmlDoc->SelectSingleNode(L"//Configuration/@outFile");
    if (!outFile) {
        m_configured.store(1);
        return;
    }
    const std::wstring path = outFile.Text();
    const Xml::CXmlNode truncate = document.m_xmlDoc->SelectSingleNode(L"//@truncate");
    const std::wstring mode = truncate ? truncate.Text() : L"0";
    const std::ios_base::openmode openMode =
        std::ios_base::out | (mode == L"1" ? std::ios_base::trunc : std::ios_base::app);
    if (!path.empty())
        m_file.open(Text::FsPath(path), openMode);
    if (m_file.is_open()) {
        m_configured.store(1);
        return;
    }
    m_file.clear();
    DebugTrace(L"CDefaultLogger::Configure: cannot open the log file '%s'", path.c_str());
}

void CDefaultLogger::ReadLevel(CXMLDOMHelper& document)
{
    const Xml::CXmlNode levelNode = document.m_xmlDoc->SelectSingleNode(L"//Configuration/@logLevel");
    if (!levelNode)
        return;
    const std::wstring text = levelNode.Text();
    m_level.store(LOG_LEVEL_ERROR);
    for (const LevelName& entry : kLevelNames) {
        if (text == entry.name) {
            m_level.store(entry.level);
            return;
        }
    }
    try {
        const int number = GenStrToNumber<int>(text, std::dec);
        if (number >= LOG_LEVEL_ERROR && number <= LOG_LEVEL_LIBRARY_TRACE) {
            m_level.store(number);
            return;
        }
    } catch (const std::string&) {
    }
    DebugTrace(L"CDefaultLogger::Configure: unknown log level '%s', only errors are logged", text.c_str());
}

bool CDefaultLogger::Write(const _bstr_t& text)
{
    if (!m_configured.load())
        return false;
    CAutoLock lock(&m_section);
    try {
        Emit(text.wstr() + L"\n");
    } catch (const std::exception&) {
        return false;
    }
    return true;
}

bool CDefaultLogger::Log(int level, const _bstr_t& category, const _bstr_t& first, const _bstr_t& second,
                         const _bstr_t& third)
{
    if (!m_configured.load() || level > m_level.load())
        return false;
    CAutoLock lock(&m_section);
    try {
        std::wstring entry = FormatW(L"Level: %d", level);
        if (category.length() > 0)
            entry += L", " + category.wstr();
        entry += L"\n";
        entry += first.wstr() + L"\n";
        entry += second.wstr() + L"\n";
        entry += third.wstr() + L"\n";
        Emit(entry);
    } catch (const std::exception&) {
        return false;
    }
    return true;
}

void CDefaultLogger::Emit(const std::wstring& text)
{
    const std::wstring prefix = LinePrefix();
    if (m_file.is_open()) {
        m_file << Text::WideToUtf8(prefix) << Text::WideToUtf8(text);
        m_file.flush();
        return;
    }
    DebugTrace(L"%s", (prefix + text).c_str());
}
