#pragma once
// The message the main dialog shows when the connection-settings dialog
// ends with an exception: the fixed text, and the exception's own text when
// it carries one.

#include "Platform/Base/CString.h"

#include <exception>

namespace Corvane {

class CConnectionSettingsError {
public:
    static constexpr wchar_t kPrefix[] = L"Error in communication settings dialog!";

    static CString MessageOf(const std::exception_ptr& error);
    // The message of the exception being handled (call inside a catch).
    static CString MessageOfCurrent() { return MessageOf(std::current_exception()); }

private:
    // The text an exception carries; empty for one without text.
    static CString TextOf(const std::exception_ptr& error);
};

}  // namespace Corvane
