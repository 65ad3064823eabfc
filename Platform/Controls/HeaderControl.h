#pragma once
// The "SysHeader32" class: a row of column titles whose dividers the user
// drags to resize the columns, and which tells its parent what happens.
#include "Platform/Controls/ControlWindow.h"
#include "Platform/Controls/HeaderStyles.h"

#include <string>
#include <vector>

namespace ZELL::Controls {

class CHeaderControl : public CControlWindow {
public:
    using CControlWindow::CControlWindow;

protected:
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void Paint(HDC dc) override;

private:
    struct Item {
        int width = 0;
        std::wstring text;
        int format = HDF_LEFT | HDF_STRING;
        LPARAM data = 0;
        int image = -1;
    };

    LRESULT Insert(int index, const HDITEMW* item);
    LRESULT Delete(int index);
    LRESULT Get(int index, HDITEMW* item) const;
    LRESULT Set(int index, const HDITEMW* item);
    void Apply(Item& target, const HDITEMW& source);
    LRESULT ItemRect(int index, RECT* rect) const;
    LRESULT HitTest(HDHITTESTINFO* info) const;
    LRESULT Layout(HDLAYOUT* layout) const;
    LRESULT GetOrder(int count, int* order) const;
    LRESULT SetOrder(int count, const int* order);
    bool Valid(int index) const { return index >= 0 && index < static_cast<int>(m_items.size()); }
    int Height() const;
    // The divider at the right end of an item near `x`, or -1.
    int DividerAt(int x) const;
    int ItemAt(int x) const;

    LRESULT Notify(UINT code, int index, HDITEMW* item = nullptr, int button = 0) const;
    // Sets the width through HDN_ITEMCHANGING/ITEMCHANGED; false when vetoed.
    bool ChangeWidth(int index, int width);

    void OnButtonDown(POINT at);
    void OnMouseMove(POINT at);
    void OnButtonUp(POINT at);
    void OnDoubleClick(POINT at);
    bool OnSetCursor() const;
    void EndTrack(bool commit);

    void PaintItem(HDC dc, const Item& item, RECT r, bool pressed) const;

    std::vector<Item> m_items;
    std::vector<int> m_order;  // the item index at each position
    HIMAGELIST m_images = nullptr;
    int m_tracking = -1;       // the item whose divider is dragged
    int m_trackWidth = 0;
    int m_trackOffset = 0;     // the pointer's distance from the divider
    int m_pressed = -1;        // the item pressed as a button
};

}
