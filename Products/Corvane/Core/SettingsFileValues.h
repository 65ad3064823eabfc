#pragma once
// The configured values of a data set that no device takes, as a settings
// file edited by hand or by another tool may hold them: the open command
// names them once, and the pages mark them, so that none goes unnoticed to a
// device.

#include "Products/Corvane/Core/FBCData.h"

#include <string>
#include <vector>

namespace Corvane {

struct tInvalidValue {
    DWORD port = 0;
    // The field's name in the file without its "Static" prefix ("IPAddress").
    const wchar_t* element = L"";
    // The text key of the field's caption on the network-parameters page.
    const wchar_t* captionKey = L"";
    std::wstring value;
};

class CSettingsFileValues {
public:
    // Every configured address, port by port, that is not a dotted IPv4
    // address; a parameter the device does not support is never written and
    // is left out.
    static std::vector<tInvalidValue> FindInvalid(const CFBCData& data);
    // An address text that no device takes. Empty is none.
    static bool IsInvalidAddress(const std::wstring& text);
};

}  // namespace Corvane
