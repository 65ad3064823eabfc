#include "Platform/Ui/Tests/OwnerDrawnMenuSample.h"

#include "Platform/Gdi/DeviceContext.h"
#include "Platform/Gdi/Draw.h"
#include "Platform/Gdi/Text.h"

namespace UiTest {

namespace {

const wchar_t kChecked[] = L"Checked";
const wchar_t kGreyed[] = L"Greyed";
const wchar_t kSelected[] = L"Selected";
const wchar_t kMore[] = L"More";
const wchar_t kInner[] = L"Inner";

LPCWSTR Data(const wchar_t* text)
{
    return text;
}

}  // namespace

HMENU CreateOwnerDrawnSampleMenu()
{
    HMENU sub = CreatePopupMenu();
    AppendMenuW(sub, MF_OWNERDRAW, 911, Data(kInner));
    HMENU menu = CreatePopupMenu();
    AppendMenuW(menu, MF_OWNERDRAW | MF_CHECKED, 901, Data(kChecked));
    AppendMenuW(menu, MF_OWNERDRAW | MF_GRAYED, 902, Data(kGreyed));
    AppendMenuW(menu, MF_OWNERDRAW, 903, Data(kSelected));
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(menu, MF_OWNERDRAW | MF_POPUP, reinterpret_cast<UINT_PTR>(sub), Data(kMore));
    return menu;
}

void MeasureSampleItem(MEASUREITEMSTRUCT& item)
{
    item.itemWidth = 110;
    item.itemHeight = 22;
}

void DrawSampleItem(const DRAWITEMSTRUCT& item)
{
    if (item.CtlType != ODT_MENU || item.itemData == 0)
        return;
    const bool selected = (item.itemState & ODS_SELECTED) != 0;
    const bool greyed = (item.itemState & ODS_GRAYED) != 0;
    HDC dc = item.hDC;
    FillRect(dc, &item.rcItem, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_MENU));
    if (item.itemState & ODS_CHECKED) {
        // A sunken box with a filled square stands for the check.
        RECT box{item.rcItem.left + 4, item.rcItem.top + 5, item.rcItem.left + 16, item.rcItem.top + 17};
        FrameRect(dc, &box, GetSysColorBrush(COLOR_3DSHADOW));
        RECT mark{box.left + 3, box.top + 3, box.right - 3, box.bottom - 3};
        FillRect(dc, &mark, GetSysColorBrush(COLOR_MENUTEXT));
    }
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(greyed ? COLOR_GRAYTEXT : selected ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT));
    RECT text{item.rcItem.left + 22, item.rcItem.top, item.rcItem.right - 4, item.rcItem.bottom};
    const auto* label = reinterpret_cast<const wchar_t*>(item.itemData);
    DrawTextW(dc, label, -1, &text, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
}

}
