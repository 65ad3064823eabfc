#pragma once
// The screen DPI, the balloon-tip setting, the administrator test and the
// user's language.

#include "Platform/Base/Types.h"
// GetScreenDpi: the screen's DPI, which every screen context reports as
// LOGPIXELSX; the window layer takes it from the display it opens.
#include "Platform/Gdi/ScreenDpi.h"

#include <string>

// The Explorer setting EnableBalloonTips of the current user (key
// Software/Microsoft/Windows/CurrentVersion/Explorer/Advanced); on when it
// was never written.
bool IsBalloonTipsEnabled();
// Writes the setting; returns whether it was on before (off when unwritten).
bool SetBalloonTipsEnabled(bool enabled);

// The process runs with root rights.
bool IsUserAdmin();

// The language number of a locale text such as "de_DE.UTF-8" or "fr": 1031
// for German (Germany), 1033 for English (United States), 1036 for French
// (France), the platform's numbers for other countries of these languages,
// 1033 for "C" and "POSIX", 0x0400 (neutral) for anything else.
LANGID LanguageIdOfLocale(const std::string& locale);
// Of the user's message language: LC_ALL, else LC_MESSAGES, else LANG.
LANGID UserDefaultLanguageId();
// German, English (United States) or French.
bool IsSupportedUserLanguage();
