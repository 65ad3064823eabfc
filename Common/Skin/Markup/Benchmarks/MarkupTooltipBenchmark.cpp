// What a tooltip costs from its mark-up to its picture: a title, three
// paragraphs with bold and coloured words, a small table and an image,
// parsed, measured and drawn into a memory DC by the mark-up drawer, beside
// the same words laid out and drawn by pango straight onto a cairo surface
// of the same size. Both sides run in every iteration, in alternating order;
// `ratio_median` is the median of the per-iteration ratios (drawer / pango),
// `drawer_us` and `pango_us` the medians of each side, `measure_us` the
// drawer's measuring pass alone.
#include "Common/Skin/Drawing/MarkupDrawer.h"
#include "Platform/Gdi/Gdi.h"

#include <benchmark/benchmark.h>
#include <cairo.h>
#include <pango/pangocairo.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <vector>

using namespace ZELL::Skin;

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kWidth = 320;
constexpr int kHeight = 260;

std::wstring Tooltip(const std::wstring& image)
{
    return L"<h2>Network settings</h2>"
           L"The <b>IP address</b> of the coupler is set here; it takes effect after a <font color=red>restart</font>.\n"
           L"With <b>DHCP</b> the address comes from the server, and the fields below are only shown.\n"
           L"The <i>subnet mask</i> and the <font color=#0000c0>gateway</font> must fit the address.\n"
           L"<table border=1><tr><td>Address</td><td>192.168.1.10</td></tr>"
           L"<tr><td>Mask</td><td>255.255.255.0</td></tr></table>"
           L"<bmp handle=" + image + L"> Changes are written with <b>Write</b>.";
}

const char* PangoMarkup()
{
    return "<span size='large' weight='bold' foreground='#ff9900'>Network settings</span>\n"
           "The <b>IP address</b> of the coupler is set here; it takes effect after a "
           "<span foreground='red'>restart</span>.\n"
           "With <b>DHCP</b> the address comes from the server, and the fields below are only shown.\n"
           "The <i>subnet mask</i> and the <span foreground='#0000c0'>gateway</span> must fit the address.\n"
           "Address\t192.168.1.10\nMask\t255.255.255.0\n"
           "Changes are written with <b>Write</b>.";
}

double Median(std::vector<double> values)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// With `fresh`, every iteration lays out a text at a wrap width it has not
// had lately (and a title it has not had), so its lines are shaped anew as
// on the first show of a tip; otherwise the same tip is shown again, as on
// every later show and paint.
void Compare(benchmark::State& state, bool fresh)
{
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP picture = CreateCompatibleBitmap(screen, kWidth, kHeight);
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(memory, picture);
    HBITMAP image = CreateBitmap(16, 16, 1, 32, nullptr);
    const std::wstring text = Tooltip(std::to_wstring(reinterpret_cast<std::uintptr_t>(image)));

    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, kWidth, kHeight);
    cairo_t* cr = cairo_create(surface);
    PangoFontDescription* font = pango_font_description_from_string("DejaVu Sans 10");

    // A tooltip builds its drawer once and measures and draws on every show.
    CMarkupDrawer tip;
    tip.SetMaxWidth(kWidth);
    std::vector<double> drawer;
    std::vector<double> measuring;
    std::vector<double> pango;
    std::vector<double> ratios;
    bool drawerFirst = true;
    int iteration = 0;
    for (auto _ : state) {
        const int width = fresh ? kWidth - 80 + iteration % 80 : kWidth;
        const std::wstring shown = fresh ? L"<b>Tip " + std::to_wstring(iteration) + L"</b><br>" + text : text;
        ++iteration;
        auto runDrawer = [&] {
            const auto start = Clock::now();
            SIZE size{};
            tip.SetMaxWidth(width);
            tip.Measure(memory, shown, size);
            const auto measured = Clock::now();
            tip.DrawMeasured(memory, RECT{0, 0, size.cx, size.cy});
            measuring.push_back(std::chrono::duration<double, std::micro>(measured - start).count());
            return std::chrono::duration<double, std::micro>(Clock::now() - start).count();
        };
        auto runPango = [&] {
            const auto start = Clock::now();
            PangoLayout* layout = pango_cairo_create_layout(cr);
            pango_layout_set_font_description(layout, font);
            pango_layout_set_width(layout, width * PANGO_SCALE);
            pango_layout_set_wrap(layout, PANGO_WRAP_WORD);
            pango_layout_set_markup(layout, PangoMarkup(), -1);
            int width = 0;
            int height = 0;
            pango_layout_get_pixel_size(layout, &width, &height);
            cairo_move_to(cr, 0, 0);
            pango_cairo_show_layout(cr, layout);
            g_object_unref(layout);
            benchmark::DoNotOptimize(width + height);
            return std::chrono::duration<double, std::micro>(Clock::now() - start).count();
        };
        double d = 0;
        double p = 0;
        if (drawerFirst) {
            d = runDrawer();
            p = runPango();
        } else {
            p = runPango();
            d = runDrawer();
        }
        drawerFirst = !drawerFirst;
        drawer.push_back(d);
        pango.push_back(p);
        ratios.push_back(p > 0 ? d / p : 0);
    }
    state.counters["ratio_median"] = Median(ratios);
    state.counters["drawer_us"] = Median(drawer);
    state.counters["pango_us"] = Median(pango);
    state.counters["measure_us"] = Median(measuring);

    pango_font_description_free(font);
    cairo_destroy(cr);
    cairo_surface_destroy(surface);
    DeleteObject(image);
    SelectObject(memory, old);
    DeleteObject(picture);
    DeleteDC(memory);
}

void TooltipShownAgain(benchmark::State& state) { Compare(state, false); }
void TooltipShownFirst(benchmark::State& state) { Compare(state, true); }

} // namespace

BENCHMARK(TooltipShownAgain)->Unit(benchmark::kMicrosecond)->MinTime(1.0);
BENCHMARK(TooltipShownFirst)->Unit(benchmark::kMicrosecond)->MinTime(1.0);
