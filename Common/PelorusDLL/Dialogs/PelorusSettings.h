#pragma once
// The plain exports of the communication library for its dialogs.

#include "Common/Communication/PelorusApi.h"
#include "Platform/Framework/Windows/Wnd.h"

#include <string>
#include <vector>

namespace ZELL {
class CConnectionBase;
}

// Shows the connection-settings dialog on the caller's connection (which it
// may replace through the pointer); the dialog's result, IDOK when the user
// applied the settings.
PELORUS_API INT_PTR PelorusSettings(ZELL::CConnectionBase** connection, const std::wstring& lcidText, CWnd* parent,
                                    std::wstring extraGuiXml, DWORD reserved);
PELORUS_API DWORD PelorusDoNetworkScan(DWORD, std::wstring, DWORD, DWORD, DWORD);

// The settings dialog for callers that hold it as an object.
class PELORUS_API CCommSettingsDlg {
public:
    CCommSettingsDlg(ZELL::CConnectionBase** connection, std::wstring lcidText, CWnd* parent);
    CCommSettingsDlg(const CCommSettingsDlg&) = default;
    CCommSettingsDlg& operator=(const CCommSettingsDlg&) = default;
    virtual ~CCommSettingsDlg() = default;
    virtual INT_PTR Show();

private:
    std::wstring m_lcidText;
    ZELL::CConnectionBase** m_connection = nullptr;
    CWnd* m_parent = nullptr;
};

// The first of the folders (each with its closing "/") that holds the data
// file, beside it or in its installed share folder; the bare name when none does.
std::wstring FindDataFile(const std::vector<std::wstring>& folders, const std::wstring& name);
// The file of the dialogs' texts, looked up beside this library first, then
// beside the program.
std::wstring CommSettingsGuiXmlPath();
