#pragma once
// The theme access bound to the tests' theme library, which reports an
// active theme and paints each part in a colour that names it.
#include "Common/Skin/Support/ThemeHelper.h"

#include <type_traits>

namespace ControlsTest {

class CTestThemeHelper : public ZELL::Skin::CThemeHelper {
    // The library's counters; defined first, as the members below deduce their type.
    template<typename Function> auto Call(LPCSTR name)
    {
        Function function = GetProc<Function>(name, nullptr);
        using Result = decltype(function());
        if constexpr (std::is_void_v<Result>) {
            if (function != nullptr)
                function();
        } else {
            return function != nullptr ? function() : Result{};
        }
    }

public:
    CTestThemeHelper() : ZELL::Skin::CThemeHelper(L"" ZELL_TEST_THEME_LIBRARY) { Call<void (*)()>("TestThemeReset"); }

    bool Loaded() { return IsThemeActive() != FALSE; }
    int ParentBackgrounds() { return Call<int (*)()>("TestThemeParentBackgrounds"); }
    int OpenCount() { return Call<int (*)()>("TestThemeOpenCount"); }
};

}
