#pragma once
// Helpers of the edit tests: an edit in the control scene, keys with
// modifiers, typed text, the selection and the clipboard's text.
#include "ControlTestSupport.h"

#include "Platform/Controls/EditStyles.h"
#include "Platform/Ui/Clipboard.h"
#include "Platform/Ui/Tests/WindowText.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <utility>

namespace EditTest {

using ControlTest::Scene;

constexpr int kEditId = 21;

inline HWND AddEdit(Scene& s, DWORD style, LPCWSTR text = L"", int w = 160, int h = 24, int id = kEditId, int y = 10)
{
    return s.Add(L"Edit", text, style | WS_TABSTOP, 10, y, w, h, id, WS_EX_CLIENTEDGE);
}

inline LRESULT Send(HWND hwnd, UINT message, WPARAM w = 0, LPARAM l = 0)
{
    return SendMessageW(hwnd, message, w, l);
}

// A key with Shift and/or Control held around it.
inline void Chord(const Scene& s, UINT key, bool shift, bool control)
{
    if (shift)
        Scene::Display().InjectKeyDown(VK_SHIFT);
    if (control)
        Scene::Display().InjectKeyDown(VK_CONTROL);
    s.Key(key);
    if (control)
        Scene::Display().InjectKeyUp(VK_CONTROL);
    if (shift)
        Scene::Display().InjectKeyUp(VK_SHIFT);
    UiTest::Drain();
}
inline void Shift(const Scene& s, UINT key) { Chord(s, key, true, false); }
inline void Ctrl(const Scene& s, UINT key) { Chord(s, key, false, true); }

// Text as the input method delivers it: WM_CHAR per character.
inline void Type(const std::wstring& text)
{
    Scene::Display().InjectText(text);
    UiTest::Drain();
}

inline std::pair<int, int> Selection(HWND edit)
{
    DWORD start = 0;
    DWORD end = 0;
    Send(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return {static_cast<int>(start), static_cast<int>(end)};
}

using UiTest::TextOf;

// The client point of a character's left edge, a little below its top.
inline POINT CharPoint(HWND edit, int index)
{
    const LRESULT packed = Send(edit, EM_POSFROMCHAR, static_cast<WPARAM>(index));
    return POINT{static_cast<SHORT>(LOWORD(static_cast<DWORD>(packed))), static_cast<SHORT>(HIWORD(static_cast<DWORD>(packed))) + 3};
}

// The clipboard through its API, as another program would use it.
inline void PutOnClipboard(const std::wstring& text)
{
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
    std::memcpy(GlobalLock(block), text.c_str(), (text.size() + 1) * sizeof(wchar_t));
    GlobalUnlock(block);
    SetClipboardData(CF_UNICODETEXT, block);
    CloseClipboard();
}

inline std::wstring ClipboardNow()
{
    if (!OpenClipboard(nullptr))
        return L"<not open>";
    std::wstring text;
    if (HANDLE block = GetClipboardData(CF_UNICODETEXT)) {
        text = static_cast<const wchar_t*>(GlobalLock(block));
        GlobalUnlock(block);
    }
    CloseClipboard();
    return text;
}

}
