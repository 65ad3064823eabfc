#pragma once
// A parent window for the grid's tests that notes every notification the
// grid sends (with its cell and text) and answers with set replies; input is
// injected into the headless display, on the manual clock.
#include "Common/Grid/ZellGrid.h"
#include "Platform/Base/Clock.h"
#include "Platform/Controls/StandardControls.h"
#include "Platform/Display/HeadlessDisplay.h"
#include "Platform/Ui/Tests/UiTestSupport.h"

#include <gtest/gtest.h>

#include <map>
#include <vector>

namespace GridTest {

struct Note {
    int code = 0;
    int row = -1;
    int col = -1;
    CString text;
};

class CGridParent : public CWnd {
public:
    std::vector<Note> notes;
    std::map<int, LRESULT> replies;
    int commands = 0;

    int Count(int code) const
    {
        int count = 0;
        for (const Note& note : notes)
            count += note.code == code ? 1 : 0;
        return count;
    }
    const Note* Last(int code) const
    {
        for (auto it = notes.rbegin(); it != notes.rend(); ++it)
            if (it->code == code)
                return &*it;
        return nullptr;
    }

protected:
    BOOL OnNotify(WPARAM, LPARAM lParam, LRESULT* result) override
    {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        const int code = static_cast<int>(header->code);
        Note note{code};
        if (code == ZELL::Grid::GRIDN_GETDISPINFO) {
            const auto* info = reinterpret_cast<const ZELL::Grid::NMGRIDDISPINFO*>(lParam);
            note.row = info->item.row;
            note.col = info->item.col;
            note.text = info->item.text;
        } else if (code != ZELL::Grid::GRIDN_ODCACHEHINT) {
            const auto* cell = reinterpret_cast<const ZELL::Grid::NMGRIDCELL*>(lParam);
            note.row = cell->row;
            note.col = cell->col;
        }
        notes.push_back(note);
        const auto reply = replies.find(code);
        *result = reply != replies.end() ? reply->second : 0;
        return TRUE;
    }
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override
    {
        ++commands;
        return CWnd::OnCommand(wParam, lParam);
    }
};

// The modifier keys held around an injected key or click.
enum Modifier : unsigned { kNone = 0, kShift = 1, kControl = 2 };

class CGridScene {
public:
    static constexpr POINT kOrigin{100, 80};
    static constexpr int kGridId = 77;

    explicit CGridScene(int width = 420, int height = 320)
    {
        ZELL::Controls::RegisterStandardControls();
        parent.CreateEx(0, CWnd::DefaultClassName(), L"grid scene", WS_POPUP | WS_VISIBLE, kOrigin.x, kOrigin.y,
                        width, height, nullptr, nullptr);
        SetActiveWindow(parent.m_hWnd);
        UiTest::Drain();
    }
    ~CGridScene()
    {
        if (parent.m_hWnd != nullptr)
            parent.DestroyWindow();
        UiTest::Drain();
    }
    CGridScene(const CGridScene&) = delete;
    CGridScene& operator=(const CGridScene&) = delete;

    bool Make(ZELL::Grid::CZellGrid& grid, const RECT& rect = {10, 10, 410, 310}) const
    {
        const bool made = grid.Create(rect, const_cast<CGridParent*>(&parent), kGridId) != FALSE;
        Settle();
        return made;
    }
    static void Settle()
    {
        UiTest::Drain();
        for (int i = 0; i < 3 && UiTest::Drain() > 0;)
            ++i;
    }
    static Display::CHeadlessDisplay& Display() { return UiTest::Headless(); }
    static POINT Screen(HWND window, POINT at)
    {
        ClientToScreen(window, &at);
        return at;
    }
    static void Hold(unsigned modifiers, bool down)
    {
        const auto key = [down](UINT vk) { down ? Display().InjectKeyDown(vk) : Display().InjectKeyUp(vk); };
        if (modifiers & kShift)
            key(VK_SHIFT);
        if (modifiers & kControl)
            key(VK_CONTROL);
    }
    void MoveTo(HWND window, POINT at) const
    {
        Display().InjectMouseMove(Screen(window, at));
        Settle();
    }
    void Press(HWND window, POINT at, unsigned modifiers = kNone) const
    {
        Hold(modifiers, true);
        Display().InjectMouseMove(Screen(window, at));
        Display().InjectMouseDown(Display::MouseButton::Left, Screen(window, at));
        Settle();
    }
    void Release(HWND window, POINT at, unsigned modifiers = kNone) const
    {
        Display().InjectMouseUp(Display::MouseButton::Left, Screen(window, at));
        Hold(modifiers, false);
        Settle();
    }
    void Click(HWND window, POINT at, unsigned modifiers = kNone) const
    {
        Platform::Clock::Advance(GetDoubleClickTime() + 1);
        Press(window, at, modifiers);
        Release(window, at, modifiers);
    }
    void DoubleClick(HWND window, POINT at) const
    {
        Platform::Clock::Advance(GetDoubleClickTime() + 1);
        Press(window, at);
        Release(window, at);
        Platform::Clock::Advance(10);
        Press(window, at);
        Release(window, at);
    }
    void Key(UINT vk, unsigned modifiers = kNone) const
    {
        Hold(modifiers, true);
        Display().InjectKeyDown(vk);
        Display().InjectKeyUp(vk);
        Hold(modifiers, false);
        Settle();
    }
    void Type(const std::wstring& text) const
    {
        Display().InjectText(text);
        Settle();
    }
    // Lets time pass on the test clock and serves the timers that came due.
    void Wait(DWORD ms, DWORD slice = 5) const
    {
        for (DWORD done = 0; done < ms; done += slice) {
            Platform::Clock::Advance(slice);
            Settle();
        }
    }
    COLORREF PixelOf(HWND window, POINT at) const
    {
        UpdateWindow(parent.m_hWnd);
        Settle();
        MapWindowPoints(window, parent.m_hWnd, &at, 1);
        return Display().PixelAt(NativeWindowOf(parent.m_hWnd), at.x, at.y).value_or(0xFFFFFFFFu);
    }

    // Declared before the window, so that it outlives what the window says while it goes.
    Platform::ManualClockScope clock{20000000};
    CGridParent parent;
};

// The centre of a cell in the grid's client coordinates.
inline POINT CentreOf(const ZELL::Grid::CZellGrid& grid, int row, int col)
{
    CRect rect;
    if (!grid.GetCellRect(row, col, rect))
        return {-100, -100};
    return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

// Rows and columns of one size each, one fixed row and column, every cell
// named after its place ("r<row>c<col>").
inline void FillNames(ZELL::Grid::CZellGrid& grid);
inline void Shape(ZELL::Grid::CZellGrid& grid, int rows, int cols, int height, int width)
{
    grid.SetRowTotal(rows);
    grid.SetColumnTotal(cols);
    grid.SetFixedRowTotal(1);
    grid.SetFixedColumnTotal(1);
    for (int row = 0; row < rows; ++row)
        grid.SetRowHeight(row, height);
    for (int col = 0; col < cols; ++col)
        grid.SetColumnWidth(col, width);
    FillNames(grid);
    grid.EnableTitleTips(FALSE);
}

// Fills every cell with "r<row>c<col>".
inline void FillNames(ZELL::Grid::CZellGrid& grid)
{
    for (int row = 0; row < grid.GetRowCount(); ++row)
        for (int col = 0; col < grid.GetColumnCount(); ++col) {
            CString text;
            text.Format(L"r%dc%d", row, col);
            grid.SetCellText(row, col, text);
        }
}

}
