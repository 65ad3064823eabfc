#include "Platform/Ui/MenuTemplate.h"

#include "Platform/Base/LastError.h"
#include "Platform/Base/TextConversion.h"
#include "Platform/Ui/MenuApi.h"
#include "Platform/Ui/Resource.h"
#include "Platform/Ui/ResourceKey.h"
#include "Platform/Ui/ResourceRegistry.h"
#include "Platform/Ui/ResourceTypes.h"
#include "Platform/Ui/ResourceWriter.h"

#include <string>
#include <utility>

namespace {

constexpr int kMaxDepth = 16;
constexpr WORD kExtendedPopup = 0x01;
constexpr WORD kExtendedLast = 0x80;
// LoadMenuIndirect is not told the size; no template comes near this.
constexpr std::size_t kUnsizedLimit = 1 << 20;

class CTemplateReader {
public:
    CTemplateReader(const BYTE* data, std::size_t size) : m_data(data), m_size(size) {}

    bool Word(WORD& value)
    {
        if (m_size - m_offset < 2)
            return false;
        value = Ui::ReadWordAt(m_data + m_offset);
        m_offset += 2;
        return true;
    }
    bool Dword(DWORD& value)
    {
        WORD low = 0;
        WORD high = 0;
        if (!Word(low) || !Word(high))
            return false;
        value = low | (DWORD{high} << 16);
        return true;
    }
    bool Text(std::wstring& text)
    {
        std::u16string units;
        for (WORD unit = 0; Word(unit);) {
            if (unit == 0) {
                text = Text::Utf16ToWide(units);
                return true;
            }
            units.push_back(static_cast<char16_t>(unit));
        }
        return false;
    }
    bool Skip(std::size_t count)
    {
        if (m_size - m_offset < count)
            return false;
        m_offset += count;
        return true;
    }
    bool AlignDword() { return Skip((4 - m_offset % 4) % 4); }

private:
    const BYTE* m_data = nullptr;
    std::size_t m_size = 0;
    std::size_t m_offset = 0;
};

// Destroys the menu under construction unless it is handed out.
class CMenuUnderConstruction {
public:
    explicit CMenuUnderConstruction(HMENU menu) : m_menu(menu) {}
    ~CMenuUnderConstruction()
    {
        if (m_menu)
            DestroyMenu(m_menu);
    }
    CMenuUnderConstruction(const CMenuUnderConstruction&) = delete;
    CMenuUnderConstruction& operator=(const CMenuUnderConstruction&) = delete;
    HMENU Get() const { return m_menu; }
    HMENU Release() { return std::exchange(m_menu, nullptr); }

private:
    HMENU m_menu = nullptr;
};

bool ReadPlainItems(CTemplateReader& reader, HMENU menu, int depth)
{
    if (depth > kMaxDepth)
        return false;
    for (;;) {
        WORD flags = 0;
        WORD id = 0;
        std::wstring text;
        if (!reader.Word(flags) || (!(flags & MF_POPUP) && !reader.Word(id)) || !reader.Text(text))
            return false;
        // Templates carry texts: a bitmap or owner-draw flag would take the
        // text for a handle or item data.
        const UINT itemFlags = flags & ~(MF_END | MF_POPUP | MF_BITMAP | MF_OWNERDRAW);
        if (flags & MF_POPUP) {
            CMenuUnderConstruction sub(CreatePopupMenu());
            if (!sub.Get() || !ReadPlainItems(reader, sub.Get(), depth + 1) ||
                !AppendMenuW(menu, itemFlags | MF_POPUP, reinterpret_cast<UINT_PTR>(sub.Get()), text.c_str()))
                return false;
            sub.Release();
        } else {
            const bool separator = (flags & MF_SEPARATOR) || (id == 0 && text.empty());
            if (!AppendMenuW(menu, separator ? MF_SEPARATOR : itemFlags, id, separator ? nullptr : text.c_str()))
                return false;
        }
        if (flags & MF_END)
            return true;
    }
}

bool ReadExtendedItems(CTemplateReader& reader, HMENU menu, int depth)
{
    if (depth > kMaxDepth)
        return false;
    for (;;) {
        DWORD type = 0;
        DWORD state = 0;
        DWORD id = 0;
        WORD info = 0;
        std::wstring text;
        if (!reader.Dword(type) || !reader.Dword(state) || !reader.Dword(id) || !reader.Word(info) ||
            !reader.Text(text) || !reader.AlignDword())
            return false;
        MENUITEMINFOW item;
        item.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_STRING;
        item.fType = type;
        item.fState = state;
        item.wID = id;
        item.dwTypeData = text.data();
        CMenuUnderConstruction sub((info & kExtendedPopup) ? CreatePopupMenu() : nullptr);
        if (info & kExtendedPopup) {
            DWORD helpId = 0;
            if (!reader.Dword(helpId) || !sub.Get() || !ReadExtendedItems(reader, sub.Get(), depth + 1))
                return false;
            item.fMask |= MIIM_SUBMENU;
            item.hSubMenu = sub.Get();
        }
        if (type & MFT_SEPARATOR)
            item.fMask &= ~MIIM_STRING;
        if (!InsertMenuItemW(menu, static_cast<UINT>(GetMenuItemCount(menu)), TRUE, &item))
            return false;
        sub.Release();
        if (info & kExtendedLast)
            return true;
    }
}

}  // namespace

namespace Ui {

HMENU ParseMenuTemplate(const BYTE* data, std::size_t size)
{
    CTemplateReader reader(data, data ? size : 0);
    WORD version = 0;
    WORD offset = 0;
    if (!reader.Word(version) || !reader.Word(offset) || version > 1 || !reader.Skip(offset)) {
        SetLastError(ERROR_INVALID_DATA);
        return nullptr;
    }
    CMenuUnderConstruction menu(CreateMenu());
    const bool read = version == 0 ? ReadPlainItems(reader, menu.Get(), 0) : ReadExtendedItems(reader, menu.Get(), 0);
    if (!read) {
        SetLastError(ERROR_INVALID_DATA);
        return nullptr;
    }
    return menu.Release();
}

}

HMENU LoadMenuIndirectW(const void* menuTemplate)
{
    if (!menuTemplate) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    return Ui::ParseMenuTemplate(static_cast<const BYTE*>(menuTemplate), kUnsizedLimit);
}

HMENU LoadMenuW(HINSTANCE instance, LPCWSTR name)
{
    const auto resource = Ui::CResourceRegistry::Get().Find(instance, Ui::CResourceKey(Ui::ResourceType::kMenu),
                                                            Ui::CResourceKey::From(name), std::nullopt);
    return resource ? Ui::ParseMenuTemplate(resource->data, resource->size) : nullptr;
}
