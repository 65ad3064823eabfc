#include "Common/SystemHelper/Errors/ZellException.h"
#include "Common/SystemHelper/Xml/ComError.h"
#include "Common/SystemHelper/Texts/LanguageSupportBinaryFile.h"
#include "Common/SystemHelper/Texts/LanguageTexts.h"
#include "LanguageSupportTestFiles.h"

#include <gtest/gtest.h>

#include <atomic>
#include <ctime>
#include <filesystem>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>

namespace {

class LanguageStore : public ::testing::Test {
protected:
    void SetUp() override { Reset(); }
    void TearDown() override { Reset(); }
    static void Reset()
    {
        GetLanguageSupport().Clear();
        GetLanguageSupport().SetMissingPrefix(L"##");
    }
    static CLanguageSupportImpl& Store() { return GetLanguageSupport(); }

    ScratchFolder m_folder;
};

template <typename Statement>
LONG ZellCode(Statement statement)
{
    try {
        statement();
    } catch (const CZellException& error) {
        return error.m_lCode;
    }
    return 0;
}

}

TEST_F(LanguageStore, MissingKeysShowPrefixAndKey)
{
    EXPECT_EQ(Store().GetText(L"LBL_NONE").wstr(), L"##LBL_NONE");
    EXPECT_FALSE(Store().HasText(L"LBL_NONE"));
    Store().SetMissingPrefix(L"");
    EXPECT_EQ(Store().GetText(L"LBL_NONE").wstr(), L"LBL_NONE");
    EXPECT_EQ(GetLanguageText(L"LBL_NONE"), L"LBL_NONE");
}

TEST_F(LanguageStore, KeysAreCaseSensitiveAndSetTextReplaces)
{
    Store().SetText(L"Key", L"one");
    Store().SetText(L"Key", L"two");
    EXPECT_EQ(Store().GetText(L"Key").wstr(), L"two");
    EXPECT_EQ(Store().GetText(L"KEY").wstr(), L"##KEY");
}

TEST_F(LanguageStore, ErrorTextKeyIsUnsigned16Bit)
{
    EXPECT_EQ(Store().GetErrorTextKey(0xFFFF).wstr(), L"ERROR_TEXT_65535");
    EXPECT_EQ(Store().GetErrorTextKey(0).wstr(), L"ERROR_TEXT_0");
    EXPECT_FALSE(Store().HasText(L"ERROR_TEXT_65535"));
}

TEST_F(LanguageStore, LoadXmlTakesOneLanguageAndLaterDuplicatesWin)
{
    const std::wstring file = m_folder.Write("Prog.GUI.XML", kGuiXml);
    Store().LoadXml(file, L"1033", false);
    EXPECT_EQ(Store().GetText(L"LBL_OK").wstr(), L"Apply");
    EXPECT_EQ(Store().GetText(L"DUP").wstr(), L"second");
    EXPECT_EQ(Store().GetLanguage().wstr(), L"1033");
    EXPECT_EQ(GetCurrentLanguage(), L"1033");
    EXPECT_FALSE(Store().HasText(L""));

    Store().LoadXml(file, L"1031", false);
    EXPECT_EQ(Store().GetText(L"LBL_OK").wstr(), L"Übernehmen");
    EXPECT_FALSE(Store().HasText(L"MSG_LINES"));
}

TEST_F(LanguageStore, SameFileAndLcidIsNotReadAgain)
{
    const std::wstring file = m_folder.Write("Prog.GUI.XML", kGuiXml);
    Store().LoadXml(file, L"1033", false);
    std::string changed = kGuiXml;
    changed.replace(changed.find("Apply"), 5, "Changed");
    m_folder.Write("Prog.GUI.XML", changed);
    Store().LoadXml(file, L"1033", false);
    EXPECT_EQ(Store().GetText(L"LBL_OK").wstr(), L"Apply");
    // Another language reads the file anew, and back again too.
    Store().LoadXml(file, L"1031", false);
    Store().LoadXml(file, L"1033", false);
    EXPECT_EQ(Store().GetText(L"LBL_OK").wstr(), L"Changed");
}

TEST_F(LanguageStore, PathsDifferingInCaseAreDifferentFiles)
{
    std::string upper = kGuiXml;
    upper.replace(upper.find("Apply"), 5, "Upper");
    const std::wstring lowerFile = m_folder.Write("gui.xml", kGuiXml);
    const std::wstring upperFile = m_folder.Write("GUI.XML", upper);
    Store().LoadXml(lowerFile, L"1033", false);
    EXPECT_EQ(Store().GetCurrentFile().wstr(), lowerFile);
    Store().LoadXml(upperFile, L"1033", false);
    EXPECT_EQ(Store().GetText(L"LBL_OK").wstr(), L"Upper");
    EXPECT_EQ(Store().GetCurrentFile().wstr(), upperFile);
}

TEST_F(LanguageStore, KeepAddsToTheStore)
{
    Store().SetText(L"OWN", L"kept");
    Store().LoadXmlText(Text::Utf8ToWide(kGuiXml), L"1036", true);
    EXPECT_EQ(Store().GetText(L"OWN").wstr(), L"kept");
    Store().LoadXmlText(Text::Utf8ToWide(kGuiXml), L"1033", false);
    EXPECT_FALSE(Store().HasText(L"OWN"));
    EXPECT_TRUE(Store().GetCurrentFile().wstr().empty());
}

// Stores of several deliverables share the texts of a settled file; what
// one store sets or adds over them stays its own.
TEST_F(LanguageStore, TextsSharedWithOtherStoresStayAsTheFileHasThem)
{
    const std::wstring file = m_folder.Write("Prog.GUI.XML", kGuiXml);
    const timespec settled[2] = {{0, UTIME_OMIT}, {std::time(nullptr) - 60, 0}};
    ASSERT_EQ(0, ::utimensat(AT_FDCWD, Text::WideToUtf8(file).c_str(), settled, 0));
    const std::wstring extra = m_folder.Write(
        "Extra.GUI.XML", R"(<gui><languages><language lcid="1033" code="en"/></languages>
        <text key="LBL_OK"><locale code="en">Extra</locale></text><text key="NEW"><locale code="en">new</locale></text></gui>)");
    Store().LoadXml(file, L"1033", false);
    Store().SetText(L"DUP", L"own");
    Store().LoadXml(extra, L"1033", true);
    EXPECT_EQ(Store().GetText(L"LBL_OK").wstr(), L"Extra");
    EXPECT_EQ(Store().GetText(L"NEW").wstr(), L"new");
    EXPECT_EQ(Store().GetText(L"DUP").wstr(), L"own");
    EXPECT_EQ(Store().GetText(L"MSG_ARGS").wstr(), L"{0} of {1}, again {0}");

    CLanguageSupportImpl other;
    other.LoadXml(file, L"1033", false);
    EXPECT_EQ(other.GetText(L"LBL_OK").wstr(), L"Apply");
    EXPECT_EQ(other.GetText(L"DUP").wstr(), L"second");
    EXPECT_FALSE(other.HasText(L"NEW"));
    // A fresh load drops what was added; the file's texts are as it has them.
    Store().LoadXml(file, L"1031", false);
    Store().LoadXml(file, L"1033", false);
    EXPECT_EQ(Store().GetText(L"DUP").wstr(), L"second");
    EXPECT_FALSE(Store().HasText(L"NEW"));
}

TEST_F(LanguageStore, MissingOrMalformedFileThrows9191AndKeepsTexts)
{
    Store().SetText(L"OWN", L"kept");
    EXPECT_EQ(ZellCode([&] { Store().LoadXml(m_folder.Path("none.xml"), L"1033", false); }), 9191);
    const std::wstring broken = m_folder.Write("broken.xml", "<gui><languages><language lcid='1033'");
    try {
        Store().LoadXml(broken, L"1033", false);
        ADD_FAILURE() << "no exception";
    } catch (const CZellException& error) {
        EXPECT_EQ(std::wstring(error.m_szMessage), L"Missing file!\n" + broken);
    }
    EXPECT_EQ(Store().GetText(L"OWN").wstr(), L"kept");
}

TEST_F(LanguageStore, UnknownLcidThrows8181AndKeepsTexts)
{
    Store().SetText(L"OWN", L"kept");
    const std::wstring file = m_folder.Write("Prog.GUI.XML", kGuiXml);
    EXPECT_EQ(ZellCode([&] { Store().LoadXml(file, L"1041", false); }), 8181);
    // A quote in the LCID cannot break out of the query.
    EXPECT_EQ(ZellCode([&] { Store().LoadXml(file, L"1033' or '1'='1", false); }), 8181);
    EXPECT_EQ(ZellCode([&] { Store().LoadXml(file, L"x\"'y", false); }), 8181);
    EXPECT_EQ(Store().GetText(L"OWN").wstr(), L"kept");
}

TEST_F(LanguageStore, XmlTextThatDoesNotParseRaisesPointerError)
{
    try {
        Store().LoadXmlText(L"<gui><unclosed>", L"1033", false);
        ADD_FAILURE() << "no exception";
    } catch (const _com_error& error) {
        EXPECT_EQ(error.Error(), E_POINTER);
    }
}

TEST_F(LanguageStore, CodeWithQuotesSelectsItsOwnLocales)
{
    const std::wstring xml = LR"(<g><languages><language lcid="9" code="a'b&quot;c"/></languages>)"
                             LR"(<t key="K"><locale code="a'b&quot;c">odd</locale><locale code="ab">no</locale></t></g>)";
    Store().LoadXmlText(xml, L"9", false);
    EXPECT_EQ(Store().GetText(L"K").wstr(), L"odd");
}

TEST_F(LanguageStore, EscapesAndAmpersands)
{
    Store().LoadXmlText(Text::Utf8ToWide(kGuiXml), L"1033", false);
    EXPECT_EQ(GetLanguageText(L"MSG_LINES"), L"One\nTwo\r\tThree");
    EXPECT_EQ(GetAppText(L"MSG_AMP"), L"Save && close, R&D");
    _bstr_t raw;
    GetTextRaw(L"MSG_LINES", raw);
    EXPECT_EQ(raw.wstr(), L"One\\nTwo\\r\\tThree");
    EXPECT_EQ(GetLanguageText(L"##\\n"), L"####\n");
}

TEST_F(LanguageStore, FormatTextReplacesFirstPlaceholdersOnly)
{
    Store().LoadXmlText(Text::Utf8ToWide(kGuiXml), L"1033", false);
    EXPECT_EQ(FormatText(L"MSG_ARGS", L"3", L"7"), L"3 of 7, again {0}");
    EXPECT_EQ(FormatText(L"MSG_ARGS", L"3"), L"3 of {1}, again {0}");
    EXPECT_EQ(FormatText(L"MSG_ARGS", nullptr, L"x"), L" of x, again {0}");
    Store().SetText(L"NL", L"\\n{0}");
    EXPECT_EQ(FormatText(L"NL", L"v"), L"\\nv");
}

TEST_F(LanguageStore, BinaryFileRecords)
{
    const BinaryTextFile file =
        BinaryTextFile(1031).Record(u"KEY_A", u"Ä text").Record(u"KEY_B", u"").Record(u"", u"empty key");
    Store().SetLanguage(m_folder.Write("texts.bin", file.Bytes()), false);
    EXPECT_EQ(Store().GetText(L"KEY_A").wstr(), L"Ä text");
    EXPECT_TRUE(Store().HasText(L"KEY_B"));
    EXPECT_EQ(Store().GetText(L"").wstr(), L"empty key");
    EXPECT_EQ(Store().GetLanguage().wstr(), L"1031");
}

TEST_F(LanguageStore, BinaryHeaderIsUnsigned)
{
    Store().SetLanguage(m_folder.Write("t.bin", BinaryTextFile(0xFFFFFFFFu).Record(u"K", u"v").Bytes()), false);
    EXPECT_EQ(Store().GetLanguage().wstr(), L"4294967295");
}

TEST_F(LanguageStore, BinaryFileOfFourBytesSetsNothingButBecomesCurrent)
{
    Store().SetText(L"OWN", L"old");
    const std::wstring path = m_folder.Write("four.bin", BinaryTextFile(1033).Bytes());
    Store().SetLanguage(path, true);
    EXPECT_TRUE(Store().GetLanguage().wstr().empty());
    EXPECT_EQ(Store().GetCurrentFile().wstr(), path);
    EXPECT_TRUE(Store().HasText(L"OWN"));
    // The same file again is not read.
    Store().SetText(L"NEW", L"x");
    Store().SetLanguage(path, false);
    EXPECT_TRUE(Store().HasText(L"NEW"));
}

TEST_F(LanguageStore, RecordsBeforeACutRecordStay)
{
    const std::string good = BinaryTextFile(1033).Record(u"A", u"alpha").Bytes();
    // The last text has no room for its terminator.
    const std::string cut = BinaryTextFile(0).Record(u"B", u"beta").String(u"C").String(u"gamma", false).Bytes();
    Store().SetLanguage(m_folder.Write("cut.bin", good + cut.substr(4)), false);
    EXPECT_EQ(Store().GetText(L"A").wstr(), L"alpha");
    EXPECT_EQ(Store().GetText(L"B").wstr(), L"beta");
    EXPECT_FALSE(Store().HasText(L"C"));
}

TEST(LanguageBinaryFile, LengthsPastTheEndStopReading)
{
    const std::string bytes = BinaryTextFile(1).Record(u"A", u"a").String(u"K", 0xFFFFFFFFu, true).Bytes();
    const auto file = CLanguageSupportBinaryFile::Parse(reinterpret_cast<const BYTE*>(bytes.data()), bytes.size());
    ASSERT_EQ(file.records.size(), 1u);
    EXPECT_FALSE(file.stopReason.empty());
}

TEST(LanguageBinaryFile, TextTakenUpToFirstZeroAndNeverBeyondLength)
{
    const std::u16string withZero(u"ab\0cd", 5);
    const std::string bytes = BinaryTextFile(1).String(u"K").String(withZero).String(u"L").String(u"xyz", 2, true).Raw("??").Bytes();
    const auto file = CLanguageSupportBinaryFile::Parse(reinterpret_cast<const BYTE*>(bytes.data()), bytes.size());
    ASSERT_GE(file.records.size(), 1u);
    EXPECT_EQ(file.records[0].second, L"ab");
    // Announced 2 units of "xyz": the third unit is read as the terminator's place.
    ASSERT_EQ(file.records.size(), 2u);
    EXPECT_EQ(file.records[1].second, L"xy");
}

TEST(LanguageBinaryFile, TerminatorMayEndOneBytePastTheEnd)
{
    // The rule only asks that the last code unit ends before the file does.
    std::string bytes = BinaryTextFile(1).Record(u"K", u"v").Bytes();
    bytes.pop_back();
    auto file = CLanguageSupportBinaryFile::Parse(reinterpret_cast<const BYTE*>(bytes.data()), bytes.size());
    ASSERT_EQ(file.records.size(), 1u);
    bytes.pop_back();
    file = CLanguageSupportBinaryFile::Parse(reinterpret_cast<const BYTE*>(bytes.data()), bytes.size());
    EXPECT_TRUE(file.records.empty());
}

TEST(LanguageBinaryFile, ShortTailsAndKeyWithoutText)
{
    for (std::size_t tail = 1; tail <= 4; ++tail) {
        const std::string bytes = BinaryTextFile(1).Record(u"K", u"v").Raw(std::string(tail, '\x01')).Bytes();
        const auto file = CLanguageSupportBinaryFile::Parse(reinterpret_cast<const BYTE*>(bytes.data()), bytes.size());
        EXPECT_EQ(file.records.size(), 1u) << tail;
    }
    const std::string keyOnly = BinaryTextFile(1).String(u"K").Bytes();
    const auto file = CLanguageSupportBinaryFile::Parse(reinterpret_cast<const BYTE*>(keyOnly.data()), keyOnly.size());
    EXPECT_TRUE(file.records.empty());
    EXPECT_FALSE(CLanguageSupportBinaryFile::Parse(nullptr, 0).hasHeader);
}

TEST_F(LanguageStore, UnreadableBinaryFileKeepsTheStore)
{
    Store().SetText(L"OWN", L"kept");
    Store().SetLanguage(m_folder.Path("missing.bin"), false);
    EXPECT_TRUE(Store().HasText(L"OWN"));
    EXPECT_TRUE(Store().GetCurrentFile().wstr().empty());
    // A folder opens on Linux but is no text file.
    std::filesystem::create_directory(Text::WideToUtf8(m_folder.Path("folder")));
    Store().SetLanguage(m_folder.Path("folder"), false);
    EXPECT_TRUE(Store().HasText(L"OWN"));
}

TEST_F(LanguageStore, ReadersAndLoaderOnManyThreads)
{
    const std::wstring xml = Text::Utf8ToWide(kGuiXml);
    std::atomic<bool> stop{false};
    std::atomic<int> bad{0};
    std::vector<std::thread> readers;
    for (int i = 0; i < 4; ++i) {
        readers.emplace_back([&] {
            while (!stop.load()) {
                const std::wstring text = GetLanguageText(L"LBL_OK").str();
                if (text != L"Apply" && text != L"Übernehmen" && text != L"##LBL_OK")
                    ++bad;
            }
        });
    }
    for (int i = 0; i < 50; ++i)
        Store().LoadXmlText(xml, i % 2 ? L"1031" : L"1033", false);
    stop.store(true);
    for (auto& reader : readers)
        reader.join();
    EXPECT_EQ(bad.load(), 0);
}
