#include "Common/Grid/GridCellBase.h"

#include "Common/Grid/GridDefaultCell.h"
#include "Common/Grid/SavedDC.h"
#include "Common/Grid/ZellGrid.h"
#include "Platform/Framework/Drawing/Brush.h"
#include "Platform/Framework/Drawing/DC.h"
#include "Platform/Framework/Drawing/Font.h"
#include "Platform/Framework/Drawing/ImageList.h"
#include "Platform/Framework/Drawing/Pen.h"
#include "Platform/Framework/Exceptions/ResourceException.h"

#include <algorithm>
#include <vector>

namespace ZELL::Grid {

IMPLEMENT_DYNAMIC(CGridCellBase, CObject)

namespace {

void FillWithColour(CDC* dc, const CRect& rect, COLORREF colour)
{
    try {
        CBrush brush(colour);
        dc->FillRect(rect, &brush);
    } catch (CResourceException* e) {
        e->Delete();
    }
}

bool IsVertical(const LOGFONTW* font)
{
    return font != nullptr && (font->lfEscapement == 900 || font->lfEscapement == -900);
}

void Polyline4(CDC* dc, CPen& pen, std::initializer_list<POINT> points)
{
    const std::vector<POINT> line(points);
    CPen* old = dc->SelectObject(&pen);
    dc->Polyline(line.data(), static_cast<int>(line.size()));
    dc->SelectObject(old);
}

}

void DrawRaisedCellBorder(CDC* dc, CRect& rect, COLORREF light, COLORREF dark)
{
    CPen lightPen(PS_SOLID, 1, light);
    CPen darkPen(PS_SOLID, 1, dark);
    Polyline4(dc, lightPen, {{rect.right, rect.top}, {rect.left, rect.top}, {rect.left, rect.bottom}});
    Polyline4(dc, darkPen, {{rect.right, rect.top}, {rect.right, rect.bottom}, {rect.left, rect.bottom}});
    rect.DeflateRect(1, 1);
}

CGridCellBase& CGridCellBase::operator=(const CGridCellBase& other)
{
    if (this != &other)
        CopyFrom(other);
    return *this;
}

CGridCellBase* CGridCellBase::GetDefaultCell() const
{
    CZellGrid* grid = GetGrid();
    if (grid == nullptr)
        return nullptr;
    return grid->GetDefaultCell(IsFixedRow(), IsFixedColumn());
}

void CGridCellBase::CopyFrom(const CGridCellBase& source)
{
    SetGrid(source.GetGrid());
    SetText(source.GetText());
    SetImage(source.GetImage());
    SetUserValue(source.GetUserValue());
    SetState(source.GetState());
    SetFormat(source.GetFormat());
    SetTextColour(source.GetTextColour());
    SetBackColour(source.GetBackColour());
    SetFont(source.IsDefaultFont() ? nullptr : source.GetFont());
    SetMargin(source.GetMargin());
}

BOOL CGridCellBase::OnSetCursor()
{
    static HCURSOR hand = ::LoadCursorW(nullptr, IDC_HAND);
    if (::GetCursor() != hand)
        ::SetCursor(::LoadCursorW(nullptr, IDC_ARROW));
    return TRUE;
}

bool CGridCellBase::ImageSize(int& width, int& height) const
{
    CZellGrid* grid = GetGrid();
    if (grid == nullptr || GetImage() < 0 || grid->GetImageList() == nullptr)
        return false;
    CImageList* images = grid->GetImageList();
    return GetImage() < images->GetImageCount() && images->GetIconSize(&width, &height);
}

BOOL CGridCellBase::GetTextRect(LPRECT rect)
{
    int width = 0;
    int height = 0;
    if (ImageSize(width, height))
        rect->left += width + static_cast<int>(GetMargin()) + 1;
    return TRUE;
}

void CGridCellBase::PaintBackground(CDC* dc, CRect& rect, BOOL eraseBackground)
{
    const CGridCellBase* defaults = GetDefaultCell();
    COLORREF text = GetTextColour() == CLR_DEFAULT ? defaults->GetTextColour() : GetTextColour();
    COLORREF back = GetBackColour();
    if (back == CLR_DEFAULT)
        back = defaults->GetBackColour();
    else
        eraseBackground = TRUE;
    CZellGrid* grid = GetGrid();
    if (IsFocused() || IsDropHighlighted()) {
        if (IsSelected()) {
            back = defaults->GetFocusBackColour() == static_cast<COLORREF>(-1) ? back : defaults->GetFocusBackColour();
            text = defaults->GetFocusTextColour() == static_cast<COLORREF>(-1) ? text : defaults->GetFocusTextColour();
            eraseBackground = TRUE;
        }
        rect.right++;
        rect.bottom++;
        if (eraseBackground)
            FillWithColour(dc, rect, back);
        const bool lines = grid->GetGridLines() != GRIDLINES_NONE;
        if (lines) {
            rect.right--;
            rect.bottom--;
        }
        if (grid->GetFrameFocusCell() && !IsReadOnly()) {
            CBrush frame(text);
            dc->FrameRect(rect, &frame);
        }
        if (!lines) {
            rect.right--;
            rect.bottom--;
        }
        dc->SetTextColor(text);
    } else if (IsSelected()) {
        rect.right++;
        rect.bottom++;
        FillWithColour(dc, rect, defaults->GetSelectedBackColour());
        rect.right--;
        rect.bottom--;
        dc->SetTextColor(defaults->GetSelectedTextColour());
    } else {
        if (eraseBackground) {
            rect.right++;
            rect.bottom++;
            FillWithColour(dc, rect, back);
            rect.right--;
            rect.bottom--;
        }
        dc->SetTextColor(text);
    }
}

void CGridCellBase::DrawFixedBorder(CDC* dc, CRect& rect, int row, int col)
{
    CZellGrid* grid = GetGrid();
    const CCellID focus = grid->GetFocusCell();
    if (grid->GetTrackFocusCell() && focus.IsValid() && (focus.row == row || focus.col == col)) {
        rect.right++;
        rect.bottom++;
        dc->Draw3dRect(rect, ::GetSysColor(COLOR_BTNSHADOW), ::GetSysColor(COLOR_BTNHIGHLIGHT));
        rect.DeflateRect(1, 1);
        return;
    }
    const bool flat = grid->GetFlatFixedCells();
    DrawRaisedCellBorder(dc, rect, flat ? grid->GetGridLineColour() : ::GetSysColor(COLOR_BTNHIGHLIGHT),
                         flat ? grid->GetGridLineColour() : ::GetSysColor(COLOR_3DDKSHADOW));
}

void CGridCellBase::DrawSortMark(CDC* dc, CRect& rect)
{
    int h = dc->GetTextExtent(L"M", 1).cy - 4;
    if (h >= rect.Height())
        h = rect.Height() - 4;
    if (rect.left + h >= rect.right)
        return;
    const bool vertical = IsVertical(GetFont());
    const int top = rect.bottom - h - 2;
    const int left = vertical ? (rect.right + rect.left - h) / 2 : rect.right - h;
    CPen shadow(PS_SOLID, 0, ::GetSysColor(COLOR_BTNSHADOW));
    CPen highlight(PS_SOLID, 0, ::GetSysColor(COLOR_BTNHIGHLIGHT));
    if (GetGrid()->GetSortAscending()) {
        Polyline4(dc, highlight, {{left + 1, top + h + 1}, {left + h / 2 + 1, top + 1}, {left + h + 1, top + h + 1},
                                  {left + 1, top + h + 1}});
        Polyline4(dc, shadow, {{left, top + h}, {left + h / 2, top}, {left + h, top + h}, {left, top + h}});
    } else {
        Polyline4(dc, highlight, {{left + 1, top + 1}, {left + h / 2 + 1, top + h + 1}, {left + h + 1, top + 1},
                                  {left + 1, top + 1}});
        Polyline4(dc, shadow, {{left, top}, {left + h / 2, top + h}, {left + h, top}, {left, top}});
    }
    if (!vertical)
        rect.right -= h;
}

void CGridCellBase::DrawImage(CDC* dc, const CRect& rect)
{
    int width = 0;
    int height = 0;
    if (ImageSize(width, height) && width <= rect.Width() && height <= rect.Height())
        GetGrid()->GetImageList()->Draw(dc, GetImage(), rect.TopLeft(), ILD_NORMAL);
}

BOOL CGridCellBase::Draw(CDC* dc, int row, int col, CRect rect, BOOL eraseBackground)
{
    CZellGrid* grid = GetGrid();
    if (grid == nullptr || dc == nullptr || rect.Width() <= 0 || rect.Height() <= 0)
        return FALSE;
    CSavedDC saved(dc);
    dc->SetBkMode(TRANSPARENT);
    if (GetDefaultCell() == nullptr)
        return FALSE;
    PaintBackground(dc, rect, eraseBackground);
    if (IsFixed() && grid->GetGridLines() != GRIDLINES_NONE)
        DrawFixedBorder(dc, rect, row, col);
    if (!dc->IsPrinting())
        if (CFont* font = GetFontObject())
            dc->SelectObject(font);
    const int margin = static_cast<int>(GetMargin());
    rect.DeflateRect(margin, margin);
    rect.right++;
    rect.bottom++;
    DrawImage(dc, rect);
    if (row == 0 && col == grid->GetSortColumn())
        DrawSortMark(dc, rect);
    GetTextRect(rect);
    rect.right++;
    rect.bottom++;
    dc->DrawText(GetText(), -1, rect, GetFormat() | DT_NOPREFIX);
    return TRUE;
}

CSize CGridCellBase::GetTextExtent(LPCWSTR text, CDC* dc)
{
    CZellGrid* grid = GetGrid();
    const CGridDefaultCell* defaults = static_cast<const CGridDefaultCell*>(GetDefaultCell());
    CDC* windowDC = nullptr;
    if (dc == nullptr && text != nullptr && grid != nullptr && grid->GetSafeHwnd() != nullptr)
        dc = windowDC = grid->GetDC();
    if (text == nullptr || dc == nullptr) {
        if (defaults == nullptr)
            return {0, 0};
        return {defaults->GetDefaultWidth(), defaults->GetDefaultHeight()};
    }
    CFont* oldFont = nullptr;
    if (CFont* font = GetFontObject())
        oldFont = dc->SelectObject(font);
    const DWORD format = GetFormat();
    CSize size;
    const CString whole(text);
    if ((format & DT_WORDBREAK) == 0 || (format & DT_SINGLELINE) != 0) {
        size = dc->GetTextExtent(whole);
    } else {
        int widest = 0;
        int start = 0;
        while (start <= whole.GetLength()) {
            int end = whole.Find(L'\n', start);
            if (end < 0)
                end = whole.GetLength();
            widest = std::max(widest, static_cast<int>(dc->GetTextExtent(whole.Mid(start, end - start)).cx));
            start = end + 1;
        }
        CRect area(0, 0, widest + 1, 0);
        dc->DrawText(whole, area, format | DT_CALCRECT);
        size = CSize(area.Width(), area.Height());
    }
    if (oldFont != nullptr)
        dc->SelectObject(oldFont);
    if (windowDC != nullptr)
        grid->ReleaseDC(windowDC);
    const int margin = static_cast<int>(GetMargin());
    size.cx += 2 * margin;
    size.cy += 2 * margin;
    if (IsVertical(GetFont()))
        return {size.cy, size.cx + 4 * margin};
    return size;
}

CSize CGridCellBase::GetCellExtent(CDC* dc)
{
    CSize size = GetTextExtent(GetText(), dc);
    const int margin = static_cast<int>(GetMargin());
    int width = 0;
    int height = 0;
    CSize image(0, 0);
    if (ImageSize(width, height)) {
        image.cx = size.cx > 2 * margin ? width + margin : width;
        image.cy = height + 2 * margin;
    }
    size.cx += image.cx + 1;
    size.cy = std::max(size.cy, image.cy) + 1;
    if (IsFixed()) {
        size.cx++;
        size.cy++;
    }
    return size;
}

namespace {

COLORREF GreyOf(COLORREF colour)
{
    const auto grey = static_cast<BYTE>(0.30 * GetRValue(colour) + 0.59 * GetGValue(colour) +
                                        0.11 * GetBValue(colour));
    return RGB(grey, grey, grey);
}

}

BOOL CGridCellBase::PrintCell(CDC* dc, int row, int col, CRect rect)
{
    CZellGrid* grid = GetGrid();
    if (grid == nullptr || dc == nullptr || rect.Width() <= 0 || rect.Height() <= 0)
        return FALSE;
    CSavedDC saved(dc);
    dc->SetBkMode(TRANSPARENT);
    COLORREF text = RGB(0, 0, 0);
    if (grid->GetPrintColours()) {
        const CGridCellBase* defaults = GetDefaultCell();
        if (defaults == nullptr)
            return FALSE;
        COLORREF back = GetBackColour();
        if (IsFixed())
            back = back == CLR_DEFAULT ? defaults->GetBackColour() : back;
        else if (back == defaults->GetBackColour())
            back = CLR_DEFAULT;
        text = GetTextColour() == CLR_DEFAULT ? defaults->GetTextColour() : GetTextColour();
        if (dc->GetDeviceCaps(NUMCOLORS) == 2 && back == CLR_DEFAULT) {
            text = GreyOf(text);
        } else if (back != CLR_DEFAULT) {
            CRect fill(rect.left, rect.top, rect.right + 1, rect.bottom + 1);
            FillWithColour(dc, fill, back);
        }
    }
    dc->SetTextColor(text);
    if (CFont* font = GetFontObject())
        dc->SelectObject(font);
    if (grid->GetGridLines() != GRIDLINES_NONE && IsFixed())
        DrawRaisedCellBorder(dc, rect, ::GetSysColor(COLOR_BTNHIGHLIGHT), ::GetSysColor(COLOR_3DDKSHADOW));
    const int margin = static_cast<int>(GetMargin());
    rect.DeflateRect(margin, 0);
    int width = 0;
    int height = 0;
    if (ImageSize(width, height)) {
        grid->GetImageList()->Draw(dc, GetImage(), rect.TopLeft(), ILD_NORMAL);
        rect.left += width + margin;
    }
    dc->DrawText(GetText(), -1, rect, GetFormat() | DT_NOPREFIX);
    return TRUE;
}

}  // namespace ZELL::Grid
