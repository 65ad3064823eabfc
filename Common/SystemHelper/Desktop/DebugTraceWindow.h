#pragma once
// Debug traces whose format comes from the string table, and traces that
// also show in a window (a status line, a log field), while the debug-trace
// switch is on. Their texts are cut to 1024 characters.
#include "Common/SystemHelper/Values/StringUtils.h"

#include <string>

class CWnd;

namespace SystemHelperDetail {
constexpr std::size_t kWindowTraceLength = 1024;
// String `id` of the resource module, at most 1023 characters; empty when it has none.
std::wstring LoadTraceFormat(UINT id);
// To the debug output, and as the window's text when a window is given.
void WriteTrace(CWnd* window, const wchar_t* text);
}

template <typename... Args>
void DebugTraceToWindow(CWnd* window, const wchar_t* format, const Args&... args)
{
    if (!IsDebugTraceEnabled() || !format)
        return;
    wchar_t buffer[SystemHelperDetail::kWindowTraceLength] = {};
    _snwprintf_s(buffer, _TRUNCATE, format, args...);
    SystemHelperDetail::WriteTrace(window, buffer);
}

// A string id without text writes nothing and leaves the window's text as it is.
template <typename... Args>
void DebugTraceIdToWindow(CWnd* window, UINT id, const Args&... args)
{
    if (!IsDebugTraceEnabled())
        return;
    const std::wstring format = SystemHelperDetail::LoadTraceFormat(id);
    if (!format.empty())
        DebugTraceToWindow(window, format.c_str(), args...);
}

template <typename... Args>
void DebugTraceId(UINT id, const Args&... args)
{
    DebugTraceIdToWindow(nullptr, id, args...);
}
