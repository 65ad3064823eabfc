#pragma once
// The helpers on the desktop shell: well-known folders, shortcuts and mail links.

#include "Platform/Base/Types.h"

#include <string>

// The folder of a CSIDL value, not created when missing; empty on failure.
std::wstring GetSpecialFolderPath(int csidl);

// Lets the user pick a folder, starting at `initialFolder` (cut to 259
// characters), under `title` (a default text when empty): the chosen folder,
// or the initial folder when the dialog is cancelled.
std::wstring BrowseForFolder(HWND owner, const std::wstring& initialFolder, const std::wstring& title = {});

// Writes a shortcut (a desktop entry file) to the full path of the target,
// with its arguments (one command-line text), working folder and icon. The
// first failing step's HRESULT: E_FAIL when the target has no full path.
HRESULT CreateShortcut(const std::wstring& target, const std::wstring& description, const std::wstring& linkFile,
                       const std::wstring& arguments = {}, const std::wstring& iconFile = {}, int iconIndex = 0,
                       const std::wstring& workingFolder = {});
// The target of a shortcut, and on request its arguments and working folder;
// nothing is changed on failure. A file that is no shortcut gives
// HRESULT_FROM_WIN32(ERROR_BAD_FORMAT), a missing one
// HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND).
HRESULT ResolveShortcut(const std::wstring& linkFile, std::wstring& target, std::wstring* arguments = nullptr,
                        std::wstring* workingFolder = nullptr);

// Opens the desktop's mail program on "mailto:" + address, with the subject
// and body as "?subject=...&body=..." (each part only when not empty). Subject
// and body are percent-encoded, so blanks, quotes, "&" and line breaks stay
// part of them. False when no mail program could be started.
bool SendMailTo(const std::wstring& address, const std::wstring& subject, const std::wstring& body);
// The link SendMailTo opens.
std::wstring MakeMailToLink(const std::wstring& address, const std::wstring& subject, const std::wstring& body);
