#include "Common/SystemHelper/Xml/XMLDOMHelper.h"

#include "Common/SystemHelper/Values/StringUtils.h"
#include "Platform/Base/FileSystemPath.h"

#include <cwctype>
#include <filesystem>

namespace {

constexpr const wchar_t* kDocumentProgId = L"msxml2.domdocument";

bool IsDocumentProgId(const std::wstring& progId)
{
    const std::wstring lower = ToLower(progId);
    const std::wstring base(kDocumentProgId);
    if (lower == base)
        return true;
    // Versioned names such as "Msxml2.DOMDocument.6.0".
    if (lower.size() <= base.size() + 1 || lower.compare(0, base.size(), base) != 0 || lower[base.size()] != L'.')
        return false;
    for (std::size_t i = base.size() + 1; i < lower.size(); ++i) {
        if (!std::iswdigit(lower[i]) && lower[i] != L'.')
            return false;
    }
    return true;
}

// "{xxxxxxxx-xxxx-xxxx-xxxx-xxxxxxxxxxxx}"
bool IsWellFormedClassId(const std::wstring& text)
{
    static const std::wstring kPattern = L"{________-____-____-____-____________}";
    if (text.size() != kPattern.size())
        return false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (kPattern[i] == L'_' ? !std::iswxdigit(text[i]) : text[i] != kPattern[i])
            return false;
    }
    return true;
}

void CheckCreatable(const std::wstring& progId)
{
    if (!progId.empty() && progId.front() == L'{') {
        // No document class is registered under a class id here.
        if (!IsWellFormedClassId(progId))
            throw _com_error(CO_E_CLASSSTRING, L"Not a class id: " + progId);
        throw _com_error(REGDB_E_CLASSNOTREG, L"No XML document class under " + progId);
    }
    if (!IsDocumentProgId(progId))
        throw _com_error(CO_E_CLASSSTRING, L"Not an XML document ProgID: " + progId);
}

}

CXMLDOMHelper::CXMLDOMHelper(const wchar_t* progId)
{
    CheckCreatable(progId ? progId : L"");
    m_xmlDoc = std::make_shared<Xml::CXmlDocument>();
}

CXMLDOMHelper::CXMLDOMHelper(const char* progId)
    : CXMLDOMHelper(Text::Utf8ToWide(progId ? progId : "").c_str())
{
}

bool CXMLDOMHelper::Load(const std::wstring& path)
{
    return m_xmlDoc->Load(Text::FsPath(path));
}

bool CXMLDOMHelper::LoadXml(const std::wstring& text)
{
    return m_xmlDoc->LoadXml(text);
}
