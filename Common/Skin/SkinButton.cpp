#include "Common/Skin/SkinButton.h"

#include "Common/Skin/Drawing/ZellMemDC.h"
#include "Platform/Framework/App/WinApp.h"

#include <algorithm>
#include <cmath>
#include <cwchar>

namespace ZELL::Skin {

LOGFONTW CSkinButton::s_globalFont{};
BOOL CSkinButton::s_globalFontGiven = FALSE;

namespace {

constexpr UINT kTypeMask = 0x0F;
constexpr UINT kCancelModeMessage = WM_CANCELMODE;

}

BEGIN_MESSAGE_MAP(CSkinButton, CButton)
    ON_WM_DRAWITEM_REFLECT()
    ON_CONTROL_REFLECT_EX(BN_CLICKED, OnClicked)
    ON_WM_ERASEBKGND()
    ON_WM_MOUSEMOVE()
    ON_WM_MOUSELEAVE()
    ON_WM_KILLFOCUS()
    ON_MESSAGE(kCancelModeMessage, OnCancelMode)
    ON_WM_ACTIVATE()
    ON_WM_ENABLE()
    ON_WM_TIMER()
    ON_WM_GETDLGCODE()
    ON_MESSAGE(BM_SETCHECK, OnSetCheck)
    ON_MESSAGE(BM_GETCHECK, OnGetCheck)
    ON_MESSAGE(BM_SETSTYLE, OnSetStyle)
    ON_WM_SETCURSOR()
    ON_WM_SYSCOLORCHANGE()
    ON_WM_CTLCOLOR_REFLECT()
    ON_WM_MEASUREITEM()
    ON_WM_DRAWITEM()
    ON_WM_MENUCHAR()
END_MESSAGE_MAP()

CSkinButton::CSkinButton()
{
    SetDefaultColors(FALSE);
}

CSkinButton::~CSkinButton()
{
    StopAutoRepeat();
    ReleaseBackground();
    FreeImages(FALSE);
    if (m_cursor != nullptr)
        ::DestroyCursor(m_cursor);
}

// --- kinds ----------------------------------------------------------------------

// By the exact type: owner-drawn (0xB), push boxes and the group box are no
// check boxes, whatever single bits they share with one.
BOOL CSkinButton::IsCheckBoxType(UINT type)
{
    type &= kTypeMask;
    return type == BS_CHECKBOX || type == BS_AUTOCHECKBOX || type == BS_3STATE || type == BS_AUTO3STATE;
}

BOOL CSkinButton::IsRadioType(UINT type)
{
    type &= kTypeMask;
    return type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON;
}

void CSkinButton::PreSubclassWindow()
{
    UINT type = GetStyle() & kTypeMask;
    m_checkBox = IsCheckBoxType(type);
    m_radio = IsRadioType(type);
    if (m_checkBox || m_radio)
        m_textAlign = kAlignLeft;
    if (type == BS_DEFPUSHBUTTON) {
        m_default = TRUE;
        type = BS_PUSHBUTTON;
    }
    m_type = type;
    const DWORD style = GetStyle();
    if ((style & BS_CENTER) == BS_CENTER)
        m_textAlign = kAlignCenter;
    else if (style & BS_LEFT)
        m_textAlign = kAlignLeft;
    else if (style & BS_RIGHT)
        m_textAlign = kAlignRight;
    ModifyStyle(kTypeMask, BS_OWNERDRAW, SWP_FRAMECHANGED);
    ReadFont();
    CButton::PreSubclassWindow();
}

// The font of the program's main window, else of the parent, else the
// button's own, else the message font; the class-wide font wins over all.
void CSkinButton::ReadFont()
{
    HFONT font = nullptr;
    if (CWnd* main = AfxGetMainWnd(); main != nullptr && main->GetSafeHwnd() != nullptr)
        font = reinterpret_cast<HFONT>(main->SendMessage(WM_GETFONT));
    if (font == nullptr && ::GetParent(m_hWnd) != nullptr)
        font = reinterpret_cast<HFONT>(::SendMessageW(::GetParent(m_hWnd), WM_GETFONT, 0, 0));
    if (font == nullptr)
        font = reinterpret_cast<HFONT>(SendMessage(WM_GETFONT));
    if (font != nullptr && ::GetObjectW(font, sizeof m_logFont, &m_logFont) != 0) {
        // taken
    } else {
        NONCLIENTMETRICSW metrics;
        ::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0);
        m_logFont = metrics.lfMessageFont;
    }
    if (s_globalFontGiven)
        m_logFont = s_globalFont;
    MakeFont();
}

void CSkinButton::MakeFont()
{
    m_font.DeleteObject();
    m_font.CreateFontIndirect(&m_logFont);
}

void CSkinButton::SetGlobalFont(const LOGFONTW& font)
{
    s_globalFont = font;
    s_globalFontGiven = TRUE;
}

void CSkinButton::Repaint(BOOL repaint)
{
    if (repaint && m_hWnd != nullptr)
        Invalidate();
}

// --- drawing ---------------------------------------------------------------------

BOOL CSkinButton::OnEraseBkgnd(CDC*)
{
    m_readyToDraw = TRUE;
    return TRUE;
}

void CSkinButton::DrawItem(LPDRAWITEMSTRUCT item)
{
    if (!m_readyToDraw || item == nullptr)
        return;
    CDC* target = CDC::FromHandle(item->hDC);
    CRect itemRect(item->rcItem);
    CZellMemDC dc(target, &itemRect);
    if (m_checkBox || m_radio)
        m_pressed = (item->itemState & ODS_SELECTED) != 0 || m_checked;
    else
        m_pressed = (item->itemState & ODS_SELECTED) != 0 || (m_menuShown && m_menu.GetSafeHmenu() != nullptr);
    m_focused = (item->itemState & ODS_FOCUS) != 0;
    m_disabled = (item->itemState & ODS_DISABLED) != 0;
    UpdateAutoRepeat();

    dc.SetBkMode(TRANSPARENT);
    if (m_transparent)
        TakeBackground(&dc);
    else
        OnDrawBackground(&dc, &itemRect);
    OnDrawBorder(&dc, &itemRect);
    DrawPicture(&dc, itemRect);
    // A keyboard user must see where the focus is, on a flat button too.
    if (m_focused) {
        CRect focus(item->rcItem);
        focus.DeflateRect(3, 3);
        dc.DrawFocusRect(&focus);
    }
}

void CSkinButton::DrawPicture(CDC* dc, const CRect& itemRect)
{
    CRect caption = itemRect;
    CRect item = itemRect;
    item.left += m_leftOffset;
    CString title;
    GetWindowText(title);
    const BOOL hasTitle = !title.IsEmpty();
    if (m_icons[0].icon != nullptr) {
        DrawIcon(dc, hasTitle, &item, &caption, m_pressed, m_disabled);
    } else if (m_bitmaps[0].bitmap != nullptr) {
        dc->SetBkColor(RGB(255, 255, 255));
        DrawBitmap(dc, hasTitle, &item, &caption, m_pressed, m_disabled);
    }
    if (hasTitle && !(GetStyle() & BS_ICON))
        DrawText(dc, title, &item, &caption, m_pressed, m_disabled);
}

DWORD CSkinButton::OnDrawBackground(CDC* dc, RECT* rect)
{
    CRect area(*rect);
    if (!m_flat && (m_focused || m_default)) {
        CBrush black(RGB(0, 0, 0));
        dc->FrameRect(&area, &black);
        area.DeflateRect(1, 1);
    }
    COLORREF color = m_colors[kBackOut];
    if (m_hover || m_pressed)
        color = m_colors[kBackIn];
    else if (m_focused)
        color = m_colors[kBackFocus];
    dc->FillSolidRect(&area, color);
    return kOk;
}

DWORD CSkinButton::OnDrawBorder(CDC* dc, RECT* rect)
{
    const CRect r(*rect);
    if (m_pressed) {
        if (m_flat) {
            if (m_drawBorder)
                dc->Draw3dRect(&r, ::GetSysColor(COLOR_BTNSHADOW), ::GetSysColor(COLOR_BTNHILIGHT));
        } else {
            CBrush shadow(::GetSysColor(COLOR_BTNSHADOW));
            dc->FrameRect(&r, &shadow);
        }
        return kOk;
    }
    if (m_flat) {
        if (m_hover && m_drawBorder)
            dc->Draw3dRect(&r, ::GetSysColor(COLOR_BTNHILIGHT), ::GetSysColor(COLOR_BTNSHADOW));
        return kOk;
    }
    const auto line = [dc](int color, std::initializer_list<POINT> points) {
        CPen pen(PS_SOLID, 1, ::GetSysColor(color));
        CPen* old = dc->SelectObject(&pen);
        auto it = points.begin();
        dc->MoveTo(*it);
        for (++it; it != points.end(); ++it)
            dc->LineTo(*it);
        dc->SelectObject(old);
    };
    line(COLOR_BTNHILIGHT, {{r.left, r.bottom - 1}, {r.left, r.top}, {r.right, r.top}});
    line(COLOR_3DLIGHT, {{r.left + 1, r.bottom - 1}, {r.left + 1, r.top + 1}, {r.right, r.top + 1}});
    line(COLOR_3DDKSHADOW, {{r.left, r.bottom - 1}, {r.right - 1, r.bottom - 1}, {r.right - 1, r.top - 1}});
    line(COLOR_BTNSHADOW, {{r.left + 1, r.bottom - 2}, {r.right - 2, r.bottom - 2}, {r.right - 2, r.top}});
    return kOk;
}

void CSkinButton::PlaceImage(BOOL hasTitle, const RECT* item, RECT* caption, int width, int height, BOOL pressed,
                             RECT* image) const
{
    *image = *item;
    const int itemWidth = item->right - item->left;
    const int itemHeight = item->bottom - item->top;
    const auto centreX = [&] { image->left += (itemWidth - width) / 2; };
    const auto centreY = [&] { image->top += (itemHeight - height) / 2; };
    switch (m_iconAlign) {
    case kIconLeft:
        if (hasTitle) {
            image->left += m_marginX;
            caption->left += width + m_marginX;
        } else {
            centreX();
        }
        centreY();
        break;
    case kIconAbove:
        centreX();
        if (hasTitle) {
            image->top = m_marginY;
            caption->top += height;
        } else {
            centreY();
        }
        break;
    case kIconRight:
        if (hasTitle) {
            CRect client;
            GetClientRect(&client);
            caption->right -= m_marginX + caption->left + width;
            caption->left = m_marginX;
            image->left = client.Width() - m_marginX - width;
            centreY();
        } else {
            centreX();
        }
        break;
    default:
        break;
    }
    if (pressed && !(GetStyle() & BS_ICON)) {
        image->left += m_pressedOffsetX;
        image->top += m_pressedOffsetY;
    }
    image->right = image->left + width;
    image->bottom = image->top + height;
}

// The in image while pressed (and for plain buttons while hovered), else the
// out image when there is one.
int CSkinButton::ChosenImage() const
{
    const BOOL in = (m_checkBox || m_radio) ? m_pressed : (m_pressed || m_hover);
    if (in)
        return 0;
    const bool hasOut = m_icons[1].icon != nullptr || m_bitmaps[1].bitmap != nullptr;
    return hasOut ? 1 : 0;
}

void CSkinButton::DrawIcon(CDC* dc, BOOL hasTitle, RECT* item, RECT* caption, BOOL pressed, BOOL disabled)
{
    const IconEntry& entry = m_icons[ChosenImage()];
    RECT image{};
    PlaceImage(hasTitle, item, caption, entry.width, entry.height, pressed, &image);
    HICON icon = disabled && m_grayIcon != nullptr ? m_grayIcon : entry.icon;
    dc->DrawState(CPoint(image.left, image.top), CSize(entry.width, entry.height), icon, DSS_NORMAL,
                  static_cast<HBRUSH>(nullptr));
}

void CSkinButton::DrawBitmap(CDC* dc, BOOL hasTitle, RECT* item, RECT* caption, BOOL pressed, BOOL disabled)
{
    const BitmapEntry& entry = m_bitmaps[ChosenImage()];
    RECT image{};
    PlaceImage(hasTitle, item, caption, entry.width, entry.height, pressed, &image);
    CDC source;
    source.CreateCompatibleDC(dc);
    HGDIOBJ old = ::SelectObject(source, entry.mask);
    if (disabled && m_drawDisabledBitmap) {
        CDC work;
        work.CreateCompatibleDC(dc);
        CBitmap picture;
        picture.CreateCompatibleBitmap(dc, entry.width, entry.height);
        CBitmap* oldPicture = work.SelectObject(&picture);
        work.PatBlt(0, 0, entry.width, entry.height, WHITENESS);
        work.BitBlt(0, 0, entry.width, entry.height, &source, 0, 0, SRCAND);
        ::SelectObject(source, entry.bitmap);
        work.BitBlt(0, 0, entry.width, entry.height, &source, 0, 0, SRCPAINT);
        work.SelectObject(oldPicture);
        dc->DrawState(CPoint(image.left, image.top), CSize(entry.width, entry.height), &picture, DSS_DISABLED);
    } else {
        dc->BitBlt(image.left, image.top, entry.width, entry.height, &source, 0, 0, SRCAND);
        ::SelectObject(source, entry.bitmap);
        dc->BitBlt(image.left, image.top, entry.width, entry.height, &source, 0, 0, SRCPAINT);
    }
    ::SelectObject(source, old);
}

void CSkinButton::DrawText(CDC* dc, LPCWSTR text, RECT* item, RECT* caption, BOOL pressed, BOOL disabled)
{
    CFont* oldFont = m_fontGiven ? nullptr : dc->SelectObject(&m_font);
    CRect place(*caption);
    if (pressed)
        place.OffsetRect(m_pressedOffsetX, m_pressedOffsetY);
    CRect extent = place;
    dc->DrawText(text, -1, &extent, DT_CALCRECT | DT_WORDBREAK | DT_CENTER);
    switch (m_textAlign) {
    case kAlignLeft: extent.OffsetRect(place.left + m_marginX - extent.left, 0); break;
    case kAlignRight: extent.OffsetRect(place.right - extent.right - 4, 0); break;
    default: extent.OffsetRect((place.left - extent.left) + (place.Width() - extent.Width()) / 2, 0); break;
    }
    extent.OffsetRect(0, (place.top - extent.top) + (place.Height() - extent.Height()) / 2);
    if (disabled) {
        extent.OffsetRect(1, 1);
        dc->SetTextColor(::GetSysColor(COLOR_BTNHILIGHT));
        dc->DrawText(text, -1, &extent, DT_WORDBREAK | DT_CENTER);
        extent.OffsetRect(-1, -1);
        dc->SetTextColor(::GetSysColor(COLOR_BTNSHADOW));
        dc->DrawText(text, -1, &extent, DT_WORDBREAK | DT_CENTER);
    } else {
        int fore = kForeOut;
        int back = kBackOut;
        if (m_hover || pressed) {
            fore = kForeIn;
            back = kBackIn;
        } else if (m_focused) {
            fore = kForeFocus;
            back = kBackFocus;
        }
        dc->SetTextColor(m_colors[fore]);
        dc->SetBkColor(m_colors[back]);
        dc->DrawText(text, -1, &extent, DT_WORDBREAK | DT_CENTER);
    }
    if (oldFont != nullptr)
        dc->SelectObject(oldFont);
}

}  // namespace ZELL::Skin
