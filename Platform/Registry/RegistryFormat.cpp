#include "Platform/Registry/RegistryFormat.h"

#include "Platform/Base/TextConversion.h"
#include "Platform/Registry/RegistryTypes.h"

#include <array>
#include <charconv>
#include <cstring>
#include <optional>
#include <vector>

namespace Registry {
namespace {

constexpr std::string_view kMagic = "zell-registry 1";
// The platform's own nesting limit; it also bounds the recursion of copies
// and of the writer.
constexpr std::size_t kMaxDepth = 512;

bool IsStringType(DWORD type)
{
    return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ;
}

void AppendHex(std::string& out, std::uint32_t value, int digits)
{
    static constexpr char kDigits[] = "0123456789abcdef";
    for (int shift = (digits - 1) * 4; shift >= 0; shift -= 4)
        out += kDigits[(value >> shift) & 0xF];
}

void AppendQuoted(std::string& out, std::wstring_view text)
{
    out += '"';
    for (const wchar_t wc : text) {
        const auto cp = static_cast<std::uint32_t>(wc);
        switch (cp) {
        case '"': out += "\\\""; continue;
        case '\\': out += "\\\\"; continue;
        case '\n': out += "\\n"; continue;
        case '\r': out += "\\r"; continue;
        case '\t': out += "\\t"; continue;
        case 0: out += "\\0"; continue;
        default: break;
        }
        if (cp < 0x20 || cp == 0x7F) {
            out += "\\x";
            AppendHex(out, cp, 2);
        } else if ((cp >= 0xD800 && cp <= 0xDFFF) || cp > 0x10FFFF) {
            // Not a Unicode scalar value, so UTF-8 cannot carry it.
            out += "\\U";
            AppendHex(out, cp, 8);
        } else {
            out += Text::WideToUtf8(std::wstring_view(&wc, 1));
        }
    }
    out += '"';
}

std::wstring WideFromData(const std::vector<BYTE>& data)
{
    std::wstring text(data.size() / sizeof(wchar_t), L'\0');
    if (!text.empty())
        std::memcpy(text.data(), data.data(), text.size() * sizeof(wchar_t));
    return text;
}

void AppendData(std::string& out, const CRegistryValue& value)
{
    if (IsStringType(value.type) && value.data.size() % sizeof(wchar_t) == 0 && !value.data.empty()) {
        const std::wstring text = WideFromData(value.data);
        if (text.back() == L'\0') {
            AppendQuoted(out, std::wstring_view(text).substr(0, text.size() - 1));
            return;
        }
    }
    out += "hex:";
    for (const BYTE b : value.data)
        AppendHex(out, b, 2);
}

void SerializeKey(std::string& out, const CRegistryKey& key, std::vector<const std::wstring*>& path, bool isRoot)
{
    if (!isRoot || !key.Values().empty()) {
        out += "key";
        for (const auto* name : path) {
            out += ' ';
            AppendQuoted(out, *name);
        }
        out += '\n';
        for (const auto& value : key.Values()) {
            out += "value ";
            AppendQuoted(out, value.name);
            out += ' ';
            out += std::to_string(value.type);
            out += ' ';
            AppendData(out, value);
            out += '\n';
        }
    }
    if (path.size() >= kMaxDepth)
        return;
    key.ForEachSubKey([&](const CRegistryKey& sub) {
        path.push_back(&sub.Name());
        SerializeKey(out, sub, path, false);
        path.pop_back();
    });
}

// Reads the tokens of one line.
class CLineReader {
public:
    explicit CLineReader(std::string_view line) : m_line(line) {}

    bool AtEnd() const { return m_pos >= m_line.size(); }

    bool Word(std::string_view& word)
    {
        const std::size_t start = m_pos;
        while (m_pos < m_line.size() && m_line[m_pos] != ' ')
            ++m_pos;
        word = m_line.substr(start, m_pos - start);
        return !word.empty();
    }

    // One blank between tokens, nothing else.
    bool Separator()
    {
        if (m_pos < m_line.size() && m_line[m_pos] == ' ') {
            ++m_pos;
            return m_pos < m_line.size();
        }
        return false;
    }

    bool Peek(char c) const { return m_pos < m_line.size() && m_line[m_pos] == c; }

    bool Quoted(std::wstring& text, std::string& error)
    {
        text.clear();
        if (!Peek('"')) {
            error = "quoted text expected";
            return false;
        }
        ++m_pos;
        while (m_pos < m_line.size()) {
            const auto c = static_cast<unsigned char>(m_line[m_pos]);
            if (c == '"') {
                ++m_pos;
                return true;
            }
            if (c == '\\') {
                if (!Escape(text, error))
                    return false;
                continue;
            }
            if (c < 0x20 || c == 0x7F) {
                error = "control character in quoted text";
                return false;
            }
            if (c < 0x80) {
                text += static_cast<wchar_t>(c);
                ++m_pos;
                continue;
            }
            if (!Utf8(text, error))
                return false;
        }
        error = "unterminated quoted text";
        return false;
    }

private:
    bool HexDigits(int count, std::uint32_t& value)
    {
        if (m_pos + static_cast<std::size_t>(count) > m_line.size())
            return false;
        value = 0;
        for (int i = 0; i < count; ++i) {
            const char c = m_line[m_pos++];
            int digit = -1;
            if (c >= '0' && c <= '9')
                digit = c - '0';
            else if (c >= 'a' && c <= 'f')
                digit = c - 'a' + 10;
            else if (c >= 'A' && c <= 'F')
                digit = c - 'A' + 10;
            if (digit < 0)
                return false;
            value = (value << 4) | static_cast<std::uint32_t>(digit);
        }
        return true;
    }

    bool Escape(std::wstring& text, std::string& error)
    {
        ++m_pos;
        if (m_pos >= m_line.size()) {
            error = "escape at end of line";
            return false;
        }
        const char c = m_line[m_pos++];
        std::uint32_t value = 0;
        switch (c) {
        case '"': text += L'"'; return true;
        case '\\': text += L'\\'; return true;
        case 'n': text += L'\n'; return true;
        case 'r': text += L'\r'; return true;
        case 't': text += L'\t'; return true;
        case '0': text += L'\0'; return true;
        case 'x':
            if (!HexDigits(2, value))
                break;
            text += static_cast<wchar_t>(value);
            return true;
        case 'U':
            if (!HexDigits(8, value))
                break;
            text += static_cast<wchar_t>(value);
            return true;
        default: break;
        }
        error = "bad escape in quoted text";
        return false;
    }

    // All bytes of a multi-byte sequence are 0x80 or above, so a run of them
    // ends where the quoted text goes on; a sequence cut off by that is invalid.
    bool Utf8(std::wstring& text, std::string& error)
    {
        std::size_t end = m_pos;
        while (end < m_line.size() && static_cast<unsigned char>(m_line[end]) >= 0x80)
            ++end;
        std::wstring decoded;
        if (!Text::TryUtf8ToWide(m_line.substr(m_pos, end - m_pos), decoded)) {
            error = "invalid UTF-8";
            return false;
        }
        text += decoded;
        m_pos = end;
        return true;
    }

    std::string_view m_line;
    std::size_t m_pos = 0;
};

template <typename T>
bool ParseNumber(std::string_view text, T& value, int base = 10)
{
    if (text.empty())
        return false;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    return ec == std::errc() && end == text.data() + text.size();
}

bool ParseHexData(std::string_view text, std::vector<BYTE>& data)
{
    if (text.size() % 2 != 0)
        return false;
    data.clear();
    data.reserve(text.size() / 2);
    for (std::size_t i = 0; i < text.size(); i += 2) {
        unsigned int byte = 0;
        if (!ParseNumber(text.substr(i, 2), byte, 16))
            return false;
        data.push_back(static_cast<BYTE>(byte));
    }
    return true;
}

class CFileParser {
public:
    CFileParser(std::string_view text, CRegistryFileContent& content, std::string& error)
        : m_text(text), m_content(content), m_error(error)
    {
    }

    bool Run()
    {
        m_content = CRegistryFileContent{};
        m_current = &m_content.root;
        std::size_t pos = 0;
        bool sawEnd = false;
        while (pos < m_text.size()) {
            const std::size_t newline = m_text.find('\n', pos);
            if (newline == std::string_view::npos)
                return Fail("last line not terminated (file cut short?)");
            const std::string_view line = m_text.substr(pos, newline - pos);
            ++m_lineNumber;
            if (sawEnd)
                return Fail("text after the end line");
            if (line.starts_with("end ")) {
                if (!CheckEnd(line, pos))
                    return false;
                sawEnd = true;
            } else if (!Line(line)) {
                return false;
            }
            pos = newline + 1;
        }
        if (!sawEnd)
            return Fail(m_lineNumber == 0 ? "empty file" : "end line missing (file cut short?)");
        return true;
    }

private:
    bool Fail(const std::string& reason)
    {
        m_error = "line " + std::to_string(m_lineNumber) + ": " + reason;
        return false;
    }

    bool CheckEnd(std::string_view line, std::size_t lineStart)
    {
        std::uint32_t stored = 0;
        if (!ParseNumber(line.substr(4), stored, 16) || line.size() != 12)
            return Fail("bad end line");
        if (stored != Crc32(m_text.substr(0, lineStart)))
            return Fail("checksum mismatch (file garbled)");
        if (!m_sawMagic)
            return Fail("header missing");
        return true;
    }

    bool Line(std::string_view line)
    {
        if (!m_sawMagic) {
            if (line != kMagic)
                return Fail("not a registry store file");
            m_sawMagic = true;
            return true;
        }
        CLineReader reader(line);
        std::string_view word;
        if (!reader.Word(word))
            return Fail("empty line");
        if (word == "generation") {
            std::string_view number;
            if (!reader.Separator() || !reader.Word(number) || !reader.AtEnd()
                || !ParseNumber(number, m_content.generation))
                return Fail("bad generation");
            return true;
        }
        if (word == "key")
            return KeyLine(reader);
        if (word == "value")
            return ValueLine(reader);
        return Fail("unknown line");
    }

    bool KeyLine(CLineReader& reader)
    {
        CRegistryKey* key = &m_content.root;
        std::size_t depth = 0;
        std::wstring name;
        std::string reason;
        while (!reader.AtEnd()) {
            if (!reader.Separator() || !reader.Quoted(name, reason))
                return Fail(reason.empty() ? "bad key line" : reason);
            if (name.empty() || name.size() > kRegistryMaxKeyName || name.find(L'\\') != std::wstring::npos)
                return Fail("invalid key name");
            if (++depth > kMaxDepth)
                return Fail("keys nested too deeply");
            bool created = false;
            key = &key->CreateSubKey(name, created);
        }
        m_current = key;
        return true;
    }

    bool ValueLine(CLineReader& reader)
    {
        CRegistryValue value;
        std::string reason;
        std::string_view typeText;
        if (!reader.Separator() || !reader.Quoted(value.name, reason))
            return Fail(reason.empty() ? "bad value line" : reason);
        if (value.name.size() > kRegistryMaxValueName)
            return Fail("value name too long");
        if (!reader.Separator() || !reader.Word(typeText) || !ParseNumber(typeText, value.type))
            return Fail("bad value type");
        if (!reader.Separator())
            return Fail("value data missing");
        if (reader.Peek('"')) {
            if (!IsStringType(value.type))
                return Fail("text data for a non-text type");
            std::wstring text;
            if (!reader.Quoted(text, reason))
                return Fail(reason);
            text += L'\0';
            value.data.resize(text.size() * sizeof(wchar_t));
            std::memcpy(value.data.data(), text.data(), value.data.size());
        } else {
            std::string_view hex;
            if (!reader.Word(hex) || !hex.starts_with("hex:") || !ParseHexData(hex.substr(4), value.data))
                return Fail("bad value data");
        }
        if (!reader.AtEnd())
            return Fail("text after the value data");
        m_current->SetValue(std::move(value));
        return true;
    }

    std::string_view m_text;
    CRegistryFileContent& m_content;
    std::string& m_error;
    CRegistryKey* m_current = nullptr;
    std::size_t m_lineNumber = 0;
    bool m_sawMagic = false;
};

}

std::uint32_t Crc32(std::string_view bytes)
{
    static const std::array<std::uint32_t, 256> table = [] {
        std::array<std::uint32_t, 256> t{};
        for (std::uint32_t i = 0; i < 256; ++i) {
            std::uint32_t c = i;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? (0xEDB88320u ^ (c >> 1)) : (c >> 1);
            t[i] = c;
        }
        return t;
    }();
    std::uint32_t crc = 0xFFFFFFFFu;
    for (const char ch : bytes)
        crc = table[(crc ^ static_cast<unsigned char>(ch)) & 0xFF] ^ (crc >> 8);
    return crc ^ 0xFFFFFFFFu;
}

std::string SerializeRegistryFile(const CRegistryKey& root, std::uint64_t generation)
{
    std::string out;
    out += kMagic;
    out += '\n';
    out += "generation " + std::to_string(generation) + '\n';
    std::vector<const std::wstring*> path;
    SerializeKey(out, root, path, true);
    const std::uint32_t crc = Crc32(out);
    out += "end ";
    AppendHex(out, crc, 8);
    out += '\n';
    return out;
}

bool ParseRegistryFile(std::string_view text, CRegistryFileContent& content, std::string& error)
{
    return CFileParser(text, content, error).Run();
}

}
