#include "Products/Corvane/MainDialog/Commands/FirstShowPlan.h"

#include "Common/SystemHelper/System/FileHelpers.h"
#include "Products/Corvane/Core/StartupOptions.h"
#include "Products/Corvane/Workers/ArticleCompare.h"

namespace Corvane {

ENFirstShow CFirstShowPlan::Decide(const tStartupOptions& options)
{
    if (!options.ConnectionSettings.IsEmpty())
        return IsUsableFile(options.ParamFile) ? ENFirstShow::OpenParamFile : ENFirstShow::ReadDevice;
    if (HasParamFileAndArticle(options))
        return ENFirstShow::OfflineStartup;
    return ENFirstShow::PleaseRead;
}

bool CFirstShowPlan::IsUsableFile(const CString& path)
{
    return !path.IsEmpty() && FileExists(path.str()) && GetFileSizeByPath(path.str()) > 0;
}

ENParamFileAfterRead CFirstShowPlan::AfterRead(bool succeeded, bool firstRead, const tStartupOptions& options,
                                               const CString& deviceArticle)
{
    if (!succeeded || !firstRead || !HasParamFileAndArticle(options))
        return ENParamFileAfterRead::Nothing;
    return IsSameArticleNumber(options.ArticleNumber, deviceArticle) ? ENParamFileAfterRead::SaveToParamFile
                                                                      : ENParamFileAfterRead::WrongDevice;
}

bool CFirstShowPlan::HasParamFileAndArticle(const tStartupOptions& options)
{
    return !options.ParamFile.IsEmpty() && !options.ArticleNumber.IsEmpty();
}

}  // namespace Corvane
