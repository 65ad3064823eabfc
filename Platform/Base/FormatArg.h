#pragma once
// One argument of a printf-style format, captured with its type so that every
// conversion can be checked against what was really passed. A translated format
// that does not match its arguments then renders harmlessly instead of reading
// the wrong thing off the stack.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <cwchar>
#include <string>
#include <string_view>
#include <type_traits>

namespace Text {

class FormatArg {
public:
    enum class Kind : unsigned char { Integer, Floating, NarrowText, WideText, Pointer };
    static constexpr std::size_t kUnbounded = static_cast<std::size_t>(-1);

    Kind kind = Kind::Integer;
    // Integers keep their value sign-extended to 64 bits; a conversion cuts it to
    // the width its length prefix names.
    std::uint64_t bits = 0;
    double floating = 0.0;
    const void* pointer = nullptr; // the text or the pointer value
    // Text length in code units; kUnbounded means "up to the terminating NUL",
    // otherwise an upper bound (arrays) or the exact length (strings).
    std::size_t length = kUnbounded;
    bool exactLength = false;
    // 1 for char, 2 or 4 for the wide character types, 0 for other integers:
    // %c then takes the character as what it was, whatever its conversion says.
    unsigned char charSize = 0;
};

namespace Detail {

template<typename T>
FormatArg IntegerArg(T value)
{
    FormatArg arg;
    if constexpr (std::is_signed_v<T>)
        arg.bits = static_cast<std::uint64_t>(static_cast<std::int64_t>(value));
    else
        arg.bits = static_cast<std::uint64_t>(value);
    if constexpr (std::is_same_v<T, char> || std::is_same_v<T, signed char> || std::is_same_v<T, unsigned char>
                  || std::is_same_v<T, char8_t>)
        arg.charSize = 1;
    else if constexpr (std::is_same_v<T, wchar_t> || std::is_same_v<T, char16_t> || std::is_same_v<T, char32_t>)
        arg.charSize = static_cast<unsigned char>(sizeof(T));
    return arg;
}

template<typename CharT>
FormatArg TextArg(const CharT* text, std::size_t length, bool exact)
{
    FormatArg arg;
    arg.kind = std::is_same_v<CharT, char> ? FormatArg::Kind::NarrowText : FormatArg::Kind::WideText;
    arg.pointer = text;
    arg.length = length;
    arg.exactLength = exact && text != nullptr;
    return arg;
}

template<typename T>
inline constexpr bool kAlwaysFalse = false;

}

template<typename T>
FormatArg MakeFormatArg(const T& value)
{
    using U = std::remove_cv_t<T>;
    if constexpr (std::is_same_v<U, bool>) {
        return Detail::IntegerArg(static_cast<unsigned int>(value));
    } else if constexpr (std::is_integral_v<U>) {
        return Detail::IntegerArg(value);
    } else if constexpr (std::is_enum_v<U>) {
        return Detail::IntegerArg(static_cast<std::underlying_type_t<U>>(value));
    } else if constexpr (std::is_floating_point_v<U>) {
        FormatArg arg;
        arg.kind = FormatArg::Kind::Floating;
        arg.floating = static_cast<double>(value);
        return arg;
    } else if constexpr (std::is_same_v<U, std::nullptr_t>) {
        FormatArg arg;
        arg.kind = FormatArg::Kind::Pointer;
        return arg;
    } else if constexpr (std::is_array_v<U>) {
        // A character array is read no further than its extent, terminated or not.
        using E = std::remove_cv_t<std::remove_extent_t<U>>;
        if constexpr (std::is_same_v<E, char> || std::is_same_v<E, wchar_t>)
            return Detail::TextArg<E>(value, std::extent_v<U>, false);
        else
            return MakeFormatArg(static_cast<const void*>(value));
    } else if constexpr (std::is_pointer_v<U>) {
        using E = std::remove_cv_t<std::remove_pointer_t<U>>;
        if constexpr (std::is_same_v<E, char> || std::is_same_v<E, wchar_t>) {
            return Detail::TextArg<E>(value, FormatArg::kUnbounded, false);
        } else {
            FormatArg arg;
            arg.kind = FormatArg::Kind::Pointer;
            arg.pointer = reinterpret_cast<const void*>(value);
            return arg;
        }
    } else if constexpr (std::is_same_v<U, std::string> || std::is_same_v<U, std::string_view>
                         || std::is_same_v<U, std::wstring> || std::is_same_v<U, std::wstring_view>) {
        return Detail::TextArg(value.data(), value.size(), true);
    } else if constexpr (std::is_convertible_v<const U&, const wchar_t*>) {
        // CString, _bstr_t and the like: their text lives as long as the call.
        return Detail::TextArg(static_cast<const wchar_t*>(value), FormatArg::kUnbounded, false);
    } else if constexpr (std::is_convertible_v<const U&, const char*>) {
        return Detail::TextArg(static_cast<const char*>(value), FormatArg::kUnbounded, false);
    } else {
        static_assert(Detail::kAlwaysFalse<U>, "this type cannot be a format argument");
    }
}

}
