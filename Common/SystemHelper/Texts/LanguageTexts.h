#pragma once
// The texts of the module's language store for the user interface.

#include "Common/SystemHelper/Texts/LanguageSupportImpl.h"
#include "Platform/Base/BStr.h"
#include "Platform/Base/CString.h"

CLanguageSupportImpl& GetLanguageSupport();

// Resolves the language (code or LCID text) through the file's language
// list and loads its texts, replacing the store's. False on any failure.
bool LoadLanguageTexts(const CString& file, CString& language, CString& lcid);

// With "\n", "\r", "\t" resolved and " & " doubled, so a lone ampersand is
// shown instead of marking a mnemonic.
CString GetLanguageText(LPCWSTR key);
CString GetAppText(LPCWSTR key);
CString GetCurrentLanguage();
// Only the first "{0}" and "{1}" are replaced; no escapes are resolved.
CString FormatText(LPCWSTR key, LPCWSTR first);
CString FormatText(LPCWSTR key, LPCWSTR first, LPCWSTR second);
void GetTextRaw(LPCWSTR key, _bstr_t& text);
