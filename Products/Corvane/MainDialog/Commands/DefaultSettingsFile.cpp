#include "Products/Corvane/MainDialog/Commands/DefaultSettingsFile.h"

#include "Common/Communication/ArticleNumber.h"
#include "Common/SystemHelper/System/FileHelpers.h"
#include "Common/SystemHelper/Values/StringUtils.h"
#include "Products/Corvane/Core/DeviceCapabilityFile.h"
#include "Products/Corvane/MainDialog/Commands/SettingsFileNames.h"

namespace Corvane {

CDefaultSettingsFile CDefaultSettingsFile::BesideExecutable(const CString& executablePath)
{
    const CString iniPath = CDeviceCapabilityFile::MakeIniPath(executablePath);
    return CDefaultSettingsFile(CSettingsFileNames::CleanPath(CSettingsFileNames::FolderOf(iniPath) + L"/Settings"));
}

CString CDefaultSettingsFile::Find(const CString& article, unsigned int generation) const
{
    const CArticleNumber number(article.str());
    for (bool withOptions : {true, false}) {
        const std::wstring compact = number.FormatCompact(withOptions);
        if (compact.empty())
            continue;
        const CString path = PathOf(compact, generation);
        if (FileExists(path.str()))
            return path;
    }
    return CString();
}

std::vector<CString> CDefaultSettingsFile::Candidates(const CString& article, const CString& firmwareVersion) const
{
    std::vector<CString> found;
    for (unsigned int generation = ParseNumberInParentheses(firmwareVersion.str()) + 1; generation-- > 0;) {
        const CString path = Find(article, generation);
        if (!path.IsEmpty())
            found.push_back(path);
    }
    return found;
}

CString CDefaultSettingsFile::PathOf(const std::wstring& compactArticle, unsigned int generation) const
{
    CString name(compactArticle.c_str());
    if (generation > 0)
        name.AppendFormat(L".%02u", generation);
    return CSettingsFileNames::CleanPath(m_strFolder + L"/" + name + L".xml");
}

}  // namespace Corvane
