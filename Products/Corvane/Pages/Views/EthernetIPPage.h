#pragma once
// The EtherNet/IP page: the run/idle headers of both directions, the
// controller's fieldbus variables in the assemblies (size and offset, which
// bound each other) and word alignment where the device offers it.

#include "Products/Corvane/Pages/Codecs/EthernetIPCodec.h"
#include "Products/Corvane/Pages/Views/TextedSettingsPage.h"

#include <utility>
#include <vector>

namespace Corvane {

class CEthernetIPPage : public CTextedSettingsPage {
public:
    // The page's key, by which the page table, the texts and the capability file name it.
    static constexpr wchar_t kPageKey[] = L"ETHERNETIP";
    CEthernetIPPage();

    bool ValidateAll() override;

protected:
    void LoadFromDeviceData() override;
    bool StoreToDeviceData() override;
    bool ShowValues() override;
    bool ReadValues() override;
    void ShowDeviceControls(int showCommand) override;
    void EnableControls(int enable) override;
    void OnNumberChanged(UINT id);
    void OnBoxClicked();
    void ApplyTexts() override;
    DECLARE_MESSAGE_MAP()

private:
    // Each number's edit and the codec's member it shows.
    std::vector<std::pair<int, int*>> Numbers();
    void ShowRunIdle(int id, int runIdle, UINT& shown);
    // The box's value; the member as it was while the box shows what it was
    // given, so that an undetermined header is never written back.
    int RunIdleOf(int id, int runIdle, UINT shown) const;

    CEthernetIPCodec m_Codec;
    UINT m_nShownO2T = BST_UNCHECKED;
    UINT m_nShownT2O = BST_UNCHECKED;
};

}  // namespace Corvane
