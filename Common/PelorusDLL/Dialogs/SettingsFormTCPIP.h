#pragma once
// The TCP/IP form: the device by address or by network name, the
// time-outs, and the search for devices on the network.

#include "Common/PelorusDLL/Dialogs/SettingsFormBase.h"
#include "Platform/Framework/Controls/IPAddressCtrl.h"

#include <functional>
#include <string>

class CScanNetworkDlg;

class CSettingsFormTCPIP : public CSettingsFormBase {
public:
    static constexpr int kMaxSeconds = 1000;

    CSettingsFormTCPIP(ZELL::CConnectionBase* connection, CWnd* parent);

    bool BuildSettingsXml() override;
    void FillFromSettings() override;

    struct tValues {
        std::wstring address;
        int timeoutSeconds = 15;
        int restartSeconds = 10;
        bool identifyByName = false;
        bool nameResolution = true;
        std::wstring networkName;
    };
    static std::wstring SettingsXml(const tValues& values);
    static std::wstring ChosenDeviceXml(const std::wstring& address, const std::wstring& name, bool resolve);
    // The connection's service port; the devices' own one when it names none.
    static unsigned short ServicePortOf(ZELL::CConnectionBase& connection);
    static constexpr unsigned short kDefaultServicePort = 6626;

    // Lets a caller (a test) prepare the scan dialog before it runs.
    std::function<void(CScanNetworkDlg&)> m_prepareScan;

protected:
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;
    void OnTimeoutChanged();
    void OnRestartChanged();
    void OnNameFocus();
    void OnAddressFocus();
    void ChooseByClick(int identifyByName);
    void OnSearchDevice();
    DECLARE_MESSAGE_MAP()

private:
    CIPAddressCtrl m_address;
    int m_identifyByName = 0;
    BOOL m_nameResolution = TRUE;
    CString m_networkName;
};
