#include "Common/Tessel/AboutFileList.h"

#include "Common/SystemHelper/System/ModuleVersion.h"
#include "Common/SystemHelper/Xml/XMLDOMHelper.h"
#include "Common/SystemHelper/Xml/XmlAccess.h"
#include "Platform/Base/FileSystemPath.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace Tessel {

namespace {

constexpr LPCWSTR kCommunicationLibrary = L"libpelorus.so";

bool EndsWithNoCase(const CString& text, LPCWSTR tail)
{
    const CString end(tail);
    return text.GetLength() >= end.GetLength() && text.Right(end.GetLength()).CompareNoCase(end) == 0;
}

bool HasFolder(const CString& name)
{
    return name.Find(L'/') >= 0 || name.Find(L'\\') >= 0;
}

CString FileNameOf(const CString& path)
{
    const int slash = std::max(path.ReverseFind(L'/'), path.ReverseFind(L'\\'));
    return path.Mid(slash + 1);
}

// "FileVersion" and "Created" (older builds wrote "Erstellt") of a file.
void ReadVersionRecord(const CString& path, CString& version, CString& date)
{
    CModuleVersion record;
    if (!record.Load(path.GetString()))
        return;
    version = record.GetValue(L"FileVersion").c_str();
    date = record.GetValue(L"Created").c_str();
    if (date.IsEmpty())
        date = record.GetValue(L"Erstellt").c_str();
}

}

CString CAboutFileList::Resolve(const CString& name) const
{
    if (name.IsEmpty() || HasFolder(name) || m_programFolder.IsEmpty())
        return name;
    CString folder = m_programFolder;
    if (folder.Right(1) != L"/")
        folder += L"/";
    return folder + name;
}

bool CAboutFileList::Exists(const CString& name) const
{
    if (name.IsEmpty())
        return false;
    std::error_code error;
    return std::filesystem::is_regular_file(Text::FsPath(Resolve(name).GetString()), error);
}

CString CAboutFileList::ProgramBase(const CString& program, bool& debugBuild)
{
    debugBuild = EndsWithNoCase(program, L"DBG.EXE");
    if (debugBuild)
        return program.Left(program.GetLength() - 7);
    if (EndsWithNoCase(program, L".EXE"))
        return program.Left(program.GetLength() - 4);
    return program;
}

std::vector<CString> CAboutFileList::LanguageFileCandidates(const CString& program) const
{
    bool debugBuild = false;
    const CString base = ProgramBase(program, debugBuild);
    if (debugBuild)
        return {base + L".ENG.DLL"};
    return {base + L"ENG.DLL", base + L"EN.DLL"};
}

CString CAboutFileList::GuiXmlFileOf(const CString& program)
{
    bool debugBuild = false;
    return ProgramBase(program, debugBuild) + L".GUI.XML";
}

void CAboutFileList::ReadXmlVersion(const CString& file, CString& version, CString& date)
{
    version.Empty();
    date.Empty();
    try {
        CXMLDOMHelper document("Msxml2.DOMDocument");
        if (!document.Load(file.GetString()))
            return;
        const Xml::CXmlNode root = document.m_xmlDoc->Root();
        const Xml::CXmlNode versionNode = XmlSelectSingleNode(root, L"//version");
        if (versionNode)
            version = XmlGetAttributeString(versionNode, L"number", L"").c_str();
        const Xml::CXmlNode dateNode = XmlSelectSingleNode(root, L"//date");
        if (dateNode)
            date = XmlGetNodeText(dateNode).c_str();
    } catch (const _com_error&) {
        // An unreadable file leaves its cells empty.
    }
}

bool CAboutFileList::AddLibraryRow(std::vector<AboutFileRow>& rows, const CString& name) const
{
    if (!Exists(name))
        return false;
    AboutFileRow row{FileNameOf(name), {}, {}};
    ReadVersionRecord(Resolve(name), row.version, row.date);
    rows.push_back(row);
    return true;
}

std::vector<AboutFileRow> CAboutFileList::Rows(const CString& program, const CString& fileVersion,
                                               const CString& date) const
{
    std::vector<AboutFileRow> rows;
    if (!program.IsEmpty() && Exists(program))
        rows.push_back({program, fileVersion, date});
    for (const CString& candidate : LanguageFileCandidates(program)) {
        if (AddLibraryRow(rows, candidate))
            break;
    }
    const CString guiXml = GuiXmlFileOf(program);
    if (Exists(guiXml)) {
        AboutFileRow row{guiXml, {}, {}};
        ReadXmlVersion(Resolve(guiXml), row.version, row.date);
        rows.push_back(row);
    }
    AddLibraryRow(rows, kCommunicationLibrary);
    AddLibraryRow(rows, m_ownLibraryFile);
    return rows;
}

}
