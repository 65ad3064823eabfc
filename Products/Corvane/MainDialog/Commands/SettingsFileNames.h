#pragma once
// The names the file commands propose and remember: the default name of a
// settings file, the initial path of the file dialogs, the folder kept in
// the profile, and the device address the settings file records.

#include "Platform/Base/CString.h"

namespace Corvane {

class CFBCData;

class CSettingsFileNames {
public:
    static constexpr wchar_t kSettingsExtension[] = L"wes";
    static constexpr wchar_t kTextExtension[] = L"txt";

    // The article number with "/" made "_", then "_", the network
    // identifier and ".wes".
    static CString DefaultSaveName(const CString& article, const CString& networkId);
    // "<folder>/<name without .wes>.<extension>", or "<folder>/*.<extension>"
    // without a name; doubled separators reduced to one.
    static CString InitialPath(const CString& folder, const CString& name, LPCWSTR extension);
    // The chosen path with doubled separators reduced to one.
    static CString CleanPath(const CString& path);
    // The folder part of a path (empty without one).
    static CString FolderOf(const CString& path);

    // The device's address as the settings file records it: the port whose
    // actual address is the one connected to (its static address when the
    // actual one is 0.0.0.0), else "0.0.0.0". `connectionAddress` is the
    // TCP/IP connection's address, empty over a serial line.
    static CString CurrentIPAddress(const CString& connectionAddress, const CFBCData& data);

private:
    static CString PortAddress(const CString& connectionAddress, const CFBCData& data, unsigned int port);
};

}  // namespace Corvane
