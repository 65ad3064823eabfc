#pragma once
// The serial MODBUS line of the device: baud rate, data frame, end-of-frame
// time, ASCII or RTU, error check, watchdog and one mode bit whose meaning
// depends on the device kind, all in one word of the device block.

#include "Products/Corvane/Pages/Codecs/ModbusParamCodec.h"
#include "Products/Corvane/Pages/Views/TextedSettingsPage.h"

namespace Corvane {

class CModbusParamPage : public CTextedSettingsPage {
public:
    // The page's key, by which the page table, the texts and the capability file name it.
    static constexpr wchar_t kPageKey[] = L"MODBUSPARAM";
    CModbusParamPage();

    BOOL UpdateLanguageTexts() override;

protected:
    void LoadFromDeviceData() override;
    bool StoreToDeviceData() override;
    bool ShowValues() override;
    bool ReadValues() override;
    BOOL OnInitDialog() override;
    void OnChanged();
    void ApplyTexts() override;
    DECLARE_MESSAGE_MAP()

private:

    CModbusParamCodec m_Codec;
};

}  // namespace Corvane
