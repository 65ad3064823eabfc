#include "Platform/Controls/MessageBoxIcon.h"

#include "Platform/Controls/MessageBox.h"
#include "Platform/Gdi/Gdi.h"

namespace ZELL::Controls {

namespace {

// A pen and a brush selected for the life of the object.
class CShapeTools {
public:
    CShapeTools(HDC dc, COLORREF edge, COLORREF fill, int width = 1)
        : m_dc(dc), m_pen(CreatePen(PS_SOLID, width, edge)), m_brush(CreateSolidBrush(fill))
    {
        m_oldPen = SelectObject(dc, m_pen);
        m_oldBrush = SelectObject(dc, m_brush);
    }
    ~CShapeTools()
    {
        SelectObject(m_dc, m_oldPen);
        SelectObject(m_dc, m_oldBrush);
        DeleteObject(m_pen);
        DeleteObject(m_brush);
    }
    CShapeTools(const CShapeTools&) = delete;
    CShapeTools& operator=(const CShapeTools&) = delete;

private:
    HDC m_dc = nullptr;
    HPEN m_pen = nullptr;
    HBRUSH m_brush = nullptr;
    HGDIOBJ m_oldPen = nullptr;
    HGDIOBJ m_oldBrush = nullptr;
};

// A bold glyph centred in the rectangle.
void Glyph(HDC dc, const RECT& box, const wchar_t* text, int height, COLORREF color)
{
    HFONT font = CreateFontW(-height, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0, 0, 0, 0,
                             L"DejaVu Serif");
    const HGDIOBJ old = SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, color);
    RECT r = box;
    DrawTextW(dc, text, -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    SelectObject(dc, old);
    DeleteObject(font);
}

void Disc(HDC dc, int x, int y, COLORREF edge, COLORREF fill)
{
    CShapeTools tools(dc, edge, fill);
    Ellipse(dc, x + 1, y + 1, x + kMessageBoxIconSize - 1, y + kMessageBoxIconSize - 1);
}

void ErrorIcon(HDC dc, int x, int y)
{
    Disc(dc, x, y, RGB(128, 0, 0), RGB(255, 0, 0));
    CShapeTools cross(dc, RGB(255, 255, 255), RGB(255, 255, 255), 3);
    MoveToEx(dc, x + 10, y + 10, nullptr);
    LineTo(dc, x + 22, y + 22);
    MoveToEx(dc, x + 22, y + 10, nullptr);
    LineTo(dc, x + 10, y + 22);
}

void QuestionIcon(HDC dc, int x, int y)
{
    Disc(dc, x, y, RGB(0, 0, 128), RGB(255, 255, 255));
    Glyph(dc, RECT{x, y + 1, x + kMessageBoxIconSize, y + kMessageBoxIconSize}, L"?", 22, RGB(0, 0, 255));
}

void WarningIcon(HDC dc, int x, int y)
{
    {
        CShapeTools tools(dc, RGB(0, 0, 0), RGB(255, 255, 0));
        const POINT corners[] = {{x + 16, y + 1}, {x + 31, y + 29}, {x + 1, y + 29}};
        Polygon(dc, corners, 3);
    }
    CShapeTools mark(dc, RGB(0, 0, 0), RGB(0, 0, 0));
    const POINT stroke[] = {{x + 14, y + 9}, {x + 18, y + 9}, {x + 17, y + 20}, {x + 15, y + 20}};
    Polygon(dc, stroke, 4);
    Rectangle(dc, x + 15, y + 23, x + 18, y + 26);
}

void InformationIcon(HDC dc, int x, int y)
{
    Disc(dc, x, y, RGB(0, 0, 128), RGB(255, 255, 255));
    Glyph(dc, RECT{x, y + 1, x + kMessageBoxIconSize, y + kMessageBoxIconSize}, L"i", 22, RGB(0, 0, 255));
}

}

bool DrawMessageBoxIcon(HDC dc, int x, int y, UINT type)
{
    switch (type & MB_ICONMASK) {
    case MB_ICONHAND: ErrorIcon(dc, x, y); return true;
    case MB_ICONQUESTION: QuestionIcon(dc, x, y); return true;
    case MB_ICONEXCLAMATION: WarningIcon(dc, x, y); return true;
    case MB_ICONASTERISK: InformationIcon(dc, x, y); return true;
    default: return false;
    }
}

}
