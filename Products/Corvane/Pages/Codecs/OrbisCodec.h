#pragma once
// The controller page: the active runtime system of the data set, and for
// devices without runtime-system choice two switches in word 26 of the extra
// block (register table 0).

#include "Products/Corvane/Core/FBCData.h"
#include "Products/Corvane/Pages/Codecs/DeviceBlock.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace Corvane {

class COrbisCodec {
public:
    static constexpr DWORD kOptionsWord = 26;
    static constexpr WORD kResetOutputsBit = 0x0001;
    static constexpr WORD kAlternativeTargetIdBit = 0x0010;
    static constexpr WORD kNoRuntimeSystem = 0xFFFF;

    // Language text of a key; a text that begins with "##" means no text.
    using Translator = std::function<std::wstring(const std::wstring& key)>;

    // Controllers keep these switches elsewhere: their word is left alone.
    void Load(const CDeviceBlock& extraBlock, bool controller);
    void Store(CDeviceBlock& extraBlock, bool controller) const;

    static std::wstring RuntimeSystemKey(WORD id);
    static std::optional<WORD> RuntimeSystemIdOfKey(const std::wstring& key);
    static bool IsDefinedText(const std::wstring& text) { return text.rfind(L"##", 0) != 0; }
    // The texts of the runtime systems that have one, in list order.
    static std::vector<std::wstring> RuntimeSystemTexts(const std::vector<WORD>& ids, const Translator& translate);
    // The id of the first runtime system whose text is `text`; kNoRuntimeSystem when none.
    static WORD RuntimeSystemOfText(const std::vector<WORD>& ids, const std::wstring& text,
                                    const Translator& translate);
    // Makes `id` the active runtime system and marks it for writing; false,
    // and nothing marked, when it already is the active one.
    static bool ChooseRuntimeSystem(CFBCData& data, WORD id);
    // The one article whose switch for the alternative target id is shown.
    static bool OffersAlternativeTargetId(const CString& article);

    bool ResetOutputs = false;
    bool AlternativeTargetId = false;
};

}  // namespace Corvane
