#include "Products/Corvane/Core/FBCData.h"

#include <gtest/gtest.h>

#include <vector>

namespace Corvane {

namespace {

void FillAsAfterARead(CFBCData& data)
{
    data.ArticleNo = L"0614-0881";
    data.Description = L"ETHERNET controller";
    data.HWVersion = L"01";
    data.SWVersion = L"03.01.02(05)";
    data.FWLVersion = L"ERROR: Service not supported!";
    data.SerialNo = L"SN0001";
    data.IMEI = L"351234567890123";
    data.NetIDName = L"MAC-ID";
    data.NetworkID = L"025AE1000001";
    data.ClockState = L"DONE";
    data.IPAddrCurrent = L"192.168.1.10";
    data.IPAddrEEPROM = L"192.168.1.11";
    data.SubnetMask = L"255.255.255.0";
    data.GatewayAddr = L"192.168.1.1";
    data.HasClock = false;
    data.HasDIPSwitches = true;
    data.DIPSwitchValue = 17;
    ASSERT_TRUE(data.CommonTable.Assign({1, 2, 3}));
    ASSERT_TRUE(data.SpecificTable.Allocate(256));
    data.StatusWords = {0x10, 0x20};
    data.HasTerminalBusExtension = true;
    data.NetworkParamsModified = true;
    data.HasNetworkParams = true;
    ASSERT_TRUE(data.SetEthernetPortCount(2));
    data.GetActualNetworkParams(1)->strIPAddress = L"10.0.0.2";
    data.HasSDCardSlot = true;
    data.SDCardInfo.bInserted = true;
    data.SDCardInfo.dwSerialNumber = 0xDEADBEEF;
    data.InterfaceModeToWrite = true;
    data.EthernetInterfaceMode = 1;
    data.ActiveRuntimeSystemToWrite = true;
    data.ActiveRuntimeSystem = 3;
    data.RuntimeSystems = {1, 3};
}

}

TEST(FBCData, NewSetIsTheClearedState)
{
    const CFBCData data;
    EXPECT_TRUE(data.ArticleNo.IsEmpty());
    EXPECT_TRUE(data.IMEI.IsEmpty());
    EXPECT_TRUE(data.HasClock);
    EXPECT_FALSE(data.HasDIPSwitches);
    EXPECT_EQ(data.DIPSwitchValue, 0xFFFF);
    EXPECT_EQ(data.EthernetInterfaceMode, 0xFFFF);
    EXPECT_EQ(data.ActiveRuntimeSystem, 0xFFFF);
    EXPECT_EQ(data.CommonTable.GetCount(), 0);
    EXPECT_EQ(data.CommonTable.GetData(), nullptr);
    EXPECT_EQ(data.SpecificTable.GetData(), nullptr);
    EXPECT_EQ(data.GetEthernetPortCount(), 0u);
    EXPECT_EQ(data.GetActualNetworkParams(0), nullptr);
    EXPECT_EQ(data.GetStaticNetworkParams(0), nullptr);
    EXPECT_TRUE(data.StatusWords.empty());
    EXPECT_TRUE(data.RuntimeSystems.empty());
}

TEST(FBCData, ClearResetsAllButTheValuesTheNextReadReplaces)
{
    CFBCData data;
    FillAsAfterARead(data);
    data.Clear();

    for (const CString* text : {&data.ArticleNo, &data.Description, &data.HWVersion, &data.SWVersion,
                                &data.FWLVersion, &data.SerialNo, &data.NetIDName, &data.NetworkID, &data.ClockState,
                                &data.IPAddrCurrent, &data.IPAddrEEPROM, &data.SubnetMask, &data.GatewayAddr})
        EXPECT_TRUE(text->IsEmpty()) << text->str().c_str();
    EXPECT_TRUE(data.HasClock);
    EXPECT_FALSE(data.HasDIPSwitches);
    EXPECT_EQ(data.DIPSwitchValue, 0xFFFF);
    EXPECT_EQ(data.CommonTable.GetCount(), 0);
    EXPECT_EQ(data.CommonTable.GetData(), nullptr);
    EXPECT_EQ(data.SpecificTable.GetCount(), 0);
    EXPECT_FALSE(data.HasTerminalBusExtension);
    EXPECT_FALSE(data.NetworkParamsModified);
    EXPECT_FALSE(data.HasNetworkParams);
    EXPECT_EQ(data.GetEthernetPortCount(), 0u);
    EXPECT_EQ(data.GetActualNetworkParams(0), nullptr);
    EXPECT_FALSE(data.HasSDCardSlot);
    EXPECT_FALSE(data.InterfaceModeToWrite);
    EXPECT_EQ(data.EthernetInterfaceMode, 0xFFFF);
    EXPECT_FALSE(data.ActiveRuntimeSystemToWrite);
    EXPECT_EQ(data.ActiveRuntimeSystem, 0xFFFF);

    // Kept: the next read replaces them.
    EXPECT_EQ(data.IMEI.str(), L"351234567890123");
    EXPECT_EQ(data.StatusWords, (std::vector<WORD>{0x10, 0x20}));
    EXPECT_TRUE(data.SDCardInfo.bInserted);
    EXPECT_EQ(data.SDCardInfo.dwSerialNumber, 0xDEADBEEFu);
    EXPECT_EQ(data.RuntimeSystems, (std::vector<WORD>{1, 3}));
}

TEST(FBCData, ChangingThePortCountMakesBothArraysAnew)
{
    CFBCData data;
    ASSERT_TRUE(data.SetEthernetPortCount(1));
    data.GetActualNetworkParams(0)->strIPAddress = L"10.0.0.1";
    data.GetStaticNetworkParams(0)->wIPAddressSource = 2;
    data.GetStaticNetworkParams(0)->strHostName = L"plc";

    ASSERT_TRUE(data.SetEthernetPortCount(2));
    EXPECT_EQ(data.GetEthernetPortCount(), 2u);
    for (DWORD port = 0; port < 2; ++port) {
        ASSERT_NE(data.GetActualNetworkParams(port), nullptr);
        ASSERT_NE(data.GetStaticNetworkParams(port), nullptr);
        EXPECT_TRUE(data.GetActualNetworkParams(port)->strIPAddress.empty());
        EXPECT_EQ(data.GetStaticNetworkParams(port)->wIPAddressSource, 0);
        EXPECT_TRUE(data.GetStaticNetworkParams(port)->strHostName.empty());
    }
    EXPECT_EQ(data.GetActualNetworkParams(2), nullptr);
    EXPECT_EQ(data.GetStaticNetworkParams(2), nullptr);

    ASSERT_TRUE(data.SetEthernetPortCount(0));
    EXPECT_EQ(data.GetActualNetworkParams(0), nullptr);
    EXPECT_EQ(data.GetStaticNetworkParams(0), nullptr);
}

TEST(FBCData, AnAbsurdPortCountIsRefusedAndChangesNothing)
{
    CFBCData data;
    ASSERT_TRUE(data.SetEthernetPortCount(2));
    data.GetStaticNetworkParams(1)->strDomainName = L"example.local";
    for (DWORD count : {3u, 0xFFFFu, 0xFFFFFFFFu})
        EXPECT_FALSE(data.SetEthernetPortCount(count)) << count;
    EXPECT_EQ(data.GetEthernetPortCount(), 2u);
    ASSERT_NE(data.GetStaticNetworkParams(1), nullptr);
    EXPECT_EQ(data.GetStaticNetworkParams(1)->strDomainName, L"example.local");
}

TEST(FBCData, ACopyIsIndependentOfItsSource)
{
    CFBCData data;
    FillAsAfterARead(data);
    CFBCData copy = data;
    copy.CommonTable.SetAt(0, 0xAAAA);
    copy.GetActualNetworkParams(1)->strIPAddress = L"10.9.9.9";
    copy.ArticleNo = L"0614-0352";
    EXPECT_EQ(data.CommonTable.GetAt(0), 1);
    EXPECT_EQ(data.GetActualNetworkParams(1)->strIPAddress, L"10.0.0.2");
    EXPECT_EQ(data.ArticleNo.str(), L"0614-0881");
}

TEST(RegisterTable, CountAlwaysMatchesTheWords)
{
    CRegisterTable table;
    ASSERT_TRUE(table.Allocate(CRegisterTable::kMaxWords));
    EXPECT_EQ(table.GetCount(), 0xFFFF);
    EXPECT_EQ(table.GetAt(0xFFFE, 7), 0);

    // One word more than a count can tell is refused, the table kept.
    EXPECT_FALSE(table.Allocate(CRegisterTable::kMaxWords + 1));
    EXPECT_FALSE(table.Assign(std::vector<WORD>(CRegisterTable::kMaxWords + 1, 5)));
    EXPECT_EQ(table.GetCount(), 0xFFFF);

    const WORD words[] = {9, 8, 7};
    ASSERT_TRUE(table.Assign(words, 3));
    EXPECT_EQ(table.GetCount(), 3);
    EXPECT_EQ(table.GetData()[2], 7);
    EXPECT_FALSE(table.Assign(nullptr, 2));
    EXPECT_EQ(table.GetCount(), 3);

    ASSERT_TRUE(table.Assign(nullptr, 0));
    EXPECT_TRUE(table.IsEmpty());
    EXPECT_EQ(table.GetData(), nullptr);
}

TEST(RegisterTable, AccessBeyondTheEndNeitherReadsNorWrites)
{
    CRegisterTable table;
    ASSERT_TRUE(table.Assign({1, 2}));
    EXPECT_EQ(table.GetAt(2, 0xBEEF), 0xBEEF);
    EXPECT_FALSE(table.SetAt(2, 3));
    EXPECT_TRUE(table.SetAt(1, 3));
    EXPECT_EQ(table.Words(), (std::vector<WORD>{1, 3}));
}

}  // namespace Corvane
