#pragma once
// The network identification page: the host and domain name under which the
// device shows itself in the network, two fixed text fields of the device
// block that the codec reads and writes.

#include "Products/Corvane/Pages/Codecs/NetworkIdCodec.h"
#include "Products/Corvane/Pages/Views/TextedSettingsPage.h"

namespace Corvane {

class CNetworkPage : public CTextedSettingsPage {
public:
    // The page's key, by which the page table, the texts and the capability file name it.
    static constexpr wchar_t kPageKey[] = L"NETWORK";
    CNetworkPage();

protected:
    void LoadFromDeviceData() override;
    bool StoreToDeviceData() override;
    void DoDataExchange(CDataExchange* dx) override;
    void OnNameChanged();
    DECLARE_MESSAGE_MAP()

private:
    void ApplyTexts() override;
    static void CheckNameLength(CDataExchange* dx, const CString& name, const std::wstring& deviceName);

    CNetworkIdCodec m_Codec;
    CString m_strHostName;
    CString m_strDomainName;
};

}  // namespace Corvane
