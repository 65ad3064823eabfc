// Feeds arbitrary text to the reader of a stored window placement (the
// profile is a file the user may edit): it reads four numbers or refuses,
// and what it reads is written back and read again unchanged.
#include "Common/Skin/PersistentDialog.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

using namespace ZELL::Skin;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // Each byte pair is one character, so every code unit value can appear.
    std::wstring text;
    for (std::size_t i = 0; i + 1 < size; i += 2)
        text += static_cast<wchar_t>(data[i] | (data[i + 1] << 8));
    RECT read{};
    if (!CPersistentDialog::ParsePlacement(CString(text.c_str()), read))
        return 0;
    RECT again{};
    if (!CPersistentDialog::ParsePlacement(CPersistentDialog::FormatPlacement(read), again) ||
        again.left != read.left || again.top != read.top || again.right != read.right || again.bottom != read.bottom)
        std::abort();
    return 0;
}
