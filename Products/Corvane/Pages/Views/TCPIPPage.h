#pragma once
// The TCP/IP page: how the device obtains its address (an address server or
// the fixed addresses kept in its memory), the fixed address, mask, gateway
// and, on wide-format devices, two name servers. It also shows the address
// the device uses now and what determined it, opens the device's web
// management, and on devices with address switches polls the switches once
// a second and restarts the device so that a new setting takes effect.

#include "Products/Corvane/Pages/Codecs/TCPIPCodec.h"
#include "Products/Corvane/Pages/Views/TextedSettingsPage.h"

#include <map>

namespace Corvane {

class CTCPIPPage : public CTextedSettingsPage {
public:
    // The page's key, by which the page table, the texts and the capability file name it.
    static constexpr wchar_t kPageKey[] = L"TCPIP";
    static constexpr UINT_PTR kDipPollTimer = 1;
    static constexpr UINT kDipPollMs = 1000;
    static constexpr UINT kErrorIcon = 12;
    static constexpr COLORREF kSourceColour = RGB(0x00, 0x00, 0x80);
    static constexpr COLORREF kInactiveColour = RGB(0x80, 0x80, 0x80);

    CTCPIPPage();
    ~CTCPIPPage() override;
    CTCPIPPage(const CTCPIPPage&) = delete;
    CTCPIPPage& operator=(const CTCPIPPage&) = delete;

    // The addresses the main dialog read from a device without per-port
    // network parameters; empty name-server texts change nothing.
    void SetCurrentAddresses(const CString& eeprom, const CString& current, const CString& mask,
                             const CString& gateway, const CString& firstDns, const CString& secondDns);
    void SetAddressSource(bool hasDipSwitches, bool dipReadable, WORD dipValue);
    // What determined the current address, translated; "---" without one.
    CString GetAddressSourceText() const;
    // The fixed address, mask or gateway differ from what the device held
    // when it was read: writing them moves the device to other addresses.
    bool HasChangedAddresses() const;
    // The fixed address as the page holds it, dotted.
    CString GetFixedAddressText() const;
    // The device takes its address from the fixed addresses after a restart.
    bool UsesFixedAddress() const;
    bool IsDipPollRunning() const { return m_bDipPollRunning; }
    const CTCPIPCodec& Codec() const { return m_Codec; }

    bool ValidateAll() override;
    BOOL OnSetActive() override;
    BOOL OnKillActive() override;

protected:
    void LoadFromDeviceData() override;
    bool StoreToDeviceData() override;
    bool ShowValues() override;
    bool ReadValues() override;
    void ShowDeviceControls(int showCmd) override;
    void EnableControls(int enable) override;
    void ApplyTexts() override;
    // Opens the device's web management in the browser.
    virtual void OpenBrowser(const CString& url);
    // One read of the switch value; false when the device did not answer.
    virtual bool ReadAddressSwitch(bool& readable, WORD& value);
    HBRUSH OnCtlColor(CDC* dc, CWnd* wnd, UINT ctlColor);
    void OnTimer(UINT_PTR id);
    void OnAutomaticClicked();
    void OnFixedClicked();
    void OnSourceChanged();
    void OnUseBootPClicked();
    void OnAddressChanged(UINT id, NMHDR* header, LRESULT* result);
    void OnWebManagementClicked();
    void OnDipPollClicked();
    void OnDipCaptionClicked();
    void OnDipApplyClicked();
    DECLARE_MESSAGE_MAP()

private:
    bool IsLive() const { return IsActive() && !ArePagesSuspended(); }
    bool IsFixedMode() const;
    bool CheckFixedAddress();
    bool CheckSource();
    void ShowCurrentAddress();
    void ShowDipAddress();
    void ShowDipGroup();
    void ShowDipControls();
    void FillSourceList();
    void PutAddress(int id, DWORD address);
    DWORD FieldAddress(int id) const;
    void ShowControl(int id, bool shown);
    void EnableControl(int id, bool enabled);
    void SetColour(int id, COLORREF colour);
    void StartDipPoll();
    void StopDipPoll();
    void EndDipPollAfterFailure();
    void TakeDeviceAddresses();
    void ShowWebManagementIcon();

    CTCPIPCodec m_Codec;
    bool m_bBalloonArmed = true;
    bool m_bDipPollRunning = false;
    WORD m_wLastDipShown = 0xFFFF;
    // The fixed address, mask and gateway the device held at the last read.
    DWORD m_arrDeviceAddresses[3] = {};
    bool m_bTakeDeviceAddresses = true;
    std::map<int, COLORREF> m_mapColours;
    // The web-management button's picture; the button only refers to it.
    HICON m_hWebIcon = nullptr;
};

}  // namespace Corvane
