#pragma once
// Registration of the standard control classes under the platform's names,
// so that CreateWindowEx and dialog templates find them.
#include "Platform/Base/Types.h"

namespace ZELL::Controls {

// Registers "Static", "Button", "msctls_progress32" and "msctls_updown32" as
// global classes, once per process; later and concurrent calls wait for the
// first and return its result. False if a class could not be registered
// (its name taken by another procedure); the last error then tells why.
bool RegisterStandardControls();

// The class name that a dialog template's predefined class atom stands for
// (0x0080 "Button", 0x0081 "Edit", 0x0082 "Static", 0x0083 "ListBox",
// 0x0084 "ScrollBar", 0x0085 "ComboBox"), or null for any other atom.
LPCWSTR ClassNameOfTemplateAtom(WORD atom);

}

// The common-controls entry points: both register the classes above.
struct INITCOMMONCONTROLSEX {
    DWORD dwSize = sizeof(INITCOMMONCONTROLSEX);
    DWORD dwICC = 0;
};
constexpr DWORD ICC_UPDOWN_CLASS = 0x00000010;
constexpr DWORD ICC_PROGRESS_CLASS = 0x00000020;
constexpr DWORD ICC_STANDARD_CLASSES = 0x00004000;
void InitCommonControls();
BOOL InitCommonControlsEx(const INITCOMMONCONTROLSEX* init);
