#include "Platform/Ui/Tests/WindowText.h"

namespace UiTest {

std::wstring TextOf(HWND window)
{
    if (window == nullptr)
        return {};
    const int length = GetWindowTextLengthW(window);
    std::wstring text(static_cast<std::size_t>(length > 0 ? length : 0) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

}
