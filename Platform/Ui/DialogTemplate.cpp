#include "Platform/Ui/DialogTemplate.h"

#include "Platform/Base/LastError.h"
#include "Platform/Ui/WinUser.h"

#include <cstring>

using namespace Ui;

namespace {

constexpr WORD kOrdinalMark = 0xFFFF;
constexpr WORD kExtendedVersion = 1;
constexpr WORD kExtendedSignature = 0xFFFF;

class ImageWriter {
public:
    void Word(WORD value) { Raw(&value, sizeof value); }
    void Dword(DWORD value) { Raw(&value, sizeof value); }
    void Short(short value) { Raw(&value, sizeof value); }
    void Byte(BYTE value) { m_bytes.push_back(value); }
    void Text(const std::wstring& text)
    {
        for (wchar_t c : text)
            Word(static_cast<WORD>(c));
        Word(0);
    }
    void NameOrOrdinal(const Ui::NameOrOrdinal& field)
    {
        if (field.isOrdinal) {
            Word(kOrdinalMark);
            Word(field.ordinal);
        } else {
            Text(field.name);
        }
    }
    void AlignTo(std::size_t unit)
    {
        while (m_bytes.size() % unit != 0)
            m_bytes.push_back(0);
    }
    void Raw(const void* data, std::size_t size)
    {
        const auto* bytes = static_cast<const BYTE*>(data);
        m_bytes.insert(m_bytes.end(), bytes, bytes + size);
    }
    std::vector<BYTE> Take() { return std::move(m_bytes); }

private:
    std::vector<BYTE> m_bytes;
};

// Reads fields off an image; once a read would pass the end, every later
// read fails too and Ok() says so.
class ImageReader {
public:
    ImageReader(const BYTE* data, std::size_t size) : m_data(data), m_size(size) {}

    bool Ok() const { return m_ok; }
    std::size_t Offset() const { return m_offset; }

    template <typename T>
    T Read()
    {
        T value{};
        if (!Take(sizeof value))
            return value;
        std::memcpy(&value, m_data + m_offset - sizeof value, sizeof value);
        return value;
    }
    std::wstring Text()
    {
        std::wstring text;
        for (;;) {
            const WORD c = Read<WORD>();
            if (!m_ok || c == 0)
                return text;
            text.push_back(static_cast<wchar_t>(c));
        }
    }
    Ui::NameOrOrdinal NameOrOrdinal()
    {
        WORD first = 0;
        if (!Peek(first))
            return {};
        if (first == kOrdinalMark) {
            Read<WORD>();
            return Ui::NameOrOrdinal::Ordinal(Read<WORD>());
        }
        return Ui::NameOrOrdinal::Name(Text());
    }
    std::vector<BYTE> Bytes(std::size_t count)
    {
        if (!Take(count))
            return {};
        return std::vector<BYTE>(m_data + m_offset - count, m_data + m_offset);
    }
    void AlignTo(std::size_t unit)
    {
        const std::size_t pad = (unit - m_offset % unit) % unit;
        // Padding after the last field may be cut off by the image's end.
        m_offset = std::min(m_offset + pad, m_size);
    }
    void Fail() { m_ok = false; }

private:
    bool Take(std::size_t count)
    {
        if (!m_ok || count > m_size - m_offset) {
            m_ok = false;
            return false;
        }
        m_offset += count;
        return true;
    }
    bool Peek(WORD& value)
    {
        if (!m_ok || sizeof value > m_size - m_offset) {
            m_ok = false;
            return false;
        }
        std::memcpy(&value, m_data + m_offset, sizeof value);
        return true;
    }

    const BYTE* m_data = nullptr;
    std::size_t m_size = 0;
    std::size_t m_offset = 0;
    bool m_ok = true;
};

void ReadPlace(ImageReader& in, DialogItemTemplate& item)
{
    item.x = in.Read<short>();
    item.y = in.Read<short>();
    item.cx = in.Read<short>();
    item.cy = in.Read<short>();
}

void ReadExtendedItem(ImageReader& in, DialogItemTemplate& item)
{
    item.helpId = in.Read<DWORD>();
    item.exStyle = in.Read<DWORD>();
    item.style = in.Read<DWORD>();
    ReadPlace(in, item);
    item.id = in.Read<DWORD>();
    item.windowClass = in.NameOrOrdinal();
    item.text = in.NameOrOrdinal();
    const WORD extra = in.Read<WORD>();
    item.creationData = in.Bytes(extra);
}

void ReadClassicItem(ImageReader& in, DialogItemTemplate& item)
{
    item.style = in.Read<DWORD>();
    item.exStyle = in.Read<DWORD>();
    ReadPlace(in, item);
    item.id = in.Read<WORD>();
    item.windowClass = in.NameOrOrdinal();
    item.text = in.NameOrOrdinal();
    // The classic size word counts itself when it is not zero.
    const WORD extra = in.Read<WORD>();
    if (extra == 1)
        in.Fail();
    else if (extra > 1)
        item.creationData = in.Bytes(extra - sizeof(WORD));
}

}

bool CDialogTemplate::HasFont() const
{
    return (style & DS_SETFONT) != 0;
}

std::vector<BYTE> CDialogTemplate::ToImage() const
{
    if (items.size() > 0xFFFF)
        return {};
    ImageWriter out;
    out.Word(kExtendedVersion);
    out.Word(kExtendedSignature);
    out.Dword(helpId);
    out.Dword(exStyle);
    out.Dword(style);
    out.Word(static_cast<WORD>(items.size()));
    out.Short(x);
    out.Short(y);
    out.Short(cx);
    out.Short(cy);
    out.NameOrOrdinal(menu);
    out.NameOrOrdinal(windowClass);
    out.Text(caption);
    if (HasFont()) {
        out.Word(pointSize);
        out.Word(weight);
        out.Byte(italic);
        out.Byte(charSet);
        out.Text(faceName);
    }
    for (const DialogItemTemplate& item : items) {
        if (item.creationData.size() > 0xFFFF)
            return {};
        out.AlignTo(sizeof(DWORD));
        out.Dword(item.helpId);
        out.Dword(item.exStyle);
        out.Dword(item.style);
        out.Short(item.x);
        out.Short(item.y);
        out.Short(item.cx);
        out.Short(item.cy);
        out.Dword(item.id);
        out.NameOrOrdinal(item.windowClass);
        out.NameOrOrdinal(item.text);
        out.Word(static_cast<WORD>(item.creationData.size()));
        out.Raw(item.creationData.data(), item.creationData.size());
    }
    return out.Take();
}

bool CDialogTemplate::Parse(const void* image, std::size_t size)
{
    // Fields are WORD-aligned: an image at an odd address is not one.
    if (image == nullptr || reinterpret_cast<std::uintptr_t>(image) % sizeof(WORD) != 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    ImageReader in(static_cast<const BYTE*>(image), size);
    CDialogTemplate parsed;
    const WORD version = in.Read<WORD>();
    const WORD signature = in.Read<WORD>();
    const bool extended = in.Ok() && version == kExtendedVersion && signature == kExtendedSignature;
    WORD count = 0;
    if (extended) {
        parsed.helpId = in.Read<DWORD>();
        parsed.exStyle = in.Read<DWORD>();
        parsed.style = in.Read<DWORD>();
    } else {
        in = ImageReader(static_cast<const BYTE*>(image), size);
        parsed.style = in.Read<DWORD>();
        parsed.exStyle = in.Read<DWORD>();
    }
    count = in.Read<WORD>();
    parsed.x = in.Read<short>();
    parsed.y = in.Read<short>();
    parsed.cx = in.Read<short>();
    parsed.cy = in.Read<short>();
    parsed.menu = in.NameOrOrdinal();
    parsed.windowClass = in.NameOrOrdinal();
    parsed.caption = in.Text();
    if (parsed.HasFont()) {
        parsed.pointSize = in.Read<WORD>();
        if (extended) {
            parsed.weight = in.Read<WORD>();
            parsed.italic = in.Read<BYTE>();
            parsed.charSet = in.Read<BYTE>();
        }
        parsed.faceName = in.Text();
    }
    // A count beyond what the rest of the image could hold fails before any
    // item is allocated for it.
    constexpr std::size_t kSmallestItem = 18 + 2 * sizeof(WORD) + sizeof(WORD);
    if (in.Ok() && count > (size - in.Offset()) / kSmallestItem)
        in.Fail();
    for (WORD i = 0; in.Ok() && i < count; ++i) {
        in.AlignTo(sizeof(DWORD));
        DialogItemTemplate item;
        if (extended)
            ReadExtendedItem(in, item);
        else
            ReadClassicItem(in, item);
        parsed.items.push_back(std::move(item));
    }
    if (!in.Ok()) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    *this = std::move(parsed);
    return true;
}

std::wstring CDialogTemplate::PredefinedClassName(WORD atom)
{
    switch (atom) {
    case kClassButton: return L"Button";
    case kClassEdit: return L"Edit";
    case kClassStatic: return L"Static";
    case kClassListBox: return L"ListBox";
    case kClassScrollBar: return L"ScrollBar";
    case kClassComboBox: return L"ComboBox";
    default: return {};
    }
}

DialogItemTemplate Ui::VisibleControl(NameOrOrdinal windowClass, const std::wstring& text, int id, DWORD style, short x,
                                      short y, short cx, short cy)
{
    DialogItemTemplate item;
    item.windowClass = std::move(windowClass);
    item.text = NameOrOrdinal::Name(text);
    item.id = static_cast<DWORD>(id);
    item.style = WS_CHILD | WS_VISIBLE | style;
    item.x = x;
    item.y = y;
    item.cx = cx;
    item.cy = cy;
    return item;
}
