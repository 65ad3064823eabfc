// Files laid out by hand the way the program has always written them: each
// must load and be written back byte for byte, so files from older versions
// and files written here stay interchangeable.

#include "Platform/Base/Tests/FileBytes.h"
#include "Products/Corvane/Core/SettingsFileReader.h"
#include "Products/Corvane/Core/SettingsFileWriter.h"

#include <gtest/gtest.h>

#include <optional>
#include <regex>
#include <string>

namespace Corvane {

namespace {

std::optional<std::string> Capture(const std::string& bytes, const std::string& pattern)
{
    std::smatch match;
    if (!std::regex_search(bytes, match, std::regex(pattern)))
        return std::nullopt;
    return match[1].str();
}

CString Wide(const std::string& latin1)
{
    std::wstring text(latin1.begin(), latin1.end());
    return text.c_str();
}

class SettingsFileSample : public ::testing::TestWithParam<const char*> {};

}

TEST_P(SettingsFileSample, LoadsAndIsWrittenBackByteForByte)
{
    const std::string bytes = TestSupport::ReadFile(std::string(CORVANE_TEST_FILES) + "/" + GetParam());
    ASSERT_FALSE(bytes.empty());

    CFBCData data;
    CSettingsFileReader reader;
    ASSERT_TRUE(reader.Load(std::string(CORVANE_TEST_FILES) + "/" + GetParam(), data)) << reader.GetError().str();

    CSettingsFileHeader header = reader.GetHeader();
    const auto savedOn = Capture(bytes, "<!-- Saved on (.*) -->");
    ASSERT_TRUE(savedOn);
    header.SavedOn = Wide(*savedOn);
    // The current address of the change-IP mode is written but never read.
    const auto current = Capture(bytes, "<CurrentIPAddress>(.*)</CurrentIPAddress>");
    const CString currentAddress = current ? Wide(*current) : CString();

    const std::string written = CSettingsFileWriter::Encode(
        CSettingsFileWriter::BuildText(data, header, current ? &currentAddress : nullptr));
    EXPECT_EQ(written, bytes);
}

INSTANTIATE_TEST_SUITE_P(HandWritten, SettingsFileSample,
                         ::testing::Values("TwoPortController.wes", "SinglePortCoupler.wes"));

TEST(SettingsFileSampleValues, EntitiesAndPortsReadIntoTheirFields)
{
    CFBCData data;
    CSettingsFileReader reader;
    ASSERT_TRUE(reader.Load(std::string(CORVANE_TEST_FILES) + "/TwoPortController.wes", data));
    EXPECT_EQ(data.Description.str(), L"Controller 2ETH & RS <K\u00fchlung> \"Halle\" '3'");
    ASSERT_EQ(data.GetEthernetPortCount(), 2u);
    EXPECT_EQ(data.GetStaticNetworkParams(1)->strDomainName, L"werk&halle.local");
    EXPECT_EQ(data.GetActualNetworkParams(1)->strIPAddress, L"192.168.1.11");
    EXPECT_TRUE(data.HasTerminalBusExtension); // ten status words

    CFBCData coupler;
    ASSERT_TRUE(reader.Load(std::string(CORVANE_TEST_FILES) + "/SinglePortCoupler.wes", coupler));
    EXPECT_EQ(coupler.Description.str(), L"Koppler ETHERNET \u4e2d");
    EXPECT_FALSE(coupler.InterfaceModeToWrite);
    EXPECT_FALSE(coupler.ActiveRuntimeSystemToWrite);
    EXPECT_TRUE(coupler.SpecificTable.Words().empty());
}

}  // namespace Corvane
