#include "Platform/Base/Format.h"
#include "Platform/Base/TextConversion.h"

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <type_traits>

namespace Text {
namespace {

// Widths and precisions come from translated formats and from '*' arguments;
// they are bounded so that a hostile one cannot ask for gigabytes.
constexpr int kMaxField = 100000;

enum class Size { Default, Char, Short, Long32, Long64, PointerSized };

struct Spec {
    bool left = false;
    bool plus = false;
    bool space = false;
    bool alternate = false;
    bool zero = false;
    int width = -1;
    int precision = -1;
    Size size = Size::Default;
    bool narrowPrefix = false; // h: narrow text or character
    bool widePrefix = false;   // l or w: wide text or character
};

template<typename CharT>
class Formatter {
public:
    using String = std::basic_string<CharT>;

    Formatter(const FormatArg* args, std::size_t count) : m_args(args), m_count(count) {}

    String Run(const CharT* format)
    {
        if (!format)
            return {};
        const CharT* p = format;
        while (*p) {
            if (*p != CharT('%')) {
                const CharT* run = p;
                while (*p && *p != CharT('%'))
                    ++p;
                m_out.append(run, static_cast<std::size_t>(p - run));
                continue;
            }
            p = Conversion(p);
        }
        return std::move(m_out);
    }

private:
    const FormatArg* m_args = nullptr;
    std::size_t m_count = 0;
    std::size_t m_next = 0;
    String m_out;

    const FormatArg* NextArg()
    {
        return m_next < m_count ? &m_args[m_next++] : nullptr;
    }

    static bool IsDigit(CharT ch) { return ch >= CharT('0') && ch <= CharT('9'); }

    static int ReadNumber(const CharT*& p)
    {
        int value = 0;
        while (IsDigit(*p)) {
            value = std::min(kMaxField, value * 10 + static_cast<int>(*p - CharT('0')));
            ++p;
        }
        return value;
    }

    // A '*' takes its value from the next argument, which must be an integer.
    bool ReadStar(int& value)
    {
        const FormatArg* arg = NextArg();
        if (!arg || arg->kind != FormatArg::Kind::Integer)
            return false;
        const auto v = static_cast<std::int64_t>(static_cast<std::int32_t>(arg->bits));
        value = static_cast<int>(std::clamp<std::int64_t>(v, -kMaxField, kMaxField));
        return true;
    }

    // Handles the conversion at `start` (a '%') and returns where the text goes on.
    const CharT* Conversion(const CharT* start)
    {
        const CharT* p = start + 1;
        Spec spec;
        bool ok = true;
        for (;; ++p) {
            if (*p == CharT('-'))
                spec.left = true;
            else if (*p == CharT('+'))
                spec.plus = true;
            else if (*p == CharT(' '))
                spec.space = true;
            else if (*p == CharT('#'))
                spec.alternate = true;
            else if (*p == CharT('0'))
                spec.zero = true;
            else
                break;
        }
        if (*p == CharT('*')) {
            ++p;
            ok = ReadStar(spec.width) && ok;
            if (spec.width < 0) {
                spec.left = true;
                spec.width = -spec.width;
            }
        } else if (IsDigit(*p)) {
            spec.width = ReadNumber(p);
        }
        if (*p == CharT('.')) {
            ++p;
            if (*p == CharT('*')) {
                ++p;
                ok = ReadStar(spec.precision) && ok;
                if (spec.precision < 0)
                    spec.precision = -1; // a negative precision counts as none
            } else {
                spec.precision = ReadNumber(p);
            }
        }
        ReadSize(p, spec);
        if (!*p) {
            // A lone or unfinished conversion at the end stays as written.
            m_out.append(start, static_cast<std::size_t>(p - start));
            return p;
        }
        const CharT conv = *p++;
        if (!ok || !Convert(conv, spec))
            m_out.append(start, static_cast<std::size_t>(p - start));
        return p;
    }

    static void ReadSize(const CharT*& p, Spec& spec)
    {
        switch (*p) {
        case CharT('h'):
            ++p;
            spec.narrowPrefix = true;
            spec.size = Size::Short;
            if (*p == CharT('h')) {
                ++p;
                spec.size = Size::Char;
            }
            break;
        case CharT('l'):
            ++p;
            spec.widePrefix = true;
            spec.size = Size::Long32;
            if (*p == CharT('l')) {
                ++p;
                spec.size = Size::Long64;
            }
            break;
        case CharT('w'):
            ++p;
            spec.widePrefix = true;
            break;
        case CharT('L'):
        case CharT('q'):
            ++p;
            spec.size = Size::Long64;
            break;
        case CharT('z'):
        case CharT('j'):
        case CharT('t'):
            ++p;
            spec.size = Size::PointerSized;
            break;
        case CharT('I'):
            ++p;
            if (p[0] == CharT('6') && p[1] == CharT('4')) {
                p += 2;
                spec.size = Size::Long64;
            } else if (p[0] == CharT('3') && p[1] == CharT('2')) {
                p += 2;
                spec.size = Size::Long32;
            } else {
                spec.size = Size::PointerSized;
            }
            break;
        default:
            break;
        }
    }

    // Renders one conversion; false when it does not fit its argument (or is
    // unknown), so that the caller keeps its text.
    bool Convert(CharT conv, const Spec& spec)
    {
        switch (static_cast<char32_t>(conv)) {
        case U'%':
            m_out += CharT('%');
            return true;
        case U'd':
        case U'i':
            return Integer(spec, true, 10, false);
        case U'u':
            return Integer(spec, false, 10, false);
        case U'o':
            return Integer(spec, false, 8, false);
        case U'x':
            return Integer(spec, false, 16, false);
        case U'X':
            return Integer(spec, false, 16, true);
        case U'p':
            return Pointer(spec);
        case U'c':
            return Character(spec, WantsWide(spec, false));
        case U'C':
            return Character(spec, WantsWide(spec, true));
        case U's':
        case U'S':
            return TextConversion(spec);
        case U'e':
        case U'E':
        case U'f':
        case U'F':
        case U'g':
        case U'G':
        case U'a':
        case U'A':
            return Floating(spec, static_cast<char>(conv));
        case U'n':
            // Never writes through the pointer; the argument is used up so that the
            // conversions after it keep their arguments.
            NextArg();
            return false;
        default:
            return false;
        }
    }

    // Whether %c (or %C when `swapped`) means a wide character here.
    static bool WantsWide(const Spec& spec, bool swapped)
    {
        if (spec.narrowPrefix)
            return false;
        if (spec.widePrefix)
            return true;
        const bool wideFormat = std::is_same_v<CharT, wchar_t>;
        return swapped ? !wideFormat : wideFormat;
    }

    void Pad(std::size_t length, const Spec& spec, CharT fill)
    {
        if (spec.width > 0 && length < static_cast<std::size_t>(spec.width))
            m_out.append(static_cast<std::size_t>(spec.width) - length, fill);
    }

    // Text and characters are zero-padded when asked, as the platform does.
    void Field(const String& body, const Spec& spec)
    {
        if (!spec.left)
            Pad(body.size(), spec, spec.zero ? CharT('0') : CharT(' '));
        m_out += body;
        if (spec.left)
            Pad(body.size(), spec, CharT(' '));
    }

    static std::uint64_t Cut(std::uint64_t bits, Size size, bool isSigned)
    {
        int width = 32;
        switch (size) {
        case Size::Char: width = 8; break;
        case Size::Short: width = 16; break;
        case Size::Long64:
        case Size::PointerSized: width = 64; break;
        default: break;
        }
        if (width == 64)
            return bits;
        const std::uint64_t mask = (std::uint64_t{1} << width) - 1;
        std::uint64_t value = bits & mask;
        if (isSigned && (value >> (width - 1)) != 0)
            value |= ~mask; // sign-extend back to 64 bits
        return value;
    }

    static bool IntegerValue(const FormatArg* arg, std::uint64_t& bits)
    {
        if (!arg)
            return false;
        if (arg->kind == FormatArg::Kind::Integer) {
            bits = arg->bits;
            return true;
        }
        if (arg->kind == FormatArg::Kind::Pointer) {
            bits = reinterpret_cast<std::uintptr_t>(arg->pointer);
            return true;
        }
        return false;
    }

    bool Integer(const Spec& spec, bool isSigned, unsigned base, bool upper)
    {
        std::uint64_t bits = 0;
        if (!IntegerValue(NextArg(), bits))
            return false;
        const std::uint64_t value = Cut(bits, spec.size, isSigned);
        bool negative = false;
        std::uint64_t magnitude = value;
        if (isSigned && static_cast<std::int64_t>(value) < 0) {
            negative = true;
            magnitude = ~value + 1;
        }
        std::string digits = Digits(magnitude, base, upper);
        if (spec.precision == 0 && magnitude == 0)
            digits.clear();
        if (spec.precision > 0 && digits.size() < static_cast<std::size_t>(spec.precision))
            digits.insert(0, static_cast<std::size_t>(spec.precision) - digits.size(), '0');
        std::string prefix;
        if (negative)
            prefix = "-";
        else if (isSigned && spec.plus)
            prefix = "+";
        else if (isSigned && spec.space)
            prefix = " ";
        if (spec.alternate && base == 16 && magnitude != 0)
            prefix += upper ? "0X" : "0x";
        if (spec.alternate && base == 8 && (digits.empty() || digits[0] != '0'))
            digits.insert(0, 1, '0');
        EmitNumber(prefix, digits, spec, spec.zero && !spec.left && spec.precision < 0);
        return true;
    }

    static std::string Digits(std::uint64_t value, unsigned base, bool upper)
    {
        const char* set = upper ? "0123456789ABCDEF" : "0123456789abcdef";
        std::string digits;
        do {
            digits += set[value % base];
            value /= base;
        } while (value != 0);
        std::reverse(digits.begin(), digits.end());
        return digits;
    }

    void EmitNumber(const std::string& prefix, const std::string& digits, const Spec& spec, bool zeroFill)
    {
        const std::size_t length = prefix.size() + digits.size();
        if (!spec.left && !zeroFill)
            Pad(length, spec, CharT(' '));
        AppendAscii(prefix);
        if (zeroFill)
            Pad(length, spec, CharT('0'));
        AppendAscii(digits);
        if (spec.left)
            Pad(length, spec, CharT(' '));
    }

    void AppendAscii(const std::string& text)
    {
        for (char ch : text)
            m_out += static_cast<CharT>(static_cast<unsigned char>(ch));
    }

    // The platform prints a pointer as all its hex digits, upper case, no prefix.
    bool Pointer(const Spec& spec)
    {
        const FormatArg* arg = NextArg();
        std::uint64_t bits = 0;
        if (arg && (arg->kind == FormatArg::Kind::NarrowText || arg->kind == FormatArg::Kind::WideText))
            bits = reinterpret_cast<std::uintptr_t>(arg->pointer);
        else if (!IntegerValue(arg, bits))
            return false;
        std::string digits = Digits(bits, 16, true);
        const std::size_t full = 2 * sizeof(void*);
        if (digits.size() < full)
            digits.insert(0, full - digits.size(), '0');
        EmitNumber({}, digits, spec, false);
        return true;
    }

    bool Character(const Spec& spec, bool wide)
    {
        const FormatArg* arg = NextArg();
        if (!arg || arg->kind != FormatArg::Kind::Integer)
            return false;
        if (arg->charSize == 1)
            wide = false;
        else if (arg->charSize > 1)
            wide = true;
        String body;
        if (wide) {
            const auto ch = static_cast<wchar_t>(static_cast<std::uint32_t>(arg->bits));
            if constexpr (std::is_same_v<CharT, wchar_t>)
                body.assign(1, ch);
            else
                body = WideToUtf8(std::wstring_view(&ch, 1));
        } else {
            const char ch = static_cast<char>(static_cast<unsigned char>(arg->bits));
            if constexpr (std::is_same_v<CharT, char>)
                body.assign(1, ch);
            else
                body = Utf8ToWide(std::string_view(&ch, 1));
        }
        Field(body, spec);
        return true;
    }

    template<typename SourceT>
    static std::basic_string_view<SourceT> SourceView(const FormatArg& arg)
    {
        const auto* text = static_cast<const SourceT*>(arg.pointer);
        if (arg.exactLength)
            return {text, arg.length};
        std::size_t length = 0;
        while (length < arg.length && text[length] != SourceT())
            ++length;
        return {text, length};
    }

    bool TextConversion(const Spec& spec)
    {
        const FormatArg* arg = NextArg();
        if (!arg)
            return false;
        const bool isText = arg->kind == FormatArg::Kind::NarrowText || arg->kind == FormatArg::Kind::WideText;
        const bool isNull = arg->pointer == nullptr && (isText || arg->kind == FormatArg::Kind::Pointer);
        if (!isText && !isNull)
            return false;
        const std::size_t limit = spec.precision >= 0 ? static_cast<std::size_t>(spec.precision) : String::npos;
        String body;
        if (isNull) {
            body = Ascii<CharT>("(null)");
            body.resize(std::min(body.size(), limit));
        } else if (arg->kind == FormatArg::Kind::WideText) {
            body = FromWide(SourceView<wchar_t>(*arg), limit);
        } else {
            body = FromNarrow(SourceView<char>(*arg), limit);
        }
        Field(body, spec);
        return true;
    }

    template<typename T>
    static std::basic_string<T> Ascii(const char* text)
    {
        std::basic_string<T> out;
        for (; *text; ++text)
            out += static_cast<T>(*text);
        return out;
    }

    static String FromWide(std::wstring_view text, std::size_t limit)
    {
        if constexpr (std::is_same_v<CharT, wchar_t>) {
            return String(text.substr(0, std::min(limit, text.size())));
        } else {
            // The precision counts bytes, and no character is split.
            std::string out;
            for (wchar_t ch : text) {
                const std::string piece = WideToUtf8(std::wstring_view(&ch, 1));
                if (out.size() + piece.size() > limit)
                    break;
                out += piece;
            }
            return out;
        }
    }

    static String FromNarrow(std::string_view text, std::size_t limit)
    {
        if constexpr (std::is_same_v<CharT, char>) {
            return String(text.substr(0, std::min(limit, text.size())));
        } else {
            std::wstring out = Utf8ToWide(text);
            if (out.size() > limit)
                out.resize(limit);
            return out;
        }
    }

    bool Floating(const Spec& spec, char conv)
    {
        const FormatArg* arg = NextArg();
        if (!arg)
            return false;
        double value = 0.0;
        if (arg->kind == FormatArg::Kind::Floating)
            value = arg->floating;
        else if (arg->kind == FormatArg::Kind::Integer)
            value = static_cast<double>(static_cast<std::int64_t>(Cut(arg->bits, Size::Long64, true)));
        else
            return false;
        // Every piece of this format is checked above, and the argument is a double.
        std::string pattern = "%";
        if (spec.left)
            pattern += '-';
        if (spec.plus)
            pattern += '+';
        if (spec.space)
            pattern += ' ';
        if (spec.alternate)
            pattern += '#';
        if (spec.zero)
            pattern += '0';
        if (spec.width > 0)
            pattern += std::to_string(spec.width);
        if (spec.precision >= 0)
            pattern += '.' + std::to_string(spec.precision);
        pattern += conv;
        const int needed = std::snprintf(nullptr, 0, pattern.c_str(), value);
        if (needed < 0)
            return false;
        std::string text(static_cast<std::size_t>(needed) + 1, '\0');
        std::snprintf(text.data(), text.size(), pattern.c_str(), value);
        text.resize(static_cast<std::size_t>(needed));
        AppendAscii(text);
        return true;
    }
};

template<typename CharT>
int ToBuffer(CharT* buffer, std::size_t bufferSize, std::size_t maxCount, const CharT* format, const FormatArg* args,
             std::size_t count)
{
    if (!buffer || bufferSize == 0)
        return -1;
    const std::basic_string<CharT> text = Formatter<CharT>(args, count).Run(format);
    const std::size_t room = std::min(bufferSize - 1, maxCount);
    const std::size_t written = std::min(text.size(), room);
    std::copy_n(text.data(), written, buffer);
    buffer[written] = CharT();
    if (written < text.size())
        return -1;
    return static_cast<int>(std::min<std::size_t>(written, INT32_MAX));
}

}

std::wstring FormatArgs(const wchar_t* format, const FormatArg* args, std::size_t count)
{
    return Formatter<wchar_t>(args, count).Run(format);
}

std::string FormatArgs(const char* format, const FormatArg* args, std::size_t count)
{
    return Formatter<char>(args, count).Run(format);
}

int FormatArgsToBuffer(wchar_t* buffer, std::size_t bufferSize, std::size_t maxCount, const wchar_t* format,
                       const FormatArg* args, std::size_t count)
{
    return ToBuffer(buffer, bufferSize, maxCount, format, args, count);
}

int FormatArgsToBuffer(char* buffer, std::size_t bufferSize, std::size_t maxCount, const char* format,
                       const FormatArg* args, std::size_t count)
{
    return ToBuffer(buffer, bufferSize, maxCount, format, args, count);
}

}
