#include "Common/Skin/ZellTooltip.h"

#include "Platform/Framework/App/WinApp.h"
#include "Platform/Ui/Resource.h"

namespace ZELL::Skin {

namespace {

COLORREF g_colors[4] = {RGB(0xFF, 0xFF, 0xFF), 0xF6F2F2, 0xE0D4D4, 0};

constexpr COLORREF kBorder = 0xD0C0C0;
constexpr int kSoftBump = 13;
constexpr BYTE kGranularity = 5;
constexpr int kMarginX = 24;

std::wstring LoadText(UINT id)
{
    if (id == 0)
        return {};
    return ZellLoadString(AfxGetResourceHandle(), id).GetString();
}

} // namespace

CZellTooltip::CZellTooltip()
    : m_begin(g_colors[0]), m_middle(g_colors[1]), m_end(g_colors[2]), m_text(g_colors[3])
{
}

CZellTooltip::~CZellTooltip() = default;

void CZellTooltip::SetGlobalColors(COLORREF begin, COLORREF middle, COLORREF end, COLORREF text)
{
    const COLORREF values[4] = {begin, middle, end, text};
    for (int i = 0; i < 4; ++i) {
        if (values[i] != kKeepColor)
            g_colors[i] = values[i];
    }
}

COLORREF CZellTooltip::GlobalColor(int index)
{
    return index >= 0 && index < 4 ? g_colors[index] : 0;
}

BOOL CZellTooltip::Create(CWnd* dialog, BOOL balloon)
{
    m_tooltip.reset();
    auto tooltip = std::make_unique<CSuperTooltip>();
    if (!tooltip->Create(dialog, balloon))
        return FALSE;
    m_tooltip = std::move(tooltip);
    // Help tips (and every tool without colours of its own) use these, in
    // either form.
    m_tooltip->SetColors(m_begin, m_middle, m_end);
    if (!balloon)
        return TRUE;
    m_tooltip->Drawer().SetLineBreakMode(true);
    m_tooltip->SetEffect(kSoftBump, kGranularity);
    m_tooltip->SetBehaviour(CRichToolTip::MOVE_RESTARTS | CRichToolTip::ENTERABLE | CRichToolTip::NO_AUTO_HIDE);
    m_tooltip->SetGeometry(2, kMarginX);
    m_tooltip->SetBorder(kBorder, 1, 1);
    return TRUE;
}

CSuperTooltip::SuperToolInfo CZellTooltip::Record() const
{
    CSuperTooltip::SuperToolInfo record;
    record.colorBegin = m_begin;
    record.colorMiddle = m_middle;
    record.colorEnd = m_end;
    record.textColor = m_text;
    record.flags &= ~CRichToolTip::ENTERABLE;
    return record;
}

void CZellTooltip::AddTool(CWnd* dialog, int controlId, const std::wstring& body, const std::wstring& header,
                           const std::wstring& footer)
{
    if (!m_tooltip || !dialog)
        return;
    CSuperTooltip::SuperToolInfo record = Record();
    record.id = controlId;
    record.control = CWnd::FromHandle(::GetDlgItem(dialog->m_hWnd, controlId));
    record.body = body;
    record.header = header;
    record.footer = footer;
    m_tooltip->AddSuperTool(record);
}

void CZellTooltip::AddToolIds(CWnd* dialog, int controlId, UINT bodyId, UINT headerId, UINT footerId)
{
    AddTool(dialog, controlId, LoadText(bodyId), LoadText(headerId), LoadText(footerId));
}

void CZellTooltip::AddToolBar(HWND bar)
{
    if (m_tooltip)
        m_tooltip->AddToolBar(bar, Record());
}

BOOL CZellTooltip::RelayEvent(MSG* msg)
{
    return m_tooltip ? m_tooltip->RelayEvent(msg) : FALSE;
}

void CZellTooltip::Hide()
{
    if (m_tooltip)
        m_tooltip->HideTip();
}

void CZellTooltip::Destroy()
{
    if (m_tooltip && m_tooltip->GetSafeHwnd() != nullptr)
        m_tooltip->DestroyWindow();
    m_tooltip.reset();
}

void CZellTooltip::SetMaxWidth(int width)
{
    if (m_tooltip)
        m_tooltip->Drawer().SetMaxWidth(width);
}

// In the wrapper's text colour, on the wrapper's colours.
void CZellTooltip::ShowHelpTip(POINT screen, const std::wstring& text, HICON icon)
{
    if (!m_tooltip)
        return;
    m_tooltip->SetColors(m_begin, m_middle, m_end);
    m_tooltip->ShowHelpTip(screen, L"<font color=" + CSuperTooltip::ColorText(m_text) + L">" + text + L"</font>",
                           icon);
}

}  // namespace ZELL::Skin
