#include "Products/Corvane/MainDialog/Commands/StatusLogFile.h"

#include "Platform/Base/FileSystemPath.h"

#include <filesystem>
#include <fstream>

namespace Corvane {

ENStatusLogWrite CStatusLogFile::Write(const CString& path, const CString& log)
{
    std::ofstream file(Text::FsPath(path.str()), std::ios::binary | std::ios::trunc);
    if (!file.is_open())
        return ENStatusLogWrite::CannotOpen;
    const std::string bytes = Text::WideToUtf8(log.str());
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    file.flush();
    return file.good() ? ENStatusLogWrite::Written : ENStatusLogWrite::WriteFailed;
}

}  // namespace Corvane
