#pragma once
// What the framework's window tests share: the standard controls
// registered, and a test window whose map records what reaches it.
#include "Platform/Controls/ListControls.h"
#include "Platform/Controls/StandardControls.h"
#include "Platform/Framework/Core/TempHandleMap.h"
#include "Platform/Framework/Windows/Wnd.h"
#include "Platform/Ui/Tests/UiTestSupport.h"

#include <gtest/gtest.h>

namespace FrameworkTest {

inline void RegisterControls()
{
    ASSERT_TRUE(ZELL::Controls::RegisterStandardControls());
    ASSERT_TRUE(ZELL::Controls::RegisterListControls());
}

inline RECT Area(int x, int y, int width, int height) { return RECT{x, y, x + width, y + height}; }

}
