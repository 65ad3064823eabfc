// The write's question when the settings move the device the program talks
// to onto other addresses, the address the write worker reconnects at after
// the device's restart, and the addresses the TCP/IP page is handed after a
// read.
#include "Products/Corvane/MainDialog/CorvaneDlg.h"

#include "Common/Tessel/TesselExports.h"
#include "Products/Corvane/Pages/Codecs/NetworkParamCodec.h"
#include "Products/Corvane/Pages/Views/TCPIPPage.h"
#include "Products/Corvane/Core/StartupOptions.h"

namespace Corvane {

namespace {

// A warning with Yes and No, No the default.
constexpr UINT kChangedAddressBoxType = 84;

CTCPIPPage* ShownTCPIPPage(CSettingsPage* page)
{
    auto* tcpip = dynamic_cast<CTCPIPPage*>(page);
    return tcpip != nullptr && tcpip->IsInSheet() ? tcpip : nullptr;
}

}

bool CCorvaneDlg::ReportsChangedAddress() const
{
    // Per-port records: only a move of the address the connection uses, or
    // of how that port gets its address, loses the connection.
    if (m_data.HasNetworkParams)
        return m_data.NetworkParamsModified &&
               CNetworkParamCodec::ChangesConnectionAddress(m_data, ConnectionAddress().GetString());
    const CTCPIPPage* page = ShownTCPIPPage(Page(CTCPIPPage::kPageKey));
    return page != nullptr && page->HasChangedAddresses();
}

bool CCorvaneDlg::ConfirmAddressChange()
{
    if (!IsTcpIpConnection() || g_StartupOptions.ChangeIPMode || !ReportsChangedAddress())
        return true;
    CString text;
    text.Format(Translate(L"MSG_WRITE_CHANGED_IP_TCPIP").GetString(), ArticleOfCommonPage().GetString(),
                ConnectionAddress().GetString());
    return ZELLMessageBox(text, kChangedAddressBoxType, Translate(L"TXT_WARNING_UPPER"), 0) == IDYES;
}

void CCorvaneDlg::NoteAddressAfterRestart()
{
    m_data.IPAddrAfterRestart.Empty();
    // Per-port records carry their own new addresses to the worker.
    if (m_data.HasNetworkParams || !IsTcpIpConnection())
        return;
    const CTCPIPPage* page = ShownTCPIPPage(Page(CTCPIPPage::kPageKey));
    if (page == nullptr || !page->UsesFixedAddress() || !page->HasChangedAddresses())
        return;
    // Only a connection through the device's current address follows it; a
    // connection by name or through another address is left alone.
    const CString connected = ConnectionAddress();
    const CString fixed = page->GetFixedAddressText();
    if (connected == m_data.IPAddrCurrent && fixed != connected)
        m_data.IPAddrAfterRestart = fixed;
}

void CCorvaneDlg::HandAddressesToTCPIPPage()
{
    auto* page = dynamic_cast<CTCPIPPage*>(Page(CTCPIPPage::kPageKey));
    if (page == nullptr || m_data.HasNetworkParams)
        return;
    page->SetCurrentAddresses(m_data.IPAddrEEPROM, m_data.IPAddrCurrent, m_data.SubnetMask, m_data.GatewayAddr,
                              CString(), CString());
    page->SetAddressSource(m_bHasDIPSwitch, m_data.HasDIPSwitches, m_data.DIPSwitchValue);
}

CString CCorvaneDlg::TCPIPAddressSourceText() const
{
    const auto* page = dynamic_cast<const CTCPIPPage*>(Page(CTCPIPPage::kPageKey));
    return page != nullptr ? page->GetAddressSourceText() : CString();
}

}  // namespace Corvane
