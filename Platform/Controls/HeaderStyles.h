#pragma once
// The header control's styles, messages, structures and notifications, with
// the platform's numbers.
#include "Platform/Controls/NotifyHeader.h"
#include "Platform/Gdi/ImageListApi.h"

#define WC_HEADERW L"SysHeader32"
#define WC_HEADER WC_HEADERW

constexpr DWORD HDS_HORZ = 0x0000;
constexpr DWORD HDS_BUTTONS = 0x0002;
constexpr DWORD HDS_HOTTRACK = 0x0004;
constexpr DWORD HDS_HIDDEN = 0x0008;
constexpr DWORD HDS_DRAGDROP = 0x0040;
constexpr DWORD HDS_FULLDRAG = 0x0080;

constexpr UINT HDI_WIDTH = 0x0001;
constexpr UINT HDI_HEIGHT = HDI_WIDTH;
constexpr UINT HDI_TEXT = 0x0002;
constexpr UINT HDI_FORMAT = 0x0004;
constexpr UINT HDI_LPARAM = 0x0008;
constexpr UINT HDI_BITMAP = 0x0010;
constexpr UINT HDI_IMAGE = 0x0020;
constexpr UINT HDI_ORDER = 0x0080;

constexpr int HDF_LEFT = 0x0000;
constexpr int HDF_RIGHT = 0x0001;
constexpr int HDF_CENTER = 0x0002;
constexpr int HDF_JUSTIFYMASK = 0x0003;
constexpr int HDF_SORTDOWN = 0x0200;
constexpr int HDF_SORTUP = 0x0400;
constexpr int HDF_IMAGE = 0x0800;
constexpr int HDF_BITMAP_ON_RIGHT = 0x1000;
constexpr int HDF_BITMAP = 0x2000;
constexpr int HDF_STRING = 0x4000;
constexpr int HDF_OWNERDRAW = 0x8000;

struct HDITEMW {
    UINT mask = 0;
    int cxy = 0;
    LPWSTR pszText = nullptr;
    HBITMAP hbm = nullptr;
    int cchTextMax = 0;
    int fmt = 0;
    LPARAM lParam = 0;
    int iImage = 0;
    int iOrder = 0;
    UINT type = 0;
    void* pvFilter = nullptr;
    UINT state = 0;
};
using HDITEM = HDITEMW;
using LPHDITEMW = HDITEMW*;
using LPHDITEM = HDITEMW*;

struct HDLAYOUT {
    RECT* prc = nullptr;
    WINDOWPOS* pwpos = nullptr;
};
using LPHDLAYOUT = HDLAYOUT*;

constexpr UINT HHT_NOWHERE = 0x0001;
constexpr UINT HHT_ONHEADER = 0x0002;
constexpr UINT HHT_ONDIVIDER = 0x0004;
constexpr UINT HHT_ONDIVOPEN = 0x0008;
constexpr UINT HHT_ABOVE = 0x0100;
constexpr UINT HHT_BELOW = 0x0200;
constexpr UINT HHT_TORIGHT = 0x0400;
constexpr UINT HHT_TOLEFT = 0x0800;

struct HDHITTESTINFO {
    POINT pt{};
    UINT flags = 0;
    int iItem = 0;
};
using LPHDHITTESTINFO = HDHITTESTINFO*;

constexpr UINT HDM_FIRST = 0x1200;
constexpr UINT HDM_GETITEMCOUNT = HDM_FIRST + 0;
constexpr UINT HDM_DELETEITEM = HDM_FIRST + 2;
constexpr UINT HDM_LAYOUT = HDM_FIRST + 5;
constexpr UINT HDM_HITTEST = HDM_FIRST + 6;
constexpr UINT HDM_GETITEMRECT = HDM_FIRST + 7;
constexpr UINT HDM_SETIMAGELIST = HDM_FIRST + 8;
constexpr UINT HDM_GETIMAGELIST = HDM_FIRST + 9;
constexpr UINT HDM_INSERTITEMW = HDM_FIRST + 10;
constexpr UINT HDM_GETITEMW = HDM_FIRST + 11;
constexpr UINT HDM_SETITEMW = HDM_FIRST + 12;
constexpr UINT HDM_ORDERTOINDEX = HDM_FIRST + 15;
constexpr UINT HDM_GETORDERARRAY = HDM_FIRST + 17;
constexpr UINT HDM_SETORDERARRAY = HDM_FIRST + 18;
constexpr UINT HDM_INSERTITEM = HDM_INSERTITEMW;
constexpr UINT HDM_GETITEM = HDM_GETITEMW;
constexpr UINT HDM_SETITEM = HDM_SETITEMW;

constexpr UINT HDN_FIRST = 0u - 300u;
constexpr UINT HDN_ITEMCHANGINGW = HDN_FIRST - 20;
constexpr UINT HDN_ITEMCHANGEDW = HDN_FIRST - 21;
constexpr UINT HDN_ITEMCLICKW = HDN_FIRST - 22;
constexpr UINT HDN_ITEMDBLCLICKW = HDN_FIRST - 23;
constexpr UINT HDN_DIVIDERDBLCLICKW = HDN_FIRST - 25;
constexpr UINT HDN_BEGINTRACKW = HDN_FIRST - 26;
constexpr UINT HDN_ENDTRACKW = HDN_FIRST - 27;
constexpr UINT HDN_TRACKW = HDN_FIRST - 28;
constexpr UINT HDN_ITEMCHANGING = HDN_ITEMCHANGINGW;
constexpr UINT HDN_ITEMCHANGED = HDN_ITEMCHANGEDW;
constexpr UINT HDN_ITEMCLICK = HDN_ITEMCLICKW;
constexpr UINT HDN_ITEMDBLCLICK = HDN_ITEMDBLCLICKW;
constexpr UINT HDN_DIVIDERDBLCLICK = HDN_DIVIDERDBLCLICKW;
constexpr UINT HDN_BEGINTRACK = HDN_BEGINTRACKW;
constexpr UINT HDN_ENDTRACK = HDN_ENDTRACKW;
constexpr UINT HDN_TRACK = HDN_TRACKW;

struct NMHEADERW {
    NMHDR hdr;
    int iItem = 0;
    int iButton = 0;
    HDITEMW* pitem = nullptr;
};
using NMHEADER = NMHEADERW;
using LPNMHEADER = NMHEADERW*;
