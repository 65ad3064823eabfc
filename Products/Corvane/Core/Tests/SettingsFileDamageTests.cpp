// Files that are no settings file, or no longer one: each is refused with
// the kind of its fault and, where the parser knows it, the line it broke
// at, so that the user is told what is wrong with which file; the data set
// and the file stay as they were.
#include "Products/Corvane/Core/SettingsFileReader.h"
#include "Products/Corvane/Core/SettingsFileValues.h"
#include "Products/Corvane/Core/SettingsFileWriter.h"

#include "Platform/Base/Tests/FileBytes.h"
#include "Products/Corvane/Core/Tests/TempFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace Corvane {

namespace {

// A coupler's file as the program writes it.
std::string CouplerFile()
{
    CFBCData data;
    data.ArticleNo = L"0612-0001";
    data.Description = L"Fieldbus coupler";
    data.HasNetworkParams = true;
    data.SetEthernetPortCount(2);
    EXPECT_TRUE(data.CommonTable.Assign({1, 2, 3, 4, 5, 6}));
    return CSettingsFileWriter::Encode(CSettingsFileWriter::BuildText(data, CSettingsFileHeader()));
}

// The number of the line that holds the byte at `offset`, from 1.
std::size_t LineAt(const std::string& bytes, std::size_t offset)
{
    return static_cast<std::size_t>(std::count(bytes.begin(), bytes.begin() + static_cast<long>(offset), '\n')) + 1;
}

std::string ReplaceFirst(std::string text, const std::string& what, const std::string& with)
{
    return text.replace(text.find(what), what.size(), with);
}

struct tDamage {
    const char* what;
    std::string bytes;
    ENSettingsFileError kind;
    // 0: the message names no line.
    std::size_t line;
};

std::vector<tDamage> Damages()
{
    const std::string file = CouplerFile();
    const std::size_t device = file.find("<device>");
    const std::size_t table = file.find("<CommonReg003>");
    const std::size_t end = file.find("</application>");
    std::string random(512, '\0');
    unsigned int seed = 7;
    for (char& byte : random)
        byte = static_cast<char>((seed = seed * 1103515245u + 12345u) >> 16);
    static const char kPngHead[] = "\x89PNG\r\n\x1a\n\0\0\0\rIHDR\0\0\0\x10\0\0\0\x10\x08\x06\0\0\0";
    const std::string png(kPngHead, sizeof(kPngHead) - 1);
    return {
        {"empty", "", ENSettingsFileError::Damaged, 0},
        {"cut in the declaration", file.substr(0, 12), ENSettingsFileError::Damaged, 1},
        {"cut in the device element", file.substr(0, device + 4), ENSettingsFileError::Damaged,
         LineAt(file, device)},
        {"cut in a register", file.substr(0, table + 20), ENSettingsFileError::Damaged, LineAt(file, table)},
        // The application element is left open: the parser stops at the last tag it saw.
        {"cut before its last line", file.substr(0, end), ENSettingsFileError::Damaged,
         LineAt(file, file.find("</device>"))},
        {"random bytes", random, ENSettingsFileError::Damaged, 1},
        {"a picture", png, ENSettingsFileError::Damaged, 1},
        {"bytes the declared encoding does not have",
         ReplaceFirst(ReplaceFirst(file, "ISO-8859-1", "UTF-8"), "Fieldbus", "F\xFC\xFF"), ENSettingsFileError::Damaged,
         LineAt(file, file.find("Fieldbus"))},
        {"an encoding nobody knows", ReplaceFirst(file, "ISO-8859-1", "X-NONE-42"), ENSettingsFileError::Damaged, 1},
        {"another program's XML", "<?xml version='1.0'?>\n<svg xmlns='http://www.w3.org/2000/svg'><rect/></svg>\n",
         ENSettingsFileError::NotSettings, 0},
        {"a wrong root", ReplaceFirst(ReplaceFirst(file, "<application", "<settings"), "</application>", "</settings>"),
         ENSettingsFileError::NotSettings, 0},
        {"an application without device", "<application application-name='x'><Device/></application>",
         ENSettingsFileError::NotSettings, 0},
        {"a register that is no number", ReplaceFirst(file, ">0x0004<", ">0xZZZZ<"), ENSettingsFileError::BadValue,
         0},
    };
}

class SettingsFileDamage : public ::testing::Test {
protected:
    CTempFolder m_Folder;
};

}

TEST_F(SettingsFileDamage, EachIsRefusedWithItsKindAndLineAndChangesNothing)
{
    for (const tDamage& damage : Damages()) {
        const auto path = m_Folder.Write("damaged.wes", damage.bytes);
        CFBCData data;
        data.ArticleNo = L"kept";
        CSettingsFileReader reader;
        EXPECT_FALSE(reader.Load(path, data)) << damage.what;
        EXPECT_EQ(reader.GetErrorKind(), damage.kind) << damage.what << ": " << reader.GetError().str().c_str();
        EXPECT_EQ(reader.GetErrorLine(), damage.line) << damage.what << ": " << reader.GetError().str().c_str();
        EXPECT_EQ(data.ArticleNo, L"kept") << damage.what;
        EXPECT_EQ(TestSupport::ReadFile(path.string()), damage.bytes) << damage.what;
    }
}

TEST_F(SettingsFileDamage, ABadValueNamesItsElementAndText)
{
    const auto path = m_Folder.Write("register.wes", ReplaceFirst(CouplerFile(), ">0x0004<", ">0xZZZZ<"));
    CFBCData data;
    CSettingsFileReader reader;
    ASSERT_FALSE(reader.Load(path, data));
    EXPECT_EQ(reader.GetErrorElement(), L"CommonReg003");
    EXPECT_EQ(reader.GetErrorValue(), L"0xZZZZ");

    EXPECT_FALSE(reader.Load(m_Folder.Path() / "none.wes", data));
    EXPECT_EQ(reader.GetErrorKind(), ENSettingsFileError::Missing);
}

// Addresses are texts to the file: they load as they stand, and the values
// no device takes are found, port by port, to be named and marked.
TEST(SettingsFileValues, AddressesNoDeviceTakesAreFoundByPortAndField)
{
    CFBCData data;
    data.HasNetworkParams = true;
    ASSERT_TRUE(data.SetEthernetPortCount(2));
    data.GetStaticNetworkParams(0)->strPreferredDNSServer = L"dns.local";
    data.GetStaticNetworkParams(0)->strSubnetMask = CServiceBase::SERVICE_NOT_SUPPORTED;
    data.GetStaticNetworkParams(1)->strIPAddress = L"999.1.1.1";
    data.GetStaticNetworkParams(1)->strGatewayAddress = L"192.168.1.1";
    data.GetActualNetworkParams(1)->strIPAddress = L"also 999";

    const std::vector<tInvalidValue> invalid = CSettingsFileValues::FindInvalid(data);
    ASSERT_EQ(invalid.size(), 2u);
    EXPECT_EQ(invalid[0].port, 0u);
    EXPECT_STREQ(invalid[0].element, L"FirstDNSServer");
    EXPECT_EQ(invalid[0].value, L"dns.local");
    EXPECT_EQ(invalid[1].port, 1u);
    EXPECT_STREQ(invalid[1].element, L"IPAddress");
    EXPECT_STREQ(invalid[1].captionKey, L"TXT_IP_ADDRESS");
    EXPECT_EQ(invalid[1].value, L"999.1.1.1");

    data.HasNetworkParams = false;
    EXPECT_TRUE(CSettingsFileValues::FindInvalid(data).empty()) << "no port parameters, nothing written";
}

}  // namespace Corvane
