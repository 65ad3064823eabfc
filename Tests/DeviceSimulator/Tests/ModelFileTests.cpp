#include <gtest/gtest.h>

#include "Tests/DeviceSimulator/ModelFile.h"

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
        "net.0.static.ip=10.1.2.3\n"
        "net.0.actual.mac=0030DE0000FF\n"
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
    EXPECT_EQ(*data.NetParam(0, 1, 1), (std::vector<uint8_t>{3, 2, 1, 10}));
    EXPECT_EQ(*data.NetParam(0, 0, 10), (std::vector<uint8_t>{0xFF, 0, 0, 0xDE, 0x30, 0}));
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
        {"net.0.static.mac=0030DE\n", "hex"},
        {"net.0.weird.ip=1.2.3.4\n", "expected net"},
        {"register.x.1=1\n", "expected register"},
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
