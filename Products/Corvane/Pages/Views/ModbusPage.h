#pragma once
// The MODBUS/TCP page: the connection watchdog on every device; on devices
// with the 32-bit parameter layout also the watchdog configuration, its
// time-out, the two coding masks, closing the socket after watchdog errors
// and the number of connections (shown only).

#include "Products/Corvane/Pages/Codecs/ModbusCodec.h"
#include "Products/Corvane/Pages/Views/TextedSettingsPage.h"

namespace Corvane {

class CModbusPage : public CTextedSettingsPage {
public:
    // The page's key, by which the page table, the texts and the capability file name it.
    static constexpr wchar_t kPageKey[] = L"MODBUS";
    CModbusPage();

    bool ValidateAll() override;

protected:
    void LoadFromDeviceData() override;
    bool StoreToDeviceData() override;
    bool ShowValues() override;
    bool ReadValues() override;
    void EnableControls(int enable) override;
    void OnNumberChanged(UINT id);
    void OnConfigurationChanged();
    void OnCloseSocketClicked();
    void ApplyTexts() override;
    DECLARE_MESSAGE_MAP()

private:
    void FillConfigurationList();
    void AddTooltips();

    CModbusCodec m_Codec;
};

}  // namespace Corvane
