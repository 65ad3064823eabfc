#pragma once
// A window with the skinned controls in their states, for the renderings
// kept as golden pictures and the comparison on a real X server.
#include "Common/Controls/AnimatedZellButton.h"
#include "Common/Controls/BusyProgressCtrl.h"
#include "Common/Controls/GradientStatic.h"
#include "Common/Controls/IconStatic.h"
#include "Common/Controls/ZellStatic.h"

namespace ControlsTest {

class CDemoDialog : public CWnd {
public:
    static constexpr int kWidth = 460;
    static constexpr int kHeight = 330;

    // A top-level at (x, y), shown with every control made and set up.
    BOOL Create(int x, int y);

    CSkinButton plain;
    CSkinButton defaultButton;
    CSkinButton disabled;
    CSkinButton flat;
    CSkinButton checkOff;
    CSkinButton checkOn;
    CSkinButton radioOn;
    CSkinButton radioOff;
    CSkinButton iconLeft;
    CSkinButton iconAbove;
    CSkinButton bitmapButton;
    CSkinButton colours;
    CZellButton program;
    CAnimatedZellButton animated;
    CZellStatic label;
    CZellStatic boldLabel;
    CZellStatic solid;
    CZellStatic gradient;
    CZellStatic link;
    CZellStatic shadowed;
    CZellStatic disabledLabel;
    CGradientStatic caption;
    CIconStatic icon;
    CBusyProgressCtrl busy{10, 3};
    CBusyProgressCtrl fill{6, 0};
    CBusyProgressCtrl progress{10, 0};

private:
    void MakeButtons();
    void MakeStatics();
    void MakeIndicators();
    HWND Child(LPCWSTR className, LPCWSTR text, DWORD style, int x, int y, int width, int height, int id);
};

}
