#pragma once
// Article numbers compared as the device services count them equal: the
// same number of parts and every part equal, leading zeros aside.

#include "Platform/Base/CString.h"

namespace Corvane {

bool IsSameArticleNumber(const CString& left, const CString& right);
// The article number as text without forced leading zeros.
CString ArticleText(const CString& article);

}  // namespace Corvane
