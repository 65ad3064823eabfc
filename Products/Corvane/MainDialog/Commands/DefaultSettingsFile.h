#pragma once
// The settings files that come with the program, one per article number
// (and per firmware generation) in the "Settings" folder beside the
// executable. An offline start-up without a file of its own takes the
// newest one that the firmware generation allows.

#include "Platform/Base/CString.h"

#include <vector>

namespace Corvane {

class CDefaultSettingsFile {
public:
    explicit CDefaultSettingsFile(const CString& folder) : m_strFolder(folder) {}
    // The "Settings" folder beside the executable, build folders removed.
    static CDefaultSettingsFile BesideExecutable(const CString& executablePath);

    const CString& Folder() const { return m_strFolder; }
    // The file of the article and generation: with the option pair, else
    // without it; empty when neither exists.
    CString Find(const CString& article, unsigned int generation) const;
    // The existing files for the generation in the firmware text ("(05)")
    // down to generation 0, newest first.
    std::vector<CString> Candidates(const CString& article, const CString& firmwareVersion) const;

private:
    CString PathOf(const std::wstring& compactArticle, unsigned int generation) const;

    CString m_strFolder;
};

}  // namespace Corvane
