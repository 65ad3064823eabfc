#include "Platform/Display/X11Resolution.h"

#include <cmath>
#include <cstdlib>
#include <string>

namespace Display::X11 {
namespace {

// The band around 96 that counts as no scale: a step below the first of
// 125 % and above what a plain monitor's size rounds to.
constexpr int kPlainLow = 88;
constexpr int kPlainHigh = 108;

}

std::optional<int> ResourceDpi(std::string_view resources)
{
    constexpr std::string_view kName = "Xft.dpi:";
    for (std::size_t pos = 0; pos < resources.size();) {
        std::size_t end = resources.find('\n', pos);
        if (end == std::string_view::npos)
            end = resources.size();
        const std::string_view line = resources.substr(pos, end - pos);
        pos = end + 1;
        if (line.substr(0, kName.size()) != kName)
            continue;
        const std::string value(line.substr(kName.size()));
        char* stop = nullptr;
        const double dpi = std::strtod(value.c_str(), &stop);
        if (stop != value.c_str() && dpi >= kLowestDpi && dpi <= kHighestDpi)
            return static_cast<int>(dpi + 0.5);
    }
    return std::nullopt;
}

int ServerDpi(int heightPixels, int heightMillimetres)
{
    if (heightPixels <= 0 || heightMillimetres <= 0)
        return kBaseDpi;
    const long dpi = std::lround(heightPixels * 25.4 / heightMillimetres);
    if (dpi < kLowestDpi || dpi > kHighestDpi || (dpi >= kPlainLow && dpi <= kPlainHigh))
        return kBaseDpi;
    return static_cast<int>(dpi);
}

}
