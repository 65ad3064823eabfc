#pragma once
// Maps a language designator (two- or three-letter code, or LCID text) to
// the LCID and code that a GUI XML file lists, and tells whether a file
// offers a language. Failures are shown to the user, never thrown.

#include "Common/SystemHelper/Errors/MessageBoxHandler.h"
#include "Platform/Base/CString.h"
#include "Platform/Base/Types.h"

class CLanguageHelper {
public:
    static constexpr UINT kIconError = kMessageIconError;

    virtual ~CLanguageHelper() = default;

    // designator in, LCID text out; code in and out. A designator the file
    // does not list gives "1033" and "en".
    void GetLanguageInfo(const CString& file, CString& designator, CString& code);
    bool IsSupported(const CString& file, const CString& code);
};
