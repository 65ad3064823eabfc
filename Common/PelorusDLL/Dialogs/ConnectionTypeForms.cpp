#include "Common/PelorusDLL/Dialogs/ConnectionTypeForms.h"

#include "Common/PelorusDLL/Dialogs/DialogIds.h"
#include "Common/PelorusDLL/Dialogs/SettingsFormRS232.h"
#include "Common/PelorusDLL/Dialogs/SettingsFormTCPIP.h"

namespace {

template <typename Form>
std::unique_ptr<CSettingsFormBase> MakeForm(ZELL::CConnectionBase* connection, CWnd* parent)
{
    return std::make_unique<Form>(connection, parent);
}

const tConnectionTypeForm kForms[] = {
    {L"RS232", L"Serial Ports (COM, USB, Bluetooth,...)", L"Serielle Anschl\u00fcsse (COM, USB, Bluetooth,...)",
     PelorusIds::kRS232Form, &MakeForm<CSettingsFormRS232>, L"CreateSubForm failed for m_pRS232Form!\n", true},
    {L"TCPIP", L"Ethernet (TCP/IP)", L"Ethernet (TCP/IP)", PelorusIds::kTCPIPForm, &MakeForm<CSettingsFormTCPIP>,
     L"CreateSubForm failed for m_pTCPIPForm!\n", false},
};

}

std::span<const tConnectionTypeForm> CConnectionTypeForms::All() { return kForms; }

const tConnectionTypeForm* CConnectionTypeForms::Find(const std::wstring& word)
{
    for (const tConnectionTypeForm& form : kForms) {
        if (word == form.word)
            return &form;
    }
    return nullptr;
}
