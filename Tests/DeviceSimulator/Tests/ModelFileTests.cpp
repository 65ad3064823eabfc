#include <gtest/gtest.h>

#include "Tests/DeviceSimulator/ModelFile.h"

#include <chrono>
#include <set>

using DevSim::CModelFile;
using DevSim::tDeviceData;

TEST(ModelFile, AppliesKeysOfEveryKind)
{
    const std::string text =
        "# a coupler\n"
        "\n"
        "ident.ORDER = 1234-5678\n"
        "ident.EXTRA=yes\n"
        "checksumLength=2\n"
        "bufferSize=0x200\n"
        "states=1,0,0,0,0,0,0,0,0\n"
        "register.0.100=1,2,3\n"
        "register.0.100.protected=1\n"
        "register.0.9.size=4\n"
        "register.0.9.at.2=7,8\n"
        "clock.running=1\n"
        "net.0.static.ip=10.1.2.3\n"
        "net.0.actual.mac=025AE10000FF\n"
        "net.1.static.host=node\n"
        "net.0.static.source=2\n"
        "clock.zoneMinutes=-60\n"
        "unsupported=0x118,0x119\n"
        "sdcard.inserted=1\n";
    tDeviceData data;
    std::string error;
    ASSERT_TRUE(CModelFile::Apply(text, data, error)) << error;
    EXPECT_EQ(data.checksumLength, 2);
    EXPECT_EQ(data.protocolBufferSize, 0x200);
    EXPECT_EQ(data.identItems.front().second, "1234-5678");
    EXPECT_EQ(data.identItems.back().first, "EXTRA");
    EXPECT_EQ(data.registers.at({0, 100}).words, (std::vector<uint16_t>{1, 2, 3}));
    EXPECT_TRUE(data.registers.at({0, 100}).writeProtected);
    EXPECT_EQ(data.registers.at({0, 9}).words, (std::vector<uint16_t>{0, 0, 7, 8}));
    EXPECT_TRUE(data.clockRunning);
    EXPECT_EQ(*data.NetParam(0, 1, 1), (std::vector<uint8_t>{3, 2, 1, 10}));
    EXPECT_EQ(*data.NetParam(0, 0, 10), (std::vector<uint8_t>{0xFF, 0, 0, 0xE1, 0x5A, 0x02}));
    EXPECT_EQ(*data.NetParam(1, 1, 7), (std::vector<uint8_t>{'n', 'o', 'd', 'e'}));
    EXPECT_EQ(*data.NetParam(0, 1, 0), (std::vector<uint8_t>{2, 0}));
    EXPECT_EQ(data.zoneMinutes, -60);
    EXPECT_EQ(data.unsupportedServices.count(0x119), 1u);
    EXPECT_TRUE(data.sdCard.inserted);
}

TEST(ModelFile, BadLinesNameTheLineAndChangeNothing)
{
    const struct {
        const char* text;
        const char* expect;
    } cases[] = {
        {"bufferSize=70000\n", "line 2"},            // beyond 16 bits
        {"ok=1\n", "unknown key"},
        {"\nnet.0.static.ip=300.1.1.1\n", "line 3"}, // octet too large
        {"net.0.static.ip=1.2.3\n", "dotted"},
        {"net.0.static.mac=025AE1\n", "hex"},
        {"net.0.weird.ip=1.2.3.4\n", "expected net"},
        {"register.x.1=1\n", "expected register"},
        {"register.0.1.at.1=5\n", "beyond the table"},
        {"register.0.1.size=2\nregister.0.1.at.1=5,6\n", "line 3"},
        {"register.0.1.weight=2\n", "expected register"},
        {"clock.seconds=later\n", "bad number"},
        {"states=1,,2\n", "word list"},
        {"checksumLength=1\n", "0 or 2"},
        {"no equals sign\n", "missing '='"},
        {"clock.zoneMinutes=-40000\n", "bad number"},
    };
    for (const auto& c : cases) {
        tDeviceData data;
        data.protocolBufferSize = 1234;
        std::string error;
        EXPECT_FALSE(CModelFile::Apply(std::string("bufferSize=99\n") + c.text, data, error)) << c.text;
        EXPECT_NE(error.find(c.expect), std::string::npos) << c.text << " -> " << error;
        EXPECT_EQ(data.protocolBufferSize, 1234) << "a failed file must not half-apply";
    }
}

TEST(ModelFile, MissingFileIsAnError)
{
    tDeviceData data;
    std::string error;
    EXPECT_FALSE(CModelFile::Load("/nonexistent/model.txt", data, error));
    EXPECT_NE(error.find("cannot open"), std::string::npos);
}

// The kinds make run offers: each loads completely, is a device of its own,
// and a kind the simulator has no model of is refused.
TEST(ModelFile, ShippedKindsLoadAndAnUnknownKindIsRefused)
{
    std::set<std::string> articles;
    for (const std::string& kind : CModelFile::Kinds()) {
        tDeviceData data;
        std::string error;
        ASSERT_TRUE(CModelFile::LoadKind(DEVSIM_MODEL_DIR, kind, data, error)) << kind << ": " << error;
        articles.insert(data.orderNumber);
        EXPECT_TRUE(data.clockRunning) << kind;
        EXPECT_TRUE(data.NetParam(1, DevSim::NET_STATIC, DevSim::NET_IP_ADDRESS)) << kind << " has two ports";
    }
    EXPECT_EQ(articles.size(), CModelFile::Kinds().size());
    tDeviceData data;
    std::string error;
    EXPECT_FALSE(CModelFile::LoadKind(DEVSIM_MODEL_DIR, "gateway", data, error));
    EXPECT_NE(error.find("unknown device kind 'gateway'"), std::string::npos) << error;
}

// A running clock moves on from when it was set; a stopped one stands.
TEST(ModelFile, RunningClockAdvancesFromWhenItWasSet)
{
    tDeviceData data;
    data.SetClock(1000);
    data.clockSetAt -= std::chrono::seconds(5);
    EXPECT_EQ(data.ClockNow(), 1000u);
    data.clockRunning = true;
    EXPECT_EQ(data.ClockNow(), 1005u);
}
