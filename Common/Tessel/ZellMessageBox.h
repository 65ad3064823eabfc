#pragma once
// The library's message box: the system box's flags plus check boxes and
// extra buttons, drawn from an in-memory template in the library's look and
// language.
#include "Platform/Base/CString.h"
#include "Platform/Ui/WinUser.h"

namespace Tessel {

// `text` may be a string number of the library (IS_INTRESOURCE).
int ShowZellMessageBox(LPCWSTR text, UINT type, LPCWSTR caption, UINT iconResId);

// The text a caller hands over: a string number becomes the library's text
// (in English when the current language has none), and no text is longer
// than 65535 characters.
CString ResolveMessageText(LPCWSTR text);

// Whether the system's own box shows this type (system-modal errors).
bool UsesSystemBox(UINT type);

}
