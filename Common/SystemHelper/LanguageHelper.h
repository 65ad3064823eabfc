#pragma once
// Maps a language designator (two- or three-letter code, or LCID text) to
// the LCID and code that a GUI XML file lists, and tells whether a file
// offers a language. Failures are shown to the user, never thrown.

#include "Platform/Base/CString.h"
#include "Platform/Base/Types.h"
#include "Platform/Controls/MessageBox.h"

// Shows a failure to the user: the text and the message-box type flags.
using MessageBoxHandler = void (*)(const wchar_t* text, UINT type);

// Replaces how failures are shown (a tool without windows writes them
// elsewhere); null restores the default: the application's message box,
// with its title as caption, over the active window.
void SetMessageBoxHandler(MessageBoxHandler handler);

class CLanguageHelper {
public:
    static constexpr UINT kIconError = MB_ICONERROR;

    virtual ~CLanguageHelper() = default;

    // designator in, LCID text out; code in and out. A designator the file
    // does not list gives "1033" and "en".
    void GetLanguageInfo(const CString& file, CString& designator, CString& code);
    bool IsSupported(const CString& file, const CString& code);
};
