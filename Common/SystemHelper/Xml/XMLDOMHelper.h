#pragma once
// Owns one XML document for a reader or writer of XML texts and files.
// Callers select nodes themselves on the document it hands out.

#include "Common/SystemHelper/Xml/ComError.h"
#include "Platform/Xml/XmlDocument.h"

#include <memory>
#include <string>

class CXMLDOMHelper {
public:
    // A ProgID of the DOM document ("Msxml2.DOMDocument", with or without a
    // version) or a class id in braces. Anything that names no document
    // throws _com_error with the creation's HRESULT.
    explicit CXMLDOMHelper(const wchar_t* progId);
    explicit CXMLDOMHelper(const char* progId);
    virtual ~CXMLDOMHelper() = default;

    // False on a parse error or a file that cannot be read; the document's
    // ParseError() tells why.
    bool Load(const std::wstring& path);
    bool LoadXml(const std::wstring& text);

    std::shared_ptr<Xml::CXmlDocument> m_xmlDoc;
};
