#pragma once
// What the open command tells the user about a settings file, in his
// language: why a file was not taken (named by its file name, with the line
// where the parser stopped), and, once for the whole file, which values of a
// loaded file no device takes.

#include "Platform/Base/CString.h"
#include "Products/Corvane/Core/SettingsFileReader.h"
#include "Products/Corvane/Core/SettingsFileValues.h"

#include <vector>

namespace Corvane {

class CSettingsFileMessages {
public:
    static CString ReadFailure(const CSettingsFileReader& reader, const CString& path);
    static CString Missing(const CString& path);
    // Empty when every value is one a device takes.
    static CString InvalidValues(const std::vector<tInvalidValue>& values, DWORD portCount, const CString& path);
    // The last part of a path.
    static CString FileName(const CString& path);

private:
    static CString FieldLine(const tInvalidValue& value, DWORD portCount);
};

}  // namespace Corvane
