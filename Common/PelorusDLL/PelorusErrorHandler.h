#pragma once
// Turns an error code of the communication library into the caption, text
// and details of a message box.

#include "Common/Communication/PelorusApi.h"
#include "Platform/Base/CString.h"
#include "Platform/Base/Types.h"

struct PELORUS_API tErrorMessage {
    DWORD dwCode = 0;
    CString strCaption;
    CString strText;
    CString strDetails;
};

// One row of an error table; a table ends with the code 0xFFFFFFFF.
struct tErrorID {
    DWORD dwCode;
    UINT uCaptionID;
    UINT uTextID;
    UINT uDetailsID;
};

struct PELORUS_API KBUSERROR {
    short sKind = 0; // 1: terminal-bus error
    short sErrorCode = 0;
    WORD wArgument = 0;
    CString strText;
};

struct tKBusErrorRow {
    int iCode;
    int iTextID;
    int iWithArgument;
};

class PELORUS_API CPelorusErrorHandler {
public:
    static constexpr DWORD kEndOfTable = 0xFFFFFFFF;
    static constexpr int kEndOfKBusList = 0xFFFF;

    static const tErrorID m_CommError[];
    static const tErrorID m_PortError[];
    static const tErrorID m_KLError[];
    static const tErrorID m_BKReadTabError[];
    static const tErrorID m_BKError[];
    static const tErrorID m_KBError[];
    static const tErrorID m_AppError[];
    static const tKBusErrorRow m_KBusErrList[];

    CPelorusErrorHandler() = default;
    CPelorusErrorHandler(const CPelorusErrorHandler&) = default;
    CPelorusErrorHandler& operator=(const CPelorusErrorHandler&) = default;
    virtual ~CPelorusErrorHandler() = default;

    // The code is the thread's last error, so call this on the thread that
    // saw the failure, before anything else sets it. `message` may be null;
    // the other arguments fill the details (null texts count as empty, a
    // null port as "COM-Port").
    unsigned long Evaluate(tErrorMessage* message, const wchar_t* port = nullptr, int position = 0, int table = 0,
                           int registerNumber = 0, const wchar_t* service = nullptr);

    // Always true; only terminal-bus errors (kind 1) get a text.
    bool GetKBUSErrorDescr(KBUSERROR* error);

protected:
    // False when the code is not in `table`.
    bool GetDetails(const tErrorID* table, tErrorMessage* message, const wchar_t* port, int position, int tableNumber,
                    int registerNumber, const wchar_t* service);

private:
    static const tErrorID* TableOfCode(DWORD code);
    static CString ApplicationName();
    static void SetUnknown(tErrorMessage* message, const CString& caption);
};
