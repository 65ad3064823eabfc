#include "Common/Skin/SuperTooltip.h"

#include "Platform/Base/Format.h"
#include "Platform/Framework/App/WinApp.h"
#include "Platform/Ui/Resource.h"
#include "Platform/Ui/SystemMetrics.h"

#include <algorithm>

namespace ZELL::Skin {

namespace {

constexpr UINT kAutoPop = 60000;
constexpr UINT kFadeOut = 80;
constexpr int kSeparatorShade = 195;
constexpr int kBodyBitmapWidth = 100;

std::wstring Blanked(std::wstring text)
{
    std::replace(text.begin(), text.end(), L'\r', L' ');
    return text;
}

std::wstring Trimmed(const std::wstring& text)
{
    const std::size_t first = text.find_first_not_of(L' ');
    if (first == std::wstring::npos)
        return {};
    return text.substr(first, text.find_last_not_of(L' ') - first + 1);
}

} // namespace

std::wstring CSuperTooltip::ColorText(COLORREF color)
{
    wchar_t text[8] = {};
    swprintf(text, 8, L"#%02X%02X%02X", GetRValue(color), GetGValue(color), GetBValue(color));
    return text;
}

BOOL CSuperTooltip::Create(CWnd* parent, BOOL balloon)
{
    if (!CRichToolTip::Create(parent, balloon))
        return FALSE;
    SetStyleDefaults();
    return TRUE;
}

void CSuperTooltip::SetStyleDefaults()
{
    SetGeometry(2, 6);
    SetGeometry(3, 4);
    SetGeometry(0, 2);
    SetGeometry(1, 2);
    SetGeometry(4, 0);
    SetGeometry(5, 0);
    SetBorder(0x767676, 1, 1);
    SetShadow(5, 5, 20, true, 3, 3);
    SetNotify(true);
    SetColors(RGB(0xFF, 0, 0), RGB(0xFF, 0, 0), RGB(0xFF, 0, 0));
    Drawer().SetMaxWidth(kDefaultWidth);
    SetDelayTime(kDelayAutoPop, kAutoPop);
    SetDelayTime(kDelayFadeOut, SystemFadesTips() ? kFadeOut : 0);
}

bool CSuperTooltip::SystemFadesTips() const
{
    BOOL fade = FALSE;
    return SystemParametersInfoW(SPI_GETTOOLTIPFADE, 0, &fade, 0) && fade;
}

std::wstring CSuperTooltip::FontTag(COLORREF color)
{
    return L"<font color=" + ColorText(color) + L">";
}

// A rule a shade darker than the colour it separates.
std::wstring CSuperTooltip::RuleTag(COLORREF color)
{
    const COLORREF shade = RGB(MulDiv(GetRValue(color), kSeparatorShade, 255),
                               MulDiv(GetGValue(color), kSeparatorShade, 255),
                               MulDiv(GetBValue(color), kSeparatorShade, 255));
    return L"<br><hr color=" + ColorText(shade) + L">";
}

std::wstring CSuperTooltip::BodyLines(const SuperToolInfo& record)
{
    const std::wstring body = Blanked(record.body);
    const bool plain = record.header.empty() || record.bodyBitmap != 0;
    std::wstring lines;
    std::size_t start = 0;
    for (int index = 0; start <= body.size(); ++index) {
        const std::size_t end = std::min(body.find(L'\n', start), body.size());
        const std::wstring line = Trimmed(body.substr(start, end - start));
        start = end + 1;
        if (index > 0)
            lines += L"\r\n";
        if (line.empty())
            continue;
        if (plain) {
            if (index > 0)
                lines += L"\r\n";
            lines += line;
            continue;
        }
        const bool bold = index == 0 && record.headerSeparator;
        lines += bold ? L"<b>\r\n" + line + L"</b>" : L"<indent>\r\n" + line + L"</indent>";
    }
    return lines;
}

std::wstring CSuperTooltip::BuildMarkup(SuperToolInfo& record, ToolInfo& tool)
{
    // Only the width is set here: the look the owner chose after Create
    // (and that help tips use) stays.
    Drawer().SetMaxWidth(record.width != 0 ? record.width : kDefaultWidth);
    tool = ToolInfo{};
    if (!record.control || !::IsWindow(record.control->m_hWnd))
        return {};
    tool.anchorAtControl = true;
    tool.addRectLeft = record.addRectLeft;
    tool.id = record.id;
    if (record.body.empty())
        return {};
    tool.colorBegin = record.colorBegin;
    tool.colorMiddle = record.colorMiddle;
    tool.colorEnd = record.colorEnd;
    tool.direction = SIDE_BELOW + POSITION_START;
    tool.effect = 9;
    tool.granularity = 0;
    tool.mask = MASK_EFFECT | MASK_COLORS | MASK_DIRECTION | MASK_BEHAVIOUR;
    tool.key = record.key;
    tool.keyValue = record.keyValue;
    record.flags &= ~FOLLOW_POINTER;
    tool.behaviour = record.flags;

    const std::wstring header = Blanked(record.header);
    const std::wstring footer = Blanked(record.footer);
    std::wstring text = FontTag(record.textColor);
    if (!header.empty())
        text += L"<b>" + header + L"</b>" + (record.headerSeparator ? RuleTag(record.colorBegin) : L"\r\n");
    if (record.bodyBitmap != 0) {
        Drawer().SetMaxWidth(Drawer().GetMaxWidth() + kBodyBitmapWidth);
        text += L"<br><table><tr><td width=98><bmp idres=" + std::to_wstring(record.bodyBitmap) +
                L"></td><td width=190>";
    }
    text += BodyLines(record);
    text += L"</font>";
    if (record.bodyBitmap != 0)
        text += L"</td></tr></table>";
    if (!footer.empty()) {
        text += record.footerSeparator ? RuleTag(record.colorEnd) : L"\r\n";
        if (record.footerImageList != 0) {
            text += L"\r\n<table>\r\n<tr>\r\n<td width=20><ilst idres=" + std::to_wstring(record.footerImageList) +
                    L" mask cx=16 cy=16 width=100% height=100%></td><br>\r\n<td><b>" + FontTag(record.textColor) +
                    footer + L"</b></td></font></tr></table>";
        } else {
            text += L"\r\n<b>" + footer + L"</b>\r\n";
        }
    } else if (record.bodyBitmap != 0) {
        text += L"\r\n";
    }
    tool.text = text;
    return text;
}

void CSuperTooltip::AddSuperTool(SuperToolInfo& record)
{
    ToolInfo tool;
    BuildMarkup(record, tool);
    if (record.control)
        AddTool(record.control->m_hWnd, tool);
}

void CSuperTooltip::AddToolBar(HWND bar, const SuperToolInfo& record)
{
    m_barRecord = record;
    CRichToolTip::AddToolBar(bar);
}

bool CSuperTooltip::HitTestToolBar(POINT screen, HWND& window, ToolInfo& tool)
{
    int command = 0;
    RECT rect{};
    if (!ToolBarButtonAt(screen, window, command, rect))
        return false;
    SuperToolInfo record = m_barRecord;
    record.id = command;
    record.addRectLeft = true;
    record.control = CWnd::FromHandle(window);
    ParseResourceText(record);
    BuildMarkup(record, tool);
    tool.rect = rect;
    return true;
}

void CSuperTooltip::SplitResourceText(const std::wstring& text, SuperToolInfo& record)
{
    std::wstring prompt;
    std::wstring rest = text;
    const std::size_t first = text.find(L'\n');
    if (first == std::wstring::npos) {
        record.header = text;
        record.body.clear();
        record.footer.clear();
    } else {
        prompt = text.substr(0, first);
        rest = text.substr(first + 1);
        auto take = [&rest](bool last) {
            const std::size_t end = last ? std::wstring::npos : rest.find(L'\n');
            std::wstring part = rest.substr(0, end);
            rest = end == std::wstring::npos ? std::wstring() : rest.substr(end + 1);
            return part;
        };
        record.header = take(false);
        record.body = take(false);
        record.footer = take(true);
    }
    if (record.body.empty())
        record.body = prompt;
    if (record.body.empty())
        record.body = L"Body must not be empty!";
}

bool CSuperTooltip::ParseResourceText(SuperToolInfo& record) const
{
    const CString text = ZellLoadString(AfxGetResourceHandle(), static_cast<UINT>(record.id));
    SplitResourceText(text.GetString(), record);
    return !text.IsEmpty();
}

}  // namespace ZELL::Skin
