#pragma once
// Root of the framework's exceptions.
//
// They are thrown as the framework throws them: allocated with new (through
// the AfxThrow* helpers), thrown as a pointer, caught as `CException*` (or a
// derived pointer) and released with Delete():
//
//     try { CFile file(path, CFile::modeRead); ... } catch (CFileException* e) { e->ReportError(); e->Delete(); }
//
// The system's own exception tree (CZellException and its classes) is thrown
// by value and caught by reference; the two trees are separate and neither
// code path converts one into the other.

#include "Platform/Base/CString.h"
#include "Platform/Framework/Core/Object.h"

// Shows the text of a reported exception; `type` takes the message-box
// style flags (0 is MB_OK). The result is the message box's answer.
using AfxReportErrorHandler = int (*)(LPCWSTR text, UINT type);

class CException : public CObject {
    DECLARE_DYNAMIC(CException)
public:
    // An exception made with autoDelete FALSE lives on the stack or in static
    // storage; Delete() leaves it alone.
    explicit CException(BOOL autoDelete = TRUE) : m_bAutoDelete(autoDelete) {}

    void Delete();

    // Copies the message, cut to `maxLength` characters with its terminator.
    // FALSE (and an empty buffer) when the exception has no text.
    virtual BOOL GetErrorMessage(LPWSTR buffer, UINT maxLength, UINT* helpContext = nullptr) const;
    // The message, or the fallback text when the exception has none.
    CString GetErrorText() const;
    // Passes the message to the report handler; `type` 0 is MB_OK, and the
    // message box picks its icon. `messageId` is unused, as there is no
    // string table this low in the platform.
    virtual int ReportError(UINT type = 0, UINT messageId = 0);

    BOOL m_bAutoDelete = TRUE;

protected:
    // Copies `text` for GetErrorMessage.
    static BOOL CopyMessage(const CString& text, LPWSTR buffer, UINT maxLength, UINT* helpContext);
};

// The handler replaces the previous one, which is returned; null restores the
// default, which writes the text to the debug output and answers IDOK.
AfxReportErrorHandler AfxSetReportErrorHandler(AfxReportErrorHandler handler);
