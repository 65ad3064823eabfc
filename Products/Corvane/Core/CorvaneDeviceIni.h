#pragma once
// The application's view of the device capability file: where the file is
// found, the look-ups of CDeviceCapabilityFile, and the list of pages a
// device shows. The application object delegates its capability functions
// to one instance that it locates at start-up.

#include "Platform/Base/CString.h"
#include "Products/Corvane/Core/DeviceCapabilityFile.h"
#include "Products/Corvane/Core/PageListRule.h"

#include <vector>

namespace Corvane {

class CFBCData;

class CCorvaneDeviceIni : public CDeviceCapabilityFile {
public:
    CCorvaneDeviceIni() = default;
    explicit CCorvaneDeviceIni(const CString& iniPath) : CDeviceCapabilityFile(iniPath) {}

    // Takes the file beside the executable (build folders removed) when it
    // is there, else the one of the installed share folder when that is
    // there, else keeps the path beside the executable so that every read
    // gives its default.
    void Locate(const CString& executablePath);

    // "<prefix>/share/<base name>/<base name>.ini", where the prefix is the
    // folder above the executable's folder.
    static CString InstalledIniPath(const CString& executablePath);

    // The page keys the device shows: the first pages of the rules, then
    // the article's "PAGEnn" keys (or the default pages when it lists none),
    // then the last pages, each page only where its needs hold.
    std::vector<CString> BuildPageList(const CFBCData& data, const tPageListRules& rules) const;

private:
    // The same file name in the installed share folder.
    static CString InstalledPathOf(const CString& besidePath);
    void LocateFrom(const CString& besidePath);
    void AddListedPage(const CString& key, const CFBCData& data, const tPageListRules& rules,
                       std::vector<CString>& pages) const;
    void AddAllPages(const CFBCData& data, const tPageListRules& rules, std::vector<CString>& pages) const;
    void AddDefaultPages(const CFBCData& data, const tPageListRules& rules, std::vector<CString>& pages) const;
};

}  // namespace Corvane
