#pragma once
// An image-list wrapper: owns the list it created or was attached to and
// destroys it with itself; FromHandle follows the drawing objects' rules.

#include "Platform/Framework/Core/Object.h"
#include "Platform/Gdi/ImageListApi.h"

class CBitmap;
class CDC;

class CImageList : public CObject {
    DECLARE_DYNCREATE(CImageList)
public:
    CImageList() = default;
    CImageList(const CImageList&) = delete;
    CImageList& operator=(const CImageList&) = delete;
    ~CImageList() override;

    static CImageList* FromHandle(HIMAGELIST list);
    HIMAGELIST GetSafeHandle() const { return m_hImageList; }
    operator HIMAGELIST() const { return m_hImageList; }

    BOOL Create(int width, int height, UINT flags, int initial, int grow);
    // FALSE for a null list, when this wrapper holds one already, or when
    // another wrapper owns the list.
    BOOL Attach(HIMAGELIST list);
    HIMAGELIST Detach();
    BOOL DeleteImageList();

    int GetImageCount() const;
    BOOL GetIconSize(int* width, int* height) const;
    // The index of the (first) added image, or -1.
    int Add(CBitmap* image, CBitmap* mask);
    int Add(CBitmap* image, COLORREF maskColor);
    int Add(HICON icon);
    BOOL Replace(int index, CBitmap* image, CBitmap* mask);
    int Replace(int index, HICON icon);
    BOOL Remove(int index);  // -1 removes all
    BOOL Draw(CDC* dc, int index, POINT point, UINT style);
    HICON ExtractIcon(int index);

    HIMAGELIST m_hImageList = nullptr;
};
