#pragma once
// printf-style formatting with the platform's rules: in a wide format %s and %c
// take wide text and %S and %C narrow (UTF-8) text, in a narrow format the other
// way round; %hs/%ls (and %ws) name the width outright. `long` counts as 32 bits
// (%lu, %ld, %lx), %I64d and %lld as 64, %Id and %zu as pointer-sized.
//
// Each conversion is checked against the argument it consumes. A mismatch (too
// few arguments, text for a number, a number for text, %n, an unknown
// conversion, a lone trailing %) keeps the conversion's own text in the output
// and never reads anything it was not given. Integer conversions take any
// integer and cut it to the width their prefix names; floating conversions take
// integers too. Text of either width is accepted by %s and %S alike and
// converted; a null text renders "(null)".

#include "Platform/Base/FormatArg.h"

#include <cstddef>
#include <string>
#include <type_traits>

namespace Text {

std::wstring FormatArgs(const wchar_t* format, const FormatArg* args, std::size_t count);
std::string FormatArgs(const char* format, const FormatArg* args, std::size_t count);

// Formats into `buffer` of `bufferSize` units, writing at most `maxCount`
// characters and always a terminating NUL. Returns the characters written, or
// -1 when the text was cut (or the buffer is null or empty).
int FormatArgsToBuffer(wchar_t* buffer, std::size_t bufferSize, std::size_t maxCount, const wchar_t* format,
                       const FormatArg* args, std::size_t count);
int FormatArgsToBuffer(char* buffer, std::size_t bufferSize, std::size_t maxCount, const char* format,
                       const FormatArg* args, std::size_t count);

template<typename CharT, typename... Args>
std::basic_string<CharT> Format(const CharT* format, const Args&... args)
{
    const FormatArg list[] = {MakeFormatArg(args)..., FormatArg{}};
    return FormatArgs(format, list, sizeof...(Args));
}

template<typename CharT, typename... Args>
int FormatToBuffer(CharT* buffer, std::size_t bufferSize, std::size_t maxCount, const CharT* format,
                   const Args&... args)
{
    const FormatArg list[] = {MakeFormatArg(args)..., FormatArg{}};
    return FormatArgsToBuffer(buffer, bufferSize, maxCount, format, list, sizeof...(Args));
}

}

template<typename... Args>
std::wstring FormatW(const wchar_t* format, const Args&... args)
{
    return Text::Format(format, args...);
}

template<typename... Args>
std::string FormatA(const char* format, const Args&... args)
{
    return Text::Format(format, args...);
}

// The sized-buffer helpers of the runtime. All of them cut the text to the
// buffer, always terminate it, and return -1 when they had to cut.
#ifndef _TRUNCATE
#define _TRUNCATE (static_cast<std::size_t>(-1))
#endif

template<typename... Args>
int swprintf_s(wchar_t* buffer, std::size_t size, const wchar_t* format, const Args&... args)
{
    return Text::FormatToBuffer(buffer, size, _TRUNCATE, format, args...);
}

// The format is a template parameter so that a literal 0 size picks the
// sized form above instead of passing for a null format here.
template<std::size_t N, typename F, typename... Args>
    requires std::is_pointer_v<std::decay_t<F>>
int swprintf_s(wchar_t (&buffer)[N], const F& format, const Args&... args)
{
    return Text::FormatToBuffer(buffer, N, _TRUNCATE, format, args...);
}

template<typename... Args>
int sprintf_s(char* buffer, std::size_t size, const char* format, const Args&... args)
{
    return Text::FormatToBuffer(buffer, size, _TRUNCATE, format, args...);
}

// The format is a template parameter so that a literal 0 size picks the
// sized form above instead of passing for a null format here.
template<std::size_t N, typename F, typename... Args>
    requires std::is_pointer_v<std::decay_t<F>>
int sprintf_s(char (&buffer)[N], const F& format, const Args&... args)
{
    return Text::FormatToBuffer(buffer, N, _TRUNCATE, format, args...);
}

// `count` is the most characters to write, or _TRUNCATE for as many as fit.
template<typename... Args>
int _snwprintf_s(wchar_t* buffer, std::size_t size, std::size_t count, const wchar_t* format, const Args&... args)
{
    return Text::FormatToBuffer(buffer, size, count, format, args...);
}

template<std::size_t N, typename F, typename... Args>
    requires std::is_pointer_v<std::decay_t<F>>
int _snwprintf_s(wchar_t (&buffer)[N], std::size_t count, const F& format, const Args&... args)
{
    return Text::FormatToBuffer(buffer, N, count, format, args...);
}

template<typename... Args>
int _snprintf_s(char* buffer, std::size_t size, std::size_t count, const char* format, const Args&... args)
{
    return Text::FormatToBuffer(buffer, size, count, format, args...);
}

template<std::size_t N, typename F, typename... Args>
    requires std::is_pointer_v<std::decay_t<F>>
int _snprintf_s(char (&buffer)[N], std::size_t count, const F& format, const Args&... args)
{
    return Text::FormatToBuffer(buffer, N, count, format, args...);
}
