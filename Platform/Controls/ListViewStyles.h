#pragma once
// The list view's styles, messages, structures and notifications, with the
// platform's numbers.
#include "Platform/Controls/NotifyHeader.h"
#include "Platform/Controls/CommonNotify.h"
#include "Platform/Controls/HeaderStyles.h"

#define WC_LISTVIEWW L"SysListView32"
#define WC_LISTVIEW WC_LISTVIEWW

constexpr DWORD LVS_ICON = 0x0000;
constexpr DWORD LVS_REPORT = 0x0001;
constexpr DWORD LVS_SMALLICON = 0x0002;
constexpr DWORD LVS_LIST = 0x0003;
constexpr DWORD LVS_TYPEMASK = 0x0003;
constexpr DWORD LVS_SINGLESEL = 0x0004;
constexpr DWORD LVS_SHOWSELALWAYS = 0x0008;
constexpr DWORD LVS_SORTASCENDING = 0x0010;
constexpr DWORD LVS_SORTDESCENDING = 0x0020;
constexpr DWORD LVS_SHAREIMAGELISTS = 0x0040;
constexpr DWORD LVS_NOLABELWRAP = 0x0080;
constexpr DWORD LVS_AUTOARRANGE = 0x0100;
constexpr DWORD LVS_EDITLABELS = 0x0200;
constexpr DWORD LVS_NOSCROLL = 0x2000;
constexpr DWORD LVS_NOCOLUMNHEADER = 0x4000;
constexpr DWORD LVS_NOSORTHEADER = 0x8000;

constexpr DWORD LVS_EX_GRIDLINES = 0x00000001;
constexpr DWORD LVS_EX_SUBITEMIMAGES = 0x00000002;
constexpr DWORD LVS_EX_CHECKBOXES = 0x00000004;
constexpr DWORD LVS_EX_TRACKSELECT = 0x00000008;
constexpr DWORD LVS_EX_HEADERDRAGDROP = 0x00000010;
constexpr DWORD LVS_EX_FULLROWSELECT = 0x00000020;
constexpr DWORD LVS_EX_INFOTIP = 0x00000400;
constexpr DWORD LVS_EX_LABELTIP = 0x00004000;
constexpr DWORD LVS_EX_DOUBLEBUFFER = 0x00010000;

constexpr UINT LVIF_TEXT = 0x0001;
constexpr UINT LVIF_IMAGE = 0x0002;
constexpr UINT LVIF_PARAM = 0x0004;
constexpr UINT LVIF_STATE = 0x0008;
constexpr UINT LVIF_INDENT = 0x0010;
constexpr UINT LVIF_NORECOMPUTE = 0x0800;
constexpr UINT LVIF_DI_SETITEM = 0x1000;

constexpr UINT LVIS_FOCUSED = 0x0001;
constexpr UINT LVIS_SELECTED = 0x0002;
constexpr UINT LVIS_CUT = 0x0004;
constexpr UINT LVIS_DROPHILITED = 0x0008;
constexpr UINT LVIS_OVERLAYMASK = 0x0F00;
constexpr UINT LVIS_STATEIMAGEMASK = 0xF000;
constexpr UINT INDEXTOSTATEIMAGEMASK(UINT index) { return index << 12; }

constexpr int I_IMAGECALLBACK = -1;
constexpr int I_IMAGENONE = -2;

constexpr UINT LVCF_FMT = 0x0001;
constexpr UINT LVCF_WIDTH = 0x0002;
constexpr UINT LVCF_TEXT = 0x0004;
constexpr UINT LVCF_SUBITEM = 0x0008;
constexpr UINT LVCF_IMAGE = 0x0010;
constexpr UINT LVCF_ORDER = 0x0020;

constexpr int LVCFMT_LEFT = 0x0000;
constexpr int LVCFMT_RIGHT = 0x0001;
constexpr int LVCFMT_CENTER = 0x0002;
constexpr int LVCFMT_JUSTIFYMASK = 0x0003;
constexpr int LVCFMT_IMAGE = 0x0800;
constexpr int LVCFMT_BITMAP_ON_RIGHT = 0x1000;
constexpr int LVCFMT_COL_HAS_IMAGES = 0x8000;

constexpr int LVSCW_AUTOSIZE = -1;
constexpr int LVSCW_AUTOSIZE_USEHEADER = -2;

constexpr int LVSIL_NORMAL = 0;
constexpr int LVSIL_SMALL = 1;
constexpr int LVSIL_STATE = 2;

constexpr UINT LVNI_ALL = 0x0000;
constexpr UINT LVNI_FOCUSED = 0x0001;
constexpr UINT LVNI_SELECTED = 0x0002;
constexpr UINT LVNI_CUT = 0x0004;
constexpr UINT LVNI_DROPHILITED = 0x0008;
constexpr UINT LVNI_ABOVE = 0x0100;
constexpr UINT LVNI_BELOW = 0x0200;
constexpr UINT LVNI_TOLEFT = 0x0400;
constexpr UINT LVNI_TORIGHT = 0x0800;

constexpr UINT LVFI_PARAM = 0x0001;
constexpr UINT LVFI_STRING = 0x0002;
constexpr UINT LVFI_PARTIAL = 0x0008;
constexpr UINT LVFI_WRAP = 0x0020;
constexpr UINT LVFI_NEARESTXY = 0x0040;

constexpr int LVIR_BOUNDS = 0;
constexpr int LVIR_ICON = 1;
constexpr int LVIR_LABEL = 2;
constexpr int LVIR_SELECTBOUNDS = 3;

constexpr UINT LVHT_NOWHERE = 0x0001;
constexpr UINT LVHT_ONITEMICON = 0x0002;
constexpr UINT LVHT_ONITEMLABEL = 0x0004;
constexpr UINT LVHT_ONITEMSTATEICON = 0x0008;
constexpr UINT LVHT_ONITEM = LVHT_ONITEMICON | LVHT_ONITEMLABEL | LVHT_ONITEMSTATEICON;
constexpr UINT LVHT_ABOVE = 0x0008;
constexpr UINT LVHT_BELOW = 0x0010;
constexpr UINT LVHT_TORIGHT = 0x0020;
constexpr UINT LVHT_TOLEFT = 0x0040;

struct LVITEMW {
    UINT mask = 0;
    int iItem = 0;
    int iSubItem = 0;
    UINT state = 0;
    UINT stateMask = 0;
    LPWSTR pszText = nullptr;
    int cchTextMax = 0;
    int iImage = 0;
    LPARAM lParam = 0;
    int iIndent = 0;
    int iGroupId = 0;
    UINT cColumns = 0;
    UINT* puColumns = nullptr;
    int* piColFmt = nullptr;
    int iGroup = 0;
};
using LVITEM = LVITEMW;
using LPLVITEMW = LVITEMW*;
using LPLVITEM = LVITEMW*;

struct LVCOLUMNW {
    UINT mask = 0;
    int fmt = 0;
    int cx = 0;
    LPWSTR pszText = nullptr;
    int cchTextMax = 0;
    int iSubItem = 0;
    int iImage = 0;
    int iOrder = 0;
    int cxMin = 0;
    int cxDefault = 0;
    int cxIdeal = 0;
};
using LVCOLUMN = LVCOLUMNW;
using LPLVCOLUMNW = LVCOLUMNW*;
using LPLVCOLUMN = LVCOLUMNW*;

struct LVFINDINFOW {
    UINT flags = 0;
    LPCWSTR psz = nullptr;
    LPARAM lParam = 0;
    POINT pt{};
    UINT vkDirection = 0;
};
using LVFINDINFO = LVFINDINFOW;

struct LVHITTESTINFO {
    POINT pt{};
    UINT flags = 0;
    int iItem = 0;
    int iSubItem = 0;
    int iGroup = 0;
};
using LPLVHITTESTINFO = LVHITTESTINFO*;

using PFNLVCOMPARE = int (*)(LPARAM, LPARAM, LPARAM);

constexpr UINT LVM_FIRST = 0x1000;
constexpr UINT LVM_GETBKCOLOR = LVM_FIRST + 0;
constexpr UINT LVM_SETBKCOLOR = LVM_FIRST + 1;
constexpr UINT LVM_GETIMAGELIST = LVM_FIRST + 2;
constexpr UINT LVM_SETIMAGELIST = LVM_FIRST + 3;
constexpr UINT LVM_GETITEMCOUNT = LVM_FIRST + 4;
constexpr UINT LVM_DELETEITEM = LVM_FIRST + 8;
constexpr UINT LVM_DELETEALLITEMS = LVM_FIRST + 9;
constexpr UINT LVM_GETNEXTITEM = LVM_FIRST + 12;
constexpr UINT LVM_GETITEMRECT = LVM_FIRST + 14;
constexpr UINT LVM_HITTEST = LVM_FIRST + 18;
constexpr UINT LVM_ENSUREVISIBLE = LVM_FIRST + 19;
constexpr UINT LVM_SCROLL = LVM_FIRST + 20;
constexpr UINT LVM_REDRAWITEMS = LVM_FIRST + 21;
constexpr UINT LVM_DELETECOLUMN = LVM_FIRST + 28;
constexpr UINT LVM_GETCOLUMNWIDTH = LVM_FIRST + 29;
constexpr UINT LVM_SETCOLUMNWIDTH = LVM_FIRST + 30;
constexpr UINT LVM_GETHEADER = LVM_FIRST + 31;
constexpr UINT LVM_GETTEXTCOLOR = LVM_FIRST + 35;
constexpr UINT LVM_SETTEXTCOLOR = LVM_FIRST + 36;
constexpr UINT LVM_GETTEXTBKCOLOR = LVM_FIRST + 37;
constexpr UINT LVM_SETTEXTBKCOLOR = LVM_FIRST + 38;
constexpr UINT LVM_GETTOPINDEX = LVM_FIRST + 39;
constexpr UINT LVM_GETCOUNTPERPAGE = LVM_FIRST + 40;
constexpr UINT LVM_UPDATE = LVM_FIRST + 42;
constexpr UINT LVM_SETITEMSTATE = LVM_FIRST + 43;
constexpr UINT LVM_GETITEMSTATE = LVM_FIRST + 44;
constexpr UINT LVM_SETITEMCOUNT = LVM_FIRST + 47;
constexpr UINT LVM_SORTITEMS = LVM_FIRST + 48;
constexpr UINT LVM_GETSELECTEDCOUNT = LVM_FIRST + 50;
constexpr UINT LVM_SETEXTENDEDLISTVIEWSTYLE = LVM_FIRST + 54;
constexpr UINT LVM_GETEXTENDEDLISTVIEWSTYLE = LVM_FIRST + 55;
constexpr UINT LVM_GETSUBITEMRECT = LVM_FIRST + 56;
constexpr UINT LVM_SUBITEMHITTEST = LVM_FIRST + 57;
constexpr UINT LVM_SETCOLUMNORDERARRAY = LVM_FIRST + 58;
constexpr UINT LVM_GETCOLUMNORDERARRAY = LVM_FIRST + 59;
constexpr UINT LVM_GETSELECTIONMARK = LVM_FIRST + 66;
constexpr UINT LVM_SETSELECTIONMARK = LVM_FIRST + 67;
constexpr UINT LVM_GETITEMW = LVM_FIRST + 75;
constexpr UINT LVM_SETITEMW = LVM_FIRST + 76;
constexpr UINT LVM_INSERTITEMW = LVM_FIRST + 77;
constexpr UINT LVM_GETTOOLTIPS = LVM_FIRST + 78;
constexpr UINT LVM_SORTITEMSEX = LVM_FIRST + 81;
constexpr UINT LVM_FINDITEMW = LVM_FIRST + 83;
constexpr UINT LVM_GETCOLUMNW = LVM_FIRST + 95;
constexpr UINT LVM_SETCOLUMNW = LVM_FIRST + 96;
constexpr UINT LVM_INSERTCOLUMNW = LVM_FIRST + 97;
constexpr UINT LVM_GETITEMTEXTW = LVM_FIRST + 115;
constexpr UINT LVM_SETITEMTEXTW = LVM_FIRST + 116;
constexpr UINT LVM_GETITEM = LVM_GETITEMW;
constexpr UINT LVM_SETITEM = LVM_SETITEMW;
constexpr UINT LVM_INSERTITEM = LVM_INSERTITEMW;
constexpr UINT LVM_FINDITEM = LVM_FINDITEMW;
constexpr UINT LVM_GETCOLUMN = LVM_GETCOLUMNW;
constexpr UINT LVM_SETCOLUMN = LVM_SETCOLUMNW;
constexpr UINT LVM_INSERTCOLUMN = LVM_INSERTCOLUMNW;
constexpr UINT LVM_GETITEMTEXT = LVM_GETITEMTEXTW;
constexpr UINT LVM_SETITEMTEXT = LVM_SETITEMTEXTW;

constexpr UINT LVN_FIRST = 0u - 100u;
constexpr UINT LVN_ITEMCHANGING = LVN_FIRST - 0;
constexpr UINT LVN_ITEMCHANGED = LVN_FIRST - 1;
constexpr UINT LVN_INSERTITEM = LVN_FIRST - 2;
constexpr UINT LVN_DELETEITEM = LVN_FIRST - 3;
constexpr UINT LVN_DELETEALLITEMS = LVN_FIRST - 4;
constexpr UINT LVN_COLUMNCLICK = LVN_FIRST - 8;
constexpr UINT LVN_KEYDOWN = LVN_FIRST - 55;
constexpr UINT LVN_GETINFOTIPW = LVN_FIRST - 58;
#define LVN_GETINFOTIP LVN_GETINFOTIPW
constexpr UINT LVN_GETDISPINFOW = LVN_FIRST - 77;
constexpr UINT LVN_GETDISPINFO = LVN_GETDISPINFOW;

struct NMLISTVIEW {
    NMHDR hdr;
    int iItem = 0;
    int iSubItem = 0;
    UINT uNewState = 0;
    UINT uOldState = 0;
    UINT uChanged = 0;
    POINT ptAction{};
    LPARAM lParam = 0;
};
using LPNMLISTVIEW = NMLISTVIEW*;

struct NMITEMACTIVATE {
    NMHDR hdr;
    int iItem = 0;
    int iSubItem = 0;
    UINT uNewState = 0;
    UINT uOldState = 0;
    UINT uChanged = 0;
    POINT ptAction{};
    LPARAM lParam = 0;
    UINT uKeyFlags = 0;
};
using LPNMITEMACTIVATE = NMITEMACTIVATE*;

constexpr UINT LVKF_ALT = 0x0001;
constexpr UINT LVKF_CONTROL = 0x0002;
constexpr UINT LVKF_SHIFT = 0x0004;

#pragma pack(push, 1)
struct NMLVKEYDOWN {
    NMHDR hdr;
    WORD wVKey = 0;
    UINT flags = 0;
};
#pragma pack(pop)
using LPNMLVKEYDOWN = NMLVKEYDOWN*;

// LVN_GETINFOTIP: pszText comes filled with the hovered cell's text when
// the column cuts it (dwFlags 0), else empty (LVGIT_UNFOLDED); the parent
// may write its own tip there, at most cchTextMax characters with the NUL.
constexpr DWORD LVGIT_UNFOLDED = 0x0001;
constexpr int INFOTIPSIZE = 1024;
struct NMLVGETINFOTIPW {
    NMHDR hdr{};
    DWORD dwFlags = 0;
    LPWSTR pszText = nullptr;
    int cchTextMax = 0;
    int iItem = -1;
    int iSubItem = 0;
    LPARAM lParam = 0;
};
using NMLVGETINFOTIP = NMLVGETINFOTIPW;

struct NMLVDISPINFOW {
    NMHDR hdr;
    LVITEMW item;
};
using NMLVDISPINFO = NMLVDISPINFOW;

struct NMLVCUSTOMDRAW {
    NMCUSTOMDRAW nmcd;
    COLORREF clrText = 0;
    COLORREF clrTextBk = 0;
    int iSubItem = 0;
    DWORD dwItemType = 0;
    COLORREF clrFace = 0;
    int iIconEffect = 0;
    int iIconPhase = 0;
    int iPartId = 0;
    int iStateId = 0;
    RECT rcText{};
    UINT uAlign = 0;
};
using LPNMLVCUSTOMDRAW = NMLVCUSTOMDRAW*;
