#include "Common/Communication/PelorusErrorsLookup.h"

#include "Platform/Base/TextConversion.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

namespace ZELL {
namespace {

// Writes an error language file in the binary text format of the store.
void WriteTextFile(const std::filesystem::path& file, const std::vector<std::pair<std::wstring, std::wstring>>& texts)
{
    std::ofstream out(file, std::ios::binary);
    auto put32 = [&out](std::uint32_t value) {
        for (int i = 0; i < 4; ++i)
            out.put(static_cast<char>(value >> (8 * i)));
    };
    auto putText = [&](const std::wstring& text) {
        put32(static_cast<std::uint32_t>(text.size()));
        for (wchar_t c : text) {
            out.put(static_cast<char>(c & 0xFF));
            out.put(static_cast<char>((c >> 8) & 0xFF));
        }
        out.put(0);
        out.put(0);
    };
    put32(1033);
    for (const auto& [key, text] : texts) {
        putText(key);
        putText(text);
    }
}

// Exposes the protected look-ups.
struct Lookup : CPelorusErrorsLookup {
    using CPelorusErrorsLookup::CPelorusErrorsLookup;
    using CPelorusErrorsLookup::GetLangIDFromLCID;
    using CPelorusErrorsLookup::GetLCIDFromLangID;
};

class PelorusErrorsLookupTest : public testing::Test {
protected:
    void SetUp() override
    {
        // Mixed case on purpose: the directory must be used as it stands.
        m_directory = std::filesystem::temp_directory_path()
            / ("PelorusErrors-Mixed-" + std::to_string(::getpid()) + "-"
               + testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(m_directory);
        WriteTextFile(m_directory / "PelorusErrors.en",
                      {{L"0x202008CA_SHORT", L"Not connected"},
                       {L"0x202008CA_LONG", L"The connection{crlf}is  not open"},
                       {L"0x0000000A_SHORT", L"a\\nb"},
                       {L"0x0000000B_SHORT", L"x\\r\\ny   z"},
                       {L"ERROR_UNKNOWN_SHORT", L"Unknown error"}});
        WriteTextFile(m_directory / "PelorusErrors.de", {{L"0x202008CA_SHORT", L"Nicht verbunden"}});
    }
    void TearDown() override { std::filesystem::remove_all(m_directory); }

    std::wstring Path() const { return Text::Utf8ToWide(m_directory.string()); }

    std::filesystem::path m_directory;
};

TEST_F(PelorusErrorsLookupTest, LooksUpCodesAndFallsBack)
{
    Lookup lookup(L"en", Path());
    EXPECT_EQ(lookup.GetPath(), Path());
    EXPECT_EQ(lookup.GetShortDescription(0x202008CA, true), L"Not connected");
    EXPECT_EQ(lookup.GetShortDescription(0x2020FFFF, true), L"Unknown error");
    const std::wstring longText = lookup.GetLongDescription(0x2020FFFE, true);
    EXPECT_EQ(longText.rfind(L"##", 0), 0u) << "missing fallback keeps the marker";
    EXPECT_NE(longText.find(L"ERROR_UNKNOWN_LONG"), std::wstring::npos);
}

TEST_F(PelorusErrorsLookupTest, EscapesAreResolvedOrFlattened)
{
    Lookup lookup(L"en", Path());
    std::wstring shortText;
    std::wstring longText;
    lookup.GetDescriptions(0x202008CA, shortText, longText, true);
    EXPECT_EQ(longText, L"The connection\r\nis not open");
    lookup.GetDescriptions(0x202008CA, shortText, longText, false);
    EXPECT_EQ(longText, L"The connection is not open");
    EXPECT_EQ(lookup.GetShortDescription(10, true), L"a\nb");
    EXPECT_EQ(lookup.GetShortDescription(10, false), L"a b");
    EXPECT_EQ(lookup.GetShortDescription(11, true), L"x\r\ny  z") << "one pass: three blanks become two";
    EXPECT_EQ(lookup.GetShortDescription(11, false), L"x y  z");
}

TEST_F(PelorusErrorsLookupTest, LanguagesByCodeAndLcid)
{
    Lookup german(1031u, Path());
    EXPECT_EQ(german.GetLCID(), 1031u);
    EXPECT_EQ(german.GetShortDescription(0x202008CA, true), L"Nicht verbunden");

    Lookup french(L"fr", Path());
    EXPECT_EQ(french.GetLanguage(), L"en") << "no French file beside the library";
    EXPECT_EQ(french.GetLCID(), 1033u);

    EXPECT_EQ(Lookup::GetLCIDFromLangID(L"DE"), 1031u);
    EXPECT_EQ(Lookup::GetLCIDFromLangID(L"pt"), 1033u);
    EXPECT_EQ(Lookup::GetLangIDFromLCID(2057), L"en");
    EXPECT_EQ(Lookup::GetLangIDFromLCID(1041), L"ja");

    Lookup copy(german);
    EXPECT_EQ(copy.GetLanguage(), L"de");
    EXPECT_EQ(copy.GetPath(), Path());
}

TEST_F(PelorusErrorsLookupTest, EmptyPathIsTheDirectoryOfTheModule)
{
    Lookup lookup;
    const std::filesystem::path self = std::filesystem::canonical("/proc/self/exe").parent_path();
    EXPECT_EQ(std::filesystem::path(Text::WideToUtf8(lookup.GetPath())), self);
    EXPECT_EQ(lookup.GetLanguage(), L"en");
}

}
}

namespace ZELL {
namespace {

TEST(PelorusErrorsLookupShipped, TextsBesideTheModuleAreFound)
{
    CPelorusErrorsLookup lookup;
    EXPECT_EQ(lookup.GetShortDescription(0x20088302, true), L"Register access busy");
    lookup.SetLanguage(std::wstring(L"de"));
    EXPECT_EQ(lookup.GetLCID(), 1031u);
    EXPECT_EQ(lookup.GetShortDescription(0x2008821D, true), L"Gerät beschäftigt");
    EXPECT_EQ(lookup.GetLongDescription(0x2008821D, false),
              L"Das Gerät bearbeitet noch einen früheren Befehl. Bitte kurz warten und erneut versuchen.");
}

}
}
