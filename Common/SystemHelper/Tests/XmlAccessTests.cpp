#include "Common/SystemHelper/Xml/XMLDOMHelper.h"
#include "Common/SystemHelper/Xml/XmlAccess.h"
#include "LanguageSupportTestFiles.h"

#include <gtest/gtest.h>

#include <string>

namespace {

class XmlGetters : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_helper.LoadXml(
            LR"(<r hex="0x1F" HEX="0X10" blank=" 0x1F" mixed="12ab" big="70000" empty="" neg="-5" )"
            LR"(t="TRUE" f="False" yes="yes" word="65537" byte="258" d="2.5" word2="bad" i64="0x7FFFFFFFFFFFFFFF"/>)"));
        m_element = m_helper.m_xmlDoc->DocumentElement();
    }

    CXMLDOMHelper m_helper{L"Msxml2.DOMDocument"};
    Xml::CXmlNode m_element;
};

}

TEST_F(XmlGetters, IntReadsHexOnlyAtTheStart)
{
    EXPECT_EQ(XmlGetAttributeInt(m_element, L"hex", -1), 31);
    EXPECT_EQ(XmlGetAttributeInt(m_element, L"HEX", -1), 16);
    EXPECT_EQ(XmlGetAttributeInt(m_element, L"blank", -1), 0);
    EXPECT_EQ(XmlGetAttributeInt(m_element, L"mixed", -1), 12);
    EXPECT_EQ(XmlGetAttributeInt(m_element, L"empty", -1), -1);
    EXPECT_EQ(XmlGetAttributeInt(m_element, L"missing", -7), -7);
    EXPECT_EQ(XmlGetAttributeInt(m_element, L"neg", 0), -5);
}

TEST_F(XmlGetters, NarrowTypesKeepTheLowBits)
{
    EXPECT_EQ(XmlGetAttributeUShort(m_element, L"big", 0), 4464);
    EXPECT_EQ(XmlGetAttributeWord(m_element, L"word", 0), 1);
    EXPECT_EQ(XmlGetAttributeByte(m_element, L"byte", 0), 2);
    EXPECT_EQ(XmlGetAttributeByte(m_element, L"missing", 200), 200);
    EXPECT_EQ(XmlGetAttributeInt64(m_element, L"i64", 0), INT64_MAX);
    EXPECT_EQ(XmlGetAttributeInt(m_element, L"i64", 0), -1);
}

TEST_F(XmlGetters, BoolAndDoubleAndString)
{
    EXPECT_TRUE(XmlGetAttributeBool(m_element, L"t", false));
    EXPECT_FALSE(XmlGetAttributeBool(m_element, L"f", true));
    EXPECT_TRUE(XmlGetAttributeBool(m_element, L"yes", true));
    EXPECT_FALSE(XmlGetAttributeBool(m_element, L"yes", false));
    EXPECT_TRUE(XmlGetAttributeBool(m_element, L"missing", true));
    EXPECT_DOUBLE_EQ(XmlGetAttributeDouble(m_element, L"d", 0), 2.5);
    EXPECT_DOUBLE_EQ(XmlGetAttributeDouble(m_element, L"empty", 1.5), 1.5);
    EXPECT_EQ(XmlGetAttributeString(m_element, L"mixed", L"def"), L"12ab");
    EXPECT_EQ(XmlGetAttributeString(m_element, L"empty", L"def"), L"");
    EXPECT_EQ(XmlGetAttributeString(m_element, L"missing", L"def"), L"def");
    EXPECT_EQ(XmlGetAttributeString(Xml::CXmlNode(), L"x", L"null"), L"null");
}

TEST_F(XmlGetters, TextWithoutNumberThrowsTheConversionText)
{
    try {
        XmlGetAttributeWord(m_element, L"word2", 0);
        ADD_FAILURE() << "no exception";
    } catch (const std::string& text) {
        EXPECT_EQ(text, "GenStrToNumber failed: 'bad'");
    }
}

TEST(XmlNumbers, StrToReaders)
{
    EXPECT_EQ(StrToInt64(L"0x10"), 16);
    EXPECT_EQ(StrToInt64(L"010"), 10);
    EXPECT_EQ(StrToInt(L"4294967297"), 1);
    EXPECT_EQ(StrToUShort(L"0x12345"), 0x2345);
    EXPECT_EQ(StrToInt64(L""), 0);
}

TEST(XmlEscapeText, AmpersandFirstSoEntitiesSurvive)
{
    EXPECT_EQ(XmlEscape(L"&lt;"), L"&amp;lt;");
    EXPECT_EQ(XmlEscape(L"a<b>'c'\"&"), L"a&lt;b&gt;&apos;c&apos;&quot;&amp;");
    EXPECT_EQ(XmlEscape(L""), L"");
}

TEST(XmlEscapeText, EscapedValueRoundTripsThroughTheParser)
{
    const std::wstring value = L"R&D <\"x\"> 'y' &amp;";
    CXMLDOMHelper helper(L"Msxml2.DOMDocument");
    ASSERT_TRUE(helper.LoadXml(L"<a v=\"" + XmlEscape(value) + L"\">" + XmlEscape(value) + L"</a>"));
    EXPECT_EQ(XmlGetAttributeString(helper.m_xmlDoc->DocumentElement(), L"v", L""), value);
    EXPECT_EQ(helper.m_xmlDoc->DocumentElement().Text(), value);
}

TEST(XmlPaths, JoinPathUsesSlash)
{
    EXPECT_EQ(JoinPath(L"/opt/zell", L"a.xml"), L"/opt/zell/a.xml");
    EXPECT_EQ(JoinPath(L"/opt/zell/", L"a.xml"), L"/opt/zell/a.xml");
    EXPECT_EQ(JoinPath(L"", L"a.xml"), L"./a.xml");
    EXPECT_EQ(JoinPath(L"/Mixed/Case", L"File.GUI.XML"), L"/Mixed/Case/File.GUI.XML");
}

TEST(XmlReport, ComErrorReportAndSourceLocation)
{
    const _com_error error(E_POINTER, L"bad node", L"selectSingleNode");
    EXPECT_EQ(ComErrorReport(error),
              L"Report:\nDescription: bad node\nError Message: Invalid pointer\nSource: selectSingleNode\n");
    EXPECT_EQ(_com_error(0x80001234).ErrorMessage(), L"Unknown error 0x80001234");
    EXPECT_EQ(FormatSourceLocation(L"failed", L"file.cpp", 42), L"failed (file.cpp:42)");
}

TEST(XmlDomHelper, CreationByProgIdOnly)
{
    EXPECT_NO_THROW(CXMLDOMHelper("Msxml2.DOMDocument"));
    EXPECT_NO_THROW(CXMLDOMHelper(L"msxml2.domdocument.6.0"));
    auto hresultOf = [](const wchar_t* progId) {
        try {
            CXMLDOMHelper helper(progId);
        } catch (const _com_error& error) {
            return error.Error();
        }
        return S_OK;
    };
    EXPECT_EQ(hresultOf(L"Excel.Application"), CO_E_CLASSSTRING);
    EXPECT_EQ(hresultOf(L"Msxml2.DOMDocument.x"), CO_E_CLASSSTRING);
    EXPECT_EQ(hresultOf(L"{not-a-class-id}"), CO_E_CLASSSTRING);
    EXPECT_EQ(hresultOf(L"{00000000-0000-0000-0000-000000000000}"), REGDB_E_CLASSNOTREG);
    EXPECT_EQ(hresultOf(nullptr), CO_E_CLASSSTRING);
}

TEST(XmlDomHelper, LoadReportsParseErrors)
{
    ScratchFolder folder;
    CXMLDOMHelper helper(L"Msxml2.DOMDocument");
    EXPECT_FALSE(helper.Load(folder.Path("none.xml")));
    EXPECT_TRUE(helper.m_xmlDoc->ParseError().Failed());
    EXPECT_TRUE(helper.Load(folder.Write("Ok.XML", "<a><b/></a>")));
    EXPECT_FALSE(helper.LoadXml(L"<a>"));
    EXPECT_TRUE(helper.m_xmlDoc->ParseError().Failed());
}

TEST(XmlNodes, FindChildSelectAndBadXPath)
{
    CXMLDOMHelper helper(L"Msxml2.DOMDocument");
    ASSERT_TRUE(helper.LoadXml(L"<r><!--c--><b>1</b><a>x</a><a>y</a></r>"));
    const Xml::CXmlNode root = helper.m_xmlDoc->DocumentElement();
    const auto children = root.ChildNodes();
    EXPECT_EQ(XmlFindChild(children, L"a", Xml::NodeType::Element).Text(), L"x");
    EXPECT_TRUE(XmlFindChild(children, L"a", Xml::NodeType::Attribute).IsNull());
    EXPECT_TRUE(XmlFindChild({}, L"a", Xml::NodeType::Element).IsNull());
    EXPECT_EQ(XmlGetNodeText(XmlSelectSingleNode(root, L"a[2]")), L"y");
    EXPECT_EQ(XmlSelectNodes(root, L"a").size(), 2u);
    EXPECT_THROW(XmlSelectSingleNode(root, L"a[["), _com_error);
}

TEST(XmlNodes, XPathLiteralQuotesAnyText)
{
    CXMLDOMHelper helper(L"Msxml2.DOMDocument");
    ASSERT_TRUE(helper.LoadXml(LR"(<r><e v="a'b&quot;c"/><e v="it's"/><e v='say "x"'/><e v="''"/></r>)"));
    for (const wchar_t* value : {L"a'b\"c", L"it's", L"say \"x\"", L"''"}) {
        const auto node = XmlSelectSingleNode(helper.m_xmlDoc->Root(), L"//e[@v=" + XPathLiteral(value) + L"]");
        EXPECT_EQ(XmlGetAttributeString(node, L"v", L"?"), value) << Text::WideToUtf8(value);
    }
}

TEST(XmlPretty, IndentsAndKeepsContent)
{
    CXMLDOMHelper helper(L"Msxml2.DOMDocument");
    ASSERT_TRUE(helper.LoadXml(L"<r a=\"1\"><b>t &amp; u</b><c/></r>"));
    ASSERT_TRUE(XmlPrettyPrint(*helper.m_xmlDoc, L"ISO-8859-1", true, true));
    const std::wstring text = helper.m_xmlDoc->Xml();
    EXPECT_NE(text.find(L"encoding=\"ISO-8859-1\""), std::wstring::npos) << Text::WideToUtf8(text);
    EXPECT_NE(text.find(L"standalone=\"yes\""), std::wstring::npos);
    EXPECT_EQ(XmlGetNodeText(XmlSelectSingleNode(helper.m_xmlDoc->Root(), L"/r/b")), L"t & u");
    EXPECT_FALSE(XmlPrettyPrint(*helper.m_xmlDoc, L"EBCDIC", false, true));
}
