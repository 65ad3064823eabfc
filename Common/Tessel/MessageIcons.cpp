#include "Common/Tessel/MessageIcons.h"

#include "Common/Tessel/TesselExports.h"
#include "Common/Tessel/TesselResourceIds.h"
#include "Platform/Gdi/Icon.h"
#include "Platform/Ui/ResourceImage.h"
#include "Platform/Ui/ResourceModule.h"

namespace Tessel {

namespace {

constexpr int kResourceOfCode[] = {IDI_ZELL_INFORMATION, IDI_ZELL_QUESTION, IDI_ZELL_WARNING, IDI_ZELL_ERROR,
                                   IDI_ZELL_STOP};

}

CMessageIcons& CMessageIcons::Instance()
{
    static CMessageIcons icons;
    return icons;
}

UINT_PTR CMessageIcons::IconByCode(UINT code)
{
    if (code < ZELL_BALLOON_ICON_INFO || code > ZELL_BALLOON_ICON_STOP)
        return code;
    HICON& icon = m_icons[code - ZELL_BALLOON_ICON_INFO];
    if (icon == nullptr)
        icon = reinterpret_cast<HICON>(LoadImageW(Ui::OwnModule(), MAKEINTRESOURCEW(kResourceOfCode[code - ZELL_BALLOON_ICON_INFO]),
                                             IMAGE_ICON, 16, 16, LR_LOADTRANSPARENT));
    return reinterpret_cast<UINT_PTR>(icon);
}

void CMessageIcons::DestroyAll()
{
    for (HICON& icon : m_icons) {
        if (icon != nullptr)
            DestroyIcon(icon);
        icon = nullptr;
    }
}

int CMessageIcons::LoadedCount() const
{
    int count = 0;
    for (HICON icon : m_icons)
        count += icon != nullptr ? 1 : 0;
    return count;
}

}
