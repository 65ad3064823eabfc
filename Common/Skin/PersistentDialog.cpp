#include "Common/Skin/PersistentDialog.h"

#include "Common/Skin/Support/Monitors.h"

#include <cerrno>
#include <cwchar>
#include <limits>

namespace ZELL::Skin {

namespace {

constexpr LPCWSTR kRectEntry = L"Rect";
constexpr LPCWSTR kIconEntry = L"icon";
constexpr LPCWSTR kMaxEntry = L"max";

// One decimal number at `position`, after blanks; moves past it. False for
// anything else, also for a number beyond 32 bits.
bool ReadNumber(const wchar_t*& position, LONG& value)
{
    while (*position == L' ' || *position == L'\t')
        ++position;
    wchar_t* end = nullptr;
    errno = 0;
    const long long number = std::wcstoll(position, &end, 10);
    if (end == position || errno != 0 || number < std::numeric_limits<int>::min() ||
        number > std::numeric_limits<int>::max())
        return false;
    value = static_cast<LONG>(number);
    position = end;
    return true;
}

}

BEGIN_MESSAGE_MAP(CPersistentDialog, CDialog)
    ON_WM_SIZE()
    ON_WM_DESTROY()
END_MESSAGE_MAP()

CPersistentDialog::CPersistentDialog(UINT templateId, CWnd* parent) : CDialog(templateId, parent) {}

CPersistentDialog::~CPersistentDialog()
{
    m_font.DeleteObject();
}

BOOL CPersistentDialog::OnInitDialog()
{
    CDialog::OnInitDialog();
    RestorePlacement();
    m_noSave = FALSE;
    return TRUE;
}

CString CPersistentDialog::FormatPlacement(const RECT& rect)
{
    CString text;
    text.Format(L"%04d %04d %04d %04d", static_cast<int>(rect.left), static_cast<int>(rect.top),
                static_cast<int>(rect.right), static_cast<int>(rect.bottom));
    return text;
}

bool CPersistentDialog::ParsePlacement(const CString& text, RECT& rect)
{
    const wchar_t* position = text.GetString();
    RECT read{};
    if (!ReadNumber(position, read.left) || !ReadNumber(position, read.top) || !ReadNumber(position, read.right) ||
        !ReadNumber(position, read.bottom))
        return false;
    rect = read;
    return true;
}

bool CPersistentDialog::IsOnSomeMonitor(const RECT& rect)
{
    CMonitors monitors;
    for (int i = 0; i < CMonitors::GetCount(); ++i) {
        RECT area{};
        monitors.GetMonitor(i).GetMonitorRect(&area);
        if (rect.left <= area.right - kVisibleMargin && rect.right >= area.left + kVisibleMargin &&
            rect.top <= area.bottom - kVisibleMargin && rect.bottom >= area.top + kVisibleMargin)
            return true;
    }
    return false;
}

void CPersistentDialog::RestorePlacement()
{
    CWinApp* app = GetApp();
    const CString stored = app != nullptr ? app->GetProfileString(kSection, kRectEntry, L"") : CString();
    RECT place{};
    const bool readable = ParsePlacement(stored, place);
    const bool allZero = place.left == 0 && place.top == 0 && place.right == 0 && place.bottom == 0;
    // The window keeps the size its template gives it; only its place comes back.
    RECT current{};
    GetWindowRect(&current);
    const RECT moved{place.left, place.top, place.left + (current.right - current.left),
                     place.top + (current.bottom - current.top)};
    if (!readable || allZero || !IsOnSomeMonitor(moved)) {
        CenterWindow();
        return;
    }
    // A place remembered from another screen or scale may leave part of the
    // window off the screen (its status line below the task bar): it is moved
    // until the whole window shows on the monitor it is mostly on.
    RECT shown = moved;
    CMonitors::GetNearestMonitor(&moved).ClipRectToMonitor(&shown, TRUE);
    MoveWindow(shown.left, shown.top, shown.right - shown.left, shown.bottom - shown.top, TRUE);
}

void CPersistentDialog::SavePlacement()
{
    CWinApp* app = GetApp();
    WINDOWPLACEMENT placement{};
    placement.length = sizeof(WINDOWPLACEMENT);
    if (app == nullptr || !::GetWindowPlacement(m_hWnd, &placement))
        return;
    const bool minimised = placement.showCmd == SW_SHOWMINIMIZED;
    const bool maximised = placement.showCmd == SW_SHOWMAXIMIZED;
    app->WriteProfileString(kSection, kRectEntry, FormatPlacement(placement.rcNormalPosition).GetString());
    app->WriteProfileInt(kSection, kIconEntry, minimised ? 1 : 0);
    app->WriteProfileInt(kSection, kMaxEntry, maximised || (minimised && placement.flags != 0) ? 1 : 0);
}

void CPersistentDialog::OnSize(UINT type, int cx, int cy)
{
    CDialog::OnSize(type, cx, cy);
    if (!m_noSave)
        SavePlacement();
}

void CPersistentDialog::OnDestroy()
{
    if (!m_noSave)
        SavePlacement();
    CDialog::OnDestroy();
}

}  // namespace ZELL::Skin
