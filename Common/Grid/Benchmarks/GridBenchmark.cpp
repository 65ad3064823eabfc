// What a big grid costs: 100,000 rows of 10 columns filled with texts,
// sorted by one column (beside std::stable_sort of the same keys with the
// same comparison, in processor time of the thread; goal: within 2x), and scrolled a page at a time with each step painted.
// The scroll runs on grids of 1,000 and of 100,000 rows in the same loop
// (`growth` = 100,000-row step / 1,000-row step, which must stay within
// 1.2), and beside drawing the same visible cells' texts and lines with Gdi
// straight into a memory DC of the grid's size (`paint_vs_gdi`, within 1.3).
// Figures are medians of the per-iteration values.
#include "Common/Grid/ZellGrid.h"
#include "Platform/Controls/StandardControls.h"
#include "Platform/Framework/Drawing/DC.h"
#include "Platform/Framework/Drawing/Pen.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <ctime>
#include <cwchar>
#include <memory>
#include <random>
#include <vector>

using namespace ZELL::Grid;

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kColumns = 10;
constexpr int kBigRows = 100'000;
constexpr int kSmallRows = 1'000;
constexpr int kColumnWidth = 70;
constexpr int kRowHeight = 20;
constexpr int kMargin = 2;

double Median(std::vector<double> values)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double MicrosecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::micro>(Clock::now() - start).count();
}

// A sort runs on this thread alone: its processor time leaves out what other
// processes on a busy machine take from it, which wall time does not.
double ThreadCpuMicroseconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e6 + static_cast<double>(now.tv_nsec) / 1e3;
}

constexpr double kSortGoal = 2.0;

// A pop-up with one grid of `rows` rows under a fixed heading row and column.
class CBenchGrid {
public:
    explicit CBenchGrid(int rows)
    {
        ZELL::Controls::RegisterStandardControls();
        m_parent.CreateEx(0, CWnd::DefaultClassName(), L"bench", WS_POPUP | WS_VISIBLE, 0, 0, 740, 440, nullptr,
                          nullptr);
        grid.Create(CRect(10, 10, 730, 430), &m_parent, 1);
        grid.EnableTitleTips(FALSE);
        Fill(rows);
    }
    ~CBenchGrid()
    {
        grid.DestroyWindow();
        m_parent.DestroyWindow();
    }
    CBenchGrid(const CBenchGrid&) = delete;
    CBenchGrid& operator=(const CBenchGrid&) = delete;

    void Fill(int rows)
    {
        grid.AllowDrawing(FALSE);
        grid.SetRowTotal(0);
        grid.SetColumnTotal(kColumns);
        grid.SetRowTotal(rows + 1);
        grid.SetFixedRowTotal(1);
        grid.SetFixedColumnTotal(1);
        std::mt19937 random(17);
        CString text;
        for (int row = 0; row <= rows; ++row) {
            for (int col = 0; col < kColumns; ++col) {
                if (col == 1 && row > 0)
                    text.Format(L"%08u", static_cast<unsigned>(random() % 1'000'000));
                else
                    text.Format(L"r%06d c%d", row, col);  // one length for every row
                grid.SetCellText(row, col, text);
            }
            grid.SetRowHeight(row, kRowHeight);
        }
        for (int col = 0; col < kColumns; ++col)
            grid.SetColumnWidth(col, kColumnWidth);
        grid.AllowDrawing(TRUE);
    }
    // Half way down, where a step costs the most if anything counts rows.
    void ScrollToMiddle()
    {
        grid.SetScrollPos32(SB_VERT, grid.GetScrollRangeMax(SB_VERT) / 2);
        grid.Invalidate();
        grid.UpdateWindow();
    }
    double PageStep(bool down)
    {
        const auto start = Clock::now();
        grid.SendMessage(WM_VSCROLL, MAKEWPARAM(down ? SB_PAGEDOWN : SB_PAGEUP, 0), 0);
        scrolled.push_back(MicrosecondsSince(start));
        grid.UpdateWindow();
        return MicrosecondsSince(start);
    }
    std::vector<double> scrolled;  // the step without its painting

    CZellGrid grid;

private:
    CWnd m_parent;
};

// The visible cells' texts and grid lines drawn with Gdi alone, as the grid
// shows them after its step.
double DrawDirectly(CZellGrid& grid, CDC& memory)
{
    const auto start = Clock::now();
    CRect client;
    grid.GetClientRect(client);
    memory.FillSolidRect(client, RGB(255, 255, 255));
    const CCellRange visible = grid.GetVisibleNonFixedCellRange();
    CPen pen(PS_SOLID, 0, RGB(0xC0, 0xC0, 0xC0));
    CPen* oldPen = memory.SelectObject(&pen);
    memory.SetBkMode(TRANSPARENT);
    const auto drawCell = [&](int row, int col) {
        CRect rect;
        if (!grid.GetCellRect(row, col, rect))
            return;
        CRect text = rect;
        text.DeflateRect(kMargin, 0);
        memory.DrawText(grid.GetCellText(row, col), text, grid.GetCellFormat(row, col) | DT_NOPREFIX);
        memory.MoveTo(rect.left, rect.bottom);
        memory.LineTo(rect.right, rect.bottom);
        memory.LineTo(rect.right, rect.top - 1);
    };
    for (int col = 0; col <= visible.maxCol; ++col)
        drawCell(0, col);
    for (int row = visible.minRow; row <= visible.maxRow; ++row) {
        drawCell(row, 0);
        for (int col = visible.minCol; col <= visible.maxCol; ++col)
            drawCell(row, col);
    }
    memory.SelectObject(oldPen);
    return MicrosecondsSince(start);
}

void FillHundredThousandRows(benchmark::State& state)
{
    CBenchGrid bench(kSmallRows);
    for (auto _ : state)
        bench.Fill(kBigRows);
    state.counters["cells"] = static_cast<double>(kBigRows + 1) * kColumns;
}

void SortHundredThousandRows(benchmark::State& state)
{
    CBenchGrid bench(kBigRows);
    std::vector<CString> keys;
    for (int row = 1; row <= kBigRows; ++row)
        keys.push_back(bench.grid.GetCellText(row, 1));
    std::vector<double> grid;
    std::vector<double> plain;
    bool ascending = true;
    for (auto _ : state) {
        double start = ThreadCpuMicroseconds();
        bench.grid.SortTextItems(1, ascending);
        grid.push_back(ThreadCpuMicroseconds() - start);
        std::vector<CString> copy = keys;
        start = ThreadCpuMicroseconds();
        std::stable_sort(copy.begin(), copy.end(), [ascending](const CString& a, const CString& b) {
            const int order = std::wcscoll(a.GetString(), b.GetString());
            return ascending ? order < 0 : order > 0;
        });
        plain.push_back(ThreadCpuMicroseconds() - start);
        benchmark::DoNotOptimize(copy.data());
        ascending = !ascending;
    }
    state.counters["grid_us"] = Median(grid);
    state.counters["stable_sort_us"] = Median(plain);
    state.counters["ratio"] = Median(grid) / std::max(Median(plain), 1e-9);
    state.counters["goal"] = kSortGoal;
}

void ScrollOnePage(benchmark::State& state)
{
    CBenchGrid small(kSmallRows);
    CBenchGrid big(kBigRows);
    small.ScrollToMiddle();
    big.ScrollToMiddle();
    CRect client;
    big.grid.GetClientRect(client);
    CDC memory;
    memory.CreateCompatibleDC(nullptr);
    CBitmap picture;
    CDC* screen = big.grid.GetDC();
    picture.CreateCompatibleBitmap(screen, client.Width(), client.Height());
    big.grid.ReleaseDC(screen);
    CBitmap* oldPicture = memory.SelectObject(&picture);
    memory.SelectObject(big.grid.GetDefaultCell(FALSE, FALSE)->GetFontObject());

    std::vector<double> smallSteps;
    std::vector<double> bigSteps;
    std::vector<double> direct;
    std::vector<double> paintRatios;
    bool down = true;
    for (auto _ : state) {
        smallSteps.push_back(small.PageStep(down));
        bigSteps.push_back(big.PageStep(down));
        direct.push_back(DrawDirectly(big.grid, memory));
        paintRatios.push_back(bigSteps.back() / std::max(direct.back(), 1e-9));
        down = !down;
    }
    memory.SelectObject(oldPicture);
    state.counters["step_1k_us"] = Median(smallSteps);
    state.counters["step_100k_us"] = Median(bigSteps);
    state.counters["gdi_us"] = Median(direct);
    state.counters["scroll_1k_us"] = Median(small.scrolled);
    state.counters["scroll_100k_us"] = Median(big.scrolled);
    state.counters["growth"] = Median(bigSteps) / std::max(Median(smallSteps), 1e-9);
    state.counters["paint_vs_gdi"] = Median(paintRatios);
}

}  // namespace

BENCHMARK(FillHundredThousandRows)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(SortHundredThousandRows)->Unit(benchmark::kMillisecond)->Iterations(6);
BENCHMARK(ScrollOnePage)->Unit(benchmark::kMicrosecond)->MinTime(1.0);
