// Menu templates of any bytes: refused or read, never read past their end.
#include "Platform/Ui/MenuApi.h"
#include "Platform/Ui/MenuTemplate.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (HMENU menu = Ui::ParseMenuTemplate(data, size))
        DestroyMenu(menu);
    return 0;
}
