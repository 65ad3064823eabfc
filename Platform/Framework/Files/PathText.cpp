#include "Platform/Framework/Files/PathText.h"

#include "Platform/Base/FileSystemPath.h"

#include <unistd.h>

#include <vector>

namespace ZELL::Framework::PathText {

namespace {

// Drops "." parts and empty parts, and ".." with the part before it, as the
// platform's full-path call does, without asking the file system.
CString Normalised(const CString& absolute)
{
    std::vector<CString> parts;
    int start = 0;
    for (CString part = absolute.Tokenize(L"/", start); start >= 0; part = absolute.Tokenize(L"/", start)) {
        if (part == L"..") {
            if (!parts.empty())
                parts.pop_back();
        } else if (part != L".") {
            parts.push_back(part);
        }
    }
    CString result;
    for (const CString& part : parts)
        result += L"/" + part;
    return result.IsEmpty() ? CString(L"/") : result;
}

}  // namespace

CString FullPath(const CString& path)
{
    if (path.IsEmpty())
        return path;
    if (path[0] == L'/')
        return Normalised(path);
    std::vector<char> buffer(4096);
    if (!::getcwd(buffer.data(), buffer.size()))
        return path;
    return Normalised(CString(Text::FileNameToWide(buffer.data()).c_str()) + L"/" + path);
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

}  // namespace ZELL::Framework::PathText
