#include "Platform/Gdi/ImageListApi.h"

#include "Platform/Base/HandleTable.h"
#include "Platform/Base/LastError.h"
#include "Platform/Base/WinError.h"
#include "Platform/Gdi/BitmapApi.h"
#include "Platform/Gdi/DeviceContext.h"
#include "Platform/Gdi/GdiObjectTable.h"
#include "Platform/Gdi/Icon.h"

#include <cstring>

using namespace ZELL::Gdi;

namespace {

constexpr int kMaxImages = 1 << 14;

struct Picture {
    std::shared_ptr<BitmapObject> color;
    std::shared_ptr<BitmapObject> mask;  // 1 = transparent
};

struct ImageListObject {
    int width = 0;
    int height = 0;
    bool masked = false;
    std::vector<Picture> images;
};

Platform::HandleTable<ImageListObject, HIMAGELIST>& Lists()
{
    static auto* table = new Platform::HandleTable<ImageListObject, HIMAGELIST>(Platform::HandleKind::ImageList);
    return *table;
}

std::shared_ptr<ImageListObject> FindList(HIMAGELIST list)
{
    auto object = Lists().Lookup(list);
    if (!object)
        SetLastError(ERROR_INVALID_HANDLE);
    return object;
}

// Cuts cell `index` out of a strip; a missing source leaves it black.
std::shared_ptr<BitmapObject> Cell(const BitmapObject* strip, int index, int width, int height, int bits)
{
    auto cell = BitmapObject::Create(width, height, bits);
    if (!cell || !strip)
        return cell;
    const_cast<BitmapObject*>(strip)->PullDib();
    for (int y = 0; y < height && y < strip->height; ++y)
        for (int x = 0; x < width; ++x) {
            const int sx = index * width + x;
            if (sx < strip->width)
                cell->pixels[static_cast<std::size_t>(y) * width + x] =
                    strip->pixels[static_cast<std::size_t>(y) * strip->width + sx];
        }
    return cell;
}

// Splits a strip into pictures; `maskColor` (when not CLR_NONE) makes the mask.
std::vector<Picture> Split(const ImageListObject& list, const BitmapObject& image, const BitmapObject* mask,
                           COLORREF maskColor)
{
    std::vector<Picture> out;
    const int count = std::max(1, image.width / list.width);
    for (int i = 0; i < count; ++i) {
        Picture p;
        p.color = Cell(&image, i, list.width, list.height, 32);
        p.mask = Cell(mask, i, list.width, list.height, 1);
        if (!p.color || !p.mask)
            return {};
        if (maskColor != CLR_NONE) {
            const std::uint32_t key = ToPixel(maskColor);
            const std::size_t n = static_cast<std::size_t>(list.width) * list.height;
            for (std::size_t k = 0; k < n; ++k) {
                const bool transparent = (p.color->pixels[k] & 0xFFFFFF) == key;
                p.mask->pixels[k] = transparent ? 0xFFFFFFu : 0;
                if (transparent)
                    p.color->pixels[k] = 0;
            }
        } else if (!list.masked) {
            std::fill(p.mask->store.begin(), p.mask->store.end(), 0);
        }
        out.push_back(std::move(p));
    }
    return out;
}

int Append(ImageListObject& list, std::vector<Picture> pictures)
{
    if (pictures.empty() || list.images.size() + pictures.size() > static_cast<std::size_t>(kMaxImages))
        return -1;
    const int first = static_cast<int>(list.images.size());
    for (auto& p : pictures)
        list.images.push_back(std::move(p));
    return first;
}

}  // namespace

HIMAGELIST ImageList_Create(int width, int height, UINT flags, int, int)
{
    if (width <= 0 || height <= 0 || width > 1024 || height > 1024) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    auto list = std::make_shared<ImageListObject>();
    list->width = width;
    list->height = height;
    list->masked = (flags & ILC_MASK) != 0;
    return Lists().Insert(list);
}

BOOL ImageList_Destroy(HIMAGELIST list)
{
    return Lists().Remove(list) ? TRUE : FALSE;
}

int ImageList_GetImageCount(HIMAGELIST list)
{
    auto l = FindList(list);
    return l ? static_cast<int>(l->images.size()) : 0;
}

BOOL ImageList_GetIconSize(HIMAGELIST list, int* width, int* height)
{
    auto l = FindList(list);
    if (!l || !width || !height)
        return FALSE;
    *width = l->width;
    *height = l->height;
    return TRUE;
}

int ImageList_Add(HIMAGELIST list, HBITMAP image, HBITMAP mask)
{
    auto l = FindList(list);
    auto img = GdiHandleTable::FindAs<BitmapObject>(image, ObjectKind::Bitmap);
    auto msk = mask ? GdiHandleTable::FindAs<BitmapObject>(mask, ObjectKind::Bitmap) : nullptr;
    if (!l || !img || (mask && !msk))
        return -1;
    return Append(*l, Split(*l, *img, msk.get(), CLR_NONE));
}

int ImageList_AddMasked(HIMAGELIST list, HBITMAP image, COLORREF maskColor)
{
    auto l = FindList(list);
    auto img = GdiHandleTable::FindAs<BitmapObject>(image, ObjectKind::Bitmap);
    if (!l || !img)
        return -1;
    return Append(*l, Split(*l, *img, nullptr, l->masked ? maskColor : CLR_NONE));
}

BOOL ImageList_Replace(HIMAGELIST list, int index, HBITMAP image, HBITMAP mask)
{
    auto l = FindList(list);
    auto img = GdiHandleTable::FindAs<BitmapObject>(image, ObjectKind::Bitmap);
    auto msk = mask ? GdiHandleTable::FindAs<BitmapObject>(mask, ObjectKind::Bitmap) : nullptr;
    if (!l || !img || index < 0 || index >= static_cast<int>(l->images.size()))
        return FALSE;
    auto pictures = Split(*l, *img, msk.get(), CLR_NONE);
    if (pictures.empty())
        return FALSE;
    l->images[static_cast<std::size_t>(index)] = std::move(pictures.front());
    return TRUE;
}

int ImageList_ReplaceIcon(HIMAGELIST list, int index, HICON icon)
{
    auto l = FindList(list);
    ICONINFO info{};
    if (!l || !GetIconInfo(icon, &info))
        return -1;
    if (index >= static_cast<int>(l->images.size()) || index < -1) {
        DeleteObject(info.hbmColor);
        DeleteObject(info.hbmMask);
        return -1;
    }
    // Drawn onto a cell-sized picture so that any icon size fits.
    int result = -1;
    HDC screen = CreateCompatibleDC(nullptr);
    HBITMAP color = CreateBitmap(l->width, l->height, 1, 32, nullptr);
    HBITMAP mask = CreateBitmap(l->width, l->height, 1, 1, nullptr);
    const HGDIOBJ old = SelectObject(screen, color);
    DrawIconEx(screen, 0, 0, icon, l->width, l->height, 0, nullptr, DI_IMAGE);
    SelectObject(screen, mask);
    DrawIconEx(screen, 0, 0, icon, l->width, l->height, 0, nullptr, DI_MASK);
    SelectObject(screen, old);
    DeleteDC(screen);
    auto c = GdiHandleTable::FindAs<BitmapObject>(color, ObjectKind::Bitmap);
    auto m = GdiHandleTable::FindAs<BitmapObject>(mask, ObjectKind::Bitmap);
    auto pictures = Split(*l, *c, m.get(), CLR_NONE);
    if (!pictures.empty()) {
        if (index == -1) {
            result = Append(*l, std::move(pictures));
        } else {
            l->images[static_cast<std::size_t>(index)] = std::move(pictures.front());
            result = index;
        }
    }
    DeleteObject(color);
    DeleteObject(mask);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    return result;
}

BOOL ImageList_Remove(HIMAGELIST list, int index)
{
    auto l = FindList(list);
    if (!l)
        return FALSE;
    if (index == -1) {
        l->images.clear();
        return TRUE;
    }
    if (index < 0 || index >= static_cast<int>(l->images.size()))
        return FALSE;
    l->images.erase(l->images.begin() + index);
    return TRUE;
}

HICON ImageList_GetIcon(HIMAGELIST list, int index, UINT)
{
    auto l = FindList(list);
    if (!l || index < 0 || index >= static_cast<int>(l->images.size()))
        return nullptr;
    const Picture& p = l->images[static_cast<std::size_t>(index)];
    ICONINFO info;
    info.hbmColor = static_cast<HBITMAP>(static_cast<HGDIOBJ>(GdiHandleTable::Add(p.color->Clone())));
    info.hbmMask = static_cast<HBITMAP>(static_cast<HGDIOBJ>(GdiHandleTable::Add(p.mask->Clone())));
    HICON icon = CreateIconIndirect(&info);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    return icon;
}

BOOL ImageList_Draw(HIMAGELIST list, int index, HDC dc, int x, int y, UINT style)
{
    HICON icon = ImageList_GetIcon(list, index, 0);
    if (!icon)
        return FALSE;
    UINT flags = DI_NORMAL;
    if (style & ILD_MASK)
        flags = DI_MASK;
    const BOOL ok = DrawIconEx(dc, x, y, icon, 0, 0, 0, nullptr, flags);
    DestroyIcon(icon);
    return ok;
}
