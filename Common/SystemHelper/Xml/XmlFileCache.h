#pragma once
// The XML files that several lookups of a start read in turn (the GUI XML
// file: its language list, the texts of each language): each is parsed once
// per deliverable and read again only when it changed (the other
// deliverables take what CGuiXmlTables took from it). A file that does not
// load is remembered too, so that its failure is told once.

#include "Platform/Xml/XmlDocument.h"

#include <memory>
#include <string>

class CXmlFileCache {
public:
    struct tLoad {
        // Null when the file does not load; error tells why.
        std::shared_ptr<const Xml::CXmlDocument> document;
        Xml::CParseError error;
        // The failure is new: the file was not found in this state before.
        bool firstFailure = false;
    };

    static tLoad Load(const std::wstring& path);
    // Forgets every file (tests).
    static void Clear();
};
