#pragma once
// The objects behind the drawing handles and the table that validates those
// handles. Internal to the drawing layer.
#include "Platform/Gdi/BandRegion.h"
#include "Platform/Gdi/DibFormat.h"
#include "Platform/Gdi/GdiTypes.h"

#include <cairo.h>

#include <memory>
#include <optional>
#include <vector>

typedef struct _PangoFontDescription PangoFontDescription;

namespace ZELL::Gdi {

enum class ObjectKind { Pen, Brush, Font, Bitmap, Region, Palette, DC };

struct GdiObject {
    explicit GdiObject(ObjectKind k) : kind(k) {}
    virtual ~GdiObject() = default;
    GdiObject(const GdiObject&) = delete;
    GdiObject& operator=(const GdiObject&) = delete;

    ObjectKind kind;
    bool stock = false;
};

struct PenObject : GdiObject {
    PenObject() : GdiObject(ObjectKind::Pen) {}
    int style = PS_SOLID;  // PS_STYLE_MASK part
    int endCap = PS_ENDCAP_ROUND;
    bool geometric = false;
    int width = 0;
    COLORREF color = 0;
    bool usesDCColor = false;  // the DC_PEN stock object
};

struct BitmapObject;

struct BrushObject : GdiObject {
    BrushObject() : GdiObject(ObjectKind::Brush) {}
    UINT style = BS_SOLID;
    COLORREF color = 0;
    int hatch = 0;
    std::shared_ptr<BitmapObject> pattern;  // own copy, taken at creation
    bool usesDCColor = false;               // the DC_BRUSH stock object
};

struct FontObject : GdiObject {
    FontObject() : GdiObject(ObjectKind::Font) {}
    ~FontObject() override;
    LOGFONTW log{};
    PangoFontDescription* description = nullptr;
    // Filled on first use.
    bool measured = false;
    TEXTMETRICW metrics{};
};

// Pixels are kept top-down as 32-bit 0x00RRGGBB words (cairo's RGB24), so
// cairo can draw on them. DIB sections whose layout differs (24 bpp, or
// bottom-up) keep the caller's buffer beside them and are synchronised around
// every operation.
struct BitmapObject : GdiObject {
    BitmapObject() : GdiObject(ObjectKind::Bitmap) {}
    ~BitmapObject() override;

    static std::shared_ptr<BitmapObject> Create(int width, int height, int bitsPerPixel);
    std::shared_ptr<BitmapObject> Clone() const;

    int width = 0;
    int height = 0;
    int bitsPerPixel = 32;  // 1 for monochrome
    std::vector<std::uint32_t> store;
    std::uint32_t* pixels = nullptr;
    cairo_surface_t* surface = nullptr;

    bool isDib = false;
    DibFormat dib;
    std::vector<std::uint8_t> dibBuffer;  // when the layout differs from `pixels`
    void* dibBits = nullptr;
    BITMAPINFOHEADER dibHeader{};

    bool IsMono() const { return bitsPerPixel == 1; }
    bool DibSeparate() const { return isDib && dibBits != static_cast<void*>(pixels); }
    void PullDib();  // caller's buffer -> pixels
    void PushDib();  // pixels -> caller's buffer
};

struct RegionObject : GdiObject {
    RegionObject() : GdiObject(ObjectKind::Region) {}
    BandRegion region;
};

struct PaletteObject : GdiObject {
    PaletteObject() : GdiObject(ObjectKind::Palette) {}
};

struct DCState {
    std::shared_ptr<PenObject> pen;
    HGDIOBJ penHandle = nullptr;
    std::shared_ptr<BrushObject> brush;
    HGDIOBJ brushHandle = nullptr;
    std::shared_ptr<FontObject> font;
    HGDIOBJ fontHandle = nullptr;
    std::shared_ptr<BitmapObject> bitmap;
    HGDIOBJ bitmapHandle = nullptr;

    COLORREF bkColor = 0xFFFFFF;
    COLORREF textColor = 0;
    COLORREF dcBrushColor = 0xFFFFFF;
    COLORREF dcPenColor = 0;
    int bkMode = OPAQUE;
    int rop2 = R2_COPYPEN;
    int polyFillMode = ALTERNATE;
    int stretchMode = BLACKONWHITE;
    UINT textAlign = TA_LEFT | TA_TOP;
    int mapMode = MM_TEXT;
    POINT windowOrg{};
    POINT viewportOrg{};
    SIZE windowExt{1, 1};
    SIZE viewportExt{1, 1};
    POINT position{};
    POINT brushOrg{};
    int justifyExtra = 0;
    int justifyBreaks = 0;
    std::optional<BandRegion> clip;  // device units; none = whole device
};

enum class DCType { Surface, Memory, Printer };

struct PrinterJob;

struct DCObject : GdiObject {
    DCObject() : GdiObject(ObjectKind::DC) {}
    ~DCObject() override;

    DCType type = DCType::Surface;
    cairo_surface_t* external = nullptr;  // surface contexts: our reference
    POINT origin{};                       // surface pixels of device (0,0)
    RECT systemClip{};                    // surface pixels
    std::optional<BandRegion> systemRegion;  // surface pixels; narrows systemClip when set
    DCState state;
    std::vector<DCState> saved;
    std::shared_ptr<PrinterJob> printer;
    int dpi = 96;
};

// The handle table: handles are numbers that are looked up, never pointers.
// Numbers are not reused, so a stale handle stays invalid.
class GdiHandleTable {
public:
    static void* Add(std::shared_ptr<GdiObject> object);
    static std::shared_ptr<GdiObject> Find(const void* handle);
    static bool Remove(const void* handle);

    template <typename T>
    static std::shared_ptr<T> FindAs(const void* handle, ObjectKind kind)
    {
        auto object = Find(handle);
        if (!object || object->kind != kind)
            return nullptr;
        return std::static_pointer_cast<T>(object);
    }
};

std::shared_ptr<DCObject> FindDC(HDC dc);  // sets ERROR_INVALID_HANDLE when not found
void* StockHandle(int index);
HGDIOBJ DefaultBitmapHandle();

inline std::uint32_t ToPixel(COLORREF c)
{
    return (static_cast<std::uint32_t>(GetRValue(c)) << 16) | (static_cast<std::uint32_t>(GetGValue(c)) << 8) |
           GetBValue(c);
}
inline COLORREF ToColorRef(std::uint32_t p)
{
    return RGB(static_cast<BYTE>(p >> 16), static_cast<BYTE>(p >> 8), static_cast<BYTE>(p));
}

}  // namespace ZELL::Gdi
