#include "Platform/Ui/PopupMenuLayout.h"

#include "Platform/Gdi/DeviceContext.h"
#include "Platform/Gdi/Text.h"
#include "Platform/Ui/MenuMeasure.h"

#include <algorithm>
#include <cwctype>
#include <utility>

namespace Ui {

namespace {

constexpr int kSeparatorHeight = 8;
constexpr int kShortcutGap = 16;
constexpr int kLabelRightPad = 8;

thread_local HMENU g_measuredMenu = nullptr;

// Names the menu for the owner while its items are measured; a menu laid
// out from inside the owner's answer restores the outer one afterwards.
class CMeasuredMenuScope {
public:
    explicit CMeasuredMenuScope(HMENU menu) : m_previous(std::exchange(g_measuredMenu, menu)) {}
    ~CMeasuredMenuScope() { g_measuredMenu = m_previous; }
    CMeasuredMenuScope(const CMeasuredMenuScope&) = delete;
    CMeasuredMenuScope& operator=(const CMeasuredMenuScope&) = delete;

private:
    HMENU m_previous;
};

// Splits "&Open\tCtrl+O" into the label and the shortcut.
void SplitAtTab(const std::wstring& text, std::wstring& label, std::wstring& shortcut)
{
    const std::size_t tab = text.find(L'\t');
    label = text.substr(0, tab);
    shortcut = tab == std::wstring::npos ? std::wstring() : text.substr(tab + 1);
}

std::vector<MenuItemBox> ReadItems(HMENU menu, bool& found)
{
    auto& store = CMenuStore::Get();
    std::lock_guard lock(store.Mutex());
    std::vector<MenuItemBox> items;
    auto object = store.Find(menu);
    found = object != nullptr;
    if (!found)
        return items;
    for (const MenuEntry& entry : object->items) {
        MenuItemBox box;
        box.entry = entry;
        SplitAtTab(entry.text, box.label, box.shortcut);
        items.push_back(std::move(box));
    }
    return items;
}

}  // namespace

UINT MenuItemBox::ItemId() const
{
    // A pop-up item is named by its menu's handle, cut to the item id's width.
    return entry.subMenu ? static_cast<UINT>(reinterpret_cast<std::uintptr_t>(entry.subMenu)) : entry.id;
}

wchar_t MnemonicOf(const std::wstring& label)
{
    for (std::size_t i = 0; i + 1 < label.size(); ++i) {
        if (label[i] != L'&')
            continue;
        if (label[i + 1] != L'&')
            return label[i + 1];
        ++i;  // "&&" is a plain ampersand
    }
    return 0;
}

HMENU MenuBeingMeasured()
{
    return g_measuredMenu;
}

HFONT CreateMenuFont()
{
    NONCLIENTMETRICSW metrics;
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
    return CreateFontIndirectW(&metrics.lfMenuFont);
}

CPopupMenuLayout::~CPopupMenuLayout()
{
    if (m_font != nullptr)
        DeleteObject(m_font);
}

bool CPopupMenuLayout::Build(HMENU menu, HWND owner)
{
    bool found = false;
    m_items = ReadItems(menu, found);
    if (!found)
        return false;
    if (m_font == nullptr)
        m_font = CreateMenuFont();
    HDC dc = CreateCompatibleDC(nullptr);
    const HGDIOBJ oldFont = SelectObject(dc, m_font);
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    const int check = GetSystemMetrics(SM_CXMENUCHECK);
    const int textHeight = std::max<int>(metrics.tmHeight + 6, GetSystemMetrics(SM_CYMENUCHECK) + 6);
    m_textLeft = kBorder + check + 6;
    m_arrowWidth = check + 3;
    int labelWidth = 0;
    int shortcutWidth = 0;
    int ownerDrawnWidth = 0;
    std::vector<int> heights;
    const CMeasuredMenuScope measured(menu);
    for (const MenuItemBox& item : m_items) {
        if (item.IsOwnerDrawn()) {
            const SIZE size = MeasureOwnerDrawn(owner, item);
            // The owner measures what it draws; the check column comes on top, as the platform adds it.
            ownerDrawnWidth = std::max<int>(ownerDrawnWidth, size.cx + check - 1);
            heights.push_back(size.cy);
        } else if (item.IsSeparator()) {
            heights.push_back(kSeparatorHeight);
        } else {
            labelWidth = std::max<int>(labelWidth, MeasureText(dc, item.label).cx);
            shortcutWidth = std::max<int>(shortcutWidth, MeasureText(dc, item.shortcut).cx);
            heights.push_back(textHeight);
        }
    }
    SelectObject(dc, oldFont);
    DeleteDC(dc);
    const int textWidth = labelWidth + kLabelRightPad + (shortcutWidth > 0 ? kShortcutGap + shortcutWidth : 0);
    const int inner = std::max({m_textLeft - kBorder + textWidth + m_arrowWidth, ownerDrawnWidth, 40});
    int y = kBorder;
    for (std::size_t i = 0; i < m_items.size(); ++i) {
        m_items[i].rect = {kBorder, y, kBorder + inner, y + heights[i]};
        y += heights[i];
    }
    m_size = {inner + 2 * kBorder, std::max(y, kBorder + 4) + kBorder};
    return true;
}

SIZE CPopupMenuLayout::MeasureText(HDC dc, const std::wstring& text) const
{
    if (text.empty())
        return {0, 0};
    RECT r{0, 0, 0, 0};
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, DT_SINGLELINE | DT_CALCRECT);
    return {r.right - r.left, r.bottom - r.top};
}

SIZE CPopupMenuLayout::MeasureOwnerDrawn(HWND owner, const MenuItemBox& item) const
{
    MEASUREITEMSTRUCT measure;
    measure.CtlType = ODT_MENU;
    measure.itemID = item.ItemId();
    measure.itemData = item.entry.data;
    measure.itemHeight = static_cast<UINT>(GetSystemMetrics(SM_CYMENU));
    if (owner != nullptr)
        SendMessageW(owner, WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&measure));
    // Sizes beyond any screen are the owner's mistake, not a reason to fail.
    return {static_cast<LONG>(std::min<UINT>(measure.itemWidth, 4000)), static_cast<LONG>(std::min<UINT>(measure.itemHeight, 1000))};
}

int CPopupMenuLayout::ItemAt(POINT client) const
{
    for (std::size_t i = 0; i < m_items.size(); ++i) {
        const RECT& r = m_items[i].rect;
        if (client.x >= r.left && client.x < r.right && client.y >= r.top && client.y < r.bottom)
            return static_cast<int>(i);
    }
    return -1;
}

int CPopupMenuLayout::NextSelectable(int from, int step) const
{
    const int count = static_cast<int>(m_items.size());
    if (count == 0)
        return -1;
    int index = from < 0 ? (step > 0 ? -1 : count) : from;
    for (int tries = 0; tries < count; ++tries) {
        index = ((index + step) % count + count) % count;
        if (!m_items[static_cast<std::size_t>(index)].IsSeparator())
            return index;
    }
    return -1;
}

std::vector<int> CPopupMenuLayout::MnemonicMatches(wchar_t c) const
{
    std::vector<int> matches;
    const wint_t wanted = std::towlower(static_cast<wint_t>(c));
    for (std::size_t i = 0; i < m_items.size(); ++i) {
        const wchar_t mnemonic = MnemonicOf(m_items[i].label);
        if (mnemonic != 0 && !m_items[i].IsOwnerDrawn() && std::towlower(static_cast<wint_t>(mnemonic)) == wanted)
            matches.push_back(static_cast<int>(i));
    }
    return matches;
}

}
