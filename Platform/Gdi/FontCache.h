#pragma once
// Fonts on pango: LOGFONT to font description, metrics, and the laid-out
// text that TextOut and DrawText draw. Internal to the drawing layer.
#include "Platform/Gdi/GdiObjectTable.h"

#include <string>

typedef struct _PangoLayout PangoLayout;
typedef struct _PangoContext PangoContext;

namespace ZELL::Gdi {

// A pango context with the rendering options of all text drawn here; the
// caller owns it (g_object_unref).
PangoContext* NewDrawingContext();

// Makes `kept` (owned, may be null) a copy of the description.
void KeepDescription(PangoFontDescription*& kept, const PangoFontDescription* description);

LOGFONTW StockGuiFont();
LOGFONTW StockFixedFont();
std::shared_ptr<FontObject> MakeFontObject(const LOGFONTW& log);
// The family that a face name of the platform stands for here.
std::string MapFaceName(const std::wstring& face);

// The font of a context, falling back to the stock GUI font.
std::shared_ptr<FontObject> FontOf(const DCState& state);
const TEXTMETRICW& MetricsOf(FontObject& font);

struct TextExtent {
    int width = 0;
    int height = 0;
    int baseline = 0;
};

// One line of text (no wrapping) in pixels; the layout is owned by the caller
// (g_object_unref). `underlineAt` underlines one character, -1 for none.
PangoLayout* MakeLineLayout(FontObject& font, const std::wstring& text, int underlineAt = -1);
TextExtent MeasureLine(FontObject& font, const std::wstring& text);

}  // namespace ZELL::Gdi
