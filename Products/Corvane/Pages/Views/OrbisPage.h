#pragma once
// The controller page: the active runtime system among those the device
// offers, or, for devices without that choice, two switches in the extra
// block (outputs to zero when the program stops, alternative target id).

#include "Platform/Framework/ComboBox.h"
#include "Products/Corvane/Pages/OrbisCodec.h"
#include "Products/Corvane/Pages/Views/CouplerSettingsPageBase.h"

class COrbisPage : public CCouplerSettingsPageBase {
public:
    COrbisPage();

    BOOL UpdateLanguageTexts() override;

protected:
    void LoadFromDeviceData() override;
    bool StoreToDeviceData() override;
    bool ShowValues() override;
    bool ReadValues() override;
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;
    void OnSwitchClicked();
    void OnRuntimeSystemChanged();
    DECLARE_MESSAGE_MAP()

private:
    void ApplyTexts();
    void ShowControlsForDevice();
    void FillRuntimeSystems();
    std::vector<WORD> RuntimeSystems() const;
    COrbisCodec::Translator Translator() const;

    COrbisCodec m_codec;
    CComboBox m_runtimeSystems;
};
