#include "Common/Skin/Tests/SuperTipDemo.h"

#include "Common/Skin/Tests/ControlsTestIds.h"
#include "Platform/Controls/StandardControls.h"

#include <cstdint>

using namespace ZELL::Skin;

namespace ControlsTest {

CSuperTipDemo::~CSuperTipDemo()
{
    m_wrapper.reset();
    if (parent.m_hWnd)
        parent.DestroyWindow();
}

bool CSuperTipDemo::Create()
{
    ZELL::Controls::RegisterStandardControls();
    if (!parent.CreateEx(0, CWnd::DefaultClassName(), L"scene", WS_POPUP | WS_VISIBLE, kOrigin.x, kOrigin.y, 320, 200,
                         nullptr, nullptr))
        return false;
    SetActiveWindow(parent.m_hWnd);
    field = CreateWindowExW(0, L"STATIC", L"field", WS_CHILD | WS_VISIBLE | SS_LEFT, 10, 10, 100, 20, parent.m_hWnd,
                            reinterpret_cast<HMENU>(static_cast<std::intptr_t>(kFieldId)), nullptr, nullptr);
    // Wrappers take the program's colours when they are made.
    CZellTooltip::SetGlobalColors(RGB(0xFF, 0xFF, 0xFF), RGB(0xF0, 0xF7, 0xFF), RGB(0xC0, 0xC0, 0xD0), 0);
    m_wrapper = std::make_unique<CZellTooltip>();
    if (!field || !m_wrapper->Create(&parent, TRUE))
        return false;
    CSuperTooltip::SuperToolInfo record;
    record.control = CWnd::FromHandle(field);
    record.id = kFieldId;
    record.header = L"IP address";
    record.body = L"The address of the coupler.\n"
                  L"<table border=1><tr><td>Default</td><td>192.168.1.1</td></tr></table>\n"
                  L"See <a href=http://localhost/help>the manual</a>.";
    record.footer = L"Press F1 for more";
    record.headerSeparator = true;
    record.footerSeparator = true;
    record.bodyBitmap = kDiscBitmap;
    record.flags &= ~CRichToolTip::ENTERABLE;
    m_wrapper->Tooltip()->AddSuperTool(record);
    return true;
}

POINT CSuperTipDemo::FieldPoint() const
{
    POINT at{20, 8};
    ::ClientToScreen(field, &at);
    return at;
}

void CSuperTipDemo::PointAtField()
{
    const POINT at = FieldPoint();
    SetCursorPos(at.x, at.y);
    MSG move{field, WM_MOUSEMOVE, 0, MAKELPARAM(20, 8), 0, at};
    m_wrapper->RelayEvent(&move);
}

HWND CSuperTipDemo::TipWindow() const
{
    return m_wrapper && m_wrapper->Tooltip() ? m_wrapper->Tooltip()->m_hWnd : nullptr;
}

}
