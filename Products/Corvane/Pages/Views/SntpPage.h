#pragma once
// The SNTP page: the device's time client on or off, its server (an IPv4
// address or, where the device takes them, a host name), interval and
// time-out, and the server the device uses now. The server text is cleaned
// while the user types; a host name without a known name server brings a
// warning icon and its balloon.

#include "Products/Corvane/Pages/Codecs/SntpCodec.h"
#include "Products/Corvane/Pages/Views/TextedSettingsPage.h"

namespace Corvane {

class CSntpPage : public CTextedSettingsPage {
public:
    // The page's key, by which the page table, the texts and the capability file name it.
    static constexpr wchar_t kPageKey[] = L"SNTP";
    // The balloons' icon codes: an error and the name-server warning.
    static constexpr UINT kErrorIcon = 12;
    static constexpr UINT kWarningIcon = 10;

    CSntpPage();

    bool ValidateAll() override;

protected:
    void LoadFromDeviceData() override;
    bool StoreToDeviceData() override;
    bool ShowValues() override;
    bool ReadValues() override;
    void EnableControls(int enable) override;
    BOOL OnInitDialog() override;
    // The page's own balloons at the server field, centred.
    virtual void ShowServerBalloon(const CString& title, const CString& text, UINT icon);
    virtual void CloseServerBalloon();
    void OnSntpClicked();
    void OnNumberChanged(UINT id);
    void OnServerChanged();
    void OnMouseMove(UINT flags, CPoint point);
    void ApplyTexts() override;
    DECLARE_MESSAGE_MAP()

private:
    bool IsLive() const { return IsActive() && !ArePagesSuspended(); }
    CString ServerFieldText() const;
    // Acts on a check of the server text: the cleaned text into the field,
    // the balloon of a failure, the warning icon; returns whether it passed.
    bool ApplyServerCheck(const CSntpCodec::CServerCheck& check);
    void PutServerText(const std::wstring& text, int lengthChange);
    void ShowDnsWarning();
    bool IsIconShown() const;

    CSntpCodec m_Codec;
    bool m_bDnsWarningShown = false;
};

}  // namespace Corvane
