#pragma once
// The memory-card page: the state of the device's card slot from the data
// set and the choice of the controller's program root (internal flash or the
// card), written with the other settings. For one brand three service
// buttons query the card and read or set the root location on the device.

#include "Platform/Framework/Controls/ComboBox.h"
#include "Products/Corvane/Pages/Codecs/SDCardCodec.h"
#include "Products/Corvane/Pages/Views/TextedSettingsPage.h"

namespace Corvane {

class CSDCardPage : public CTextedSettingsPage {
public:
    // The page's key, by which the page table, the texts and the capability file name it.
    static constexpr wchar_t kPageKey[] = L"SDCARD";
    CSDCardPage();

    BOOL UpdateLanguageTexts() override;

protected:
    void LoadFromDeviceData() override;
    bool StoreToDeviceData() override;
    bool ShowValues() override;
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;
    void OnRootLocationChanged();
    void OnQueryCard();
    void OnGetRootLocation();
    void OnSetRootLocation();
    DECLARE_MESSAGE_MAP()

private:
    void ApplyTexts() override;
    void FillRootLocations();
    void ShowCard(const CSDCardCodec::tSDCardInfo& info);
    void ClearCardFields();
    void EnableCardFields(bool enable);
    void SetServiceLine(const CString& text);
    CString SetRootLocationOnDevice(int location);

    // Set by the direct status query: whether the value fields mean anything.
    bool m_bCardPresent = false;
    CComboBox m_RootLocations;
};

}  // namespace Corvane
