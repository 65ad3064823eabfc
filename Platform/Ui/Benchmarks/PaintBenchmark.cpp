// One full repaint of a busy window - 300 lines of text and 300 filled
// rectangles - through the window layer, beside the same picture drawn with
// cairo and pango by hand. The window layer's figure carries the hand-drawn
// time measured in the same iterations, and their ratio (goal: 1.1): the
// median of the iterations' ratios of the painting thread's processor time,
// which leaves out what other processes on a busy machine take from it.
#include "Platform/Display/HeadlessDisplay.h"
#include "Platform/Gdi/Gdi.h"
#include "Platform/Ui/DisplayAccess.h"
#include "Platform/Ui/WinUser.h"

#include <benchmark/benchmark.h>
#include <pango/pangocairo.h>

#include <algorithm>
#include <array>
#include <optional>
#include <chrono>
#include <cstdlib>
#include <ctime>
#include <cwchar>
#include <string>
#include <vector>

namespace {

constexpr int kWidth = 1280;
constexpr int kHeight = 1000;
constexpr int kItems = 300;
constexpr int kRows = 75;
constexpr int kColumnWidth = 320;
constexpr int kRowHeight = 13;
constexpr int kFontPixels = 12;
constexpr int kColors = 16;

using Clock = std::chrono::steady_clock;

double Seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

constexpr double kGoal = 1.1;

double ThreadCpuSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

double Median(std::vector<double> values)
{
    if (values.empty())
        return 0;
    std::nth_element(values.begin(), values.begin() + static_cast<std::ptrdiff_t>(values.size() / 2), values.end());
    return values[values.size() / 2];
}

struct Item {
    std::wstring wide;
    std::string utf8;
    POINT textAt{};
    RECT textBox{};  // DrawText's rectangle: the rest of the column
    RECT swatch{};
    COLORREF color = 0;
    bool drawText = false;  // DrawTextW rather than TextOutW
};

// The picture both sides draw, in client coordinates.
const std::vector<Item>& Scene()
{
    static const std::vector<Item> items = [] {
        static const wchar_t* const kWords[] = {L"Eingangsfilter", L"délai", L"Kanal", L"Überwachung", L"timeout",
                                                L"Größe", L"modo", L"Zähler"};
        std::vector<Item> out;
        for (int i = 0; i < kItems; ++i) {
            Item item;
            const int x = (i / kRows) * kColumnWidth + 6;
            const int y = 6 + (i % kRows) * kRowHeight;
            wchar_t buffer[96];
            std::swprintf(buffer, 96, L"Parameter %03d: %ls %d ms, ch %d", i, kWords[i % 8], (i * 37) % 1000, i % 16);
            item.wide = buffer;
            for (wchar_t c : item.wide) {
                // The scene's texts stay within two-byte UTF-8.
                if (c < 0x80) {
                    item.utf8 += static_cast<char>(c);
                } else {
                    item.utf8 += static_cast<char>(0xC0 | (c >> 6));
                    item.utf8 += static_cast<char>(0x80 | (c & 0x3F));
                }
            }
            item.swatch = {x, y + 2, x + 10 + (i % 4) * 4, y + 11};
            item.textAt = {x + 28, y};
            item.textBox = {x + 28, y, x + kColumnWidth - 4, y + kRowHeight};
            const int shade = i % kColors;  // the window layer has one brush per shade
            item.color = RGB(shade * 16, shade * 9, 255 - shade * 12);
            item.drawText = (i % 2) == 1;
            out.push_back(std::move(item));
        }
        return out;
    }();
    return items;
}

// ---------------------------------------------------------------------------
// Through the window layer
// ---------------------------------------------------------------------------

struct PaintResources {
    HFONT font = nullptr;
    std::array<HBRUSH, kColors> brushes{};
};

PaintResources& Resources()
{
    static PaintResources resources = [] {
        PaintResources r;
        r.font = CreateFontW(-kFontPixels, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0, 0, 0, 0,
                             L"DejaVu Sans");
        for (int i = 0; i < kColors; ++i)
            r.brushes[static_cast<std::size_t>(i)] = CreateSolidBrush(Scene()[static_cast<std::size_t>(i)].color);
        return r;
    }();
    return resources;
}

void PaintScene(HDC dc)
{
    const PaintResources& r = Resources();
    HGDIOBJ oldFont = SelectObject(dc, r.font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(0, 0, 0));
    int index = 0;
    for (const Item& item : Scene()) {
        FillRect(dc, &item.swatch, r.brushes[static_cast<std::size_t>(index++ % kColors)]);
        if (item.drawText) {
            RECT box = item.textBox;
            DrawTextW(dc, item.wide.c_str(), static_cast<int>(item.wide.size()), &box,
                      DT_LEFT | DT_SINGLELINE | DT_NOPREFIX);
        } else {
            TextOutW(dc, item.textAt.x, item.textAt.y, item.wide.c_str(), static_cast<int>(item.wide.size()));
        }
    }
    SelectObject(dc, oldFont);
}

LRESULT PaintProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_PAINT) {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, &ps);
        if (dc != nullptr)
            PaintScene(dc);
        EndPaint(hwnd, &ps);
        return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

void DrainQueue()
{
    MSG msg;
    for (int n = 0; n < 1000 && PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE); ++n)
        DispatchMessageW(&msg);
}

// A visible top-level whose client area is the scene's size.
class PaintWindow {
public:
    PaintWindow()
    {
        static const bool registered = [] {
            WNDCLASSEXW wc;
            wc.lpfnWndProc = PaintProc;
            wc.lpszClassName = L"ZellPaintBenchmark";
            wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
            return RegisterClassExW(&wc) != 0;
        }();
        if (registered)
            m_hwnd = CreateWindowExW(0, L"ZellPaintBenchmark", L"paint", WS_POPUP | WS_VISIBLE, 0, 0, kWidth, kHeight,
                                    nullptr, nullptr, nullptr, nullptr);
        DrainQueue();
    }
    ~PaintWindow()
    {
        if (m_hwnd != nullptr)
            DestroyWindow(m_hwnd);
        DrainQueue();
    }
    PaintWindow(const PaintWindow&) = delete;
    PaintWindow& operator=(const PaintWindow&) = delete;

    HWND Handle() const { return m_hwnd; }
    void Repaint() const
    {
        InvalidateRect(m_hwnd, nullptr, TRUE);
        UpdateWindow(m_hwnd);
    }

private:
    HWND m_hwnd = nullptr;
};

// ---------------------------------------------------------------------------
// By hand, with the rendering options the drawing layer uses
// ---------------------------------------------------------------------------

class DirectPainter {
public:
    DirectPainter()
    {
        m_surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, kWidth, kHeight);
        m_context = pango_font_map_create_context(pango_cairo_font_map_get_default());
        cairo_font_options_t* options = cairo_font_options_create();
        cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
        cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_ON);
        cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_SLIGHT);
        pango_cairo_context_set_font_options(m_context, options);
        cairo_font_options_destroy(options);
        pango_cairo_context_set_resolution(m_context, 96.0);
        m_layout = pango_layout_new(m_context);
        PangoFontDescription* font = pango_font_description_new();
        pango_font_description_set_family(font, "DejaVu Sans");
        pango_font_description_set_absolute_size(font, kFontPixels * PANGO_SCALE);
        pango_layout_set_font_description(m_layout, font);
        pango_font_description_free(font);
        pango_layout_set_single_paragraph_mode(m_layout, TRUE);
    }
    ~DirectPainter()
    {
        g_object_unref(m_layout);
        g_object_unref(m_context);
        cairo_surface_destroy(m_surface);
    }
    DirectPainter(const DirectPainter&) = delete;
    DirectPainter& operator=(const DirectPainter&) = delete;

    cairo_surface_t* Surface() const { return m_surface; }

    void Paint()
    {
        cairo_t* cr = cairo_create(m_surface);
        cairo_set_source_rgb(cr, 1, 1, 1);
        cairo_paint(cr);
        for (const Item& item : Scene()) {
            cairo_set_source_rgb(cr, GetRValue(item.color) / 255.0, GetGValue(item.color) / 255.0,
                                 GetBValue(item.color) / 255.0);
            cairo_rectangle(cr, item.swatch.left, item.swatch.top, item.swatch.right - item.swatch.left,
                            item.swatch.bottom - item.swatch.top);
            cairo_fill(cr);
            cairo_save(cr);
            if (item.drawText) {
                cairo_rectangle(cr, item.textBox.left, item.textBox.top, item.textBox.right - item.textBox.left,
                                item.textBox.bottom - item.textBox.top);
                cairo_clip(cr);
            }
            cairo_set_source_rgb(cr, 0, 0, 0);
            pango_layout_set_text(m_layout, item.utf8.c_str(), static_cast<int>(item.utf8.size()));
            cairo_move_to(cr, item.textAt.x, item.textAt.y);
            pango_cairo_show_layout(cr, m_layout);
            cairo_restore(cr);
        }
        cairo_destroy(cr);
        cairo_surface_flush(m_surface);
    }

private:
    cairo_surface_t* m_surface = nullptr;
    PangoContext* m_context = nullptr;
    PangoLayout* m_layout = nullptr;
};

// Pixels whose channels differ by more than a small tolerance between what
// the window shows and the hand-drawn surface: a check that both sides draw
// the same picture, not a timing.
int DifferingPixels(HWND hwnd, cairo_surface_t* reference)
{
    auto* headless = dynamic_cast<Display::CHeadlessDisplay*>(&Display::TheDisplay());
    if (headless == nullptr)
        return -1;
    const Display::NativeId native = NativeWindowOf(hwnd);
    const unsigned char* data = cairo_image_surface_get_data(reference);
    const int stride = cairo_image_surface_get_stride(reference);
    int differing = 0;
    for (int y = 0; y < kHeight; ++y) {
        const auto* row = reinterpret_cast<const std::uint32_t*>(data + static_cast<std::size_t>(y) * stride);
        for (int x = 0; x < kWidth; ++x) {
            const std::optional<COLORREF> shown = headless->PixelAt(native, x, y);
            if (!shown)
                return -1;
            const std::uint32_t want = row[x];
            const int dr = std::abs(static_cast<int>(GetRValue(*shown)) - static_cast<int>((want >> 16) & 0xFF));
            const int dg = std::abs(static_cast<int>(GetGValue(*shown)) - static_cast<int>((want >> 8) & 0xFF));
            const int db = std::abs(static_cast<int>(GetBValue(*shown)) - static_cast<int>(want & 0xFF));
            if (dr > 8 || dg > 8 || db > 8)
                ++differing;
        }
    }
    return differing;
}

// ZELL_BENCH_PNG=<folder> keeps both pictures for a look.
void SavePictures(HWND hwnd, cairo_surface_t* reference)
{
    const char* folder = std::getenv("ZELL_BENCH_PNG");
    auto* headless = dynamic_cast<Display::CHeadlessDisplay*>(&Display::TheDisplay());
    if (folder == nullptr || headless == nullptr)
        return;
    headless->SaveAsPng(NativeWindowOf(hwnd), std::string(folder) + "/paint-window-layer.png");
    cairo_surface_write_to_png(reference, (std::string(folder) + "/paint-cairo-pango.png").c_str());
}

void BM_Paint_CairoPango(benchmark::State& state)
{
    DirectPainter direct;
    for (auto _ : state) {
        direct.Paint();
        benchmark::ClobberMemory();
    }
    state.counters["items"] = 2 * kItems;
}

void BM_Paint_WindowLayer(benchmark::State& state)
{
    PaintWindow window;
    if (window.Handle() == nullptr) {
        state.SkipWithError("no window");
        return;
    }
    DirectPainter direct;
    window.Repaint();
    direct.Paint();
    const int differing = DifferingPixels(window.Handle(), direct.Surface());
    SavePictures(window.Handle(), direct.Surface());

    std::vector<double> layerCpu;
    std::vector<double> directCpu;
    std::vector<double> ratios;
    for (auto _ : state) {
        const auto t0 = Clock::now();
        const double c0 = ThreadCpuSeconds();
        window.Repaint();
        const double c1 = ThreadCpuSeconds();
        const auto t1 = Clock::now();
        direct.Paint();
        const double c2 = ThreadCpuSeconds();
        benchmark::ClobberMemory();
        layerCpu.push_back(c1 - c0);
        directCpu.push_back(c2 - c1);
        if (c2 > c1)
            ratios.push_back((c1 - c0) / (c2 - c1));
        state.SetIterationTime(Seconds(t1 - t0));
    }
    if (!ratios.empty()) {
        state.counters["layer_cpu_ms"] = Median(layerCpu) * 1e3;
        state.counters["direct_cpu_ms"] = Median(directCpu) * 1e3;
        state.counters["ratio"] = Median(ratios);
        state.counters["goal"] = kGoal;
    }
    state.counters["diff_px"] = differing;
}

}  // namespace

BENCHMARK(BM_Paint_CairoPango)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Paint_WindowLayer)->Unit(benchmark::kMillisecond)->UseManualTime();
