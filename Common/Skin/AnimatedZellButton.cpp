#include "Common/Skin/AnimatedZellButton.h"

namespace ZELL::Skin {

UINT_PTR CAnimatedZellButton::s_lastTimerId = CSkinButton::kAutoRepeatTimer;

BEGIN_MESSAGE_MAP(CAnimatedZellButton, CZellButton)
    ON_WM_TIMER()
END_MESSAGE_MAP()

CAnimatedZellButton::~CAnimatedZellButton()
{
    KillAnimationTimer();
}

BOOL CAnimatedZellButton::DestroyWindow()
{
    KillAnimationTimer();
    return CZellButton::DestroyWindow();
}

void CAnimatedZellButton::KillAnimationTimer()
{
    if (m_animationTimer != 0 && m_hWnd != nullptr)
        KillTimer(m_animationTimer);
    m_animationTimer = 0;
}

void CAnimatedZellButton::SetAnimation(const int* frames, BYTE iconAlign, BYTE textAlign, BOOL flat)
{
    m_savedLeftOffset = m_leftOffset;
    // A list that ends at once has nothing to show; its end is not read past.
    m_frames = frames != nullptr && frames[0] != 0 ? frames : nullptr;
    m_frameIconAlign = iconAlign;
    m_frameTextAlign = textAlign;
    m_frameFlat = flat;
    m_position = 0;
    if (m_frames != nullptr)
        ShowFrame(m_frames[0]);
}

void CAnimatedZellButton::ShowFrame(int frame)
{
    m_shownFrame = frame;
    SetAlign(m_frameTextAlign, TRUE);
    PlaceIcon(m_frameIconAlign, TRUE);
    Setup(frame, 0, m_frameSize, 0, m_frameFlat, m_frameIconAlign, 0);
    m_leftOffset = m_savedLeftOffset;
    if (m_hWnd != nullptr)
        RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

void CAnimatedZellButton::StartAnimation(BOOL run, UINT interval)
{
    if (m_frames == nullptr)
        return;
    if (!run) {
        StopAnimation();
        return;
    }
    m_position = 1;
    if (m_timerId == 0)
        m_timerId = ++s_lastTimerId;
    if (m_hWnd != nullptr)
        m_animationTimer = SetTimer(m_timerId, interval);
}

void CAnimatedZellButton::StopAnimation()
{
    KillAnimationTimer();
    if (m_frames == nullptr)
        return;
    m_position = 0;
    ShowFrame(m_frames[0]);
}

void CAnimatedZellButton::OnTimer(UINT_PTR id)
{
    if (id != m_timerId || m_animationTimer == 0 || m_frames == nullptr) {
        CZellButton::OnTimer(id);
        return;
    }
    if (m_frames[m_position] != 0) {
        ShowFrame(m_frames[m_position]);
        ++m_position;
    } else {
        m_position = 1;
    }
}

}  // namespace ZELL::Skin
