#pragma once
// A window's text read whole, for tests that check what a window shows: one
// reader, so that no test cuts a long text at a buffer of its own.
#include "Platform/Ui/WinUser.h"

#include <string>

namespace UiTest {

// The window's text, however long; empty for no window.
std::wstring TextOf(HWND window);

}
