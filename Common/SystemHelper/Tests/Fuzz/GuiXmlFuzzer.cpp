// Feeds arbitrary bytes as a GUI XML file and as XML text to the language
// loaders and the language helper: each must load, throw its own error or
// report through the message-box hook, never crash or read out of bounds.

#include "Platform/Base/Tests/Fuzz/FuzzScratchFolder.h"
#include "Common/SystemHelper/Errors/ZellException.h"
#include "Common/SystemHelper/Xml/ComError.h"
#include "Common/SystemHelper/Texts/LanguageHelper.h"
#include "Common/SystemHelper/Texts/LanguageTexts.h"
#include "Platform/Base/TextConversion.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <unistd.h>

namespace {

void Silent(const wchar_t*, UINT) {}

void LoadText(const std::wstring& text, const wchar_t* lcid)
{
    try {
        GetLanguageSupport().LoadXmlText(text, lcid, false);
    } catch (const CZellException&) {
    } catch (const _com_error&) {
    }
}

}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    SetMessageBoxHandler(&Silent);
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::wstring text = Text::Utf8ToWide(bytes);
    LoadText(text, L"1033");
    LoadText(text, L"1031");
    GetLanguageText(L"LBL_OK");
    FormatText(L"MSG_ARGS", L"a", L"b");

    static const std::string path = (FuzzSupport::ScratchFolder() / "input.GUI.XML").string();
    if (FILE* out = std::fopen(path.c_str(), "wb")) {
        if (size > 0)
            std::fwrite(data, 1, size, out);
        std::fclose(out);
        const CString file = Text::Utf8ToWide(path).c_str();
        CString designator = L"de";
        CString code = L"DEU";
        CLanguageHelper().GetLanguageInfo(file, designator, code);
        CLanguageHelper().IsSupported(file, L"en");
        CString language = L"fr";
        CString lcid;
        // Another file each time, so the store reads it anew.
        GetLanguageSupport().Clear();
        LoadLanguageTexts(file, language, lcid);
    }
    return 0;
}
