#pragma once
// A parent with one field whose super tip has a header, a body with a
// picture, a table and a link, and a footer, in the program's colours: the
// rendering kept as a golden picture and compared on a real X server.
#include "Common/Skin/ZellTooltip.h"

#include <memory>

namespace ControlsTest {

class CSuperTipDemo {
public:
    static constexpr POINT kOrigin{200, 150};
    static constexpr int kFieldId = 5;

    CSuperTipDemo() = default;
    ~CSuperTipDemo();
    CSuperTipDemo(const CSuperTipDemo&) = delete;
    CSuperTipDemo& operator=(const CSuperTipDemo&) = delete;

    // The parent, its field, the wrapper and the field's tip.
    bool Create();
    // Where the pointer rests on the field (screen coordinates).
    POINT FieldPoint() const;
    // Without a way to move the display's pointer: the pointer comes to
    // rest on the field as the parent's message loop would hand the move to
    // the tooltip; the tip shows after its delay.
    void PointAtField();
    HWND TipWindow() const;
    ZELL::Skin::CZellTooltip& Wrapper() { return *m_wrapper; }

    CWnd parent;
    HWND field = nullptr;

private:
    std::unique_ptr<ZELL::Skin::CZellTooltip> m_wrapper;
};

}
