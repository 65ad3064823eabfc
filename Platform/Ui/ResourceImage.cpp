#include "Platform/Ui/ResourceImage.h"

#include "Platform/Base/LastError.h"
#include "Platform/Base/Module.h"
#include "Platform/Base/FileSystemPath.h"
#include "Platform/Gdi/BitmapApi.h"
#include "Platform/Gdi/DeviceContext.h"
#include "Platform/Gdi/Icon.h"
#include "Platform/Gdi/ImageFile.h"
#include "Platform/Ui/ResourceRegistry.h"
#include "Platform/Ui/ResourceTypes.h"
#include "Platform/Ui/ResourceWriter.h"
#include "Platform/Ui/StandardIcon.h"
#include "Platform/Ui/WinUser.h"

#include <algorithm>
#include <cstring>
#include <fstream>
#include <map>
#include <mutex>
#include <tuple>

using namespace Ui;

namespace {

constexpr std::size_t kGroupHeader = 6;
constexpr std::size_t kGroupEntry = 14;
constexpr std::size_t kHotSpotSize = 4;
constexpr std::size_t kBmpFileHeader = 14;
constexpr std::size_t kDibHeader = 40;
// Larger files are no picture a window shows.
constexpr std::uintmax_t kMaxImageFile = 64u << 20;

bool ReadFileBytes(LPCWSTR path, std::vector<BYTE>& bytes)
{
    std::ifstream file(Text::WideToFileName(path), std::ios::binary | std::ios::ate);
    if (!file) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return false;
    }
    const std::streamoff size = file.tellg();
    if (size <= 0 || static_cast<std::uintmax_t>(size) > kMaxImageFile) {
        SetLastError(ERROR_INVALID_DATA);
        return false;
    }
    bytes.resize(static_cast<std::size_t>(size));
    file.seekg(0);
    if (!file.read(reinterpret_cast<char*>(bytes.data()), size)) {
        SetLastError(ERROR_READ_FAULT);
        return false;
    }
    return true;
}

HBITMAP DecodePicture(const BYTE* data, std::size_t size)
{
    if (size >= 8 && data[0] == 0x89 && data[1] == 'P' && data[2] == 'N' && data[3] == 'G')
        return CreateBitmapFromPng(data, size);
    if (size >= 2 && data[0] == 'B' && data[1] == 'M')
        return CreateBitmapFromBmp(data, size);
    SetLastError(ERROR_INVALID_DATA);
    return nullptr;
}

SIZE SizeOf(HBITMAP bitmap)
{
    BITMAP bm{};
    GetObjectW(bitmap, sizeof bm, &bm);
    return {bm.bmWidth, bm.bmHeight};
}

std::vector<std::uint32_t> PixelsOf(HBITMAP bitmap, SIZE size)
{
    BITMAPINFO info{};
    info.bmiHeader.biWidth = size.cx;
    info.bmiHeader.biHeight = -size.cy;
    info.bmiHeader.biBitCount = 32;
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(size.cx) * static_cast<std::size_t>(size.cy));
    if (GetDIBits(nullptr, bitmap, 0, static_cast<UINT>(size.cy), pixels.data(), &info, DIB_RGB_COLORS) != size.cy)
        pixels.clear();
    return pixels;
}

// The picture at the size (nearest pixel); the bitmap itself when it has the
// size already. The source is deleted when a new one is made.
HBITMAP Scaled(HBITMAP bitmap, int width, int height)
{
    const SIZE from = SizeOf(bitmap);
    if (width <= 0 || height <= 0 || (from.cx == width && from.cy == height))
        return bitmap;
    const std::vector<std::uint32_t> source = PixelsOf(bitmap, from);
    DeleteObject(bitmap);
    if (source.empty())
        return nullptr;
    BITMAPINFO info{};
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP scaled = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!scaled)
        return nullptr;
    auto* out = static_cast<std::uint32_t*>(bits);
    for (int y = 0; y < height; ++y) {
        const std::size_t sy = static_cast<std::size_t>(y) * static_cast<std::size_t>(from.cy) / static_cast<std::size_t>(height);
        for (int x = 0; x < width; ++x) {
            const std::size_t sx = static_cast<std::size_t>(x) * static_cast<std::size_t>(from.cx) / static_cast<std::size_t>(width);
            out[static_cast<std::size_t>(y) * width + x] = source[sy * from.cx + sx];
        }
    }
    return scaled;
}

// Takes the colour bitmap; the icon has no mask of its own (alpha decides).
HICON IconOf(HBITMAP color, bool icon, POINT hotSpot)
{
    if (!color)
        return nullptr;
    const SIZE size = SizeOf(color);
    HBITMAP mask = CreateBitmap(size.cx, size.cy, 1, 1, nullptr);
    ICONINFO info;
    info.fIcon = icon ? TRUE : FALSE;
    info.xHotspot = static_cast<DWORD>(hotSpot.x);
    info.yHotspot = static_cast<DWORD>(hotSpot.y);
    info.hbmMask = mask;
    info.hbmColor = color;
    HICON result = mask ? CreateIconIndirect(&info) : nullptr;
    DeleteObject(color);
    if (mask)
        DeleteObject(mask);
    return result;
}

SIZE RequestedSize(UINT type, int width, int height, UINT flags)
{
    if ((flags & LR_DEFAULTSIZE) && type != IMAGE_BITMAP) {
        if (width == 0)
            width = GetSystemMetrics(type == IMAGE_ICON ? SM_CXICON : SM_CXCURSOR);
        if (height == 0)
            height = GetSystemMetrics(type == IMAGE_ICON ? SM_CYICON : SM_CYCURSOR);
    }
    return {width, height};
}

struct GroupPicture {
    int width = 0;
    int height = 0;
    WORD id = 0;
};

std::vector<GroupPicture> ReadGroup(const CompiledResource& group, bool icon)
{
    std::vector<GroupPicture> pictures;
    if (group.size < kGroupHeader)
        return pictures;
    const std::size_t count = ReadWordAt(group.data + 4);
    for (std::size_t i = 0; i < count && kGroupHeader + (i + 1) * kGroupEntry <= group.size; ++i) {
        const BYTE* entry = group.data + kGroupHeader + i * kGroupEntry;
        GroupPicture picture;
        if (icon) {
            picture.width = entry[0] ? entry[0] : 256;
            picture.height = entry[1] ? entry[1] : 256;
        } else {
            picture.width = ReadWordAt(entry);
            picture.height = ReadWordAt(entry + 2) / 2;
        }
        picture.id = ReadWordAt(entry + 12);
        pictures.push_back(picture);
    }
    return pictures;
}

// The asked size, else the smallest larger one, else the largest; the
// first with no size asked.
const GroupPicture* Choose(const std::vector<GroupPicture>& pictures, SIZE wanted)
{
    if (pictures.empty())
        return nullptr;
    if (wanted.cx == 0 && wanted.cy == 0)
        return &pictures.front();
    const GroupPicture* larger = nullptr;
    const GroupPicture* largest = nullptr;
    for (const GroupPicture& picture : pictures) {
        if (picture.width == wanted.cx && picture.height == wanted.cy)
            return &picture;
        if (picture.width >= wanted.cx && picture.height >= wanted.cy && (!larger || picture.width < larger->width))
            larger = &picture;
        if (!largest || picture.width > largest->width)
            largest = &picture;
    }
    return larger ? larger : largest;
}

HICON LoadGroupResource(HINSTANCE instance, LPCWSTR name, bool icon, SIZE wanted)
{
    auto& registry = CResourceRegistry::Get();
    const auto group = registry.Find(instance, CResourceKey(icon ? ResourceType::kIconGroup : ResourceType::kCursorGroup),
                                     CResourceKey::From(name), std::nullopt);
    if (!group)
        return nullptr;
    const std::vector<GroupPicture> pictures = ReadGroup(*group, icon);
    const GroupPicture* picture = Choose(pictures, wanted);
    const auto bytes = picture ? registry.Find(instance, CResourceKey(icon ? ResourceType::kIcon : ResourceType::kCursor),
                                               CResourceKey(picture->id), std::nullopt)
                               : nullptr;
    const std::size_t skip = icon ? 0 : kHotSpotSize;
    if (!bytes || bytes->size <= skip) {
        SetLastError(ERROR_INVALID_DATA);
        return nullptr;
    }
    POINT hotSpot{};
    if (!icon)
        hotSpot = {ReadWordAt(bytes->data), ReadWordAt(bytes->data + 2)};
    HBITMAP color = DecodePicture(bytes->data + skip, bytes->size - skip);
    if (!color)
        return nullptr;
    const SIZE own = SizeOf(color);
    const SIZE size{wanted.cx ? wanted.cx : own.cx, wanted.cy ? wanted.cy : own.cy};
    if (!icon && own.cx > 0 && own.cy > 0)
        hotSpot = {hotSpot.x * size.cx / own.cx, hotSpot.y * size.cy / own.cy};
    return IconOf(Scaled(color, size.cx, size.cy), icon, hotSpot);
}

// An RT_BITMAP DIB behind the file header its palette needs.
HBITMAP LoadBitmapResource(HINSTANCE instance, LPCWSTR name)
{
    const auto dib = CResourceRegistry::Get().Find(instance, CResourceKey(ResourceType::kBitmap), CResourceKey::From(name),
                                                   std::nullopt);
    if (!dib)
        return nullptr;
    if (dib->size < kDibHeader) {
        SetLastError(ERROR_INVALID_DATA);
        return nullptr;
    }
    const DWORD headerSize = ReadDwordAt(dib->data);
    const WORD bitCount = ReadWordAt(dib->data + 14);
    const DWORD compression = ReadDwordAt(dib->data + 16);
    const DWORD used = ReadDwordAt(dib->data + 32);
    const std::size_t colours = used ? used : (bitCount <= 8 ? (std::size_t{1} << bitCount) : 0);
    const std::size_t masks = compression == 3 && headerSize == kDibHeader ? 12 : 0; // BI_BITFIELDS
    const std::size_t offset = kBmpFileHeader + headerSize + masks + colours * 4;
    std::vector<BYTE> file(kBmpFileHeader + dib->size);
    file[0] = 'B';
    file[1] = 'M';
    const auto put = [&](std::size_t at, std::size_t value) {
        for (int i = 0; i < 4; ++i)
            file[at + i] = static_cast<BYTE>((value >> (8 * i)) & 0xFF);
    };
    put(2, file.size());
    put(10, offset);
    std::memcpy(file.data() + kBmpFileHeader, dib->data, dib->size);
    return CreateBitmapFromBmp(file.data(), file.size());
}

HANDLE LoadFromFile(LPCWSTR path, UINT type, SIZE size)
{
    std::vector<BYTE> bytes;
    if (!path || !ReadFileBytes(path, bytes))
        return nullptr;
    HBITMAP picture = DecodePicture(bytes.data(), bytes.size());
    if (!picture)
        return nullptr;
    const SIZE own = SizeOf(picture);
    HBITMAP scaled = Scaled(picture, size.cx ? size.cx : own.cx, size.cy ? size.cy : own.cy);
    if (type == IMAGE_BITMAP)
        return reinterpret_cast<HANDLE>(scaled);
    return reinterpret_cast<HANDLE>(IconOf(scaled, type == IMAGE_ICON, POINT{}));
}

// A null instance names the system's images: its icons and cursors.
HANDLE LoadStandard(LPCWSTR name, UINT type, SIZE size)
{
    if (!IS_INTRESOURCE(name) || type == IMAGE_BITMAP) {
        SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
        return nullptr;
    }
    if (type == IMAGE_CURSOR)
        return reinterpret_cast<HANDLE>(LoadCursorW(nullptr, name));
    const int width = size.cx ? size.cx : GetSystemMetrics(SM_CXICON);
    const int height = size.cy ? size.cy : GetSystemMetrics(SM_CYICON);
    HBITMAP picture = DrawStandardIcon(static_cast<WORD>(reinterpret_cast<std::uintptr_t>(name)), std::max(width, height));
    if (!picture) {
        SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
        return nullptr;
    }
    return reinterpret_cast<HANDLE>(IconOf(Scaled(picture, width, height), true, POINT{}));
}

HANDLE LoadFromResources(HINSTANCE instance, LPCWSTR name, UINT type, SIZE size)
{
    if (!instance)
        return LoadStandard(name, type, size);
    if (type == IMAGE_BITMAP) {
        HBITMAP bitmap = LoadBitmapResource(instance, name);
        return bitmap ? reinterpret_cast<HANDLE>(Scaled(bitmap, size.cx, size.cy)) : nullptr;
    }
    return reinterpret_cast<HANDLE>(LoadGroupResource(instance, name, type == IMAGE_ICON, size));
}

// Shared images by module, type, name and size.
class CSharedImages {
public:
    HANDLE Load(HINSTANCE instance, LPCWSTR name, UINT type, SIZE size)
    {
        const Key key{instance, type, CResourceKey::From(name), size.cx, size.cy};
        std::lock_guard lock(m_mutex);
        if (const auto found = m_images.find(key); found != m_images.end())
            return found->second;
        HANDLE image = LoadFromResources(instance, name, type, size);
        if (image)
            m_images.emplace(key, image);
        return image;
    }

private:
    using Key = std::tuple<HINSTANCE, UINT, CResourceKey, LONG, LONG>;
    std::mutex m_mutex;
    std::map<Key, HANDLE> m_images;
};

CSharedImages& SharedImages()
{
    static auto* images = new CSharedImages;
    return *images;
}

}  // namespace

HANDLE LoadImageW(HINSTANCE instance, LPCWSTR name, UINT type, int width, int height, UINT flags)
{
    if (type > IMAGE_CURSOR || width < 0 || height < 0 || !name) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    const SIZE size = RequestedSize(type, width, height, flags);
    if (flags & LR_LOADFROMFILE) {
        if (IS_INTRESOURCE(name)) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return nullptr;
        }
        return LoadFromFile(name, type, size);
    }
    if (flags & LR_SHARED)
        return SharedImages().Load(instance, name, type, size);
    return LoadFromResources(instance, name, type, size);
}

HICON LoadIconW(HINSTANCE instance, LPCWSTR name)
{
    return reinterpret_cast<HICON>(LoadImageW(instance, name, IMAGE_ICON, 0, 0, LR_DEFAULTSIZE | LR_SHARED));
}

HBITMAP LoadBitmapW(HINSTANCE instance, LPCWSTR name)
{
    // The system's bitmaps are not carried: a null instance finds none.
    return reinterpret_cast<HBITMAP>(LoadImageW(instance, name, IMAGE_BITMAP, 0, 0, 0));
}

namespace Ui {

HCURSOR LoadCursorResource(HINSTANCE instance, LPCWSTR name)
{
    return reinterpret_cast<HCURSOR>(LoadImageW(instance, name, IMAGE_CURSOR, 0, 0, LR_DEFAULTSIZE | LR_SHARED));
}

}
