#include "Common/Skin/Drawing/MarkupDrawer.h"

#include "Common/Skin/Drawing/SkinImage.h"

#include "Platform/Base/Module.h"
#include "Platform/Framework/App/WinApp.h"
#include "Platform/Registry/Registry.h"
#include "Platform/Shell/ChildProcess.h"
#include "Platform/Shell/CommandLine.h"
#include "Platform/Shell/ShellExecute.h"
#include "Platform/Ui/Resource.h"
#include "Platform/Ui/ResourceImage.h"
#include "Platform/Ui/SystemMetrics.h"

#include <algorithm>

namespace ZELL::Skin {

namespace {

// More fonts than a tooltip uses; past it the cache starts again.
constexpr std::size_t kMaxCachedFonts = 64;
constexpr COLORREF kDefaultMask = RGB(255, 0, 255);
constexpr int kMaxStringLength = 64 * 1024;

std::wstring Attribute(const CMarkupRun& run, const wchar_t* name, bool* present = nullptr)
{
    for (const auto& [attribute, value] : run.attributes) {
        if (attribute == name) {
            if (present)
                *present = true;
            return value;
        }
    }
    if (present)
        *present = false;
    return {};
}

UINT Number(const std::wstring& text)
{
    if (text.empty())
        return 0;
    return static_cast<UINT>(std::wcstoul(text.c_str(), nullptr, 0));
}

std::wstring FontKey(const CMarkupStyle& style)
{
    return style.faceName.substr(0, LF_FACESIZE - 1) + L'|' + std::to_wstring(style.fontHeight) + L'|' +
           std::to_wstring(style.fontWeight) + (style.italic ? L"i" : L"") + (style.underline ? L"u" : L"") +
           (style.strikeOut ? L"s" : L"");
}

// Image-effect letters: g gray, d darker, l lighter, s shadow.
DWORD EffectOf(const std::wstring& letters, bool shadowAllowed, bool gradient)
{
    DWORD effect = 0;
    for (wchar_t letter : letters) {
        if (letter == L'g')
            effect |= CDrawManager::kEffectGray;
        else if (letter == L'd')
            effect |= CDrawManager::kEffectDarker;
        else if (letter == L'l')
            effect |= CDrawManager::kEffectLighter;
        else if (letter == L's' && shadowAllowed)
            effect |= gradient ? CDrawManager::kEffectBlurredShadow : CDrawManager::kEffectShadow;
    }
    return effect;
}

// A string filling the buffer to within two characters may be longer: it is
// read again with a larger buffer, up to a bound.
std::wstring LoadLongString(HMODULE module, UINT id)
{
    std::wstring text;
    for (int capacity = 256; capacity <= kMaxStringLength; capacity += 256) {
        std::vector<wchar_t> buffer(static_cast<std::size_t>(capacity), L'\0');
        const int length = LoadStringW(module, id, buffer.data(), capacity);
        text.assign(buffer.data(), static_cast<std::size_t>(std::max(0, length)));
        if (length < capacity - 2)
            break;
    }
    return text;
}

constexpr DWORD kShadowEffects = CDrawManager::kEffectShadow | CDrawManager::kEffectBlurredShadow;

} // namespace

struct CMarkupDrawer::LoadedImage {
    MarkupRunKind kind = MarkupRunKind::Bitmap;
    HBITMAP bitmap = nullptr;
    HICON icon = nullptr;
    bool ownsBitmap = false;
    bool ownsIcon = false;
    bool fromList = false;
    int index = 0;
    SIZE cell{};
    SIZE size{};   // drawn size of the image itself
    SIZE extent{}; // with the shadow
    bool masked = false;
    COLORREF mask = kDefaultMask;
    DWORD effect = 0;
    DWORD hotEffect = 0;

    LoadedImage() = default;
    LoadedImage(const LoadedImage&) = delete;
    LoadedImage& operator=(const LoadedImage&) = delete;
    ~LoadedImage()
    {
        if (ownsBitmap && bitmap)
            DeleteObject(bitmap);
        if (ownsIcon && icon)
            DestroyIcon(icon);
    }
};

// Answers the layout from the device context the text is measured on.
class CMarkupDrawer::DcMeasurer : public IMarkupMeasurer {
public:
    DcMeasurer(CMarkupDrawer& drawer, HDC dc) : m_drawer(drawer), m_dc(dc) {}

    MarkupFontMeasures Font(const CMarkupStyle& style) override
    {
        const std::wstring key = FontKey(style);
        const auto found = m_fonts.find(key);
        if (found != m_fonts.end())
            return found->second;
        Select(style);
        TEXTMETRICW metrics{};
        GetTextMetricsW(m_dc, &metrics);
        const MarkupFontMeasures measures{metrics.tmHeight, metrics.tmAscent, metrics.tmDescent};
        m_fonts.emplace(key, measures);
        return measures;
    }
    int TextWidth(const CMarkupStyle& style, std::wstring_view text) override
    {
        Select(style);
        SIZE size{};
        GetTextExtentPoint32W(m_dc, text.data(), static_cast<int>(text.size()), &size);
        return size.cx;
    }
    // Sums of the characters' own widths, kept per font for the life of the
    // drawer: they only choose where lines break (the layout measures each
    // line's pieces exactly), and they spare shaping every text twice.
    std::vector<int> PrefixWidths(const CMarkupStyle& style, std::wstring_view text) override
    {
        auto& advances = m_drawer.m_advances[FontKey(style)];
        std::vector<int> widths;
        widths.reserve(text.size());
        int sum = 0;
        for (wchar_t c : text) {
            auto found = advances.find(c);
            if (found == advances.end()) {
                Select(style);
                SIZE size{};
                GetTextExtentPoint32W(m_dc, &c, 1, &size);
                found = advances.emplace(c, size.cx).first;
            }
            sum += found->second;
            widths.push_back(sum);
        }
        return widths;
    }
    bool ImageSize(const CMarkupRun& run, std::size_t runIndex, SIZE& size) override
    {
        auto image = m_drawer.LoadImageOf(run, runIndex);
        if (!image)
            return false;
        size = image->extent;
        m_drawer.m_images[runIndex] = std::move(image);
        return true;
    }
    std::wstring String(const CMarkupRun& run) override
    {
        bool owned = false;
        bool fromLibrary = false;
        Attribute(run, L"iddll", &fromLibrary);
        HMODULE module = fromLibrary ? m_drawer.ModuleOf(run, owned) : AfxGetResourceHandle();
        const UINT id = Number(Attribute(run, fromLibrary ? L"iddll" : L"idres"));
        std::wstring text;
        if (module && id != 0)
            text = LoadLongString(module, id);
        if (owned)
            FreeLibrary(module);
        return text;
    }

private:
    void Select(const CMarkupStyle& style) { SelectObject(m_dc, m_drawer.FontOf(style)); }

    CMarkupDrawer& m_drawer;
    HDC m_dc;
    std::map<std::wstring, MarkupFontMeasures> m_fonts;
};

CMarkupDrawer::CMarkupDrawer()
{
    m_parser.SetDisabledColor(GetSysColor(COLOR_BTNSHADOW));
    m_parser.SetBaseStyle(BaseStyle());
    SetLinkCursor(nullptr);
}

CMarkupDrawer::~CMarkupDrawer()
{
    ReleaseImages();
    for (const auto& [key, font] : m_fonts)
        DeleteObject(font);
    if (m_ownsLinkCursor)
        DestroyCursor(m_linkCursor);
    if (m_imageList)
        ImageList_Destroy(m_imageList);
    if (m_resourceLibrary)
        FreeLibrary(m_resourceLibrary);
}

// The message font of the system, before the "body" rule.
CMarkupStyle CMarkupDrawer::BaseStyle() const
{
    CMarkupStyle style;
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) {
        const LOGFONTW& font = metrics.lfMessageFont;
        style.fontHeight = font.lfHeight;
        style.fontWeight = font.lfWeight;
        style.italic = font.lfItalic != 0;
        style.underline = font.lfUnderline != 0;
        style.strikeOut = font.lfStrikeOut != 0;
        style.faceName = font.lfFaceName;
    }
    return style;
}

void CMarkupDrawer::SetImageList(HBITMAP bitmap, int width, int height, int count, COLORREF mask)
{
    if (m_imageList)
        ImageList_Destroy(m_imageList);
    m_imageList = nullptr;
    m_imageListSize = SIZE{};
    if (!bitmap || width <= 0 || height <= 0)
        return;
    m_imageList = ImageList_Create(width, height, ILC_COLOR32 | ILC_MASK, std::max(0, count), 1);
    if (m_imageList)
        ImageList_AddMasked(m_imageList, bitmap, mask);
    m_imageListSize = SIZE{width, height};
}

void CMarkupDrawer::SetImageListFromResource(UINT id, int width, int height, int count, COLORREF mask)
{
    HBITMAP bitmap = LoadBitmapW(AfxGetResourceHandle(), MAKEINTRESOURCEW(id));
    SetImageList(bitmap, width, height, count, mask);
    if (bitmap)
        DeleteObject(bitmap);
}

void CMarkupDrawer::SetResourceLibrary(const wchar_t* path)
{
    if (m_resourceLibrary)
        FreeLibrary(m_resourceLibrary);
    m_resourceLibrary = path && *path ? LoadLibraryExW(path, nullptr, 0) : nullptr;
}

bool CMarkupDrawer::SetStyleSheetFromResource(UINT id, const wchar_t* libraryPath)
{
    HMODULE module = libraryPath ? LoadLibraryExW(libraryPath, nullptr, 0) : AfxGetResourceHandle();
    if (!module)
        return false;
    const std::wstring text = LoadLongString(module, id);
    if (libraryPath)
        FreeLibrary(module);
    if (text.empty())
        return false;
    SetStyleSheet(text.c_str());
    return true;
}

HFONT CMarkupDrawer::FontOf(const CMarkupStyle& style)
{
    const std::wstring key = FontKey(style);
    const auto found = m_fonts.find(key);
    if (found != m_fonts.end())
        return found->second;
    LOGFONTW log{};
    log.lfHeight = style.fontHeight;
    log.lfWeight = style.fontWeight;
    log.lfItalic = style.italic ? 1 : 0;
    log.lfUnderline = style.underline ? 1 : 0;
    log.lfStrikeOut = style.strikeOut ? 1 : 0;
    const std::wstring face = style.faceName.substr(0, LF_FACESIZE - 1);
    std::copy(face.begin(), face.end(), log.lfFaceName);
    HFONT font = CreateFontIndirectW(&log);
    m_fonts.emplace(key, font);
    return font;
}

void CMarkupDrawer::SetMetrics(HDC dc)
{
    MarkupMetrics metrics = FontMetrics(dc, BaseStyle());
    metrics.pixelsPerInchY = std::max(1, GetDeviceCaps(dc, LOGPIXELSY));
    m_parser.SetMetrics(metrics);
}

// Font heights, kept per font like the fonts themselves.
MarkupMetrics CMarkupDrawer::FontMetrics(HDC dc, const CMarkupStyle& style)
{
    const std::wstring key = FontKey(style);
    const auto found = m_fontMetrics.find(key);
    if (found != m_fontMetrics.end())
        return found->second;
    MarkupMetrics metrics;
    HGDIOBJ old = SelectObject(dc, FontOf(style));
    TEXTMETRICW text{};
    if (GetTextMetricsW(dc, &text))
        metrics.fontHeight = text.tmHeight;
    SIZE x{};
    if (GetTextExtentPoint32W(dc, L"x", 1, &x))
        metrics.xHeight = x.cy;
    SelectObject(dc, old);
    m_fontMetrics.emplace(key, metrics);
    return metrics;
}

std::vector<CMarkupRun> CMarkupDrawer::ParseOn(HDC dc)
{
    SetMetrics(dc);
    m_parser.SetHoveredLink(m_hoveredLink);
    m_parser.SetFontMetricsSource([this, dc](const CMarkupStyle& style) { return FontMetrics(dc, style); });
    std::vector<CMarkupRun> runs = m_parser.ParsePrepared(m_text);
    m_parser.SetFontMetricsSource({});
    m_runsHovered = m_hoveredLink;
    return runs;
}

void CMarkupDrawer::ReleaseImages()
{
    m_images.clear();
}

void CMarkupDrawer::Measure(HDC dc, const std::wstring& text, SIZE& size)
{
    size = SIZE{};
    ReleaseImages();
    m_animations.clear();
    m_hotAreas.clear();
    if (m_fonts.size() >= kMaxCachedFonts) {
        for (const auto& [key, font] : m_fonts)
            DeleteObject(font);
        m_fonts.clear();
        m_advances.clear();
        m_fontMetrics.clear();
    }
    const int saved = SaveDC(dc);
    m_text = m_parser.Prepare(text);
    m_runs = ParseOn(dc);
    DcMeasurer measurer(*this, dc);
    SIZE measured = m_layout.Measure(m_runs, measurer);
    RestoreDC(dc, saved);
    if (measured.cx == 0 && measured.cy == 0) {
        m_text.clear();
        m_runs.clear();
    }
    if (m_layout.MaxWidth() > 0)
        measured.cx = std::min<LONG>(measured.cx, m_layout.MaxWidth());
    m_measured = measured;
    size = SIZE{measured.cx + 1, measured.cy + 1};
}

void CMarkupDrawer::DrawMeasured(HDC dc, const RECT& rect)
{
    if (m_text.empty())
        return;
    if (m_hoveredLink != m_runsHovered) {
        // Links change their look with the hover rule; the runs keep their
        // order, so the measured boxes still name the right ones.
        std::vector<CMarkupRun> hovered = ParseOn(dc);
        if (hovered.size() == m_runs.size())
            m_runs = std::move(hovered);
    }
    const int saved = SaveDC(dc);
    const int width = std::max<int>(m_measured.cx, rect.right - rect.left - 1);
    for (const CMarkupBox& box : m_layout.Arrange(width))
        DrawBox(dc, box, m_runs, POINT{rect.left, rect.top});
    RestoreDC(dc, saved);
}

void CMarkupDrawer::MeasureAndDraw(HDC dc, const std::wstring& text, POINT topLeft)
{
    SIZE size{};
    Measure(dc, text, size);
    if (size.cx > 0 && size.cy > 0)
        DrawMeasured(dc, RECT{topLeft.x, topLeft.y, topLeft.x + size.cx, topLeft.y + size.cy});
}

void CMarkupDrawer::DrawBox(HDC dc, const CMarkupBox& box, const std::vector<CMarkupRun>& runs, POINT origin)
{
    if (box.run >= runs.size())
        return;
    const CMarkupRun& run = runs[box.run];
    RECT rect = box.rect;
    OffsetRect(&rect, origin.x, origin.y);
    switch (box.kind) {
    case MarkupBoxKind::Text: PaintText(dc, box, run.style, rect); break;
    case MarkupBoxKind::Image: DrawImage(dc, box, run, rect); break;
    case MarkupBoxKind::Rule: DrawRule(dc, run.style, run, rect); break;
    case MarkupBoxKind::Frame: DrawFrame(dc, run.style, rect); break;
    }
    if (run.style.linkNumber >= 0 && box.kind != MarkupBoxKind::Frame)
        m_hotAreas.push_back(HotArea{rect, run.style.linkType, run.style.linkNumber, run.style.linkText});
}

void CMarkupDrawer::PaintText(HDC dc, const CMarkupBox& box, const CMarkupStyle& style, const RECT& rect)
{
    SelectObject(dc, FontOf(style));
    SetTextColor(dc, style.textColor);
    SetBkMode(dc, style.backMode == kMarkupBkModeOpaque ? OPAQUE : TRANSPARENT);
    SetBkColor(dc, style.backColor);
    SetTextJustification(dc, box.justifyExtra, box.justifyBreaks);
    TextOutW(dc, rect.left, rect.top, box.text.c_str(), static_cast<int>(box.text.size()));
    SetTextJustification(dc, 0, 0);
    if (!style.overline)
        return;
    const int thickness = style.fontWeight >= kMarkupWeightBold ? 2 : 1;
    const RECT line{rect.left, rect.top, rect.right + box.justifyExtra, rect.top + thickness};
    HBRUSH brush = CreateSolidBrush(style.textColor);
    FillRect(dc, &line, brush);
    DeleteObject(brush);
}

void CMarkupDrawer::DrawRule(HDC dc, const CMarkupStyle& style, const CMarkupRun& run, const RECT& rect)
{
    const COLORREF color = m_parser.Values().Color(Attribute(run, L"color"), style.textColor);
    const int size = rect.bottom - rect.top;
    HBRUSH brush = CreateSolidBrush(color);
    FillRect(dc, &rect, brush);
    DeleteObject(brush);
    const RECT light{rect.left, rect.top + 1, rect.right, rect.bottom + 1};
    const RECT below{light.left, std::max<LONG>(light.top, rect.bottom), light.right, light.bottom + size - 1};
    brush = CreateSolidBrush(RGB(255, 255, 255));
    FillRect(dc, &below, brush);
    DeleteObject(brush);
}

void CMarkupDrawer::DrawFrame(HDC dc, const CMarkupStyle& style, const RECT& rect)
{
    if (style.backEffect != kMarkupEffectNone) {
        m_drawManager.FillEffect(dc, rect, style.backEffect, style.backColor, style.backMiddleColor,
                                 style.backEndColor, 5, 0);
    } else if (style.backImage.size() > 5) {
        const std::size_t colon = style.backImage.find(L':');
        const std::wstring source = style.backImage.substr(0, colon);
        const std::wstring value = colon == std::wstring::npos ? L"" : style.backImage.substr(colon + 1);
        HBITMAP bitmap = nullptr;
        if (source == L"idres")
            bitmap = LoadBitmapW(AfxGetResourceHandle(), MAKEINTRESOURCEW(Number(value)));
        else if (source == L"iddll" && m_resourceLibrary)
            bitmap = LoadBitmapW(m_resourceLibrary, MAKEINTRESOURCEW(Number(value)));
        else if (source == L"file")
            bitmap = reinterpret_cast<HBITMAP>(LoadImageW(nullptr, value.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE));
        if (bitmap) {
            const SIZE size = SkinImage::BitmapSize(bitmap);
            HDC memory = CreateCompatibleDC(dc);
            HGDIOBJ old = SelectObject(memory, bitmap);
            StretchBlt(dc, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, memory, 0, 0, size.cx,
                       size.cy, SRCCOPY);
            SelectObject(memory, old);
            DeleteDC(memory);
            DeleteObject(bitmap);
        }
    }
    if (style.borderWidth > 0) {
        m_drawManager.DrawRectangle(dc, rect, style.borderLightColor, style.borderDarkColor,
                                    static_cast<int>(style.borderStyle), style.borderWidth);
    }
}

void CMarkupDrawer::DrawImage(HDC dc, const CMarkupBox& box, const CMarkupRun& run, const RECT& rect)
{
    const auto found = m_images.find(box.run);
    if (found == m_images.end())
        return;
    const LoadedImage& image = *found->second;
    const bool hot = run.style.linkNumber >= 0 && run.style.linkNumber == m_hoveredLink;
    const DWORD effect = hot ? image.hotEffect : image.effect;
    const BOOL shadow = (effect & kShadowEffects) != 0 ? TRUE : FALSE;
    const DWORD plain = effect & ~kShadowEffects;
    const BYTE grey = static_cast<BYTE>(255 * (100 - m_shadow.darkness) / 100);
    const COLORREF shadowColor = RGB(grey, grey, grey);
    const int x = rect.left;
    const int y = rect.top;
    const int w = image.size.cx;
    const int h = image.size.cy;
    if (image.fromList) {
        ImageList_Draw(m_imageList, image.index, dc, x, y, ILD_NORMAL);
    } else if (image.icon) {
        m_drawManager.DrawIcon(dc, x, y, w, h, image.icon, plain, shadow, m_shadow.offsetX, m_shadow.offsetY, m_shadow.blurX, m_shadow.blurY,
                               shadowColor);
    } else if (image.kind == MarkupRunKind::ImageList) {
        const auto animation = m_animations.find(box.run);
        const int frame = animation != m_animations.end() ? animation->second.frame : image.index;
        m_drawManager.DrawImageList(dc, x, y, w, h, image.bitmap, frame, image.cell.cx, image.cell.cy,
                                    image.masked, image.mask, plain, shadow, m_shadow.offsetX, m_shadow.offsetY, m_shadow.blurX,
                                    m_shadow.blurY, shadowColor);
    } else {
        m_drawManager.DrawBitmap(dc, x, y, w, h, image.bitmap, image.masked, image.mask, plain, shadow, m_shadow.offsetX,
                                 m_shadow.offsetY, m_shadow.blurX, m_shadow.blurY, shadowColor);
    }
}

// The module a "srcdll" names (loaded here, to be freed by the caller), or
// the resource library.
HMODULE CMarkupDrawer::ModuleOf(const CMarkupRun& run, bool& owned) const
{
    const std::wstring path = Attribute(run, L"srcdll");
    owned = false;
    if (path.empty())
        return m_resourceLibrary;
    HMODULE module = LoadLibraryExW(path.c_str(), nullptr, 0);
    owned = module != nullptr;
    return module;
}

std::unique_ptr<CMarkupDrawer::LoadedImage> CMarkupDrawer::LoadImageOf(const CMarkupRun& run, std::size_t index)
{
    auto image = std::make_unique<LoadedImage>();
    image->kind = run.kind;
    const bool isIcon = run.kind == MarkupRunKind::Icon;
    const UINT type = isIcon ? IMAGE_ICON : IMAGE_BITMAP;
    bool has = false;
    SIZE own{};
    const std::wstring requestedWidth = Attribute(run, L"width");
    const std::wstring requestedHeight = Attribute(run, L"height");
    const int iconWidth = isIcon ? m_parser.Values().Length(requestedWidth, GetSystemMetrics(SM_CXICON)) : 0;
    const int iconHeight = isIcon ? m_parser.Values().Length(requestedHeight, GetSystemMetrics(SM_CYICON)) : 0;
    auto take = [&](HANDLE loaded, bool owns) {
        if (isIcon) {
            image->icon = reinterpret_cast<HICON>(loaded);
            image->ownsIcon = owns;
        } else {
            image->bitmap = reinterpret_cast<HBITMAP>(loaded);
            image->ownsBitmap = owns;
        }
    };
    if (const std::wstring id = Attribute(run, L"idres", &has); has) {
        take(LoadImageW(AfxGetResourceHandle(), MAKEINTRESOURCEW(Number(id)), type, iconWidth, iconHeight, 0), true);
    } else if (const std::wstring dllId = Attribute(run, L"iddll", &has); has) {
        bool owned = false;
        HMODULE module = ModuleOf(run, owned);
        if (module)
            take(LoadImageW(module, MAKEINTRESOURCEW(Number(dllId)), type, iconWidth, iconHeight, 0), true);
        if (owned)
            FreeLibrary(module);
    } else if (const std::wstring handle = Attribute(run, L"handle", &has); has) {
        // The full number as written, checked against the live handles.
        if (isIcon)
            image->icon = IconFromHandleText(handle.c_str());
        else
            image->bitmap = BitmapFromHandleText(handle.c_str());
    } else if (const std::wstring file = Attribute(run, L"file", &has); has) {
        take(LoadImageW(nullptr, file.c_str(), type, iconWidth, iconHeight, LR_LOADFROMFILE | LR_CREATEDIBSECTION),
             true);
    } else if (run.kind == MarkupRunKind::ImageList && m_imageList) {
        image->fromList = true;
    }

    if (image->fromList) {
        image->index = static_cast<int>(Number(Attribute(run, L"index")));
        if (image->index >= ImageList_GetImageCount(m_imageList))
            return nullptr;
        own = m_imageListSize;
    } else if (image->icon) {
        own = SkinImage::IconSize(image->icon);
    } else if (image->bitmap) {
        own = SkinImage::BitmapSize(image->bitmap);
    } else {
        return nullptr;
    }

    if (run.kind == MarkupRunKind::ImageList && !image->fromList) {
        // A strip of cx by cy pictures; a cell of no size is no strip at all.
        const int cx = static_cast<int>(Number(Attribute(run, L"cx")));
        const int cy = static_cast<int>(Number(Attribute(run, L"cy")));
        if (cx <= 0 || cy <= 0 || cx > own.cx || cy > own.cy)
            return nullptr;
        const int frames = (own.cx / cx) * (own.cy / cy);
        image->index = static_cast<int>(Number(Attribute(run, L"index")));
        if (image->index < 0 || image->index >= frames)
            return nullptr;
        image->cell = SIZE{cx, cy};
        own = image->cell;
        const int speed = static_cast<int>(Number(Attribute(run, L"speed")));
        if (speed > 0)
            m_animations[index] = Animation{image->index, frames, 0, speed};
    }
    if (own.cx <= 0 || own.cy <= 0)
        return nullptr;

    image->size.cx = std::clamp(m_parser.Values().Length(requestedWidth, own.cx), 0, 4096);
    image->size.cy = std::clamp(m_parser.Values().Length(requestedHeight, own.cy), 0, 4096);
    bool maskGiven = false;
    const std::wstring mask = Attribute(run, L"mask", &maskGiven);
    image->masked = maskGiven;
    image->mask = m_parser.Values().Color(mask, kDefaultMask);
    const bool shadowAllowed = m_shadow.offsetX != 0 || m_shadow.offsetY != 0;
    image->effect = EffectOf(Attribute(run, L"style"), shadowAllowed, m_shadow.gradient);
    bool hotGiven = false;
    const std::wstring hotStyle = Attribute(run, L"hotstyle", &hotGiven);
    image->hotEffect = hotGiven ? EffectOf(hotStyle, shadowAllowed, m_shadow.gradient) : image->effect;
    image->extent = image->size;
    if ((image->effect | image->hotEffect) & kShadowEffects) {
        image->extent.cx += std::abs(m_shadow.offsetX);
        image->extent.cy += std::abs(m_shadow.offsetY);
    }
    return image;
}

bool CMarkupDrawer::AnimateImages()
{
    bool changed = false;
    for (auto& [run, animation] : m_animations) {
        if (animation.frames <= 0)
            continue;
        if (++animation.ticks < animation.speed)
            continue;
        animation.ticks = 0;
        animation.frame = (animation.frame + 1) % animation.frames;
        changed = true;
    }
    return changed;
}

// --- links -----------------------------------------------------------------

int CMarkupDrawer::HitTestLink(POINT point) const
{
    for (std::size_t i = 0; i < m_hotAreas.size(); ++i) {
        const RECT& r = m_hotAreas[i].rect;
        if (point.x >= r.left && point.x <= r.right && point.y >= r.top && point.y <= r.bottom)
            return static_cast<int>(i);
    }
    return -1;
}

bool CMarkupDrawer::OnLinkHover(POINT point)
{
    const int hit = HitTestLink(point);
    if (hit < 0) {
        if (m_hoveredLink != kNoLink) {
            m_hoveredLink = kNoLink;
            Notify(m_hoverCallback, static_cast<WPARAM>(static_cast<INT_PTR>(kNoLink)), m_hoverCallback.value);
        }
        return false;
    }
    const HotArea& area = m_hotAreas[static_cast<std::size_t>(hit)];
    if (area.number != m_hoveredLink) {
        m_hoveredLink = area.number;
        Notify(m_hoverCallback, static_cast<WPARAM>(area.number), m_hoverCallback.value);
    }
    if (area.text.empty() || !m_linkCursor)
        return false;
    SetCursor(m_linkCursor);
    return true;
}

void CMarkupDrawer::OnLinkClick(POINT point, LPARAM value)
{
    const int hit = HitTestLink(point);
    if (hit < 0)
        return;
    const HotArea area = m_hotAreas[static_cast<std::size_t>(hit)];
    if (area.text.empty())
        return;
    if (area.type == MarkupLinkType::Href)
        OpenLink(area.text, SW_SHOW);
    else if (area.type == MarkupLinkType::Message)
        Notify(m_hyperlinkCallback, reinterpret_cast<WPARAM>(area.text.c_str()), value);
}

namespace {

std::wstring DefaultValue(HKEY root, const std::wstring& path)
{
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return {};
    wchar_t buffer[MAX_PATH + 1] = {};
    DWORD size = sizeof(buffer) - sizeof(wchar_t);
    DWORD type = 0;
    const LSTATUS status = RegQueryValueExW(key, nullptr, nullptr, &type, reinterpret_cast<LPBYTE>(buffer), &size);
    RegCloseKey(key);
    if (status != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ))
        return {};
    return std::wstring(buffer, wcsnlen(buffer, MAX_PATH));
}

// The registered command without its "%1": the text ends before a quoted
// "%1" (with its quote), else before a bare "%1".
std::wstring CommandWithoutTarget(std::wstring command)
{
    const std::size_t quoted = command.find(L"\"%1\"");
    if (quoted != std::wstring::npos)
        return command.substr(0, quoted);
    const std::size_t bare = command.find(L"%1");
    if (bare != std::wstring::npos)
        return command.substr(0, bare);
    return command;
}

} // namespace

INT_PTR CMarkupDrawer::OpenLink(const std::wstring& target, int show)
{
    const INT_PTR shell = reinterpret_cast<INT_PTR>(ShellExecuteW(nullptr, L"open", target.c_str(), nullptr, nullptr, show));
    if (shell > 32)
        return shell;
    const std::wstring pageClass = DefaultValue(HKEY_CLASSES_ROOT, L".htm");
    if (pageClass.empty())
        return shell;
    const std::wstring command = DefaultValue(HKEY_CLASSES_ROOT, pageClass + L"\\shell\\open\\command");
    if (command.empty())
        return shell;
    // The program and its own arguments, then the target as one argument of
    // its own: a target with blanks or quotes never becomes a command line.
    std::vector<std::wstring> arguments = ZELL::Shell::SplitCommandLine(CommandWithoutTarget(command), true);
    if (arguments.empty())
        return shell;
    arguments.push_back(target);
    int error = 0;
    ZELL::Shell::ChildStart start;
    start.arguments = std::move(arguments);
    if (!ZELL::Shell::ChildProcess::Start(start, error))
        return error == ENOENT ? SE_ERR_FNF : SE_ERR_ACCESSDENIED;
    return 33;
}

void CMarkupDrawer::SetLinkCursor(HCURSOR cursor)
{
    if (cursor && cursor == m_linkCursor)
        return;
    if (m_ownsLinkCursor && m_linkCursor)
        DestroyCursor(m_linkCursor);
    m_ownsLinkCursor = cursor != nullptr;
    m_linkCursor = cursor ? cursor : LoadCursorW(nullptr, IDC_HAND);
}

void CMarkupDrawer::SetHoverCallback(HWND window, UINT message, LPARAM value)
{
    m_hoverCallback = Callback{window, window ? message : 0, value};
}

void CMarkupDrawer::SetHyperlinkCallback(HWND window, UINT message, LPARAM value)
{
    m_hyperlinkCallback = Callback{window, window ? message : 0, value};
}

void CMarkupDrawer::Notify(const Callback& callback, WPARAM wParam, LPARAM lParam)
{
    if (callback.window && callback.message)
        SendMessageW(callback.window, callback.message, wParam, lParam);
}

}  // namespace ZELL::Skin
