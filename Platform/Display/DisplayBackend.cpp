#include "Platform/Display/DisplayBackend.h"

#include "Platform/Display/HeadlessDisplay.h"

#include <cstdlib>
#include <cstring>
#include <mutex>

namespace Display {

namespace {

std::mutex& DisplayMutex()
{
    static std::mutex mutex;
    return mutex;
}

std::unique_ptr<CDisplayBackend>& DisplaySlot()
{
    static std::unique_ptr<CDisplayBackend> display;
    return display;
}

bool HeadlessAsked()
{
    const char* choice = std::getenv("ZELL_DISPLAY");
    return choice != nullptr && std::strcmp(choice, "headless") == 0;
}

}

std::unique_ptr<CDisplayBackend> CreateDisplayBackend()
{
#ifdef ZELL_HAVE_X11
    const char* x = std::getenv("DISPLAY");
    if (x != nullptr && *x != '\0' && !HeadlessAsked()) {
        if (auto display = CreateX11Display())
            return display;
    }
#endif
    return std::make_unique<CHeadlessDisplay>();
}

bool OpenUserDisplay(std::string& unreachable)
{
    unreachable.clear();
    std::lock_guard lock(DisplayMutex());
    auto& slot = DisplaySlot();
    if (slot)
        return true;
    if (HeadlessAsked()) {
        slot = std::make_unique<CHeadlessDisplay>();
        return true;
    }
#ifdef ZELL_HAVE_X11
    const char* x = std::getenv("DISPLAY");
    if (x == nullptr || *x == '\0')
        return false;
    if ((slot = CreateX11Display()))
        return true;
    unreachable = x;
#endif
    return false;
}

CDisplayBackend& TheDisplay()
{
    std::lock_guard lock(DisplayMutex());
    auto& slot = DisplaySlot();
    if (!slot)
        slot = CreateDisplayBackend();
    return *slot;
}

void ReplaceDisplay(std::unique_ptr<CDisplayBackend> display)
{
    std::lock_guard lock(DisplayMutex());
    DisplaySlot() = std::move(display);
}

}
