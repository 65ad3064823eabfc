#pragma once
// A program button whose icon steps through a list of frames on a timer.
#include "Common/Skin/ZellButton.h"

namespace ZELL::Skin {

class CAnimatedZellButton : public CZellButton {
public:
    CAnimatedZellButton() = default;
    ~CAnimatedZellButton() override;

    BOOL DestroyWindow() override;

    // `frames` is a list of icon resource ids ending with 0; it must live as
    // long as the button. A list without frames is no animation.
    void SetAnimation(const int* frames, BYTE iconAlign = kIconAbove, BYTE textAlign = kAlignCenter,
                      BOOL flat = FALSE);
    void StartAnimation(BOOL run, UINT interval);
    void StopAnimation();

    BOOL IsAnimating() const { return m_animationTimer != 0; }
    // The id of the frame shown last; 0 before any.
    int GetShownFrame() const { return m_shownFrame; }
    UINT_PTR GetAnimationTimerId() const { return m_timerId; }
    void SetFrameIconSize(int size) { m_frameSize = size; }

protected:
    void OnTimer(UINT_PTR id);
    DECLARE_MESSAGE_MAP()

private:
    void ShowFrame(int frame);
    void KillAnimationTimer();

    const int* m_frames = nullptr;
    int m_position = 0;
    int m_frameSize = 16;
    int m_savedLeftOffset = 0;
    BYTE m_frameIconAlign = kIconAbove;
    BYTE m_frameTextAlign = kAlignCenter;
    BOOL m_frameFlat = FALSE;
    UINT_PTR m_animationTimer = 0;
    UINT_PTR m_timerId = 0;
    int m_shownFrame = 0;

    // Class-wide: each button takes its timer id from here once. Id 1 is the
    // auto-repeat timer of every button, so the first id given is 2.
    static UINT_PTR s_lastTimerId;
};

}  // namespace ZELL::Skin
