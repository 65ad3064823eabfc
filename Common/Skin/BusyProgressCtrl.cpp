#include "Common/Skin/BusyProgressCtrl.h"

#include "Platform/Framework/Drawing/PaintDC.h"

#include <algorithm>
#include <chrono>
#include <cmath>

namespace ZELL::Skin {

namespace {

constexpr COLORREF kKeep = 0xFF000000u;

}

COLORREF CBusyProgressCtrl::s_blockFill = 0xDCBEA0;
COLORREF CBusyProgressCtrl::s_blockOutline = 0x875A32;
COLORREF CBusyProgressCtrl::s_highlightFill = 0xFFDCBE;
COLORREF CBusyProgressCtrl::s_highlightOutline = 0x875A32;

BEGIN_MESSAGE_MAP(CBusyProgressCtrl, CStatic)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_SIZE()
    ON_WM_DESTROY()
    ON_WM_SYSCOLORCHANGE()
    ON_MESSAGE(kSetBlocks, OnPrivateMessage<kSetBlocks>)
    ON_MESSAGE(kSetPosition, OnPrivateMessage<kSetPosition>)
    ON_MESSAGE(kSetGap, OnPrivateMessage<kSetGap>)
    ON_MESSAGE(kSetInterval, OnPrivateMessage<kSetInterval>)
    ON_MESSAGE(kSetRange, OnPrivateMessage<kSetRange>)
    ON_MESSAGE(kSetMode, OnPrivateMessage<kSetMode>)
    ON_MESSAGE(kStart, OnPrivateMessage<kStart>)
    ON_MESSAGE(kStop, OnPrivateMessage<kStop>)
    ON_MESSAGE(kStep, OnPrivateMessage<kStep>)
    ON_MESSAGE(kSetMotion, OnPrivateMessage<kSetMotion>)
    ON_MESSAGE(kSetBusyStyle, OnPrivateMessage<kSetBusyStyle>)
    ON_MESSAGE(kSetSubSteps, OnPrivateMessage<kSetSubSteps>)
    ON_MESSAGE(kSetBackground, OnPrivateMessage<kSetBackground>)
    ON_MESSAGE(kSetBlockFill, OnPrivateMessage<kSetBlockFill>)
    ON_MESSAGE(kSetBlockOutline, OnPrivateMessage<kSetBlockOutline>)
    ON_MESSAGE(kSetHighlightFill, OnPrivateMessage<kSetHighlightFill>)
    ON_MESSAGE(kSetHighlightOutline, OnPrivateMessage<kSetHighlightOutline>)
    ON_MESSAGE(kRecalcLayout, OnPrivateMessage<kRecalcLayout>)
    ON_MESSAGE(kResetPosition, OnPrivateMessage<kResetPosition>)
    ON_MESSAGE(kUseSystemBackground, OnPrivateMessage<kUseSystemBackground>)
END_MESSAGE_MAP()

// Zero blocks or zero sub-steps count as one.
CBusyProgressCtrl::CBusyProgressCtrl(int blocks, int position)
    : m_blocks(std::max(1, blocks)), m_position(position), m_background(::GetSysColor(COLOR_BTNFACE)),
      m_blockFill(s_blockFill), m_blockOutline(s_blockOutline), m_highlightFill(s_highlightFill),
      m_highlightOutline(s_highlightOutline)
{
    m_fillPositions = m_blocks * m_subSteps;
}

// The animation ends with the control, whoever forgot to stop it.
CBusyProgressCtrl::~CBusyProgressCtrl()
{
    Stop();
    ReleaseMemoryDC();
}

void CBusyProgressCtrl::SetGlobalColors(COLORREF fill, COLORREF outline, COLORREF highlightFill,
                                        COLORREF highlightOutline)
{
    if (fill != kKeep)
        s_blockFill = fill;
    if (outline != kKeep)
        s_blockOutline = outline;
    if (highlightFill != kKeep)
        s_highlightFill = highlightFill;
    if (highlightOutline != kKeep)
        s_highlightOutline = highlightOutline;
}

BOOL CBusyProgressCtrl::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id, void* context)
{
    if (!CWnd::Create(L"Static", L"BusyProgressCtrl", style, rect, parent, id, context))
        return FALSE;
    RecalcLayout();
    return TRUE;
}

void CBusyProgressCtrl::PreSubclassWindow()
{
    CStatic::PreSubclassWindow();
    RecalcLayout();
}

void CBusyProgressCtrl::RecalcLayout()
{
    std::lock_guard lock(m_stateLock);
    if (m_drawRect.IsRectEmpty() && m_hWnd != nullptr)
        GetClientRect(&m_drawRect);
    m_blockWidth = static_cast<double>(m_drawRect.right - m_blocks * m_gap - m_drawRect.left) / m_blocks;
    m_blockHeight = m_drawRect.bottom - m_drawRect.top;
}

void CBusyProgressCtrl::Repaint()
{
    if (m_hWnd != nullptr)
        ::InvalidateRect(m_hWnd, nullptr, FALSE);
}

// --- state -----------------------------------------------------------------------

int CBusyProgressCtrl::StepCount() const
{
    return m_busyStyle == kGrowingFill ? m_fillPositions : m_blocks;
}

void CBusyProgressCtrl::Step()
{
    {
        std::lock_guard lock(m_stateLock);
        int position = m_position;
        int direction = m_direction;
        if (m_mode == kProgress) {
            position += direction;
        } else {
            const int n = StepCount();
            switch (m_motion) {
            case kForwardRound:
                position = position + 1 == n ? direction - 1 : position + direction;
                break;
            case kBackwardRound:
                position = position == 0 ? n + direction : position + direction;
                break;
            default:
                if (position >= n - 1)
                    direction = -1;
                if (position <= 0)
                    direction = 1;
                position += direction;
                break;
            }
        }
        m_position = position;
        m_direction = direction;
    }
    Repaint();
}

void CBusyProgressCtrl::ResetPosition()
{
    std::lock_guard lock(m_stateLock);
    if (m_mode == kBusy) {
        m_position = m_motion == kBackwardRound ? StepCount() : 0;
        m_direction = m_motion == kBackwardRound ? -1 : 1;
    } else {
        m_position = 0;
        m_direction = 1;
    }
}

void CBusyProgressCtrl::SetNumberOfBlocks(int blocks)
{
    {
        std::lock_guard lock(m_stateLock);
        m_blocks = std::max(1, blocks);
        if (m_busyStyle == kGrowingFill)
            m_fillPositions = m_blocks * m_subSteps;
    }
    RecalcLayout();
}

void CBusyProgressCtrl::SetPosition(int position)
{
    m_position = position;
    Repaint();
}

void CBusyProgressCtrl::SetGap(int gap)
{
    {
        std::lock_guard lock(m_stateLock);
        m_gap = std::max(0, gap);
    }
    RecalcLayout();
}

void CBusyProgressCtrl::SetRange(int lower, int upper)
{
    std::lock_guard lock(m_stateLock);
    m_lower = lower;
    m_upper = upper;
}

// Only the two modes there are; a change stops the animation first.
void CBusyProgressCtrl::SetMode(int mode)
{
    Stop();
    if (mode != kBusy && mode != kProgress)
        return;
    std::lock_guard lock(m_stateLock);
    m_mode = mode;
    if (mode == kProgress)
        m_direction = 1;
}

void CBusyProgressCtrl::SetMotion(int motion)
{
    std::lock_guard lock(m_stateLock);
    m_motion = motion;
    if (m_mode != kBusy)
        return;
    if (motion == kForwardRound)
        m_direction = 1;
    else if (motion == kBackwardRound)
        m_direction = -1;
}

void CBusyProgressCtrl::SetBusyStyle(int style)
{
    {
        std::lock_guard lock(m_stateLock);
        if (m_mode != kBusy)
            return;
        m_busyStyle = style;
        if (style == kGrowingFill)
            m_fillPositions = m_blocks * m_subSteps;
    }
    ResetPosition();
}

void CBusyProgressCtrl::SetSubSteps(int subSteps)
{
    int style = kSingleBlock;
    {
        std::lock_guard lock(m_stateLock);
        m_subSteps = std::max(1, subSteps);
        style = m_busyStyle;
    }
    SetBusyStyle(style);
}

void CBusyProgressCtrl::SetUseSystemBackground(BOOL use)
{
    m_useSystemBackground = use != FALSE;
    if (m_useSystemBackground)
        m_background = ::GetSysColor(COLOR_BTNFACE);
}

// --- the animation thread ------------------------------------------------------------

BOOL CBusyProgressCtrl::IsRunning() const
{
    return m_thread.joinable();
}

// The run flag is set before the thread exists, so a Stop that follows at
// once always finds it and ends the thread.
void CBusyProgressCtrl::Start()
{
    if (m_mode != kBusy)
        return;
    Stop();
    m_run = true;
    m_thread = std::thread([this] { Animate(); });
}

void CBusyProgressCtrl::Stop()
{
    {
        std::lock_guard lock(m_wakeLock);
        m_run = false;
    }
    m_wake.notify_all();
    // The thread sees the flag at once (it waits on the condition), so the
    // join ends within one step.
    if (m_thread.joinable())
        m_thread.join();
}

void CBusyProgressCtrl::Animate()
{
    std::unique_lock lock(m_wakeLock);
    while (m_run) {
        lock.unlock();
        Step();
        lock.lock();
        m_wake.wait_for(lock, std::chrono::milliseconds(m_interval.load()), [this] { return !m_run; });
    }
}

// --- messages -------------------------------------------------------------------------

LRESULT CBusyProgressCtrl::HandlePrivateMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    const int value = static_cast<int>(wParam);
    const auto color = static_cast<COLORREF>(wParam);
    switch (message) {
    case kSetBlocks: SetNumberOfBlocks(value); Repaint(); break;
    case kSetPosition: SetPosition(value); break;
    case kSetGap: SetGap(value); Repaint(); break;
    case kSetInterval: SetInterval(static_cast<DWORD>(wParam)); break;
    case kSetRange: SetRange(value, static_cast<int>(lParam)); break;
    case kSetMode: SetMode(value); break;
    case kStart: Start(); break;
    case kStop: Stop(); break;
    case kStep: Step(); break;
    case kSetMotion: SetMotion(value); break;
    case kSetBusyStyle: SetBusyStyle(value); break;
    case kSetSubSteps: SetSubSteps(value); break;
    case kSetBackground: SetBackgroundColor(color); Repaint(); break;
    case kSetBlockFill: SetBlockFillColor(color); Repaint(); break;
    case kSetBlockOutline: SetBlockOutlineColor(color); Repaint(); break;
    case kSetHighlightFill: SetHighlightFillColor(color); Repaint(); break;
    case kSetHighlightOutline: SetHighlightOutlineColor(color); Repaint(); break;
    case kRecalcLayout: RecalcLayout(); break;
    case kResetPosition: ResetPosition(); break;
    case kUseSystemBackground: SetUseSystemBackground(wParam != 0); Repaint(); break;
    default: break;
    }
    return 0;
}

void CBusyProgressCtrl::OnSize(UINT, int, int)
{
    CStatic::Default();
    {
        std::lock_guard lock(m_stateLock);
        GetClientRect(&m_drawRect);
    }
    ReleaseMemoryDC();
    RecalcLayout();
}

void CBusyProgressCtrl::OnDestroy()
{
    Stop();
    CStatic::Default();
}

void CBusyProgressCtrl::OnSysColorChange()
{
    if (m_useSystemBackground) {
        m_background = ::GetSysColor(COLOR_BTNFACE);
        Repaint();
    }
}

}  // namespace ZELL::Skin
