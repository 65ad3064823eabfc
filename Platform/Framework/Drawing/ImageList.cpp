#include "Platform/Framework/Drawing/ImageList.h"

#include "Platform/Framework/Drawing/Bitmap.h"
#include "Platform/Framework/Drawing/DC.h"
#include "Platform/Framework/Core/PermanentHandleMap.h"
#include "Platform/Framework/Core/TempHandleMap.h"

IMPLEMENT_DYNCREATE(CImageList, CObject)

using ImageLists = CPermanentHandleMap<CImageList>;

namespace {

HBITMAP BitmapOf(CBitmap* bitmap)
{
    return bitmap ? static_cast<HBITMAP>(*bitmap) : nullptr;
}

}  // namespace

CImageList::~CImageList()
{
    DeleteImageList();
}

CImageList* CImageList::FromHandle(HIMAGELIST list)
{
    if (CImageList* owner = ImageLists::Find(list))
        return owner;
    return CTempHandleMap<CImageList, HIMAGELIST, &CImageList::m_hImageList>::FromHandle(list);
}

BOOL CImageList::Create(int width, int height, UINT flags, int initial, int grow)
{
    return ImageLists::AttachMade(this, m_hImageList, ::ImageList_Create(width, height, flags, initial, grow),
                                  &::ImageList_Destroy);
}

BOOL CImageList::Attach(HIMAGELIST list)
{
    return ImageLists::Attach(this, m_hImageList, list);
}

HIMAGELIST CImageList::Detach()
{
    return ImageLists::Detach(this, m_hImageList);
}

BOOL CImageList::DeleteImageList()
{
    if (!m_hImageList)
        return FALSE;
    return ::ImageList_Destroy(Detach());
}

int CImageList::GetImageCount() const
{
    return m_hImageList ? ::ImageList_GetImageCount(m_hImageList) : 0;
}

BOOL CImageList::GetIconSize(int* width, int* height) const
{
    return m_hImageList && ::ImageList_GetIconSize(m_hImageList, width, height);
}

int CImageList::Add(CBitmap* image, CBitmap* mask)
{
    return image ? ::ImageList_Add(m_hImageList, BitmapOf(image), BitmapOf(mask)) : -1;
}

int CImageList::Add(CBitmap* image, COLORREF maskColor)
{
    return image ? ::ImageList_AddMasked(m_hImageList, BitmapOf(image), maskColor) : -1;
}

int CImageList::Add(HICON icon)
{
    return ::ImageList_AddIcon(m_hImageList, icon);
}

BOOL CImageList::Replace(int index, CBitmap* image, CBitmap* mask)
{
    return image && ::ImageList_Replace(m_hImageList, index, BitmapOf(image), BitmapOf(mask));
}

int CImageList::Replace(int index, HICON icon)
{
    return ::ImageList_ReplaceIcon(m_hImageList, index, icon);
}

BOOL CImageList::Remove(int index)
{
    return ::ImageList_Remove(m_hImageList, index);
}

BOOL CImageList::Draw(CDC* dc, int index, POINT point, UINT style)
{
    return dc && ::ImageList_Draw(m_hImageList, index, dc->GetSafeHdc(), point.x, point.y, style);
}

HICON CImageList::ExtractIcon(int index)
{
    return ::ImageList_GetIcon(m_hImageList, index, 0);
}
