// Feeds arbitrary bytes to the readers of files and program output that the
// shell services take from outside: desktop entries and their Exec lines,
// the user-folder settings, command lines, paper names and links. Each must
// return, never read outside its text.

#include "Platform/Base/TextConversion.h"
#include "Platform/Shell/CommandLine.h"
#include "Platform/Shell/DesktopEntry.h"
#include "Platform/Shell/PrinterQueue.h"
#include "Platform/Shell/UrlText.h"
#include "Platform/Shell/XdgFolders.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const std::wstring text = Text::Utf8ToWide(bytes);
    using namespace ZELL::Shell;
    DesktopEntry::ParseEntry(bytes);
    DesktopEntry::ParseExec(DesktopEntry::UnescapeValue(text));
    Xdg::ParseUserFolder(bytes, "XDG_DESKTOP_DIR", L"/home/user");
    SplitCommandLine(text, true);
    SplitCommandLine(text, false);
    PaperSizeByName(text);
    PathFromFileUrl(text);
    PercentDecode(text);
    return 0;
}
