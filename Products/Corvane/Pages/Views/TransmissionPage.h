#pragma once
// The transmission page: the Ethernet link mode (auto-negotiation or a fixed
// speed and duplex), the bandwidth limit with its activation time and the
// task priority under load.
//
// The bandwidth-limit bit is one bit of the device that the state page edits
// too: a click stores it into the block at once, and every activation shows
// the block's value, so both pages always agree and the last change wins.

#include "Products/Corvane/Pages/Codecs/TransmissionCodec.h"
#include "Products/Corvane/Pages/Views/TextedSettingsPage.h"

namespace Corvane {

class CTransmissionPage : public CTextedSettingsPage {
public:
    // The page's key, by which the page table, the texts and the capability file name it.
    static constexpr wchar_t kPageKey[] = L"TRAFFIC";
    CTransmissionPage();

    bool ValidateAll() override;

protected:
    void LoadFromDeviceData() override;
    bool StoreToDeviceData() override;
    bool ShowValues() override;
    bool ReadValues() override;
    void EnableControls(int enable) override;
    // Shows the duplex-mismatch warning above the link-mode list, or hides it.
    virtual void ShowDuplexWarning(bool shown);
    void OnBandwidthClicked();
    void OnBandwidthLabelClicked();
    void OnActivationTimeChanged();
    void OnPriorityChanged();
    void OnSpeedChanged();
    void ApplyTexts() override;
    DECLARE_MESSAGE_MAP()

private:

    CTransmissionCodec m_Codec;
};

}  // namespace Corvane
