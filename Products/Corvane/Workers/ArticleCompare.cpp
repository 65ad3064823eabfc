#include "Products/Corvane/Workers/ArticleCompare.h"

#include "Common/Communication/ArticleNumber.h"

namespace Corvane {

bool IsSameArticleNumber(const CString& left, const CString& right)
{
    const CArticleNumber a(left.str());
    const CArticleNumber b(right.str());
    if (a.GetPartCount() != b.GetPartCount())
        return false;
    for (unsigned int part = 0; part < a.GetPartCount(); ++part) {
        if (a.GetPart(part, true) != b.GetPart(part, true))
            return false;
    }
    return true;
}

CString ArticleText(const CString& article)
{
    CArticleNumber number(article.str());
    return number.GetText(false);
}

}  // namespace Corvane
