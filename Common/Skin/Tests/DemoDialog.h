#pragma once
// A window with the skinned controls in their states, for the renderings
// kept as golden pictures and the comparison on a real X server.
#include "Common/Skin/AnimatedZellButton.h"
#include "Common/Skin/BusyProgressCtrl.h"
#include "Common/Skin/GradientStatic.h"
#include "Common/Skin/IconStatic.h"
#include "Common/Skin/ZellStatic.h"

namespace ControlsTest {

class CDemoDialog : public CWnd {
public:
    static constexpr int kWidth = 460;
    static constexpr int kHeight = 330;

    // A top-level at (x, y), shown with every control made and set up.
    BOOL Create(int x, int y);

    ZELL::Skin::CSkinButton plain;
    ZELL::Skin::CSkinButton defaultButton;
    ZELL::Skin::CSkinButton disabled;
    ZELL::Skin::CSkinButton flat;
    ZELL::Skin::CSkinButton checkOff;
    ZELL::Skin::CSkinButton checkOn;
    ZELL::Skin::CSkinButton radioOn;
    ZELL::Skin::CSkinButton radioOff;
    ZELL::Skin::CSkinButton iconLeft;
    ZELL::Skin::CSkinButton iconAbove;
    ZELL::Skin::CSkinButton bitmapButton;
    ZELL::Skin::CSkinButton colours;
    ZELL::Skin::CZellButton program;
    ZELL::Skin::CAnimatedZellButton animated;
    ZELL::Skin::CZellStatic label;
    ZELL::Skin::CZellStatic boldLabel;
    ZELL::Skin::CZellStatic solid;
    ZELL::Skin::CZellStatic gradient;
    ZELL::Skin::CZellStatic link;
    ZELL::Skin::CZellStatic shadowed;
    ZELL::Skin::CZellStatic disabledLabel;
    ZELL::Skin::CGradientStatic caption;
    ZELL::Skin::CIconStatic icon;
    ZELL::Skin::CBusyProgressCtrl busy{10, 3};
    ZELL::Skin::CBusyProgressCtrl fill{6, 0};
    ZELL::Skin::CBusyProgressCtrl progress{10, 0};

private:
    void MakeButtons();
    void MakeStatics();
    void MakeIndicators();
    HWND Child(LPCWSTR className, LPCWSTR text, DWORD style, int x, int y, int width, int height, int id);
};

}
