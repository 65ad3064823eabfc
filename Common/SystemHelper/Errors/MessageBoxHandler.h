#pragma once
// How the system helpers show a failure to the user without depending on the
// window layer: they hand the text to a handler. The window layer's message
// box is installed as the default by LanguageMessageBox.cpp, which every
// deliverable that links SystemHelper carries; code that links only
// SystemHelperCore writes failures to the debug output instead.

#include "Platform/Base/Types.h"

// Shows a failure to the user: the text and the message-box type flags.
using MessageBoxHandler = void (*)(const wchar_t* text, UINT type);

// The message box's error icon flag (MB_ICONERROR), for the handlers' `type`.
constexpr UINT kMessageIconError = 0x00000010;

// Replaces how failures are shown (a tool without windows writes them
// elsewhere); null restores the default: the application's message box,
// with its title as caption, over the active window.
void SetMessageBoxHandler(MessageBoxHandler handler);

// The handler that null restores; installed once by the layer that has windows.
void SetDefaultMessageBoxHandler(MessageBoxHandler handler);

// Hands the failure to the handler in force.
void ShowMessageToUser(const wchar_t* text, UINT type);
