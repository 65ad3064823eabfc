#include "Products/Corvane/MainDialog/Commands/OrderCheck.h"

#include "Common/SystemHelper/Texts/LanguageTexts.h"
#include "Products/Corvane/Core/DeviceCapabilityFile.h"
#include "Products/Corvane/Core/FBCData.h"

#include <array>

namespace Corvane {

namespace {

// The device families the capability file's "FBC"/"ORBIS" pair names.
struct tOrderFamily {
    int fbc;
    int orbis;
    bool extendedPages;
    bool controllerPages;
};

constexpr std::array<tOrderFamily, 4> kOrderFamilies{{
    {16, 0, false, false},
    {0, 16, false, true},
    {0, 32, true, true},
    {32, 0, true, false},
}};

constexpr wchar_t kDefaultMinimumVersion[] = L"00.00.00(00)";

}

tOrderCheck COrderCheck::CheckOrder(const CString& article, const CFBCData& data) const
{
    const int fbc = m_Capabilities.GetDeviceIniInt(article, L"FBC", -1);
    const int orbis = m_Capabilities.GetDeviceIniInt(article, L"ORBIS", -1);
    tOrderCheck result;
    if (fbc == -1 || orbis == -1)
        result = CheckUnlistedOrder(article, data);
    for (const tOrderFamily& family : kOrderFamilies) {
        if (family.fbc == fbc && family.orbis == orbis) {
            result.ok = true;
            result.extendedPages = family.extendedPages;
            result.controllerPages = family.controllerPages;
        }
    }
    result.hasDIPSwitch = m_Capabilities.GetDeviceIniInt(article, L"DIP", 0) != 0;
    return result;
}

tOrderCheck COrderCheck::CheckUnlistedOrder(const CString& article, const CFBCData& data)
{
    tOrderCheck result;
    result.ok = data.NetIDName.CompareNoCase(L"MAC-ID") == 0;
    result.extendedPages = data.HasClock;
    result.controllerPages = IsControllerArticle(article);
    return result;
}

bool COrderCheck::IsControllerArticle(const CString& article)
{
    const int dash = article.Find(L'-');
    return dash >= 0 && dash + 1 < article.GetLength() && article[dash + 1] == L'8';
}

tVersionCheck COrderCheck::CheckSoftwareVersion(const CString& swVersion, const CString& article) const
{
    tVersionCheck result;
    result.minimum = m_Capabilities.GetDeviceIniString(article, L"Version", kDefaultMinimumVersion);
    result.ok = !result.minimum.IsEmpty() && result.minimum.CompareNoCase(swVersion) <= 0;
    return result;
}

CString COrderCheck::StatusLine(LPCWSTR key, const CString& value)
{
    CString line;
    line.Format(GetLanguageText(key), value.GetString());
    return CString(kIndent) + line;
}

CString COrderCheck::VersionMessage(const CString& swVersion, const CString& minimum)
{
    CString message;
    message.Format(GetLanguageText(L"MSG_INVALID_SW_VERSION_FMT"), swVersion.GetString(), minimum.GetString());
    return message;
}

}  // namespace Corvane
