#pragma once
// Measures and draws a text of the tooltip mark-up into a device context:
// the parser turns the text into runs, the layout measures and places them,
// and this class answers the layout's questions from the DC, loads the
// images, draws the boxes and keeps the links' hot areas. Images, fills,
// borders and shadows go through the drawing manager.
#include "Common/Skin/Drawing/DrawManager.h"
#include "Common/Skin/Markup/MarkupLayout.h"
#include "Common/Skin/Markup/MarkupParser.h"
#include "Platform/Gdi/Gdi.h"
#include "Platform/Ui/WinUser.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace ZELL::Skin {

// A shadow under images and tips: offsets, darkness (0..100) and blur.
struct CShadowSettings {
    int offsetX = 4;
    int offsetY = 4;
    int darkness = 50;
    bool gradient = true;
    int blurX = 7;
    int blurY = 7;

    void Set(int x, int y, int dark, bool soft, int blurWidth, int blurHeight)
    {
        offsetX = x;
        offsetY = y;
        darkness = dark < 0 ? 0 : dark > 100 ? 100 : dark;
        gradient = soft;
        blurX = blurWidth;
        blurY = blurHeight;
    }
};

class CMarkupDrawer {
public:
    // Where a link was drawn.
    struct HotArea {
        RECT rect{};
        MarkupLinkType type = MarkupLinkType::None;
        int number = -1;
        std::wstring text;
    };
    static constexpr int kNoLink = CMarkupParser::kNoHoveredLink;

    CMarkupDrawer();
    virtual ~CMarkupDrawer();
    CMarkupDrawer(const CMarkupDrawer&) = delete;
    CMarkupDrawer& operator=(const CMarkupDrawer&) = delete;

    // The size of the text (one pixel added each way); 0 by 0 empties it.
    void Measure(HDC dc, const std::wstring& text, SIZE& size);
    // Draws what the last Measure found; nothing when the text is empty.
    void DrawMeasured(HDC dc, const RECT& rect);
    void MeasureAndDraw(HDC dc, const std::wstring& text, POINT topLeft);

    void SetMaxWidth(int width) { m_layout.SetMaxWidth(width); }
    int GetMaxWidth() const { return m_layout.MaxWidth(); }
    void SetTabSize(int pixels) { m_layout.SetTabSize(pixels); }
    void SetLineBreakMode(bool on) { m_parser.SetLineBreakMode(on); }
    void SetEnabled(bool enabled) { m_parser.SetEnabled(enabled); }
    void SetDisabledColor(COLORREF color) { m_parser.SetDisabledColor(color); }
    void SetShadow(int offsetX, int offsetY, int darkness, bool gradient, int blurX, int blurY)
    {
        m_shadow.Set(offsetX, offsetY, darkness, gradient, blurX, blurY);
    }
    // A null bitmap only removes the old list.
    void SetImageList(HBITMAP bitmap, int width, int height, int count, COLORREF mask);
    void SetImageListFromResource(UINT id, int width, int height, int count, COLORREF mask);
    // The library "iddll" resources come from; a path that cannot be loaded
    // leaves none.
    void SetResourceLibrary(const wchar_t* path);

    void SetStyleSheet(const wchar_t* text) { m_parser.StyleSheet().SetText(text); }
    // The sheet from a string resource of the program, or of the library
    // at the path; false (sheet unchanged) when there is no such string.
    bool SetStyleSheetFromResource(UINT id, const wchar_t* libraryPath = nullptr);
    void SetStyleRule(const std::wstring& selector, const std::wstring& declarations)
    {
        m_parser.StyleSheet().SetRule(selector, declarations);
    }
    void RemoveStyleRule(const std::wstring& selector) { m_parser.StyleSheet().RemoveRule(selector); }

    // True when an animated image changed its frame.
    bool AnimateImages();
    const std::wstring& GetText() const { return m_text; }
    CDrawManager& GetDrawManager() { return m_drawManager; }
    const std::vector<HotArea>& HotAreas() const { return m_hotAreas; }
    int HoveredLink() const { return m_hoveredLink; }

    // Links.
    int HitTestLink(POINT point) const;
    // True when the link cursor was set.
    bool OnLinkHover(POINT point);
    void OnLinkClick(POINT point, LPARAM value);
    // The shell's result (above 32 on success) or that of the program the
    // registry names for web pages, which gets the target as one argument.
    static INT_PTR OpenLink(const std::wstring& target, int show);
    void SetLinkCursor(HCURSOR cursor);
    void SetHoverCallback(HWND window, UINT message, LPARAM value);
    void SetHyperlinkCallback(HWND window, UINT message, LPARAM value);

private:
    struct LoadedImage;
    struct Animation {
        int frame = 0;
        int frames = 0;
        int ticks = 0;
        int speed = 0;
    };
    class DcMeasurer;
    struct Callback {
        HWND window = nullptr;
        UINT message = 0;
        LPARAM value = 0;
    };

    CMarkupStyle BaseStyle() const;
    void SetMetrics(HDC dc);
    // The runs of the prepared text, its lengths measured on the DC.
    std::vector<CMarkupRun> ParseOn(HDC dc);
    MarkupMetrics FontMetrics(HDC dc, const CMarkupStyle& style);
    void ReleaseImages();
    void DrawBox(HDC dc, const CMarkupBox& box, const std::vector<CMarkupRun>& runs, POINT origin);
    void PaintText(HDC dc, const CMarkupBox& box, const CMarkupStyle& style, const RECT& rect);
    void DrawImage(HDC dc, const CMarkupBox& box, const CMarkupRun& run, const RECT& rect);
    void DrawFrame(HDC dc, const CMarkupStyle& style, const RECT& rect);
    void DrawRule(HDC dc, const CMarkupStyle& style, const CMarkupRun& run, const RECT& rect);
    HFONT FontOf(const CMarkupStyle& style);
    std::unique_ptr<LoadedImage> LoadImageOf(const CMarkupRun& run, std::size_t index);
    HMODULE ModuleOf(const CMarkupRun& run, bool& owned) const;
    static void Notify(const Callback& callback, WPARAM wParam, LPARAM lParam);

    // The system colours the mark-up names are those of this system.
    CMarkupParser m_parser{[](int index) { return GetSysColor(index); }};
    CMarkupLayout m_layout;
    CDrawManager m_drawManager;
    std::wstring m_text;
    std::vector<CMarkupRun> m_runs;
    SIZE m_measured{};
    int m_runsHovered = kNoLink;
    std::map<std::size_t, std::unique_ptr<LoadedImage>> m_images;
    std::map<std::size_t, Animation> m_animations;
    std::map<std::wstring, HFONT> m_fonts;
    std::map<std::wstring, std::map<wchar_t, int>> m_advances;
    std::map<std::wstring, MarkupMetrics> m_fontMetrics;
    std::vector<HotArea> m_hotAreas;
    int m_hoveredLink = kNoLink;
    Callback m_hoverCallback;
    Callback m_hyperlinkCallback;
    HCURSOR m_linkCursor = nullptr;
    bool m_ownsLinkCursor = false;
    HIMAGELIST m_imageList = nullptr;
    SIZE m_imageListSize{};
    HMODULE m_resourceLibrary = nullptr;
    CShadowSettings m_shadow;
};

}  // namespace ZELL::Skin
