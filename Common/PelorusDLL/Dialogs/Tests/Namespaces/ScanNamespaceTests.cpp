// The scan dialog over the kernel's own network stack: ScanInNamespaces.sh
// runs this program in a network namespace of its own, joined by veth pairs
// to namespaces that hold one of our devices (a simulated one on the service
// port, its interface carrying our hardware-address prefix) and one foreign
// device. Echo, ARP and the service port all go over real interfaces.
//
// Hosts of the script's network: .1 this namespace itself, .2 ours, .3 the
// foreign device, .4 nobody.
#include "Common/Communication/ArticleNumber.h"
#include "Common/PelorusDLL/Dialogs/DialogIds.h"
#include "Common/PelorusDLL/Dialogs/HostProfile.h"
#include "Common/PelorusDLL/Dialogs/ScanNetworkDlg.h"
#include "Common/PelorusDLL/Dialogs/Tests/ScanTestSupport.h"
#include "Common/SystemHelper/Texts/LanguageTexts.h"
#include "Platform/Shell/Tests/ModalScript.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

using namespace PelorusIds;

namespace {

std::wstring Setting(const char* name)
{
    const char* value = std::getenv(name);
    return value ? std::wstring(value, value + std::strlen(value)) : std::wstring();
}

std::wstring Upper(std::wstring text)
{
    std::transform(text.begin(), text.end(), text.begin(), [](wchar_t c) { return std::towupper(c); });
    return text;
}

struct Listed {
    std::vector<std::wstring> addresses, seconds, macs;
};

}

TEST(ScanInNamespaces, FindsReadsTheMacOfAndIdentifiesOurDeviceAndListsTheRestAmongAll)
{
    const std::wstring net = Setting("ZELL_SCAN_NET");
    if (net.empty())
        GTEST_SKIP() << "runs only inside the namespaces ScanInNamespaces.sh makes";
    const std::wstring ours = net + L".2", foreign = net + L".3", own = net + L".1";
    GetLanguageSupport().SetText(L"SND_STATE_NO_ZELL_DEVICE", L"Foreign device");
    GetLanguageSupport().SetText(L"SND_STATE_NO_MAC_ID", L"No MAC");
    const CHostProfile profile;
    profile.WriteString(L"Settings", L"AddrSearchFirst", net + L".1");
    profile.WriteString(L"Settings", L"AddrSearchLast", net + L".4");
    const std::wstring article = CArticleNumber(Setting("ZELL_SCAN_ORDER")).GetText(false);
    const std::wstring ourMac = Upper(Setting("ZELL_SCAN_OURS_MAC"));
    const std::wstring foreignMac = Upper(Setting("ZELL_SCAN_FOREIGN_MAC"));

    for (const bool showAll : {false, true}) {
        CScanNetworkDlg dialog;
        ShellTest::ModalScript script;
        Listed listed;
        script.Then([&](UiTest::CDialogDriver& driver) {
            if (showAll)
                driver.Click(kShowAll);
            driver.Click(kSearch);
            driver.PumpUntilIdle();
            ASSERT_TRUE(driver.PumpUntil([&] { return !dialog.IsScanning(); }, 30000));
            const HWND list = driver.Control(kDeviceList);
            listed = {PelorusTest::Column(list, 0), PelorusTest::Column(list, 1), PelorusTest::Column(list, 2)};
            const auto row = std::find(listed.addresses.begin(), listed.addresses.end(), ours);
            PelorusTest::ClickRow(list, static_cast<int>(row - listed.addresses.begin()));
            driver.PumpUntilIdle();
            driver.Click(IDOK);
        });
        EXPECT_EQ(dialog.DoModal(), IDOK) << "show all " << showAll;
        EXPECT_EQ(dialog.m_selectedAddress, ours.c_str());
        if (showAll) {
            // Ours first by its article number, then the others by address;
            // .4 never answered.
            EXPECT_EQ(listed.addresses, (std::vector<std::wstring>{ours, own, foreign}));
            EXPECT_EQ(listed.seconds, (std::vector<std::wstring>{article, L"", L"Foreign device"}));
            EXPECT_EQ(listed.macs, (std::vector<std::wstring>{ourMac, L"No MAC", foreignMac}));
        } else {
            EXPECT_EQ(listed.addresses, std::vector<std::wstring>{ours});
            EXPECT_EQ(listed.macs, std::vector<std::wstring>{ourMac}); // through ARP, not from the device
        }
        UiTest::CDialogDriver idle(nullptr);
        EXPECT_TRUE(idle.PumpUntil([&] { return dialog.Scan()->WaitForWorkers(0); }, 30000));
    }
}
