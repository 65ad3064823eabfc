#pragma once
// What the end of a device worker means for the main dialog: the result
// type its done message stands for, the status line of that type, and the
// decisions that follow (Save button, closing after a write, the extra
// messages of factory defaults and reset file system).

#include "Platform/Base/CString.h"
#include "Platform/Ui/WinUser.h"

#include <optional>

namespace Corvane {

class CFBCData;

enum class ENThreadResultType : int {
    Restart = 1,
    ResetFileSystem = 4,
    FactoryDefaults = 6,
    Read = 7,
    Write = 9,
    WriteCanceled = 23,
    RestartCanceled = 24,
    FactoryDefaultsCanceled = 25,
    ResetFileSystemCanceled = 26,
    FactoryDefaultsStarted = 27
};

class CThreadResult {
public:
    // The text of a type outside the table; it is not translated.
    static constexpr wchar_t kInvalidTypeText[] = L"Invalid thread ID!";

    // The result type of a done message; empty for a message that is none
    // of the five done messages.
    static std::optional<int> TypeOfDone(UINT message, WPARAM result);
    // The status key of the type; empty for a type outside the table.
    static CString StatusKey(int type, bool succeeded);
    // The status line: the key's language text, or kInvalidTypeText.
    static CString StatusText(int type, bool succeeded);

    // Done results: 0 failed, 5 cancelled by the user, anything else
    // succeeded (6: factory defaults started).
    static bool Succeeded(WPARAM result) { return result != 0; }
    static bool Canceled(WPARAM result) { return result == 5; }
    // A dialog that waits to close for a write closes only when the write
    // really went through; a failed or cancelled write keeps it open with
    // the edits.
    static bool ClosesAfterWrite(WPARAM result) { return Succeeded(result) && !Canceled(result); }
    // After factory defaults over TCP/IP the device may sit on another
    // address, which the user is told.
    static bool TellsFactoryDefaultsAddress(WPARAM result, bool tcpConnection)
    {
        return tcpConnection && Succeeded(result) && !Canceled(result);
    }
    // A completed reset of the file system offers a restart.
    static bool OffersRestartAfterReset(WPARAM result) { return Succeeded(result); }

    // The Save button after a result; empty when it keeps its state. In
    // change-IP mode only a device whose port-1 address differs from the
    // command-line connection may be saved.
    static std::optional<bool> SaveButtonAfterResult(bool valid, bool changeIPMode, const CFBCData& data,
                                                     const CString& commandLineConnection);
};

}  // namespace Corvane
