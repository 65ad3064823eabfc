#pragma once
// The library's small message icons, loaded once each on first use and
// kept until the library ends.
#include "Platform/Ui/WinUser.h"

#include <array>

namespace Tessel {

class CMessageIcons {
public:
    static CMessageIcons& Instance();
    ~CMessageIcons() { DestroyAll(); }

    // Codes 10 to 14 become one of the library's 16 x 16 icons (as the
    // tooltip's title icon, a handle); any other code is a standard
    // tooltip icon code and comes back unchanged.
    UINT_PTR IconByCode(UINT code);
    void DestroyAll();
    int LoadedCount() const;

private:
    CMessageIcons() = default;

    std::array<HICON, 5> m_icons{};
};

}
