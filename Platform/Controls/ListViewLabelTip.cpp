#include "Platform/Controls/ListViewLabelTip.h"

#include "Platform/Controls/CommCtrl.h"

#include <utility>

namespace ZELL::Controls {

namespace {

constexpr UINT_PTR kToolId = 1;

TTTOOLINFOW ToolOf(HWND owner)
{
    TTTOOLINFOW info;
    info.hwnd = owner;
    info.uId = kToolId;
    return info;
}

}

CListViewLabelTip::~CListViewLabelTip()
{
    Destroy();
}

void CListViewLabelTip::Destroy()
{
    if (HWND tip = std::exchange(m_tip, nullptr); tip != nullptr && IsWindow(tip))
        DestroyWindow(tip);
    m_cell = RECT{};
    m_text.clear();
}

bool CListViewLabelTip::Create(HWND owner)
{
    m_tip = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, 0, 0, 0, 0,
                            owner, nullptr, nullptr, nullptr);
    if (m_tip == nullptr)
        return false;
    TTTOOLINFOW info = ToolOf(owner);
    info.lpszText = const_cast<LPWSTR>(L"");
    SendMessageW(m_tip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
    return true;
}

// A new cell hides the tip of the previous one; the tool's area is the cell
// only while its text is cut, so a fitting label shows nothing.
void CListViewLabelTip::Track(HWND owner, const MSG& move, const RECT& cell, const std::wstring& text)
{
    if (m_tip == nullptr && (text.empty() || !Create(owner)))
        return;
    if (!EqualRect(&cell, &m_cell) || text != m_text) {
        SendMessageW(m_tip, TTM_POP, 0, 0);
        m_cell = cell;
        m_text = text;
        TTTOOLINFOW info = ToolOf(owner);
        info.rect = text.empty() ? RECT{} : cell;
        SendMessageW(m_tip, TTM_NEWTOOLRECTW, 0, reinterpret_cast<LPARAM>(&info));
        info.lpszText = m_text.data();
        SendMessageW(m_tip, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&info));
    }
    SendMessageW(m_tip, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&move));
}

}
