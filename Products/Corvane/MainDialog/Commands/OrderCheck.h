#pragma once
// The checks of a data set against the device capability file before the
// pages show it: whether the program knows the device type (and which
// page families it gets), and whether its firmware is new enough.

#include "Platform/Base/CString.h"

namespace Corvane {

class CDeviceCapabilityFile;
class CFBCData;

struct tOrderCheck {
    bool ok = false;
    bool extendedPages = false;
    bool controllerPages = false;
    bool hasDIPSwitch = false;
};

struct tVersionCheck {
    bool ok = false;
    // The article's "Version" key, the lowest firmware the program supports.
    CString minimum;
};

class COrderCheck {
public:
    // Status lines of the checks are indented by this under the command's line.
    static constexpr wchar_t kIndent[] = L"    ";

    explicit COrderCheck(const CDeviceCapabilityFile& capabilities) : m_Capabilities(capabilities) {}

    tOrderCheck CheckOrder(const CString& article, const CFBCData& data) const;
    tVersionCheck CheckSoftwareVersion(const CString& swVersion, const CString& article) const;

    // The indented status line: the key's text formatted with the value.
    static CString StatusLine(LPCWSTR key, const CString& value);
    // The message of a firmware older than the capability file asks for.
    static CString VersionMessage(const CString& swVersion, const CString& minimum);
    // A controller's article number has a second part that begins with "8".
    static bool IsControllerArticle(const CString& article);

private:
    // The order flags of a device type the "FBC"/"ORBIS" pair does not name.
    static tOrderCheck CheckUnlistedOrder(const CString& article, const CFBCData& data);

    const CDeviceCapabilityFile& m_Capabilities;
};

}  // namespace Corvane
