#include "Common/Grid/GridURLCell.h"

#include "Common/Grid/ZellGrid.h"
#include "Platform/Shell/ShellExecute.h"

#include <algorithm>

namespace ZELL::Grid {

IMPLEMENT_DYNCREATE(CGridURLCell, CGridCell)

namespace {

constexpr LPCWSTR kPrefixes[] = {L"www.",   L"http:", L"mailto:", L"ftp:", L"https:", L"news:",
                                 L"gopher:", L"telnet:", L"url:",  L"file:", L"ftp."};

// The space-separated word of `text` that holds character `index`.
CString WordAt(const CString& text, int index)
{
    const int end = text.Find(L' ', index);
    const CString head = end >= 0 ? text.Left(end) : text;
    return head.Mid(head.ReverseFind(L' ') + 1);
}

}

bool CGridURLCell::HasUrl(const CString& text)
{
    for (LPCWSTR prefix : kPrefixes)
        if (text.Find(prefix) >= 0)
            return true;
    return false;
}

BOOL CGridURLCell::Draw(CDC* dc, int row, int col, CRect rect, BOOL eraseBackground)
{
    if (HasUrl(m_text))
        SetTextColour(m_linkColour);
    m_lastRect = rect;
    return CGridCell::Draw(dc, row, col, rect, eraseBackground);
}

int CGridURLCell::OffsetInText(int x, int width) const
{
    const DWORD format = GetFormat();
    const CRect& r = m_lastRect;
    if ((format & DT_RIGHT) != 0) {
        const int offset = x - (r.right - width);
        return offset >= 1 ? offset : -1;
    }
    if ((format & DT_CENTER) != 0) {
        const int offset = x - (r.left + (r.right - width - r.left) / 2);
        return offset >= 1 && offset <= width ? offset : -1;
    }
    return x <= r.left + width ? x - r.left : -1;
}

CString CGridURLCell::LinkAt(CPoint point)
{
    const int length = m_text.GetLength();
    if (length == 0 || m_grid == nullptr)
        return {};
    const int width = GetTextExtent(m_text).cx;
    // No width to divide among the characters: nothing can be under the point.
    if (width <= 0)
        return {};
    const int offset = OffsetInText(m_lastRect.left + point.x, width);
    if (offset < 0)
        return {};
    const int index = static_cast<int>(offset / (static_cast<double>(width) / length));
    const CString word = WordAt(m_text, std::min(index, length));
    return HasUrl(word) ? word : CString();
}

void CGridURLCell::OnClick(CPoint point)
{
    if (!m_autoLaunch)
        return;
    const CString link = LinkAt(point);
    if (!link.IsEmpty())
        OpenLink(link);
}

void CGridURLCell::OpenLink(const CString& link)
{
    ::ShellExecuteW(m_grid != nullptr ? m_grid->GetSafeHwnd() : nullptr, L"open", link, nullptr, nullptr, SW_SHOW);
}

BOOL CGridURLCell::OnSetCursor()
{
    if (m_grid != nullptr) {
        CPoint point;
        ::GetCursorPos(&point);
        m_grid->ScreenToClient(&point);
        if (!LinkAt(CPoint(point.x - m_lastRect.left, point.y - m_lastRect.top)).IsEmpty()) {
            ::SetCursor(::LoadCursorW(nullptr, IDC_HAND));
            return TRUE;
        }
        // Off the link word the hand must go, even though it is showing.
        ::SetCursor(::LoadCursorW(nullptr, IDC_ARROW));
        return TRUE;
    }
    return CGridCell::OnSetCursor();
}

}  // namespace ZELL::Grid
