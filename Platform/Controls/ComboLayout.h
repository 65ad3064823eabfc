#pragma once
// Where the parts of a combo box sit: the sunken frame, the drop button and
// the selection field in its client area, and its drop-down list on the
// screen.
#include "Platform/Base/Types.h"

namespace ZELL::Controls {

class CComboLayout {
public:
    // The window height of a combo whose selection field shows items
    // `fieldHeight` high: the field, a pixel around it and the frame.
    static int WindowHeight(int fieldHeight) { return fieldHeight + 2 * (kFrame + 1); }

    // `buttonWidth` 0: no drop button (a simple combo).
    CComboLayout(const RECT& client, int buttonWidth) : m_client(client), m_buttonWidth(buttonWidth) {}

    const RECT& Outer() const { return m_client; }  // the frame's outside
    RECT Inner() const;   // inside the frame
    RECT Button() const;  // the drop button along the right edge
    RECT Field() const;   // the selection field, left of the button

    // The list's place on `monitor`: under the combo's `combo` rectangle,
    // or above it when it does not fit below and does above; moved left
    // rather than beyond the monitor's right edge.
    static RECT DropRect(const RECT& combo, SIZE list, const RECT& monitor);

private:
    static constexpr int kFrame = 2;

    RECT m_client{};
    int m_buttonWidth = 0;
};

}
