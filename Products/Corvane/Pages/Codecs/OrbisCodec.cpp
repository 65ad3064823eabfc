#include "Products/Corvane/Pages/Codecs/OrbisCodec.h"

#include "Common/Communication/ArticleNumber.h"
#include "Common/SystemHelper/Values/StringUtils.h"

#include <cwctype>

namespace Corvane {

namespace {
constexpr wchar_t kRuntimeSystemPrefix[] = L"RUNTIMESYSTEM_";
}

void COrbisCodec::Load(const CDeviceBlock& extraBlock, bool controller)
{
    if (controller)
        return;
    if (const std::optional<WORD> options = extraBlock.Read(kOptionsWord)) {
        ResetOutputs = *options & kResetOutputsBit;
        AlternativeTargetId = *options & kAlternativeTargetIdBit;
    }
}

void COrbisCodec::Store(CDeviceBlock& extraBlock, bool controller) const
{
    if (controller)
        return;
    const WORD bits = static_cast<WORD>((ResetOutputs ? kResetOutputsBit : 0) |
                                        (AlternativeTargetId ? kAlternativeTargetIdBit : 0));
    extraBlock.WriteBits(kOptionsWord, kResetOutputsBit | kAlternativeTargetIdBit, bits);
}

std::wstring COrbisCodec::RuntimeSystemKey(WORD id)
{
    return FormatString(L"RUNTIMESYSTEM_%02d", static_cast<int>(id));
}

std::optional<WORD> COrbisCodec::RuntimeSystemIdOfKey(const std::wstring& key)
{
    const std::wstring prefix = kRuntimeSystemPrefix;
    if (key.rfind(prefix, 0) != 0 || key.size() == prefix.size() || key.size() > prefix.size() + 5)
        return std::nullopt;
    unsigned long id = 0;
    for (std::size_t i = prefix.size(); i < key.size(); ++i) {
        if (!std::iswdigit(key[i]))
            return std::nullopt;
        id = id * 10 + static_cast<unsigned long>(key[i] - L'0');
    }
    if (id >= kNoRuntimeSystem)
        return std::nullopt;
    return static_cast<WORD>(id);
}

std::vector<std::wstring> COrbisCodec::RuntimeSystemTexts(const std::vector<WORD>& ids, const Translator& translate)
{
    std::vector<std::wstring> texts;
    for (WORD id : ids) {
        std::wstring text = translate(RuntimeSystemKey(id));
        if (IsDefinedText(text))
            texts.push_back(std::move(text));
    }
    return texts;
}

WORD COrbisCodec::RuntimeSystemOfText(const std::vector<WORD>& ids, const std::wstring& text,
                                      const Translator& translate)
{
    for (WORD id : ids) {
        const std::wstring key = RuntimeSystemKey(id);
        if (translate(key) == text)
            return RuntimeSystemIdOfKey(key).value_or(kNoRuntimeSystem);
    }
    return kNoRuntimeSystem;
}

bool COrbisCodec::ChooseRuntimeSystem(CFBCData& data, WORD id)
{
    if (id == data.ActiveRuntimeSystem)
        return false;
    data.ActiveRuntimeSystem = id;
    data.ActiveRuntimeSystemToWrite = true;
    return true;
}

bool COrbisCodec::OffersAlternativeTargetId(const CString& article)
{
    CArticleNumber number(article.str());
    CArticleNumber offering(L"0614-0392");
    return std::wstring(number.GetText(true)) == offering.GetText(true);
}

}  // namespace Corvane
