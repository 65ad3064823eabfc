// A line shaped without a layout must measure and draw exactly as the layout
// of the same text does, and refuse what only a layout gets right.
#include "Platform/Base/TextConversion.h"
#include "Platform/Gdi/FontCache.h"
#include "Platform/Gdi/ShapedLine.h"

#include <gtest/gtest.h>
#include <pango/pangocairo.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

using namespace ZELL::Gdi;

namespace {

std::shared_ptr<FontObject> Font(const wchar_t* face, LONG height, LONG weight = FW_NORMAL, bool italic = false)
{
    LOGFONTW log{};
    log.lfHeight = height;
    log.lfWeight = weight;
    log.lfItalic = italic ? 1 : 0;
    std::wcsncpy(log.lfFaceName, face, LF_FACESIZE - 1);
    return MakeFontObject(log);
}

// The picture of a line drawn at (3, 2) in black on white.
std::vector<unsigned char> Picture(const std::function<void(cairo_t*)>& show)
{
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, 400, 40);
    cairo_t* cr = cairo_create(surface);
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_paint(cr);
    cairo_translate(cr, 3, 2);
    cairo_set_source_rgb(cr, 0, 0, 0);
    show(cr);
    cairo_destroy(cr);
    cairo_surface_flush(surface);
    const unsigned char* data = cairo_image_surface_get_data(surface);
    std::vector<unsigned char> pixels(data, data + static_cast<std::size_t>(cairo_image_surface_get_stride(surface)) * 40);
    cairo_surface_destroy(surface);
    return pixels;
}

void ExpectSameRect(const PangoRectangle& a, const PangoRectangle& b, const char* what)
{
    EXPECT_EQ(a.x, b.x) << what;
    EXPECT_EQ(a.y, b.y) << what;
    EXPECT_EQ(a.width, b.width) << what;
    EXPECT_EQ(a.height, b.height) << what;
}

}  // namespace

TEST(ShapedLineTest, MeasuresAndDrawsLikeTheLayoutOfTheSameLine)
{
    struct Case {
        const wchar_t* face;
        LONG height;
        LONG weight;
        bool italic;
        const wchar_t* text;
    };
    const Case cases[] = {
        {L"MS Shell Dlg", -11, FW_NORMAL, false, L"Parameter 042: Überwachung 370 ms"},
        {L"Tahoma", -13, FW_BOLD, false, L"office affine ffi fl  double  spaces "},
        {L"Courier New", -12, FW_NORMAL, false, L"0x1F  [ok] {x}"},
        {L"Times New Roman", 16, FW_NORMAL, true, L"délai Größe modo Zähler"},
        {L"MS Shell Dlg", -12, FW_NORMAL, false, L"設定読込"},
        {L"Unknown Face", -10, FW_NORMAL, false, L"   "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "text " << Text::WideToUtf8(c.text));
        auto font = Font(c.face, c.height, c.weight, c.italic);
        const auto shaped = ShapedLine::Of(*font, c.text);
        ASSERT_NE(shaped, nullptr);
        PangoLayout* layout = MakeLineLayout(*font, c.text);
        PangoRectangle ink{};
        PangoRectangle logical{};
        pango_layout_get_extents(layout, &ink, &logical);
        ExpectSameRect(shaped->Ink(), ink, "ink");
        ExpectSameRect(shaped->Logical(), logical, "logical");
        EXPECT_EQ(Picture([&](cairo_t* cr) { shaped->Show(cr); }),
                  Picture([&](cairo_t* cr) { pango_cairo_show_layout(cr, layout); }));
        g_object_unref(layout);
        EXPECT_EQ(ShapedLine::Of(*font, c.text), shaped) << "a line shaped lately is looked up";
    }
}

TEST(ShapedLineTest, LeavesToTheLayoutWhatOnlyItGetsRight)
{
    auto plain = Font(L"MS Shell Dlg", -11);
    // Runs of fonts or scripts whose baselines the layout aligns, too.
    for (const wchar_t* text : {L"", L"tab\there", L"two\nlines", L"שלום", L"مرحبا", L"left\u200Fmark", L"x\u202Ey",
                                L"日本語 and Latin", L"設定を読む", L"Latin и кириллица"})
        EXPECT_EQ(ShapedLine::Of(*plain, text), nullptr) << Text::WideToUtf8(text);
    LOGFONTW log{};
    log.lfHeight = -11;
    log.lfUnderline = 1;
    EXPECT_EQ(ShapedLine::Of(*MakeFontObject(log), L"underlined"), nullptr);
    log.lfUnderline = 0;
    log.lfStrikeOut = 1;
    EXPECT_EQ(ShapedLine::Of(*MakeFontObject(log), L"struck out"), nullptr);
}
