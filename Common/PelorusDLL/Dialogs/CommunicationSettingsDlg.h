#pragma once
// The connection-settings dialog: the kind of connection and, in a form
// below it, that connection's settings. It edits the caller's connection
// object through the caller's pointer and may replace it by one of the
// other kind.

#include "Common/Communication/ISettings.h"
#include "Platform/Framework/Controls/ComboBox.h"
#include "Platform/Framework/Windows/Dialog.h"
#include "Platform/Framework/Drawing/Font.h"

#include <memory>
#include <string>

namespace ZELL {
class CConnectionBase;
}
class CSettingsFormBase;
class CSettingsFormRS232;
class CSettingsFormTCPIP;

class CCommunicationSettingsDlg : public CDialog {
public:
    enum EType { kSerial = 0, kTcpIp = 1, kTramq = 2 };

    // Throws a wide-string exception for a null address or a null connection.
    CCommunicationSettingsDlg(ZELL::CConnectionBase** connection, CWnd* parent);
    ~CCommunicationSettingsDlg() override;

    int CurrentType() const { return m_type; }
    CSettingsFormBase* CurrentForm() const { return m_currentForm; }
    // The profile word of a type ("RS232", "TCPIP", "TRAMQ").
    static const wchar_t* TypeWord(int type);

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    virtual void OnConnectionChanged();
    virtual void OnDefault();
    virtual void OnTest();
    DECLARE_MESSAGE_MAP()

private:
    void ReadStoredTexts();
    void FixChoice(const std::wstring& selection);
    void SetTexts();
    void FillConnectionList();
    void CloseUpFixedLayout();
    void CreateForms();
    bool ApplyShownForm();
    void ReplaceConnection(int type);
    CSettingsFormBase* FormOf(int type) const;
    bool RunConnectionTest();

    ZELL::CConnectionBase** m_connectionSlot = nullptr;
    int m_type = kSerial;
    int m_startType = kSerial;
    bool m_choiceShown = true;
    bool m_offerTramq = false;
    std::wstring m_serialText;
    std::wstring m_tcpipText;
    std::wstring m_tramqText;
    std::wstring m_storageName;
    ZELL::ISettings::ENStorageType m_storageType = ZELL::ISettings::Registry;
    std::unique_ptr<CSettingsFormRS232> m_rs232Form;
    std::unique_ptr<CSettingsFormTCPIP> m_tcpipForm;
    CSettingsFormBase* m_currentForm = nullptr;
    CComboBox m_connectionList;
    CFont m_font;
};
