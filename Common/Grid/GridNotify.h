#pragma once
// What a grid and its in-place editors tell their parent: the records that
// WM_NOTIFY carries, their codes, the cell state bits and the item masks.
#include "Common/Grid/CellRange.h"
#include "Platform/Base/CString.h"
#include "Platform/Controls/CommCtrl.h"
#include "Platform/Gdi/GdiTypes.h"

namespace ZELL::Grid {

// Cell state bits.
constexpr UINT GRIDSTATE_FOCUSED = 0x01;
constexpr UINT GRIDSTATE_SELECTED = 0x02;
constexpr UINT GRIDSTATE_DROPHILITED = 0x04;
constexpr UINT GRIDSTATE_READONLY = 0x08;
constexpr UINT GRIDSTATE_FIXED = 0x10;
constexpr UINT GRIDSTATE_FIXEDROW = 0x20;
constexpr UINT GRIDSTATE_FIXEDCOL = 0x40;
constexpr UINT GRIDSTATE_MODIFIED = 0x80;

// Item record masks.
constexpr UINT GRIDIF_TEXT = 0x01;
constexpr UINT GRIDIF_IMAGE = 0x02;
constexpr UINT GRIDIF_PARAM = 0x04;
constexpr UINT GRIDIF_STATE = 0x08;
constexpr UINT GRIDIF_BKCLR = 0x10;
constexpr UINT GRIDIF_FGCLR = 0x20;
constexpr UINT GRIDIF_FORMAT = 0x40;
constexpr UINT GRIDIF_FONT = 0x80;
constexpr UINT GRIDIF_MARGIN = 0x100;

// Notification codes (WM_NOTIFY).
constexpr int GRIDN_CLICK = -2;
constexpr int GRIDN_DBLCLK = -3;
constexpr int GRIDN_RCLICK = -5;
constexpr int GRIDN_SELCHANGING = -100;
constexpr int GRIDN_SELCHANGED = -101;
constexpr int GRIDN_BEGINDRAG = -109;
constexpr int GRIDN_ODCACHEHINT = -113;
constexpr int GRIDN_MOUSEOVER = -121;
// The edit and display codes of the wide build, which is the only one.
constexpr int GRIDN_BEGINLABELEDIT = -175;
constexpr int GRIDN_ENDLABELEDIT = -176;
constexpr int GRIDN_GETDISPINFO = -177;

// Search flags of FindNextCell: directions and the states looked for.
constexpr UINT GRIDNI_FOCUSED = 0x01;
constexpr UINT GRIDNI_SELECTED = 0x02;
constexpr UINT GRIDNI_DROPHILITED = 0x04;
constexpr UINT GRIDNI_READONLY = 0x08;
constexpr UINT GRIDNI_FIXED = 0x10;
constexpr UINT GRIDNI_MODIFIED = 0x20;
constexpr UINT GRIDNI_ABOVE = 0x100;
constexpr UINT GRIDNI_BELOW = 0x200;
constexpr UINT GRIDNI_TOLEFT = 0x400;
constexpr UINT GRIDNI_TORIGHT = 0x800;

// The id of every in-place editor window.
constexpr UINT IDC_INPLACE_CONTROL = 8;

// One cell's contents and looks, for bulk access and for virtual mode.
struct GRIDITEM {
    int row = 0;
    int col = 0;
    UINT mask = 0;
    UINT state = 0;
    DWORD format = 0;
    int image = -1;
    COLORREF backColour = CLR_DEFAULT;
    COLORREF textColour = CLR_DEFAULT;
    LPARAM userValue = 0;
    LOGFONTW font{};
    UINT margin = 0;
    CString text;
};

struct NMGRIDCELL {
    NMHDR hdr{};
    int row = -1;
    int col = -1;
};

struct NMGRIDCACHEHINT {
    NMHDR hdr{};
    CCellRange range;
};

struct NMGRIDDISPINFO {
    NMHDR hdr{};
    GRIDITEM item;
};

// The fill function of virtual mode: fills the item, answers TRUE when it did.
using GRIDCALLBACK = BOOL (*)(NMGRIDDISPINFO* info, LPARAM userValue);

// Tells the editor's owner (or parent) that editing the cell ended with the
// text and the key; gives the window told, null when there was none.
HWND NotifyEditEnded(HWND editor, int row, int col, const CString& text, UINT endKey);
// Reports the end of an in-place edit as above and closes the editor; one
// end at a time, as closing the window takes the focus away once more.
void FinishInPlaceEdit(HWND editor, int row, int col, const CString& text, UINT endKey);

}  // namespace ZELL::Grid
