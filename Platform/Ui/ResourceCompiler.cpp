#include "Platform/Ui/ResourceCompiler.h"

#include "Platform/Base/TextConversion.h"
#include "Platform/Ui/ResourceTypes.h"
#include "Platform/Ui/ResourceWriter.h"
#include "Platform/Gdi/DeviceContext.h"
#include "Platform/Gdi/ImageFile.h"

#include <map>

namespace Ui {

namespace {

constexpr UINT kPopupFlag = 0x0010;
constexpr UINT kEndFlag = 0x0080;
constexpr std::size_t kBmpFileHeaderSize = 14;

CResourceKey KeyOf(const Res::Id& id)
{
    return id.text ? CResourceKey::FromText(id.text) : CResourceKey(id.number);
}

std::shared_ptr<CompiledResource> NewResource(WORD type, CResourceKey name, LANGID language)
{
    auto resource = std::make_shared<CompiledResource>();
    resource->type = CResourceKey(type);
    resource->name = std::move(name);
    resource->language = language;
    return resource;
}

struct PngSize {
    DWORD width = 0;
    DWORD height = 0;
};

// The size in the header of a PNG file; 0x0 for anything else.
PngSize SizeOfPng(const Res::Bytes& picture)
{
    static constexpr BYTE kSignature[] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    if (!picture.data || picture.size < 24 || !std::equal(kSignature, kSignature + 8, picture.data))
        return {};
    const auto be32 = [&](std::size_t at) {
        return (DWORD{picture.data[at]} << 24) | (DWORD{picture.data[at + 1]} << 16) |
               (DWORD{picture.data[at + 2]} << 8) | DWORD{picture.data[at + 3]};
    };
    return {be32(16), be32(20)};
}

void WriteMenuItems(CResourceWriter& out, std::initializer_list<Res::MenuItem> items)
{
    std::size_t index = 0;
    for (const Res::MenuItem& item : items) {
        const bool last = ++index == items.size();
        const bool popup = item.items.size() != 0;
        out.Word((item.flags & ~(kPopupFlag | kEndFlag)) | (popup ? kPopupFlag : 0) | (last ? kEndFlag : 0));
        if (!popup)
            out.Word(item.id);
        out.Text(item.text ? item.text : L"");
        if (popup)
            WriteMenuItems(out, item.items);
    }
}

}  // namespace

CResourceCompiler::Output CResourceCompiler::Compile(const Res::ResourceTable& table)
{
    Output out;
    for (const Res::StringTable* strings : table.strings) {
        if (strings)
            AddStrings(*strings, out);
    }
    for (const Res::Menu* menu : table.menus) {
        if (!menu)
            continue;
        auto resource = NewResource(ResourceType::kMenu, KeyOf(menu->name), menu->language);
        resource->Own(MenuTemplate(menu->items));
        out.push_back(std::move(resource));
    }
    for (const Res::AcceleratorTable* keys : table.accelerators) {
        if (!keys)
            continue;
        auto resource = NewResource(ResourceType::kAccelerator, KeyOf(keys->name), keys->language);
        resource->Own(AcceleratorEntries(keys->entries));
        out.push_back(std::move(resource));
    }
    for (const Res::Toolbar* toolbar : table.toolbars) {
        if (!toolbar)
            continue;
        auto resource = NewResource(ResourceType::kToolbar, KeyOf(toolbar->name), toolbar->language);
        resource->Own(ToolbarRecord(*toolbar));
        out.push_back(std::move(resource));
    }
    for (const Res::Image* image : table.images) {
        if (image)
            AddImage(*image, out);
    }
    for (const Res::Data* data : table.data) {
        if (!data)
            continue;
        auto resource = std::make_shared<CompiledResource>();
        resource->type = KeyOf(data->type);
        resource->name = KeyOf(data->name);
        resource->language = data->language;
        if (data->build) {
            resource->Own(data->build());
        } else {
            resource->data = data->bytes.data;
            resource->size = data->bytes.size;
        }
        out.push_back(std::move(resource));
    }
    return out;
}

std::vector<BYTE> CResourceCompiler::MenuTemplate(std::initializer_list<Res::MenuItem> items)
{
    CResourceWriter out;
    out.Word(0); // version
    out.Word(0); // offset of the items after the header
    WriteMenuItems(out, items);
    return out.Take();
}

std::vector<BYTE> CResourceCompiler::AcceleratorEntries(std::initializer_list<Res::Accelerator> entries)
{
    CResourceWriter out;
    std::size_t index = 0;
    for (const Res::Accelerator& entry : entries) {
        const bool last = ++index == entries.size();
        out.Word((entry.flags & 0x7F) | (last ? kEndFlag : 0));
        out.Word(entry.key);
        out.Word(entry.command);
        out.Word(0);
    }
    return out.Take();
}

std::vector<BYTE> CResourceCompiler::ToolbarRecord(const Res::Toolbar& toolbar)
{
    CResourceWriter out;
    out.Word(1);  // version
    out.Word(toolbar.width);
    out.Word(toolbar.height);
    out.Word(static_cast<unsigned>(toolbar.buttons.size()));
    for (WORD id : toolbar.buttons)
        out.Word(id);
    return out.Take();
}

void CResourceCompiler::AddStrings(const Res::StringTable& table, Output& out) const
{
    std::map<WORD, std::vector<std::wstring>> blocks;
    std::map<WORD, std::vector<bool>> taken;
    for (const Res::String& string : table.strings) {
        const auto block = static_cast<WORD>(string.id / 16 + 1);
        auto& texts = blocks[block];
        auto& used = taken[block];
        texts.resize(16);
        used.resize(16);
        const unsigned index = string.id % 16;
        if (string.id > 0xFFFF || used[index])
            continue; // the first of two equal ids counts
        used[index] = true;
        texts[index] = string.text ? string.text : L"";
    }
    for (auto& [block, texts] : blocks) {
        CResourceWriter writer;
        for (const std::wstring& text : texts) {
            const std::u16string units = Text::WideToUtf16(text);
            writer.Word(static_cast<unsigned>(units.size()));
            for (char16_t unit : units)
                writer.Word(unit);
        }
        auto resource = NewResource(ResourceType::kString, CResourceKey(block), table.language);
        resource->Own(writer.Take());
        resource->texts = std::move(texts);
        out.push_back(std::move(resource));
    }
}

void CResourceCompiler::AddImage(const Res::Image& image, Output& out)
{
    if (image.kind == Res::ImageKind::Bitmap) {
        AddBitmap(image, out);
        return;
    }
    const bool icon = image.kind == Res::ImageKind::Icon;
    CResourceWriter group;
    group.Word(0);
    group.Word(icon ? 1 : 2);
    std::vector<std::pair<PngSize, Res::Bytes>> pictures;
    for (const Res::Bytes& picture : image.pictures) {
        const PngSize size = SizeOfPng(picture);
        if (size.width != 0 && size.height != 0 && size.width <= 256 && size.height <= 256)
            pictures.emplace_back(size, picture);
    }
    group.Word(static_cast<unsigned>(pictures.size()));
    for (const auto& [size, picture] : pictures) {
        const WORD id = m_nextPictureId++;
        auto resource = NewResource(icon ? ResourceType::kIcon : ResourceType::kCursor, CResourceKey(id), image.language);
        CResourceWriter bytes;
        if (!icon) {
            bytes.Word(static_cast<unsigned>(image.hotSpot.x));
            bytes.Word(static_cast<unsigned>(image.hotSpot.y));
        }
        bytes.Raw(picture.data, picture.size);
        const auto length = static_cast<DWORD>(bytes.Size());
        resource->Own(bytes.Take());
        out.push_back(std::move(resource));
        if (icon) {
            group.Byte(size.width & 0xFF); // 256 is written as 0
            group.Byte(size.height & 0xFF);
            group.Byte(0);
            group.Byte(0);
        } else {
            group.Word(size.width);
            group.Word(size.height * 2); // colour and mask, as the cursor format counts it
        }
        group.Word(1);
        group.Word(32);
        group.Dword(length);
        group.Word(id);
    }
    auto resource = NewResource(icon ? ResourceType::kIconGroup : ResourceType::kCursorGroup, KeyOf(image.name), image.language);
    resource->Own(group.Take());
    out.push_back(std::move(resource));
}

void CResourceCompiler::AddBitmap(const Res::Image& image, Output& out) const
{
    if (image.pictures.size() == 0)
        return;
    const Res::Bytes& picture = *image.pictures.begin();
    HBITMAP bitmap = CreateBitmapFromPng(picture.data, picture.size);
    if (!bitmap)
        return;
    std::vector<BYTE> file = EncodeBmp(bitmap, 32);
    DeleteObject(bitmap);
    if (file.size() <= kBmpFileHeaderSize)
        return;
    auto resource = NewResource(ResourceType::kBitmap, KeyOf(image.name), image.language);
    resource->Own(std::vector<BYTE>(file.begin() + kBmpFileHeaderSize, file.end()));
    out.push_back(std::move(resource));
}

}
