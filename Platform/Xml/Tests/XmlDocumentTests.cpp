#include "Platform/Base/Tests/ScopedEnvironment.h"
#include "Platform/Xml/XmlDocument.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <unistd.h>

namespace {

using Xml::CSaveOptions;
using Xml::CXmlDocument;
using Xml::Encoding;

std::string Utf16Le(std::u16string_view text, bool bom = true)
{
    std::string bytes = bom ? "\xFF\xFE" : "";
    for (const char16_t c : text) {
        bytes += static_cast<char>(c & 0xFF);
        bytes += static_cast<char>(c >> 8);
    }
    return bytes;
}

TEST(XmlLoad, EachEncodingDecodesToTheSameText)
{
    // "Gerät & Co" with an umlaut, in each form a file can take.
    const std::pair<const char*, std::string> files[] = {
        {"utf-8", "<?xml version='1.0'?><a t='Ger\xC3\xA4t'>Ger\xC3\xA4t &amp; Co</a>"},
        {"utf-8 bom", "\xEF\xBB\xBF<a t='Ger\xC3\xA4t'>Ger\xC3\xA4t &amp; Co</a>"},
        {"latin-1", "<?xml version='1.0' encoding='ISO-8859-1'?>\r\n<a t='Ger\xE4t'>Ger\xE4t &amp; Co</a>"},
        {"latin1 alias", "<?xml version=\"1.0\" encoding=\"latin1\"?><a t='Ger\xE4t'>Ger\xE4t &amp; Co</a>"},
        {"utf-16 bom", Utf16Le(u"<?xml version='1.0' encoding='UTF-16'?><a t='Ger\u00E4t'>Ger\u00E4t &amp; Co</a>")},
        {"utf-16 no bom", Utf16Le(u"<?xml version='1.0'?><a t='Ger\u00E4t'>Ger\u00E4t &amp; Co</a>", false)},
    };
    for (const auto& [label, bytes] : files) {
        CXmlDocument document;
        ASSERT_TRUE(document.LoadBytes(bytes)) << label << ": " << std::string(document.ParseError().reason.begin(), document.ParseError().reason.end());
        EXPECT_EQ(L"Ger\u00E4t & Co", document.DocumentElement().Text()) << label;
        EXPECT_EQ(L"Ger\u00E4t", document.DocumentElement().GetAttribute(L"t").value_or(L"?")) << label;
    }
}

TEST(XmlLoad, ErrorsCarryReasonAndPosition)
{
    CXmlDocument document;
    EXPECT_FALSE(document.LoadXml(L"<a>\n  <b></a>"));
    EXPECT_TRUE(document.ParseError().Failed());
    EXPECT_EQ(2u, document.ParseError().line);
    EXPECT_TRUE(document.DocumentElement().IsNull());

    EXPECT_FALSE(document.LoadBytes("<a>\xC3</a>")); // UTF-8 cut short
    EXPECT_EQ(3u, document.ParseError().offset);
    // The first fault counts: a character XML refuses before bytes that are not UTF-8.
    EXPECT_FALSE(document.LoadBytes("<a>\xC3\xA4\x01\xFF</a>"));
    EXPECT_EQ(4u, document.ParseError().offset);
    EXPECT_NE(std::wstring::npos, document.ParseError().reason.find(L"does not allow"));
    EXPECT_FALSE(document.LoadBytes("<a/>\xE2\x82"));
    EXPECT_NE(std::wstring::npos, document.ParseError().reason.find(L"cut short"));
    EXPECT_FALSE(document.LoadBytes("<?xml version='1.0' encoding='KOI8-R'?><a/>"));
    EXPECT_NE(std::wstring::npos, document.ParseError().reason.find(L"koi8-r"));
    EXPECT_FALSE(document.LoadXml(L"<a/><b/>"));
    EXPECT_FALSE(document.LoadXml(L"<a/>text"));
    EXPECT_FALSE(document.LoadXml(L""));
    EXPECT_FALSE(document.LoadXml(std::wstring(L"<a>\x01</a>")));
    EXPECT_FALSE(document.Load("/nonexistent/file.xml"));
    EXPECT_TRUE(document.ParseError().Failed());

    EXPECT_TRUE(document.LoadXml(L"<ok/>"));
    EXPECT_FALSE(document.ParseError().Failed());
}

TEST(XmlSelect, XPathFindsElementsAndAttributes)
{
    CXmlDocument document;
    ASSERT_TRUE(document.LoadXml(
        L"<gui><languages><language lcid='1031' code='de'/><language lcid='1033' code='en'/></languages>"
        L"<text key='K1'><locale code='de'>Eins</locale><locale code='en'>One</locale></text>"
        L"<text key='K2'><locale code='en'>Two</locale></text>"
        L"<Configuration outFile='/tmp/log.txt' logLevel='3'/></gui>"));
    EXPECT_TRUE(document.SetProperty(L"SelectionLanguage", L"XPath"));
    const auto code = document.SelectSingleNode(L"//languages/language[@lcid='1033']/@code");
    ASSERT_FALSE(code.IsNull());
    EXPECT_EQ(Xml::NodeType::Attribute, code.Type());
    EXPECT_EQ(L"en", code.Text());
    EXPECT_EQ(L"/tmp/log.txt", document.SelectSingleNode(L"//Configuration/@outFile").Text());
    EXPECT_TRUE(document.SelectSingleNode(L"//@truncate").IsNull());

    std::vector<std::wstring> keys;
    for (const auto& locale : document.SelectNodes(L"//locale[@code='en']"))
        keys.push_back(locale.SelectSingleNode(L"../@key").Text() + L"=" + locale.Text());
    EXPECT_EQ((std::vector<std::wstring>{L"K1=One", L"K2=Two"}), keys);
    // Relative selection from an attribute node.
    EXPECT_EQ(L"language", code.SelectSingleNode(L"..").Name());

    EXPECT_THROW(document.SelectNodes(L"//language[@lcid='1031"), Xml::CXPathError);
    EXPECT_THROW(document.SelectNodes(L"count(//language)"), Xml::CXPathError);
}

TEST(XmlSave, LatinOneWithCrLfIsByteExact)
{
    CXmlDocument document;
    document.CreateNew(L"1.0", L"UTF-8");
    auto application = document.Root().AppendChild(L"application");
    ASSERT_TRUE(application.SetAttribute(L"application-name", L"Corvane & \"Co\" <Gerät>'"));
    auto device = application.AppendChild(L"device");
    device.AppendChild(L"Description").SetText(L"a<b & 'c' \u20AC");
    device.AppendChild(L"HasClock").SetText(L"true");
    device.AppendChild(L"Empty");
    CSaveOptions options;
    options.encoding = Encoding::Latin1;
    options.lineEnd = L"\r\n";
    options.indent = L"    ";
    std::string bytes;
    const auto result = document.SaveToBytes(bytes, options);
    ASSERT_TRUE(result.ok);
    EXPECT_EQ(1u, result.replaced); // the euro sign
    EXPECT_EQ("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\r\n"
              "<application application-name=\"Corvane &amp; &quot;Co&quot; &lt;Ger\xE4t&gt;&apos;\">\r\n"
              "    <device>\r\n"
              "        <Description>a&lt;b &amp; &apos;c&apos; ?</Description>\r\n"
              "        <HasClock>true</HasClock>\r\n"
              "        <Empty/>\r\n"
              "    </device>\r\n"
              "</application>\r\n",
        bytes);

    options.unrepresentable = Xml::Unrepresentable::CharacterReference;
    ASSERT_TRUE(document.SaveToBytes(bytes, options).ok);
    EXPECT_NE(std::string::npos, bytes.find("&#8364;</Description>"));
    CXmlDocument again;
    ASSERT_TRUE(again.LoadBytes(bytes));
    EXPECT_EQ(L"a<b & 'c' \u20AC", again.SelectSingleNode(L"//Description").Text());
    EXPECT_EQ(L"Corvane & \"Co\" <Gerät>'", again.DocumentElement().GetAttribute(L"application-name").value());
}

TEST(XmlSave, ANameOutsideLatinOneFailsTheSaveAndKeepsTheFile)
{
    const TestSupport::CTempFolder folder("zell-xml-test");
    const std::filesystem::path& dir = folder.Path();
    const auto file = dir / "settings.wes";
    std::ofstream(file) << "old";
    CXmlDocument document;
    ASSERT_TRUE(document.LoadXml(L"<\u65E5 a='1'/>"));
    CSaveOptions options;
    options.encoding = Encoding::Latin1;
    options.unrepresentable = Xml::Unrepresentable::CharacterReference;
    const auto result = document.Save(file, options);
    EXPECT_FALSE(result.ok);
    EXPECT_FALSE(result.error.empty());
    std::ifstream in(file);
    std::string content;
    in >> content;
    EXPECT_EQ("old", content);
    options.encoding = Encoding::Utf8;
    EXPECT_TRUE(document.Save(file, options).ok);
}

TEST(XmlSave, Utf8AndUtf16RoundTripEveryCharacter)
{
    CXmlDocument document;
    ASSERT_TRUE(document.LoadXml(L"<r a='x'><t>\u65E5\u672C \U0001F600 \u00E4</t><!-- note --><?pi data?>"
                                 L"<c><![CDATA[<raw> & x]]></c></r>"));
    for (const Encoding encoding : {Encoding::Utf8, Encoding::Utf16}) {
        CSaveOptions options;
        options.encoding = encoding;
        std::string bytes;
        const auto result = document.SaveToBytes(bytes, options);
        EXPECT_EQ(0u, result.replaced);
        CXmlDocument again;
        ASSERT_TRUE(again.LoadBytes(bytes));
        EXPECT_EQ(L"\u65E5\u672C \U0001F600 \u00E4", again.SelectSingleNode(L"//t").Text());
        EXPECT_EQ(L"<raw> & x", again.SelectSingleNode(L"//c").Text());
        EXPECT_EQ(L" note ", again.SelectSingleNode(L"//comment()").Text());
        if (encoding == Encoding::Utf16) {
            EXPECT_EQ("\xFF\xFE", bytes.substr(0, 2));
            EXPECT_EQ(std::string("<\0?\0x\0m\0l\0", 10), bytes.substr(2, 10));
        } else {
            EXPECT_TRUE(bytes.starts_with("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<r a=\"x\">\n  <t>")) << bytes;
        }
    }
}

TEST(XmlSave, ValuesThatNeedCareSurviveARoundTrip)
{
    CXmlDocument document;
    document.CreateNew();
    auto root = document.Root().AppendChild(L"r");
    root.SetAttribute(L"multi", L"line\none\ttab\rcr");
    root.AppendChild(L"text").SetText(L"keep\r\nthis ]]> too");
    root.AppendComment(L"a -- b-");
    std::string bytes;
    ASSERT_TRUE(document.SaveToBytes(bytes, CSaveOptions{}).ok);
    CXmlDocument again;
    ASSERT_TRUE(again.LoadBytes(bytes)) << bytes;
    EXPECT_EQ(L"line\none\ttab\rcr", again.DocumentElement().GetAttribute(L"multi").value());
    again.SetPreserveWhiteSpace(true);
    EXPECT_EQ(L"keep\r\nthis ]]> too", again.SelectSingleNode(L"//text").Text());
}

TEST(XmlSave, AMalformedDeclarationIsWrittenSoundInEveryEncoding)
{
    CXmlDocument document;
    ASSERT_TRUE(document.LoadBytes("<?xml version='1\"\"\xDE\xE6.0' encoding='ISO-8859-1' standalone='maybe'?>"
                                   "<a n=\"\xE4\"/>"));
    for (const auto encoding : {Encoding::Utf8, Encoding::Utf16, Encoding::Latin1}) {
        CSaveOptions options;
        options.encoding = encoding;
        std::string bytes;
        ASSERT_TRUE(document.SaveToBytes(bytes, options).ok);
        CXmlDocument again;
        ASSERT_TRUE(again.LoadBytes(bytes)) << static_cast<int>(encoding);
        EXPECT_EQ(again.DocumentElement().GetAttribute(L"n").value(), L"\u00e4");
        if (encoding != Encoding::Utf16) {
            EXPECT_NE(bytes.find("version=\"1.0\""), std::string::npos) << bytes;
            EXPECT_EQ(bytes.find("standalone"), std::string::npos) << bytes;
        }
    }
}

TEST(XmlBuild, NamesAreCheckedAndOneDocumentElementAllowed)
{
    CXmlDocument document;
    document.CreateNew();
    auto root = document.Root().AppendChild(L"settings");
    ASSERT_FALSE(root.IsNull());
    EXPECT_TRUE(document.Root().AppendChild(L"second").IsNull());
    EXPECT_TRUE(root.AppendChild(L"1bad").IsNull());
    EXPECT_TRUE(root.AppendChild(L"has blank").IsNull());
    EXPECT_FALSE(root.SetAttribute(L"a<b", L"x"));
    EXPECT_TRUE(root.SetAttribute(L"IP-Address", L"0.0.0.0"));
    EXPECT_TRUE(root.SetAttribute(L"IP-Address", L"10.1.2.3"));
    EXPECT_EQ(1u, root.Attributes().size());
    EXPECT_EQ(L"<settings IP-Address=\"10.1.2.3\"/>", root.Xml());
    EXPECT_EQ(L"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<settings IP-Address=\"10.1.2.3\"/>\r\n",
        document.Xml());
}

TEST(XmlBuild, NodesTakenBeforeTheirSubtreeIsReplacedTurnNull)
{
    CXmlDocument document;
    ASSERT_TRUE(document.LoadXml(L"<a><b><c/></b></a>"));
    auto b = document.SelectSingleNode(L"//b");
    auto c = document.SelectSingleNode(L"//c");
    ASSERT_TRUE(b.SetText(L"plain"));
    EXPECT_TRUE(c.IsNull());
    EXPECT_EQ(L"", c.Name());
    EXPECT_EQ(L"plain", b.Text());
    // A node outlives its document and a reload.
    Xml::CXmlNode kept = document.DocumentElement();
    ASSERT_TRUE(document.LoadXml(L"<other/>"));
    EXPECT_EQ(L"a", kept.Name());
}

TEST(XmlSave, FileSaveReplacesAtomicallyAndReportsFailure)
{
    const TestSupport::CTempFolder folder("zell-xml-test");
    const std::filesystem::path& dir = folder.Path();
    CXmlDocument document;
    ASSERT_TRUE(document.LoadXml(L"<a>1</a>"));
    const auto file = dir / "out.xml";
    ASSERT_TRUE(document.Save(file, CSaveOptions{}).ok);
    CXmlDocument loaded;
    ASSERT_TRUE(loaded.Load(file));
    EXPECT_EQ(L"1", loaded.DocumentElement().Text());
    const auto failed = document.Save(dir / "missing" / "out.xml", CSaveOptions{});
    EXPECT_FALSE(failed.ok);
    EXPECT_FALSE(failed.error.empty());
    std::size_t entries = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir))
        ++entries;
    EXPECT_EQ(1u, entries);
}

TEST(XmlLoad, DeepNestingIsHandledWithoutRecursion)
{
    std::wstring text;
    constexpr int kDepth = 100000;
    for (int i = 0; i < kDepth; ++i)
        text += L"<e>";
    text += L"x";
    for (int i = 0; i < kDepth; ++i)
        text += L"</e>";
    CXmlDocument document;
    ASSERT_TRUE(document.LoadXml(text));
    EXPECT_EQ(L"x", document.DocumentElement().Text());
    std::string bytes;
    ASSERT_TRUE(document.SaveToBytes(bytes, CSaveOptions{}).ok);
    EXPECT_GT(bytes.size(), static_cast<std::size_t>(kDepth) * 7);
}

}

namespace {

std::string Narrow(const std::wstring& text)
{
    return std::string(text.begin(), text.end());
}

constexpr const char* kNestedEntities = "<?xml version='1.0'?>\n<!DOCTYPE application [\n"
                                        "  <!ENTITY a \"aaaaaaaaaa\">\n"
                                        "  <!ENTITY b \"&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;\">\n"
                                        "  <!ENTITY c \"&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;\">\n"
                                        "  <!ENTITY d \"&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;\">\n"
                                        "]>\n<application>&d;</application>";

}

TEST(XmlReferences, CharacterAndPredefinedReferencesResolveInTextAndAttributes)
{
    CXmlDocument document;
    ASSERT_TRUE(document.LoadXml(L"<a t='&#228;&#xE4;&#x00e4;&lt;&quot;&apos;' u=\"&#10;\">f&#252;r &amp;lt; &#x1F600;"
                                 L"<![CDATA[&uuml;]]><!-- &uuml; --><?pi &uuml;?>&gt;</a>"))
        << Narrow(document.ParseError().reason);
    const auto a = document.DocumentElement();
    EXPECT_EQ(L"\u00E4\u00E4\u00E4<\"'", a.GetAttribute(L"t").value_or(L"?"));
    // A referenced line feed is kept, where a literal one would become a blank.
    EXPECT_EQ(L"\n", a.GetAttribute(L"u").value_or(L"?"));
    EXPECT_EQ(L"f\u00FCr &lt; \U0001F600&uuml;>", a.Text());
    // A doctype without entity declarations stays acceptable.
    EXPECT_TRUE(document.LoadXml(L"<!DOCTYPE a [<!ELEMENT a ANY><!-- <!ENTITY x 'y'> -->]><a>&amp;</a>"))
        << Narrow(document.ParseError().reason);
    EXPECT_EQ(L"&", document.DocumentElement().Text());
}

TEST(XmlReferences, UndefinedOrMalformedReferencesFailAtTheirPosition)
{
    const std::pair<const wchar_t*, const wchar_t*> cases[] = {
        {L"<a>\n  <b>Koppler f&uuml;r au&szlig;en</b></a>", L"'&uuml;'"},
        {L"<a>\n  <b x='f&uuml;r'/></a>", L"'&uuml;'"},
        {L"<a>\n  <b>A & B</b></a>", L"plain '&'"},
        {L"<a>\n  <b>&;</b></a>", L"plain '&'"},
        {L"<a>\n  <b>&amp</b></a>", L"plain '&'"},
        {L"<a>\n  <b>&#0;</b></a>", L"'&#0;'"},
        {L"<a>\n  <b>&#xD800;</b></a>", L"'&#xD800;'"},
        {L"<a>\n  <b>&#x110000;</b></a>", L"'&#x110000;'"},
        {L"<a>\n  <b>&#99999999999999999999;</b></a>", L"character reference"},
        {L"<a>\n  <b>&#x;</b></a>", L"character reference"},
        {L"<a>\n  <b>&#12a;</b></a>", L"character reference"},
        {L"<a>\n  <b>&#XE4;</b></a>", L"character reference"},
    };
    for (const auto& [xml, expected] : cases) {
        CXmlDocument document;
        EXPECT_FALSE(document.LoadXml(xml)) << Narrow(xml);
        EXPECT_NE(std::wstring::npos, document.ParseError().reason.find(expected))
            << Narrow(xml) << ": " << Narrow(document.ParseError().reason);
        EXPECT_EQ(2u, document.ParseError().line) << Narrow(xml);
        EXPECT_TRUE(document.DocumentElement().IsNull()) << Narrow(xml);
    }
    CXmlDocument document;
    ASSERT_FALSE(document.LoadXml(L"<a>\n  <b>Koppler f&uuml;r</b></a>"));
    EXPECT_EQ(18u, document.ParseError().offset);
    EXPECT_EQ(15u, document.ParseError().column);
}

TEST(XmlReferences, EntityDeclarationsAreRefusedOnEveryLoadPath)
{
    const std::string declared = "<?xml version='1.0' encoding='ISO-8859-1'?>\r\n"
                                 "<!DOCTYPE application [<!ENTITY x \"abc\">]>\r\n<application>&x;</application>";
    const std::string unused = "<!DOCTYPE a SYSTEM 'a.dtd' [\n<!ENTITY x 'y'>\n]><a/>";
    // The position is that of the first declaration.
    const std::pair<std::string, std::size_t> cases[] = {{declared, 2}, {kNestedEntities, 3}, {unused, 2}};
    for (const auto& [bytes, line] : cases) {
        CXmlDocument document;
        EXPECT_FALSE(document.LoadBytes(bytes)) << bytes;
        EXPECT_NE(std::wstring::npos, document.ParseError().reason.find(L"declares entities")) << bytes;
        EXPECT_EQ(line, document.ParseError().line) << bytes;
        EXPECT_FALSE(document.LoadXml(std::wstring(bytes.begin(), bytes.end()))) << bytes;
    }
    const auto path = std::filesystem::temp_directory_path() / ("xml-entities-" + std::to_string(::getpid()) + ".xml");
    std::ofstream(path, std::ios::binary) << kNestedEntities;
    CXmlDocument document;
    EXPECT_FALSE(document.Load(path));
    EXPECT_NE(std::wstring::npos, document.ParseError().reason.find(L"declares entities"));
    std::filesystem::remove(path);
    // A reference to an entity of an external DTD, which is never read, is undefined.
    EXPECT_FALSE(document.LoadXml(L"<!DOCTYPE a SYSTEM 'a.dtd'><a>&x;</a>"));
    EXPECT_NE(std::wstring::npos, document.ParseError().reason.find(L"'&x;' is not defined"));
}
