#include "Products/Corvane/MainDialog/Commands/AskStored.h"

#include "Common/SystemHelper/Texts/LanguageTexts.h"
#include "Common/Tessel/TesselExports.h"

namespace Corvane {

bool CAskStored::Confirm(LPCWSTR key, LPCWSTR messageKey, UINT type, int goOnAnswer)
{
    const UINT answer = Answer(key, messageKey, type);
    if (!IsAnswer(answer, goOnAnswer))
        return false;
    Keep(key, answer);
    return true;
}

UINT CAskStored::AskAndKeep(LPCWSTR key, LPCWSTR messageKey, UINT type)
{
    const UINT answer = Answer(key, messageKey, type);
    if (IsAnswer(answer, GoOnAnswer(type)))
        Keep(key, answer);
    return answer;
}

void CAskStored::Keep(LPCWSTR key, UINT answer)
{
    m_Profile.WriteInt(kSection, key, static_cast<int>(answer));
}

UINT CAskStored::Answer(LPCWSTR key, LPCWSTR messageKey, UINT type)
{
    const UINT stored = Stored(key);
    if ((stored & kDontAskAgain) != 0)
        return stored;
    return Ask(GetLanguageText(messageKey), type);
}

bool CAskStored::HasSilencedQuestion() const
{
    for (LPCWSTR key : {kSoftwareResetKey, kResetFileSystemKey, kRestartAfterResetKey}) {
        if ((Stored(key) & kDontAskAgain) != 0)
            return true;
    }
    return false;
}

UINT CAskStored::Ask(const CString& text, UINT type)
{
    return static_cast<UINT>(ZELLMessageBox(text.GetString(), type, L"", 0));
}

UINT CAskStored::Stored(LPCWSTR key) const
{
    return m_Profile.GetInt(kSection, key, 0);
}

}  // namespace Corvane
