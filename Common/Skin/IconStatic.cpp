#include "Common/Skin/IconStatic.h"

#include "Common/Skin/Drawing/SkinImage.h"
#include "Platform/Gdi/Gdi.h"

namespace ZELL::Skin {

CIconStatic::~CIconStatic()
{
    FreeIcon();
}

void CIconStatic::FreeIcon()
{
    if (m_ownsIcon && m_icon != nullptr)
        ::DestroyIcon(m_icon);
    m_icon = nullptr;
    m_ownsIcon = FALSE;
}

void CIconStatic::SetIcon(UINT id, int width, int height)
{
    if (id == m_iconId && width == m_width && height == m_height)
        return;
    m_iconId = id;
    m_width = width;
    m_height = height;
    if (m_hWnd != nullptr)
        ModifyStyle(SS_TYPEMASK, SS_ICON);
    HICON loaded = SkinImage::LoadIconResource(static_cast<int>(id), width, height);
    // The static gives the icon back to nobody: it stays ours until replaced.
    if (m_hWnd != nullptr)
        CStatic::SetIcon(loaded);
    FreeIcon();
    m_icon = loaded;
    m_ownsIcon = loaded != nullptr;
}

void CIconStatic::SetIconHandle(HICON icon)
{
    if (m_hWnd != nullptr)
        CStatic::SetIcon(icon);
    FreeIcon();
    m_icon = icon;
}

}  // namespace ZELL::Skin
