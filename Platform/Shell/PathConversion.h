#pragma once
// Paths between wide text and the file system: the shell uses the base
// layer's one conversion.

#include "Platform/Base/FileSystemPath.h"

namespace ZELL::Shell {

using Text::FsPath;
using Text::WidePath;

}  // namespace ZELL::Shell
