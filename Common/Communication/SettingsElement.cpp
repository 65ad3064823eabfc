#include "Common/Communication/SettingsElement.h"

#include "Common/SystemHelper/XmlAccess.h"
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
    return helper.m_pXMLDoc->SelectSingleNode(L"//" + std::wstring(element));
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

std::uint32_t XmlGetAttributeUInt32(const Xml::CXmlNode& node, const std::wstring& name, std::uint32_t defaultValue)
{
    const std::int64_t value = XmlGetAttributeInt64(node, name, defaultValue);
    if (value < 0 || value > 0xFFFFFFFFll)
        throw std::out_of_range("settings number out of range");
    return static_cast<std::uint32_t>(value);
}

}
