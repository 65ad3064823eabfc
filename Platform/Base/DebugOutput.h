#pragma once
// The debugger output of the platform. Silent unless ZELL_DEBUG_OUTPUT is set:
// "stderr" writes each text to standard error, any other value is a file that
// the text is appended to (UTF-8). Every text goes out in one piece, ended by
// a line feed when it has none, so lines of different threads never mix.

#include "Platform/Base/Types.h"

void OutputDebugStringW(LPCWSTR text);
// Narrow text is UTF-8.
void OutputDebugStringA(LPCSTR text);

inline void OutputDebugString(LPCWSTR text)
{
    OutputDebugStringW(text);
}

inline void OutputDebugString(LPCSTR text)
{
    OutputDebugStringA(text);
}
