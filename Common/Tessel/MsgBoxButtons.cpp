#include "Common/Tessel/MsgBoxButtons.h"

#include "Common/Tessel/LibrarySettings.h"
#include "Common/Tessel/TesselExports.h"
#include "Common/Tessel/TesselResourceIds.h"
#include "Platform/Controls/MessageBox.h"

namespace Tessel {

namespace {

struct CaptionSource {
    UINT stringId;
    LPCWSTR builtIn;
};

constexpr CaptionSource kCaptionSources[kSlotCount] = {
    {IDS_MSGBOX_ABORT, L"&Abort"},
    {IDS_MSGBOX_CANCEL, L"Cancel"},
    {IDS_MSGBOX_CONTINUE, L"&Continue"},
    {IDS_MSGBOX_DONT_ASK_AGAIN, L"Don't ask me again"},
    {IDS_MSGBOX_DONT_TELL_AGAIN, L"Don't tell me again"},
    {IDS_MSGBOX_DONT_SHOW_AGAIN, L"Don't show again"},
    {IDS_MSGBOX_HELP, L"&Help"},
    {IDS_MSGBOX_IGNORE, L"&Ignore"},
    {IDS_MSGBOX_IGNORE_ALL, L"I&gnore All"},
    {IDS_MSGBOX_NO, L"&No"},
    {IDS_MSGBOX_NO_TO_ALL, L"N&o to All"},
    {IDS_MSGBOX_OK, L"OK"},
    {IDS_MSGBOX_REPORT, L"Re&port"},
    {IDS_MSGBOX_RETRY, L"&Retry"},
    {IDS_MSGBOX_SKIP, L"&Skip"},
    {IDS_MSGBOX_SKIP_ALL, L"S&kip All"},
    {IDS_MSGBOX_TRY_AGAIN, L"&Try Again"},
    {IDS_MSGBOX_YES, L"&Yes"},
    {IDS_MSGBOX_YES_TO_ALL, L"Y&es to All"},
};

constexpr MsgBoxButton kOk{kSlotOk, IDOK};
constexpr MsgBoxButton kCancel{kSlotCancel, IDCANCEL};
constexpr MsgBoxButton kAbort{kSlotAbort, IDABORT};
constexpr MsgBoxButton kRetry{kSlotRetry, IDRETRY};
constexpr MsgBoxButton kIgnore{kSlotIgnore, IDIGNORE};

std::vector<MsgBoxButton> YesNoButtons(UINT type)
{
    std::vector<MsgBoxButton> buttons{{kSlotYes, IDYES}};
    if (type & MB_ZELL_YES_TO_ALL)
        buttons.push_back({kSlotYesToAll, IDZELL_YESTOALL});
    buttons.push_back({kSlotNo, IDNO});
    if (type & MB_ZELL_NO_TO_ALL)
        buttons.push_back({kSlotNoToAll, IDZELL_NOTOALL});
    return buttons;
}

}

std::vector<MsgBoxButton> ButtonsOfType(UINT type)
{
    switch (type & MB_TYPEMASK) {
    case MB_OKCANCEL: return {kOk, kCancel};
    case MB_ABORTRETRYIGNORE: return {kAbort, kRetry, kIgnore};
    case MB_YESNOCANCEL: {
        std::vector<MsgBoxButton> buttons = YesNoButtons(type);
        buttons.push_back(kCancel);
        return buttons;
    }
    case MB_YESNO: return YesNoButtons(type);
    case MB_RETRYCANCEL: return {kRetry, kCancel};
    case MB_CANCELTRYCONTINUE: return {kCancel, {kSlotTryAgain, IDTRYAGAIN}, {kSlotContinue, IDCONTINUE}};
    case 7: return {{kSlotContinue, IDCONTINUE}, kAbort};
    case 8: return {{kSlotSkip, IDZELL_SKIP}, {kSlotSkipAll, IDZELL_SKIPALL}, kCancel};
    case 9: return {kIgnore, {kSlotIgnoreAll, IDZELL_IGNOREALL}, kCancel};
    default: return {kOk};
    }
}

bool HasCancelButton(UINT type)
{
    for (const MsgBoxButton& button : ButtonsOfType(type)) {
        if (button.id == IDCANCEL)
            return true;
    }
    return false;
}

bool IsOkOnly(UINT type)
{
    return (type & MB_TYPEMASK) == MB_OK;
}

UINT CheckBoxFlag(UINT type)
{
    for (UINT flag : {MB_ZELL_DONT_ASK_AGAIN, MB_ZELL_DONT_TELL_AGAIN, MB_ZELL_DONT_SHOW_AGAIN}) {
        if (type & flag)
            return flag;
    }
    return 0;
}

int CheckBoxSlot(UINT checkBoxFlag)
{
    switch (checkBoxFlag) {
    case MB_ZELL_DONT_ASK_AGAIN: return kSlotDontAskAgain;
    case MB_ZELL_DONT_TELL_AGAIN: return kSlotDontTellAgain;
    default: return kSlotDontShowAgain;
    }
}

CMsgBoxCaptions CMsgBoxCaptions::Load()
{
    CMsgBoxCaptions captions;
    for (int slot = 0; slot < kSlotCount; ++slot) {
        const CString translated = LoadLangString(kCaptionSources[slot].stringId);
        captions.m_captions[static_cast<std::size_t>(slot)] =
            (translated.IsEmpty() ? CString(kCaptionSources[slot].builtIn) : translated).Left(kMaxCaption);
    }
    return captions;
}

}
