#pragma once
// The state page: the device's state words as check boxes, some of which are
// commands sent to the device at once (write access, monitor, control and
// test mode, terminal-bus extension, constant terminal-bus speed), and the
// device's blink code with its explanation.

#include "Products/Corvane/Pages/Codecs/StateCodec.h"
#include "Products/Corvane/Pages/Views/TextedSettingsPage.h"

#include <functional>

namespace Corvane {

class CStatePage : public CTextedSettingsPage {
public:
    // The page's key, by which the page table, the texts and the capability file name it.
    static constexpr wchar_t kPageKey[] = L"STATUS";
    CStatePage();

    BOOL OnSetActive() override;

protected:
    BOOL OnInitDialog() override;
    void OnFieldbusClicked();
    void OnExtensionLabelClicked();
    void OnConstantSpeedLabelClicked();
    void OnWriteAccessClicked();
    void OnMonitorModeClicked();
    void OnControlModeClicked();
    void OnTestModeClicked();
    void OnExtensionClicked();
    void OnConstantSpeedClicked();
    DECLARE_MESSAGE_MAP()

private:
    void ApplyTexts() override;
    void ShowStateWords();
    void ShowBlinkCode(const std::vector<WORD>& states);
    bool IsBoxChecked(int id) const { return IsDlgButtonChecked(id) == BST_CHECKED; }
    void SetBox(int id, bool on) { CheckDlgButton(id, on ? BST_CHECKED : BST_UNCHECKED); }
    void ShowAndEnable(int id, bool on);
    std::vector<WORD>* StateWords();
    // Sets the state word to the box, runs the command over an opened
    // connection and closes it; when the connection does not open or the
    // command fails, the word and the box go back to what they were.
    bool SwitchMode(int box, std::size_t word, const std::function<bool(bool on)>& command);
    void SaveAfterTestMode();
    // Opens the connection for a command; false without a service to send it.
    bool OpenForCommand();
};

}  // namespace Corvane
