#include "Common/Communication/SettingsElement.h"

#include "Common/SystemHelper/Xml/XmlAccess.h"
#include "Platform/Base/Format.h"

#include <stdexcept>

namespace ZELL {

CSettingsElementWriter::CSettingsElementWriter(const wchar_t* element)
    : m_text(L"<?xml version='1.0'?> <" + std::wstring(element) + L" ")
{
}

void CSettingsElementWriter::Add(const wchar_t* name, const std::wstring& text)
{
    m_text += name;
    m_text += L"='";
    m_text += XmlEscape(text);
    m_text += L"' ";
}

void CSettingsElementWriter::Add(const wchar_t* name, std::uint32_t number)
{
    Add(name, FormatW(L"%u", number));
}

void CSettingsElementWriter::Add(const wchar_t* name, std::int32_t number)
{
    Add(name, FormatW(L"%d", number));
}

void CSettingsElementWriter::AddBool(const wchar_t* name, bool value)
{
    Add(name, std::wstring(value ? L"true" : L"false"));
}

Xml::CXmlNode FindSettingsElement(CXMLDOMHelper& helper, const std::wstring& xml, const wchar_t* element)
{
    if (!helper.LoadXml(xml))
        return {};
    return helper.m_xmlDoc->SelectSingleNode(L"//" + std::wstring(element));
}

bool ReadSettingsAttribute(const std::wstring& xml, const wchar_t* element, const wchar_t* name, std::wstring& value)
{
    try {
        CXMLDOMHelper helper(L"Msxml2.DOMDocument");
        const Xml::CXmlNode node = FindSettingsElement(helper, xml, element);
        if (!node)
            return false;
        const auto attribute = node.GetAttribute(name);
        if (!attribute)
            return false;
        value = *attribute;
        return true;
    } catch (...) {
        return false;
    }
}

void WriteSettingsErrorBox(const std::function<void(const std::wstring&)>& line, const wchar_t* className,
                           const std::wstring& function, const std::wstring& error)
{
    line(L"\n############################# ERROR #############################\n");
    line(L"###  Class:     " + std::wstring(className) + L"\n");
    line(L"###  Function:  " + function + L"\n");
    line(error);
    line(L"#################################################################\n\n");
}

bool ApplySettingsXML(const std::wstring& xml, const wchar_t* element,
                      const std::function<void(const Xml::CXmlNode&)>& apply, const SettingsErrorTrace& trace)
{
    try {
        CXMLDOMHelper helper(L"Msxml2.DOMDocument");
        const Xml::CXmlNode node = FindSettingsElement(helper, xml, element);
        if (!node) {
            trace(L"SetSettingsXML()", L"###  Error:     xmlDOMHelper.LoadByString() failed for\n"
                                       L"###             " + xml + L"\n");
            return false;
        }
        apply(node);
        return true;
    } catch (const _com_error& error) {
        trace(L"SetSettingsXML()", L"###  Error:     _com_error\n" + ComErrorReport(error));
    } catch (...) {
        trace(L"SetSettingsXML()", L"###  Error:     Unknown Exception!\n");
    }
    return false;
}

std::wstring SettingsValueOrError(const std::wstring& xml, const wchar_t* element, const wchar_t* name,
                                  const SettingsErrorTrace& trace)
{
    std::wstring value;
    if (name && ReadSettingsAttribute(xml, element, name, value))
        return value;
    trace(L"GetSettingsValue(" + std::wstring(name ? name : L"") + L" )",
          L"###  Error:     xmlDOMHelper.LoadByString() failed!\n");
    return L"ERROR";
}

std::uint32_t XmlGetAttributeUInt32(const Xml::CXmlNode& node, const std::wstring& name, std::uint32_t defaultValue)
{
    const std::int64_t value = XmlGetAttributeInt64(node, name, defaultValue);
    if (value < 0 || value > 0xFFFFFFFFll)
        throw std::out_of_range("settings number out of range");
    return static_cast<std::uint32_t>(value);
}

}
