#pragma once
// The network identification page: the host and domain name under which the
// device shows itself in the network, two fixed text fields of the device
// block that the codec reads and writes.

#include "Products/Corvane/Pages/NetworkIdCodec.h"
#include "Products/Corvane/Pages/Views/CouplerSettingsPageBase.h"

class CNetworkPage : public CCouplerSettingsPageBase {
public:
    CNetworkPage();

    BOOL UpdateLanguageTexts() override;

protected:
    void LoadFromDeviceData() override;
    bool StoreToDeviceData() override;
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;
    void OnNameChanged();
    DECLARE_MESSAGE_MAP()

private:
    void ApplyTexts();

    CNetworkIdCodec m_codec;
    CString m_hostName;
    CString m_domainName;
};
