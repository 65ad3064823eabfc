#pragma once
// The serial line's form: the port to use and the two time-outs; the line
// parameters are shown but fixed.

#include "Common/PelorusDLL/Dialogs/SettingsFormBase.h"
#include "Common/SystemHelper/System/SerialPortInfo.h"
#include "Platform/Framework/Controls/ComboBox.h"

#include <string>
#include <vector>

class CSettingsFormRS232 : public CSettingsFormBase {
public:
    static constexpr int kMaxTimeoutSeconds = 1000000;
    static constexpr int kMaxRestartSeconds = 100;

    CSettingsFormRS232(ZELL::CConnectionBase* connection, CWnd* parent);

    bool BuildSettingsXml() override;
    void FillFromSettings() override;

    // The values a settings text is made of; an empty one is left out.
    struct tValues {
        std::wstring device;
        int virtualPort = -1; // -1: no port selected
        std::wstring baudRate, parity, dataBits, stopBits;
        int timeoutSeconds = 0;
        int restartSeconds = 0;
    };
    static std::wstring SettingsXml(const tValues& values);

protected:
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;
    // The ports on offer, sorted by number.
    virtual std::vector<SerialPortInfo> EnumeratePorts() const;
    void OnTimeoutChanged();
    void OnRestartChanged();
    DECLARE_MESSAGE_MAP()

private:
    void FillPortList();
    void FitDroppedWidthToPorts();
    void FillOptionLists();
    static void SelectIgnoringCase(CComboBox& list, const std::wstring& value);
    static std::wstring ShownText(const CComboBox& list);
    void SelectParity(const std::wstring& value);
    std::wstring ParityValue() const;

    std::vector<SerialPortInfo> m_ports;
    CComboBox m_portList, m_baudList, m_parityList, m_dataBitsList, m_stopBitsList;
};
