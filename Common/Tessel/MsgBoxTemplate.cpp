#include "Common/Tessel/MsgBoxTemplate.h"

#include "Common/Tessel/TesselResourceIds.h"
#include "Platform/Controls/MessageBox.h"
#include "Platform/Gdi/Gdi.h"
#include "Platform/Gdi/Icon.h"
#include "Platform/Ui/ResourceImage.h"
#include "Platform/Ui/ResourceModule.h"

#include <algorithm>

namespace Tessel {

namespace {

constexpr DWORD kDialogStyle = WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | DS_CENTER | DS_MODALFRAME;
constexpr int kButtonGap = 6;
constexpr int kMinimumHeight = 70;

using Kind = CMsgBoxItem::Kind;

int IconOfKind(UINT kind)
{
    switch (kind) {
    case MB_ICONERROR: return IDI_ZELL_ERROR;
    case MB_ICONQUESTION: return IDI_ZELL_QUESTION;
    case MB_ICONINFORMATION: return IDI_ZELL_INFORMATION;
    case 0x50: return IDI_ZELL_STOP;
    default: return IDI_ZELL_WARNING;
    }
}

// Which of the set's buttons (counted from 1) is the default.
int DefaultButtonNumber(UINT type, std::size_t buttonCount)
{
    const UINT number = ((type & MB_DEFMASK) >> 8) + 1;
    return number > 6 || number > buttonCount ? 1 : static_cast<int>(number);
}

class CScreenMeasure {
public:
    explicit CScreenMeasure(HFONT font) : m_dc(GetDC(nullptr)), m_old(SelectObject(m_dc, font)) {}
    ~CScreenMeasure()
    {
        SelectObject(m_dc, m_old);
        ReleaseDC(nullptr, m_dc);
    }
    CScreenMeasure(const CScreenMeasure&) = delete;
    CScreenMeasure& operator=(const CScreenMeasure&) = delete;
    HDC Dc() const { return m_dc; }

private:
    HDC m_dc = nullptr;
    HGDIOBJ m_old = nullptr;
};

SIZE Extent(HDC dc, const CString& text)
{
    SIZE size{};
    GetTextExtentPoint32W(dc, text.GetString(), text.GetLength(), &size);
    return size;
}

}

CMsgBoxTemplate::CMsgBoxTemplate(const MsgBoxRequest& request)
    : m_type(WithDefaultIcon(request.type)), m_text(request.text), m_caption(request.caption),
      m_captions(CMsgBoxCaptions::Load()), m_whiteBrush(CreateSolidBrush(RGB(255, 255, 255))),
      m_checkBoxFlag(CheckBoxFlag(request.type))
{
    CreateMessageFont();
    LoadBoxIcon(request.iconResId);
    Layout();
}

CMsgBoxTemplate::~CMsgBoxTemplate()
{
    if (m_icon != nullptr)
        DestroyIcon(m_icon);
    DeleteObject(m_font);
    DeleteObject(m_whiteBrush);
}

UINT CMsgBoxTemplate::WithDefaultIcon(UINT type)
{
    if ((type & MB_ICONMASK) != 0)
        return type;
    switch (type & MB_TYPEMASK) {
    case MB_OK: case MB_OKCANCEL: return type | MB_ICONWARNING;
    case MB_YESNOCANCEL: case MB_YESNO: return type | MB_ICONQUESTION;
    default: return type;
    }
}

void CMsgBoxTemplate::CreateMessageFont()
{
    NONCLIENTMETRICSW metrics;
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0);
    m_font = CreateFontIndirectW(&metrics.lfMessageFont);
}

void CMsgBoxTemplate::LoadBoxIcon(UINT iconResId)
{
    const HINSTANCE module = iconResId != 0 ? GetModuleHandleW(nullptr) : Ui::OwnModule();
    const int id = iconResId != 0 ? static_cast<int>(iconResId) : IconOfKind(m_type & MB_ICONMASK);
    m_iconSize = {GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON)};
    m_icon = reinterpret_cast<HICON>(LoadImageW(module, MAKEINTRESOURCEW(id), IMAGE_ICON, m_iconSize.cx, m_iconSize.cy, 0));
}

void CMsgBoxTemplate::Layout()
{
    const LONG units = GetDialogBaseUnits();
    m_metrics.baseX = std::max(1, static_cast<int>(LOWORD(units)));
    m_metrics.baseY = std::max(1, static_cast<int>(HIWORD(units)));
    m_metrics.buttonWidth = MulDiv(38, m_metrics.baseX, 4) + MulDiv(6, m_metrics.baseX, 4);
    m_metrics.buttonHeight = MulDiv(12, m_metrics.baseY, 8) + MulDiv(1, m_metrics.baseY, 8);
    m_metrics.checkBoxHeight = MulDiv(10, m_metrics.baseY, 8);
    const CScreenMeasure measure(m_font);
    MeasureSlots(measure.Dc());
    PlaceTextAndIcon(measure.Dc());
    PlaceButtons();
}

void CMsgBoxTemplate::MeasureSlots(HDC dc)
{
    m_slotWidths.clear();
    for (int slot = 0; slot < kSlotCount; ++slot)
        m_slotWidths.push_back(std::max<int>(m_metrics.buttonWidth, Extent(dc, m_captions[slot]).cx + 20));
}

SIZE CMsgBoxTemplate::MeasureText(HDC dc) const
{
    int limit = GetSystemMetrics(SM_CXSCREEN) / 2 - 10;
    if ((m_type & MB_ICONMASK) != 0)
        limit -= 16 + GetSystemMetrics(SM_CXICON);
    RECT r{0, 0, limit, limit};
    DrawTextW(dc, m_text.GetString(), m_text.GetLength(), &r, DT_CALCRECT | DT_NOPREFIX | DT_EXPANDTABS | DT_WORDBREAK);
    return SIZE{r.right - r.left, r.bottom - r.top};
}

void CMsgBoxTemplate::PlaceTextAndIcon(HDC dc)
{
    const SIZE measured = MeasureText(dc);
    m_textRect = RECT{16, 32, measured.cx + 28, measured.cy + 61};
    m_dialogSize = SIZE{m_textRect.right - m_textRect.left + 32,
                        std::max<LONG>(m_textRect.bottom - m_textRect.top + 16, kMinimumHeight)};
    LONG contentBottom = m_textRect.bottom;
    if (m_icon != nullptr) {
        OffsetRect(&m_textRect, m_iconSize.cx + 24, 0);
        m_dialogSize.cx = m_textRect.right + 8 + 16;
        const RECT iconRect{24, 24, 24 + m_iconSize.cx + 2, 24 + m_iconSize.cy + 2};
        m_items.emplace_back(Kind::Static, kIconId, iconRect, CString());
        // Several lines start level with the icon.
        if (measured.cy > Extent(dc, L"My").cy)
            OffsetRect(&m_textRect, 0, 24 - m_textRect.top);
        contentBottom = std::max(m_textRect.bottom, iconRect.bottom);
    }
    m_items.emplace_back(Kind::Static, kMessageTextId, m_textRect, m_text);
    m_rowTop = contentBottom + 5 + 9;
}

void CMsgBoxTemplate::PlaceButtons()
{
    std::vector<MsgBoxButton> buttons = ButtonsOfType(m_type);
    const int defaultNumber = DefaultButtonNumber(m_type, buttons.size());
    m_defaultId = buttons[static_cast<std::size_t>(defaultNumber - 1)].id;
    if (m_type & MB_HELP)
        buttons.push_back({kSlotHelp, kHelpButtonId});
    int rowWidth = -kButtonGap;
    for (const MsgBoxButton& button : buttons)
        rowWidth += m_slotWidths[static_cast<std::size_t>(button.slot)] + kButtonGap;
    m_dialogSize.cx = std::max<LONG>(m_dialogSize.cx, rowWidth + 32);
    if (m_checkBoxFlag != 0) {
        const int checkWidth = m_slotWidths[static_cast<std::size_t>(CheckBoxSlot(m_checkBoxFlag))] +
                               m_metrics.checkBoxHeight;
        m_dialogSize.cx = std::max<LONG>(m_dialogSize.cx, checkWidth + 17);
    }
    int x = m_dialogSize.cx - rowWidth - 16;
    int number = 0;
    for (const MsgBoxButton& button : buttons) {
        const int width = m_slotWidths[static_cast<std::size_t>(button.slot)];
        const Kind kind = ++number == defaultNumber ? Kind::DefaultPushButton : Kind::PushButton;
        m_items.emplace_back(kind, button.id, RECT{x, m_rowTop, x + width, m_rowTop + m_metrics.buttonHeight},
                             m_captions[button.slot]);
        x += width + kButtonGap;
    }
    const int rowBottom = m_rowTop + m_metrics.buttonHeight;
    if (m_checkBoxFlag != 0)
        PlaceCheckBox(rowBottom + 12);
    else
        m_dialogSize.cy = rowBottom + 12;
}

void CMsgBoxTemplate::PlaceCheckBox(int top)
{
    const int slot = CheckBoxSlot(m_checkBoxFlag);
    const int width = m_slotWidths[static_cast<std::size_t>(slot)] + m_metrics.checkBoxHeight;
    const RECT box{17, top, 17 + width, top + m_metrics.checkBoxHeight};
    m_items.emplace_back(Kind::CheckBox, kCheckBoxId, box, m_captions[slot]);
    m_dialogSize.cy = box.bottom + 8;
}

std::vector<BYTE> CMsgBoxTemplate::Image() const
{
    std::vector<BYTE> image;
    DLGTEMPLATE header;
    header.style = kDialogStyle | ((m_type & MB_SYSTEMMODAL) ? DS_SYSMODAL : 0);
    header.cdit = static_cast<WORD>(m_items.size());
    header.cx = static_cast<short>(m_dialogSize.cx * 4 / m_metrics.baseX);
    header.cy = static_cast<short>(m_dialogSize.cy * 8 / m_metrics.baseY);
    AppendBytes(image, &header, sizeof header);
    AppendWord(image, 0);  // no menu
    AppendWord(image, 0);  // the dialog class
    AppendText(image, m_caption);
    for (const CMsgBoxItem& item : m_items)
        item.AppendTo(image, m_metrics.baseX, m_metrics.baseY);
    return image;
}

}
