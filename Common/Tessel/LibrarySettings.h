#pragma once
// The library-wide settings that the exports set and the dialogs read: the
// language of the library's own texts, the application name for captions
// and the GUI XML file. One set per loaded library; a fresh load starts again
// from the initial values. Used on the caller's user-interface thread only.
#include "Platform/Base/CString.h"
#include "Platform/Ui/ResourceModule.h"

namespace Tessel {

// The neutral user default: no string table matches it until a caller
// chooses a language.
constexpr LANGID kInitialLanguage = 0x0400;
constexpr LANGID kEnglish = 0x0409;

class CLibrarySettings {
public:
    static CLibrarySettings& Instance();

    LANGID Language() const { return m_language; }
    void SetLanguage(LANGID language) { m_language = language; }
    const CString& AppName() const { return m_appName; }
    void SetAppName(LPCWSTR name) { m_appName = name ? name : L""; }
    const CString& GuiXmlFile() const { return m_guiXmlFile; }
    void SetGuiXmlFile(LPCWSTR path) { m_guiXmlFile = path ? path : L""; }

    // Back to the state of a fresh load.
    void Reset();

private:
    LANGID m_language = kInitialLanguage;
    CString m_appName;
    CString m_guiXmlFile;
};

// The caption of the library's boxes: the name set by the caller, else the
// program's product name, else the program's file name without ".exe",
// else the library's application name.
CString GetAppName();
// The name the program's path gives, without folder and without every
// ".EXE" and ".exe"; both separators count, so Windows paths given by a
// caller read the same.
CString AppNameOfExecutable(const CString& path);

// String `id` of this library's tables in exactly the current language;
// empty when that language has no table or the entry is empty.
CString LoadLangString(UINT id);
// The same, in English when the current language has no text for it (the
// library carries German, English and French only).
CString LoadLangStringOrEnglish(UINT id);

// Resources, window classes and the application object of the library for
// as long as a dialog export runs.
class CLibraryModuleScope {
public:
    CLibraryModuleScope() : m_scope(nullptr) {}

private:
    Ui::CResourceModuleScope m_scope;
};

}
