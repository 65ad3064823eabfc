#pragma once
// Where the window-layer demo of the screen test puts its windows.

#include "Platform/Base/Types.h"

namespace X11UiDemo {

inline constexpr RECT kClientOnScreen{120, 90, 520, 330};
inline constexpr int kStatusId = 101;
inline constexpr int kSwitchId = 102;
inline constexpr int kShapesId = 103;
// Client coordinates of the top-level.
inline constexpr RECT kStatusRect{20, 20, 380, 90};
inline constexpr RECT kSwitchRect{30, 110, 190, 200};
inline constexpr RECT kShapesRect{210, 110, 370, 200};

inline POINT SwitchCentreOnScreen()
{
    return {kClientOnScreen.left + (kSwitchRect.left + kSwitchRect.right) / 2,
            kClientOnScreen.top + (kSwitchRect.top + kSwitchRect.bottom) / 2};
}

}
