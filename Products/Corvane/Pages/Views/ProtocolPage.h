#pragma once
// The protocol page: the device's network services switched on and off and
// the web server's port. Controllers show only the web server and its port
// and leave the rest to their web management.

#include "Products/Corvane/Pages/Codecs/ProtocolCodec.h"
#include "Products/Corvane/Pages/Views/TextedSettingsPage.h"

#include <utility>
#include <vector>

namespace Corvane {

class CProtocolPage : public CTextedSettingsPage {
public:
    // The page's key, by which the page table, the texts and the capability file name it.
    static constexpr wchar_t kPageKey[] = L"PROTOCOL";
    CProtocolPage();

    bool ValidateAll() override;

protected:
    void LoadFromDeviceData() override;
    bool StoreToDeviceData() override;
    bool ShowValues() override;
    bool ReadValues() override;
    void ShowDeviceControls(int showCommand) override;
    void EnableControls(int enable) override;
    void SetUpControls() override;
    void OnPortChanged();
    void OnSwitchClicked();
    DECLARE_MESSAGE_MAP()

private:
    // Each switch's check box and the codec's member it shows.
    std::vector<std::pair<int, bool*>> Switches();
    void ApplyTexts() override;
    CRect ControlPlace(int id);
    bool IsPlcArticle() const;

    CProtocolCodec m_Codec;
    // Where the template puts the PLC switch (it moves when EtherNet/IP is missing).
    CRect m_rcPlcPlace;
};

}  // namespace Corvane
