#include "Common/Tessel/LibrarySettings.h"

#include "Common/SystemHelper/System/ModuleVersion.h"
#include "Platform/Base/Module.h"
#include "Platform/Base/TextConversion.h"
#include "Platform/Framework/App/WinApp.h"
#include "Platform/Ui/Resource.h"

#include <algorithm>

namespace Tessel {

namespace {

constexpr UINT kStringsPerBlock = 16;

CString ProductNameOf(const CString& path)
{
    CModuleVersion version;
    if (!version.Load(path.GetString()))
        return CString();
    return CString(version.GetValue(L"ProductName"));
}

CString ExecutablePath()
{
    wchar_t path[260] = {};
    const DWORD length = GetModuleFileNameW(nullptr, path, 260);
    return CString(path, static_cast<int>(std::min<DWORD>(length, 259)));
}

// Entry `index` of a block of counted UTF-16 strings; empty when the block
// ends before it.
CString EntryOfBlock(const BYTE* block, std::size_t size, UINT index)
{
    std::size_t offset = 0;
    for (UINT entry = 0; entry < kStringsPerBlock; ++entry) {
        if (offset + 2 > size)
            return CString();
        const std::size_t count = block[offset] | (block[offset + 1] << 8);
        offset += 2;
        if (offset + count * 2 > size)
            return CString();
        if (entry == index)
            return CString(Text::Utf16LeToWide(block + offset, count * 2));
        offset += count * 2;
    }
    return CString();
}

CString LoadStringOfLanguage(UINT id, LANGID language)
{
    // A neutral language would let the look-up choose any table.
    if (PRIMARYLANGID(language) == LANG_NEUTRAL)
        return CString();
    const HMODULE module = Ui::OwnModule();
    const HRSRC found = FindResourceExW(module, RT_STRING, MAKEINTRESOURCEW((id >> 4) + 1), language);
    if (found == nullptr)
        return CString();
    const HGLOBAL loaded = LoadResource(module, found);
    const auto* block = static_cast<const BYTE*>(LockResource(loaded));
    if (block == nullptr)
        return CString();
    return EntryOfBlock(block, SizeofResource(module, found), id & 15);
}

}

CLibrarySettings& CLibrarySettings::Instance()
{
    static CLibrarySettings settings;
    return settings;
}

void CLibrarySettings::Reset()
{
    *this = CLibrarySettings();
}

CString AppNameOfExecutable(const CString& path)
{
    const int slash = std::max(path.ReverseFind(L'/'), path.ReverseFind(L'\\'));
    CString name = path.Mid(slash + 1);
    name.Replace(L".EXE", L"");
    name.Replace(L".exe", L"");
    return name;
}

CString GetAppName()
{
    CString name = CLibrarySettings::Instance().AppName();
    if (name.IsEmpty())
        name = ProductNameOf(ExecutablePath());
    if (name.IsEmpty())
        name = AppNameOfExecutable(ExecutablePath());
    if (name.IsEmpty() && AfxGetApp() != nullptr)
        name = AfxGetApp()->m_pszAppName;
    return name;
}

CString LoadLangString(UINT id)
{
    return LoadStringOfLanguage(id, CLibrarySettings::Instance().Language());
}

CString LoadLangStringOrEnglish(UINT id)
{
    const CString text = LoadLangString(id);
    return text.IsEmpty() ? LoadStringOfLanguage(id, kEnglish) : text;
}

}
