#pragma once
// A window with two grids set up as the program's pages set theirs up: the
// identification list (name and value rows beside a fixed image column) and
// the network parameters (headings, editable static values with an address
// cell and a drop-down, read-only actual values, a highlighted row and a
// red error row). The golden pictures and the X11 screen test show it.
#include "Common/Grid/ZellGrid.h"

class CGridSampleWindow : public CWnd {
public:
    static constexpr int kWidth = 760;
    static constexpr int kHeight = 300;

    // A visible pop-up at (left, top); false when a window could not be made.
    bool Make(int left, int top);

    ZELL::Grid::CZellGrid identification;
    ZELL::Grid::CZellGrid network;

private:
    void FillIdentification();
    void FillNetwork();
};
