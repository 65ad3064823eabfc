#pragma once
// The RT_VERSION resource of a module, made from the version record the
// build put into the module's file (cmake/ZellVersion.cmake): a version
// block with its fixed part, the texts under "StringFileInfo\<language and
// code page>" and the "VarFileInfo\Translation" pair.
#include "Platform/Base/Types.h"

#include <vector>

namespace Version {
struct CModuleVersionRecord;
}

namespace Ui {

std::vector<BYTE> BuildVersionResource(const Version::CModuleVersionRecord& record);
// Empty when the module's file carries no record.
std::vector<BYTE> ReadVersionResource(HMODULE module, LANGID& language);

}
