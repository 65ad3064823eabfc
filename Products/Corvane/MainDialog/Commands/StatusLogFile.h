#pragma once
// The status log saved as a text file: worth saving only when it holds
// more than the ready line.

#include "Platform/Base/CString.h"

namespace Corvane {

enum class ENStatusLogWrite { Written, CannotOpen, WriteFailed };

class CStatusLogFile {
public:
    static constexpr wchar_t kWriteFailedText[] = L"Unable to save identification date fo file!";

    static bool IsWorthSaving(const CString& log, const CString& readyText)
    {
        return !log.IsEmpty() && log != readyText;
    }
    // Creates or truncates the file and writes the whole log (UTF-8).
    static ENStatusLogWrite Write(const CString& path, const CString& log);
};

}  // namespace Corvane
