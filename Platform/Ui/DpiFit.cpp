#include "Platform/Ui/DpiFit.h"

#include "Platform/Gdi/DeviceContext.h"
#include "Platform/Gdi/Text.h"
#include "Platform/Gdi/ScreenDpi.h"
#include "Platform/Ui/DialogManager.h"
#include "Platform/Ui/Resource.h"
#include "Platform/Ui/WindowSystem.h"

#include <algorithm>
#include <cwchar>

using namespace Ui;

namespace {

constexpr int kBaseDpi = 96;
// The message font is nine points, twelve pixels at 96 dpi; a template that
// names the shell's face, or no font, is set in it.
constexpr int kMessageFontPixelsAt96 = 12;
constexpr WORD kMessageFontPoints = 0x7FFF;

bool Fits(SIZE size, SIZE area)
{
    return size.cx <= area.cx && size.cy <= area.cy;
}

HFONT TemplateFontAt(const CDialogTemplate& dialog, int dpi)
{
    LOGFONTW font{};
    font.lfWeight = FW_NORMAL;
    font.lfCharSet = DEFAULT_CHARSET;
    std::wcsncpy(font.lfFaceName, L"DejaVu Sans", LF_FACESIZE - 1);
    const bool own = dialog.HasFont() && dialog.pointSize != kMessageFontPoints;
    if (!own) {
        font.lfHeight = -MulDiv(kMessageFontPixelsAt96, dpi, kBaseDpi);
        return CreateFontIndirectW(&font);
    }
    font.lfHeight = -MulDiv(dialog.pointSize, dpi, 72);
    font.lfWeight = dialog.weight != 0 ? dialog.weight : FW_NORMAL;
    font.lfItalic = dialog.italic != 0 ? 1 : 0;
    const std::wstring& face = dialog.faceName;
    if (!face.empty() && face != L"MS Shell Dlg" && face != L"MS Shell Dlg 2") {
        std::wmemset(font.lfFaceName, 0, LF_FACESIZE);
        std::wcsncpy(font.lfFaceName, face.c_str(), LF_FACESIZE - 1);
    }
    return CreateFontIndirectW(&font);
}

}

int Ui::FittingDpi(int desktopDpi, SIZE workArea, const std::function<SIZE(int dpi)>& windowSizeAt)
{
    if (desktopDpi <= kBaseDpi || Fits(windowSizeAt(desktopDpi), workArea))
        return desktopDpi;
    for (auto step = std::rbegin(kDpiSteps); step != std::rend(kDpiSteps); ++step) {
        if (*step < desktopDpi && (*step == kBaseDpi || Fits(windowSizeAt(*step), workArea)))
            return *step;
    }
    return kBaseDpi;
}

SIZE Ui::DialogWindowSizeAt(const CDialogTemplate& dialog, int dpi, const Display::FrameExtents& frame)
{
    HFONT font = TemplateFontAt(dialog, dpi);
    const SIZE units = MeasureBaseUnits(font);
    DeleteObject(font);
    const RECT client = DialogUnitsToPixels(RECT{0, 0, dialog.cx, dialog.cy}, units);
    return {client.right - client.left + frame.left + frame.right, client.bottom - client.top + frame.top + frame.bottom};
}

SIZE Ui::DialogResourceSizeAt(HINSTANCE instance, LPCWSTR templateName, int dpi)
{
    HRSRC resource = FindResourceW(instance, templateName, RT_DIALOG);
    if (resource == nullptr)
        return {};
    CDialogTemplate dialog;
    if (!dialog.Parse(LockResource(LoadResource(instance, resource)), SizeofResource(instance, resource)))
        return {};
    const bool resizable = (dialog.style & WS_THICKFRAME) != 0;
    return DialogWindowSizeAt(dialog, dpi, LayerDisplay().FrameFor(Display::TopLevelKind::Framed, resizable));
}

int Ui::FitLayerDpi(const std::function<SIZE(int dpi)>& windowSizeAt)
{
    Display::CDisplayBackend& display = LayerDisplay();
    const RECT work = display.WorkArea();
    const int dpi = FittingDpi(display.Dpi(), {work.right - work.left, work.bottom - work.top}, windowSizeAt);
    SetScreenDpi(dpi);
    return dpi;
}
