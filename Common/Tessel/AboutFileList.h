#pragma once
// The rows of the about dialog's file list: the program, its language
// library, its GUI XML file, the communication library and this library,
// each with its version and build date, and only those that exist. Names
// without a folder are looked up beside the program, never in the current
// folder, which may be anywhere.
#include "Platform/Base/CString.h"

#include <vector>

namespace Tessel {

struct AboutFileRow {
    CString name;
    CString version;
    CString date;
};

class CAboutFileList {
public:
    // `programFolder` is where names without a folder are looked for.
    CAboutFileList(const CString& programFolder, const CString& ownLibraryFile)
        : m_programFolder(programFolder), m_ownLibraryFile(ownLibraryFile)
    {
    }

    // The program's row takes the version and date the dialog shows; the
    // others are read from the files.
    std::vector<AboutFileRow> Rows(const CString& program, const CString& fileVersion, const CString& date) const;

    // The language library of a program: "NAMEDBG.EXE" gives "NAME.ENG.DLL",
    // "NAME.EXE" (or a name without extension) "NAMEENG.DLL", else
    // "NAMEEN.DLL". The name keeps its case.
    std::vector<CString> LanguageFileCandidates(const CString& program) const;
    // "NAMEDBG.EXE" and "NAME.EXE" both give "NAME.GUI.XML".
    static CString GuiXmlFileOf(const CString& program);
    // The "number" of the first "version" element and the text of the first
    // "date" element; both empty when the file does not load.
    static void ReadXmlVersion(const CString& file, CString& version, CString& date);

    // The path a name stands for: as given when it has a folder, else
    // beside the program.
    CString Resolve(const CString& name) const;
    bool Exists(const CString& name) const;

private:
    static CString ProgramBase(const CString& program, bool& debugBuild);
    bool AddLibraryRow(std::vector<AboutFileRow>& rows, const CString& name) const;

    CString m_programFolder;
    CString m_ownLibraryFile;
};

}
