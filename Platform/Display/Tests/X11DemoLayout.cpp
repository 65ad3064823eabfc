#include "X11DemoLayout.h"

#include <pango/pangocairo.h>

namespace X11Demo {
namespace {

void Panel(cairo_t* cr, const RECT& r, double red, double green, double blue)
{
    cairo_set_source_rgb(cr, red, green, blue);
    cairo_rectangle(cr, r.left, r.top, r.right - r.left, r.bottom - r.top);
    cairo_fill_preserve(cr);
    cairo_set_source_rgb(cr, 0.2, 0.2, 0.2);
    cairo_set_line_width(cr, 1.0);
    cairo_stroke(cr);
}

void Label(cairo_t* cr, double x, double y, const char* utf8, int points)
{
    PangoLayout* layout = pango_cairo_create_layout(cr);
    PangoFontDescription* font = pango_font_description_from_string("DejaVu Sans");
    pango_font_description_set_absolute_size(font, points * PANGO_SCALE);
    pango_layout_set_font_description(layout, font);
    pango_layout_set_text(layout, utf8, -1);
    cairo_set_source_rgb(cr, 0, 0, 0);
    cairo_move_to(cr, x, y);
    pango_cairo_show_layout(cr, layout);
    pango_font_description_free(font);
    g_object_unref(layout);
}

}

bool InSwitch(POINT client)
{
    return client.x >= kSwitchRect.left && client.x < kSwitchRect.right && client.y >= kSwitchRect.top &&
           client.y < kSwitchRect.bottom;
}

POINT SwitchCentreOnScreen()
{
    return {kWindowRect.left + (kSwitchRect.left + kSwitchRect.right) / 2,
            kWindowRect.top + (kSwitchRect.top + kSwitchRect.bottom) / 2};
}

void Paint(cairo_t* cr, const State& state)
{
    // Face, a title band and three panels standing in for child windows.
    cairo_set_source_rgb(cr, 0.94, 0.94, 0.94);
    cairo_paint(cr);
    Panel(cr, {0, 0, Width(), 40}, 0.16, 0.33, 0.62);
    Label(cr, 12, 10, "Ger\xc3\xa4t \xe2\x80\x94 Einstellungen", 16);
    Panel(cr, {20, 60, 380, 130}, 1.0, 1.0, 1.0);
    Label(cr, 30, 72, state.keyPressed ? "Taste K gedr\xc3\xbc" "ckt" : "Warte auf eine Taste", 14);
    Label(cr, 30, 100, "IP 192.168.1.10  \xe3\x83\x86\xe3\x82\xb9\xe3\x83\x88", 12);
    Panel(cr, kSwitchRect, state.switchedOn ? 0.1 : 0.85, state.switchedOn ? 0.7 : 0.15, 0.15);
    Label(cr, kSwitchRect.left + 12, kSwitchRect.top + 32, state.switchedOn ? "EIN" : "AUS", 18);
    Panel(cr, {210, 150, 370, 240}, 1.0, 1.0, 0.9);
    // Shapes: a circle, a diagonal and a triangle, antialiased.
    cairo_set_source_rgb(cr, 0.9, 0.5, 0.0);
    cairo_arc(cr, 250, 195, 28, 0, 6.283185307);
    cairo_fill(cr);
    cairo_set_source_rgb(cr, 0.0, 0.0, 0.6);
    cairo_set_line_width(cr, 3.0);
    cairo_move_to(cr, 290, 160);
    cairo_line_to(cr, 360, 230);
    cairo_stroke(cr);
    cairo_move_to(cr, 300, 230);
    cairo_line_to(cr, 340, 170);
    cairo_line_to(cr, 365, 230);
    cairo_close_path(cr);
    cairo_set_source_rgb(cr, 0.3, 0.6, 0.3);
    cairo_fill(cr);
    Label(cr, 20, 260, state.switchedOn ? "Schalter: ein" : "Schalter: aus", 12);
}

}
