// The owner-drawn menu's images: where an item's image comes from (a
// resource, an image list, a bitmap, a toolbar), the class-wide list of
// every command's image, and the check-mark pictures.
#include "Common/Skin/ZellMenu.h"

#include "Common/Skin/Drawing/SkinImage.h"

#include "Platform/Framework/Drawing/Bitmap.h"
#include "Platform/Gdi/Gdi.h"
#include "Platform/Ui/ResourceModule.h"
#include "Platform/Ui/ToolbarResource.h"

#include <algorithm>

namespace ZELL::Skin {

namespace {

// One image per command that was given one, so that every menu showing the
// command can draw it. Made on first use, after the drawing layer's own
// tables, so it goes before them at the end.
struct GlobalImages {
    CImageList list;
    std::vector<UINT_PTR> commands;  // per image

    static GlobalImages& Get(int width, int height)
    {
        static GlobalImages images(width, height);
        return images;
    }

private:
    GlobalImages(int width, int height) { list.Create(width, height, ILC_COLORDDB | ILC_MASK, 0, 8); }
};

}

// A class-wide list has one size: the one images had when it was made.
int CZellMenu::RegisterGlobalImage(UINT_PTR command, CImageList& images, int index)
{
    if (command == 0)
        return -1;
    GlobalImages& global = GlobalImages::Get(s_imageWidth, s_imageHeight);
    HICON icon = images.ExtractIcon(index);
    if (icon == nullptr)
        return -1;
    const auto known = std::find(global.commands.begin(), global.commands.end(), command);
    int result = -1;
    if (known != global.commands.end()) {
        result = global.list.Replace(static_cast<int>(known - global.commands.begin()), icon);
    } else if ((result = global.list.Add(icon)) >= 0) {
        global.commands.resize(static_cast<std::size_t>(result) + 1, 0);
        global.commands[static_cast<std::size_t>(result)] = command;
    }
    ::DestroyIcon(icon);
    return result;
}

int CZellMenu::GlobalImageOf(UINT_PTR command)
{
    if (command == 0)
        return -1;
    const GlobalImages& global = GlobalImages::Get(s_imageWidth, s_imageHeight);
    const auto known = std::find(global.commands.begin(), global.commands.end(), command);
    return known != global.commands.end() ? static_cast<int>(known - global.commands.begin()) : -1;
}

BOOL CZellMenu::GiveImage(CZellMenuData& data, const ImageSource& image) const
{
    data.images.reset();
    data.imageIndex = -1;
    auto images = std::make_shared<CImageList>();
    if (!images->Create(s_imageWidth, s_imageHeight, ILC_COLORDDB | ILC_MASK, 1, 1) || !AddImage(*images, image))
        return FALSE;
    data.images = std::move(images);
    data.imageIndex = 0;
    if (!data.IsPopup() && !data.IsSeparator())
        data.globalImageIndex = RegisterGlobalImage(data.command, *data.images, 0);
    return TRUE;
}

bool CZellMenu::AddImage(CImageList& images, const ImageSource& image) const
{
    if (image.list != nullptr) {
        HICON icon = image.list->ExtractIcon(image.listIndex);
        const bool added = icon != nullptr && images.Add(icon) >= 0;
        if (icon != nullptr)
            ::DestroyIcon(icon);
        return added;
    }
    if (image.bitmap != nullptr)
        return image.bitmap->GetSafeHandle() != nullptr && images.Add(image.bitmap, MaskColour()) >= 0;
    return AddResourceImage(images, image.resourceId);
}

bool CZellMenu::AddResourceImage(CImageList& images, int resourceId) const
{
    if (resourceId < 0)
        return false;
    if (m_iconImages) {
        HICON icon = SkinImage::LoadIconResource(resourceId, 0, 0);
        const bool added = icon != nullptr && images.Add(icon) >= 0;
        if (icon != nullptr)
            ::DestroyIcon(icon);
        return added;
    }
    CBitmap bitmap;
    if (!bitmap.Attach(SkinImage::LoadBitmapResource(resourceId)))
        return false;
    return images.Add(&bitmap, MaskColour()) >= 0;
}

BOOL CZellMenu::AddBitmapToImageList(CImageList* images, UINT bitmapId) const
{
    return images != nullptr && images->GetSafeHandle() != nullptr && AddResourceImage(*images, static_cast<int>(bitmapId));
}

// The sub-menus a loaded menu already has load their images with the colour
// too: a menu loads its images into the sub-menus that hold the commands.
void CZellMenu::SetBackgroundColor(COLORREF colour)
{
    m_maskColour = colour;
    m_maskColourGiven = true;
    for (const auto& popup : m_popups)
        popup->SetBackgroundColor(colour);
}

COLORREF CZellMenu::MaskColour() const
{
    return m_maskColourGiven ? m_maskColour : ::GetSysColor(COLOR_BTNFACE);
}

BOOL CZellMenu::LoadToolbar(UINT toolbarId)
{
    Ui::CToolbarResource toolbar;
    if (!toolbar.Load(Ui::GetResourceModule(), MAKEINTRESOURCEW(toolbarId)))
        return FALSE;
    auto images = std::make_shared<CImageList>();
    CBitmap strip;
    if (!strip.Attach(toolbar.LoadStrip()) || !images->Create(s_imageWidth, s_imageHeight, ILC_COLORDDB | ILC_MASK, 0, 4) ||
        images->Add(&strip, MaskColour()) < 0)
        return FALSE;
    for (UINT command : toolbar.Buttons()) {
        const int position = command != 0 ? ItemPosition(command) : -1;
        if (position < 0)
            continue;
        CZellMenuData& data = *m_items[static_cast<std::size_t>(position)];
        data.images = images;
        data.imageIndex = toolbar.ImageOf(command);
        data.globalImageIndex = RegisterGlobalImage(command, *images, data.imageIndex);
    }
    return TRUE;
}

BOOL CZellMenu::LoadToolbars(const UINT* toolbarIds, int count)
{
    if (toolbarIds == nullptr || count < 0)
        return FALSE;
    BOOL loaded = TRUE;
    for (int i = 0; i < count; ++i)
        loaded = LoadToolbar(toolbarIds[i]) && loaded;
    return loaded;
}

BOOL CZellMenu::LoadCheckmarkBitmap(int uncheckedId, int checkedId)
{
    if (uncheckedId <= 0 || checkedId <= 0)
        return FALSE;
    CheckMarks& marks = *m_checkMarks;
    marks.uncheckedId = uncheckedId;
    marks.checkedId = checkedId;
    marks.images.DeleteImageList();
    if (marks.images.Create(s_imageWidth, s_imageHeight, ILC_MASK, 2, 1) && AddResourceImage(marks.images, uncheckedId) &&
        AddResourceImage(marks.images, checkedId))
        return TRUE;
    marks.images.DeleteImageList();
    return FALSE;
}

CZellMenu::ImageRef CZellMenu::ImageOf(const CZellMenuData& data, bool checked, bool selected) const
{
    if (data.HasOwnImage())
        return {data.images->GetSafeHandle(), data.imageIndex};
    if (data.globalImageIndex >= 0)
        return {GlobalImages::Get(s_imageWidth, s_imageHeight).list.GetSafeHandle(), data.globalImageIndex};
    if (checked && m_checkMarks->images.GetImageCount() == 2)
        return {m_checkMarks->images.GetSafeHandle(), selected ? 1 : 0};
    return {};
}

}  // namespace ZELL::Skin
