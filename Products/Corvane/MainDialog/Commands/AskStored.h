#pragma once
// Questions the user can silence. The answer of the last time is kept in
// the profile section "Messages" together with the message box's
// do-not-ask-again bit; while that bit is set, the kept answer stands for
// the question and nothing is shown.

#include "Platform/Base/CString.h"
#include "Platform/Registry/ProfileStore.h"

namespace Corvane {

class CAskStored {
public:
    static constexpr UINT kDontAskAgain = 0x4000000;
    // Warning box with Continue and Abort and the do-not-ask-again check box.
    static constexpr UINT kContinueAbortType = 0x4000037;
    // Question box with Yes and No and the check box.
    static constexpr UINT kYesNoType = 0x4000004;
    static constexpr int kContinueAnswer = 11;
    static constexpr int kYesAnswer = 6;

    static constexpr wchar_t kSection[] = L"Messages";
    static constexpr wchar_t kSoftwareResetKey[] = L"SoftwareReset";
    static constexpr wchar_t kResetFileSystemKey[] = L"ResetFileSystem";
    static constexpr wchar_t kRestartAfterResetKey[] = L"SoftwareResetAfterResetFileSystem";

    explicit CAskStored(Registry::CProfileStore profile) : m_Profile(std::move(profile)) {}
    virtual ~CAskStored() = default;

    // Asks (or takes the kept answer) and goes on when the answer's low
    // byte is `goOnAnswer`; the answer is then kept. True when it goes on.
    bool Confirm(LPCWSTR key, LPCWSTR messageKey, UINT type, int goOnAnswer);
    // The answer, kept when the command goes on (Continue, or Yes for a
    // Yes/No box).
    UINT AskAndKeep(LPCWSTR key, LPCWSTR messageKey, UINT type);
    // The kept answer, or the asked one when the question is not silenced.
    UINT Answer(LPCWSTR key, LPCWSTR messageKey, UINT type);
    // Whether any of the program's questions is silenced (the menu item
    // that asks them again is enabled then).
    bool HasSilencedQuestion() const;

    static bool IsAnswer(UINT answer, int button) { return static_cast<int>(answer & 0xFF) == button; }
    static int GoOnAnswer(UINT type) { return (type & 0x0F) == 4 ? kYesAnswer : kContinueAnswer; }

protected:
    // Shows the question; returns the button with the check box's bit.
    virtual UINT Ask(const CString& text, UINT type);

private:
    UINT Stored(LPCWSTR key) const;
    void Keep(LPCWSTR key, UINT answer);

    Registry::CProfileStore m_Profile;
};

}  // namespace Corvane
