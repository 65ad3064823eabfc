#include "Platform/Gdi/ScreenDpi.h"

#include <atomic>

namespace {

constexpr int kDefaultDpi = 96;
constexpr int kLowestDpi = 48;
constexpr int kHighestDpi = 480;

std::atomic<int> g_screenDpi = kDefaultDpi;

}

void SetScreenDpi(int dpi)
{
    if (dpi >= kLowestDpi && dpi <= kHighestDpi)
        g_screenDpi = dpi;
}

int GetScreenDpi()
{
    return g_screenDpi;
}
