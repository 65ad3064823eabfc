#include "Platform/Framework/PathText.h"

#include "Platform/Base/TextConversion.h"

#include <unistd.h>

#include <vector>

namespace PathText {

CString FullPath(const CString& path)
{
    if (path.IsEmpty() || path[0] == L'/')
        return path;
    std::vector<char> buffer(4096);
    if (!::getcwd(buffer.data(), buffer.size()))
        return path;
    CString full(Text::Utf8ToWide(buffer.data()).c_str());
    if (full.IsEmpty() || full[full.GetLength() - 1] != L'/')
        full += L'/';
    const CString relative = path.Left(2) == L"./" ? path.Mid(2) : path;
    return full + relative;
}

CString FileName(const CString& path)
{
    return path.Mid(path.ReverseFind(L'/') + 1);
}

CString FileTitle(const CString& path)
{
    const CString name = FileName(path);
    const int dot = name.ReverseFind(L'.');
    return dot > 0 ? name.Left(dot) : name;
}

CString Folder(const CString& path)
{
    const int slash = path.ReverseFind(L'/');
    if (slash < 0)
        return CString();
    return slash == 0 ? CString(L"/") : path.Left(slash);
}

}  // namespace PathText
