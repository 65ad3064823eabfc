#pragma once
// The tip that unfolds a cut label (LVS_EX_LABELTIP): one tooltip tool over
// the cell under the pointer, holding the cell's full text while that text
// is wider than the cell shows, and no area otherwise. Mouse moves reach it
// from its owner.
#include "Platform/Ui/WinUser.h"

#include <string>

namespace ZELL::Controls {

class CListViewLabelTip {
public:
    CListViewLabelTip() = default;
    ~CListViewLabelTip();
    CListViewLabelTip(const CListViewLabelTip&) = delete;
    CListViewLabelTip& operator=(const CListViewLabelTip&) = delete;

    // The cell under the pointer of `move` (an empty text when the label fits
    // or there is none) and the move itself, relayed to the tip.
    void Track(HWND owner, const MSG& move, const RECT& cell, const std::wstring& text);
    void Destroy();
    HWND Window() const { return m_tip; }

private:
    bool Create(HWND owner);

    HWND m_tip = nullptr;
    RECT m_cell{};
    std::wstring m_text;
};

}
