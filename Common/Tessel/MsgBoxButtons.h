#pragma once
// The button sets of the library's message box and the captions of its
// buttons and check boxes in the library's current language.
#include "Platform/Base/CString.h"
#include "Platform/Ui/WinUser.h"

#include <array>
#include <vector>

namespace Tessel {

// Caption slots, in the order of their built-in English texts.
enum MsgBoxSlot : int {
    kSlotAbort, kSlotCancel, kSlotContinue, kSlotDontAskAgain, kSlotDontTellAgain, kSlotDontShowAgain, kSlotHelp,
    kSlotIgnore, kSlotIgnoreAll, kSlotNo, kSlotNoToAll, kSlotOk, kSlotReport, kSlotRetry, kSlotSkip, kSlotSkipAll,
    kSlotTryAgain, kSlotYes, kSlotYesToAll, kSlotCount
};

constexpr int kHelpButtonId = 300;
constexpr int kCheckBoxId = 5555;
constexpr int kIconId = 1000;
constexpr int kMessageTextId = 1001;

struct MsgBoxButton {
    int slot = kSlotOk;
    int id = IDOK;
};

// The buttons of the type's set, left to right (without Help).
std::vector<MsgBoxButton> ButtonsOfType(UINT type);
bool HasCancelButton(UINT type);
bool IsOkOnly(UINT type);
// The check box's flag (the first of the three that is set), 0 for none,
// and its caption slot.
UINT CheckBoxFlag(UINT type);
int CheckBoxSlot(UINT checkBoxFlag);

class CMsgBoxCaptions {
public:
    // The built-in English texts, replaced by every text of the current
    // language that is not empty.
    static CMsgBoxCaptions Load();
    const CString& operator[](int slot) const { return m_captions[static_cast<std::size_t>(slot)]; }

private:
    static constexpr int kMaxCaption = 99;
    std::array<CString, kSlotCount> m_captions;
};

}
