#pragma once
// Writes the device data set as a settings file: ISO-8859-1 with CR LF line
// ends, laid out line by line as every version of the program writes it.

#include "Platform/Base/CString.h"
#include "Products/Corvane/Core/FBCData.h"
#include "Products/Corvane/Core/SettingsFileHeader.h"

#include <filesystem>
#include <string>

namespace Corvane {

class CSettingsFileWriter {
public:
    // The whole file with "\n" line ends. The current IP address is written
    // only in the change-IP mode, so it is given only then.
    static std::wstring BuildText(const CFBCData& data, const CSettingsFileHeader& header,
                                  const CString* currentIPAddress = nullptr);
    // CR LF line ends, ISO-8859-1 bytes.
    static std::string Encode(const std::wstring& text);
    // Every text value goes through this: the five XML specials become
    // entities, characters ISO-8859-1 cannot hold become character references,
    // so a text without either is written unchanged.
    static std::wstring Escape(const std::wstring& text);

    // Written to a temporary file beside the target and renamed over it, so
    // a failed save leaves an older file as it was. False with GetError().
    bool Save(const std::filesystem::path& path, const CFBCData& data, const CSettingsFileHeader& header,
              const CString* currentIPAddress = nullptr);
    const CString& GetError() const { return m_strError; }

private:
    CString m_strError;
};

}  // namespace Corvane
