// Dialog units, measured from the dialog's own font.
#include "Platform/Base/LastError.h"
#include "Platform/Gdi/DeviceContext.h"
#include "Platform/Gdi/Text.h"
#include "Platform/Ui/DialogManager.h"

using namespace Ui;

namespace {

constexpr wchar_t kLatinLetters[] = L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";

HFONT MessageFont()
{
    NONCLIENTMETRICSW metrics;
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    return CreateFontIndirectW(&metrics.lfMessageFont);
}

}

SIZE Ui::MeasureBaseUnits(HFONT font)
{
    SIZE units{4, 8};
    HDC dc = CreateCompatibleDC(nullptr);
    if (dc == nullptr)
        return units;
    HGDIOBJ old = SelectObject(dc, font);
    SIZE extent{};
    TEXTMETRICW metrics{};
    if (GetTextExtentPoint32W(dc, kLatinLetters, 52, &extent) && GetTextMetricsW(dc, &metrics)) {
        // Rounded half of the average over both cases, as the platform has it.
        units.cx = (extent.cx / 26 + 1) / 2;
        units.cy = metrics.tmHeight;
    }
    SelectObject(dc, old);
    DeleteDC(dc);
    if (units.cx <= 0 || units.cy <= 0)
        return SIZE{4, 8};
    return units;
}

RECT Ui::DialogUnitsToPixels(const RECT& units, SIZE baseUnits)
{
    return {MulDiv(units.left, baseUnits.cx, 4), MulDiv(units.top, baseUnits.cy, 8),
            MulDiv(units.right, baseUnits.cx, 4), MulDiv(units.bottom, baseUnits.cy, 8)};
}

LONG GetDialogBaseUnits()
{
    static const SIZE units = [] {
        HFONT font = MessageFont();
        const SIZE measured = MeasureBaseUnits(font);
        DeleteObject(font);
        return measured;
    }();
    return MAKELONG(static_cast<WORD>(units.cx), static_cast<WORD>(units.cy));
}

BOOL MapDialogRect(HWND dialog, LPRECT rect)
{
    if (rect == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (!IsWindow(dialog)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    SIZE units{};
    if (auto state = DialogStateOf(dialog)) {
        units = state->baseUnits;
    } else {
        const LONG base = GetDialogBaseUnits();
        units = {LOWORD(static_cast<DWORD>(base)), HIWORD(static_cast<DWORD>(base))};
    }
    *rect = DialogUnitsToPixels(*rect, units);
    return TRUE;
}
