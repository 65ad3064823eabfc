#pragma once
// A row of blocks that shows that something is going on: in busy mode a
// highlighted block (or a growing stretch) moves along, driven by an
// animation thread of the control's own; in progress mode the highlighted
// stretch shows a value within a range. Any thread may drive it through the
// private messages; the thread and the window never outlive the control.
#include "Platform/Framework/Controls/Static.h"

#include "Platform/Framework/Drawing/DC.h"

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace ZELL::Skin {

class CBusyProgressCtrl : public CStatic {
public:
    enum Mode { kBusy = 1, kProgress = 2 };
    enum Motion { kBackAndForth = 1, kForwardRound = 2, kBackwardRound = 4 };
    enum BusyStyle { kSingleBlock = 1, kGrowingFill = 2 };
    // The private messages; wParam is the value.
    enum Message : UINT {
        kSetBlocks = WM_USER + 1, kSetPosition, kSetGap, kSetInterval, kSetRange, kSetMode, kStart, kStop, kStep,
        kSetMotion, kSetBusyStyle, kSetSubSteps, kSetBackground, kSetBlockFill, kSetBlockOutline, kSetHighlightFill,
        kSetHighlightOutline, kRecalcLayout, kResetPosition, kUseSystemBackground
    };

    CBusyProgressCtrl(int blocks = 10, int position = 0);
    ~CBusyProgressCtrl() override;

    virtual BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id, void* context = nullptr);
    virtual void DrawBackground(CDC* dc, const CRect& rect);
    virtual void DrawBlock(CDC* dc, const CRect& rect);
    virtual void DrawHighlightedBlock(CDC* dc, const CRect& rect);
    virtual void DrawPartialBlock(CDC* dc, const CRect& rect, int width);
    void PreSubclassWindow() override;

    void Start();
    void Stop();
    void Step();
    void RecalcLayout();
    void ResetPosition();

    void SetNumberOfBlocks(int blocks);
    void SetPosition(int position);
    void SetGap(int gap);
    void SetInterval(DWORD ms) { m_interval = ms; }
    void SetRange(int lower, int upper);
    void SetMode(int mode);
    void SetMotion(int motion);
    void SetBusyStyle(int style);
    void SetSubSteps(int subSteps);
    void SetBackgroundColor(COLORREF color) { m_background = color; }
    void SetBlockFillColor(COLORREF color) { m_blockFill = color; }
    void SetBlockOutlineColor(COLORREF color) { m_blockOutline = color; }
    void SetHighlightFillColor(COLORREF color) { m_highlightFill = color; }
    void SetHighlightOutlineColor(COLORREF color) { m_highlightOutline = color; }
    void SetUseSystemBackground(BOOL use);
    // 0xFF000000 leaves that colour as it is.
    static void SetGlobalColors(COLORREF fill, COLORREF outline, COLORREF highlightFill, COLORREF highlightOutline);

    int GetPosition() const { return m_position; }
    int GetDirection() const { return m_direction; }
    int GetNumberOfBlocks() const { return m_blocks; }
    int GetFillPositions() const { return m_fillPositions; }
    int GetMode() const { return m_mode; }
    BOOL IsRunning() const;
    double GetBlockWidth() const { return m_blockWidth; }
    int GetBlockHeight() const { return m_blockHeight; }
    // How far the highlight reaches, in blocks (fill and progress).
    double FilledBlocks() const;

protected:
    void OnPaint();
    BOOL OnEraseBkgnd(CDC* dc);
    void OnSize(UINT type, int cx, int cy);
    void OnDestroy();
    void OnSysColorChange();
    template<UINT message> LRESULT OnPrivateMessage(WPARAM wParam, LPARAM lParam)
    {
        return HandlePrivateMessage(message, wParam, lParam);
    }
    LRESULT HandlePrivateMessage(UINT message, WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

private:
    void Animate();
    void DrawBlocks(CDC* dc);
    void ReleaseMemoryDC();
    int StepCount() const;
    void Repaint();
    CRect BlockRect(double left) const;

    int m_blocks = 10;
    std::atomic<int> m_direction{1};
    std::atomic<int> m_position{0};
    CRect m_drawRect;
    int m_gap = 1;
    int m_blockHeight = 0;
    double m_blockWidth = 0;
    std::thread m_thread;
    std::atomic<bool> m_run{false};
    std::atomic<DWORD> m_interval{100};
    int m_mode = kBusy;
    int m_lower = 0;
    int m_upper = 100;
    BOOL m_useSystemBackground = TRUE;
    int m_motion = kBackAndForth;
    int m_busyStyle = kSingleBlock;
    int m_subSteps = 5;
    int m_fillPositions = 50;
    COLORREF m_background = 0;
    COLORREF m_blockFill = 0;
    COLORREF m_blockOutline = 0;
    COLORREF m_highlightFill = 0;
    COLORREF m_highlightOutline = 0;
    CDC m_memoryDC;
    CBitmap m_memoryBitmap;
    HGDIOBJ m_oldBitmap = nullptr;

    // Steps and painting take turns on the step state.
    mutable std::mutex m_stateLock;
    std::mutex m_wakeLock;
    std::condition_variable m_wake;

    static COLORREF s_blockFill;
    static COLORREF s_blockOutline;
    static COLORREF s_highlightFill;
    static COLORREF s_highlightOutline;
};

}  // namespace ZELL::Skin
