#pragma once
// A child form of the connection-settings dialog, bound to one connection:
// fills its controls from the connection's settings and writes them back as
// a settings XML text.

#include "Platform/Framework/Windows/Dialog.h"
#include "Platform/Framework/Drawing/Font.h"

namespace ZELL {
class CConnectionBase;
}

class CSettingsFormBase : public CDialog {
public:
    CSettingsFormBase(UINT templateId, ZELL::CConnectionBase* connection, CWnd* parent);

    virtual void ApplyMainFont();
    // Validates, builds the text and hands it to the connection; true only
    // when the connection took it.
    virtual bool BuildSettingsXml() = 0;
    virtual void ResetToDefault();
    virtual void FillFromSettings() = 0;
    virtual void SetConnection(ZELL::CConnectionBase* connection);
    ZELL::CConnectionBase* Connection() const { return m_connection; }

protected:
    BOOL OnInitDialog() override;
    // Forms are children: Enter and Esc belong to the dialog around them.
    void OnOK() override {}
    void OnCancel() override {}
    void OnShowWindow(BOOL show, UINT status);
    // A whole number of seconds in 1..maximum, or the refusal message with the
    // field focused and selected.
    bool ValidateTimeout(int id, int maximum, int& seconds);
    // A time-out edit changed: checked at once, unless the form fills it itself.
    void CheckChangedTimeout(int id, int maximum);
    void SetLabelTexts(std::initializer_list<std::pair<int, const wchar_t*>> texts);
    DECLARE_MESSAGE_MAP()

protected:
    ZELL::CConnectionBase* m_connection = nullptr;
    CFont m_font;
    LOGFONTW m_logFont{};
    bool m_initialising = false;
};
