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
#include <vector>

namespace ZELL {
class CConnectionBase;
}
class CSettingsFormBase;

class CCommunicationSettingsDlg : public CDialog {
public:
    // Throws a wide-string exception for a null address or a null connection.
    CCommunicationSettingsDlg(ZELL::CConnectionBase** connection, CWnd* parent);
    ~CCommunicationSettingsDlg() override;

    // A type is the index of its row in ZELL::CConnectionTypes.
    int CurrentType() const { return m_type; }
    CSettingsFormBase* CurrentForm() const { return m_currentForm; }
    // The profile word of a type ("RS232", "TCPIP", "TRAMQ"); the first
    // type's for a number that names none.
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
    int ListIndexOf(int type) const;
    int SelectedType() const;
    bool RunConnectionTest();

    ZELL::CConnectionBase** m_connectionSlot = nullptr;
    int m_type = 0;
    int m_startType = 0;
    bool m_choiceShown = true;
    bool m_offerTramq = false;
    // Per type: the stored settings text when the dialog opened (empty for a
    // type without settings of its own), its form, and for the offered types
    // their place in the choice list.
    std::vector<std::wstring> m_storedTexts;
    std::wstring m_storageName;
    ZELL::ISettings::ENStorageType m_storageType = ZELL::ISettings::Registry;
    std::vector<std::unique_ptr<CSettingsFormBase>> m_forms;
    std::vector<int> m_choices;
    CSettingsFormBase* m_currentForm = nullptr;
    CComboBox m_connectionList;
    CFont m_font;
};
