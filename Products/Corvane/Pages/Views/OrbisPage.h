#pragma once
// The controller page: the active runtime system among those the device
// offers, or, for devices without that choice, two switches in the extra
// block (outputs to zero when the program stops, alternative target id).

#include "Platform/Framework/Controls/ComboBox.h"
#include "Products/Corvane/Pages/Codecs/OrbisCodec.h"
#include "Products/Corvane/Pages/Views/TextedSettingsPage.h"

namespace Corvane {

class COrbisPage : public CTextedSettingsPage {
public:
    // The page's key, by which the page table, the texts and the capability file name it.
    static constexpr wchar_t kPageKey[] = L"ORBIS";
    COrbisPage();

    BOOL UpdateLanguageTexts() override;

protected:
    void LoadFromDeviceData() override;
    bool StoreToDeviceData() override;
    bool ShowValues() override;
    bool ReadValues() override;
    void DoDataExchange(CDataExchange* dx) override;
    void OnSwitchClicked();
    void OnRuntimeSystemChanged();
    DECLARE_MESSAGE_MAP()

private:
    void ApplyTexts() override;
    void ShowControlsForDevice();
    void FillRuntimeSystems();
    std::vector<WORD> RuntimeSystems() const;
    COrbisCodec::Translator Translator() const;

    COrbisCodec m_Codec;
    CComboBox m_RuntimeSystems;
};

}  // namespace Corvane
