#pragma once
// Entity and character references of a parsed document. The parser runs
// without its own reference handling (it would keep a reference it does not
// know as literal text); here every reference is resolved or refused, so a
// document that is not well-formed fails its load.
//
// Entities declared in a document's internal DTD subset are refused, for
// every document the system loads: none of its files needs them, and an
// expansion, however bounded, would give a hostile file the means to blow a
// few bytes up into a huge text. So a document whose DOCTYPE declares an
// entity fails to load, and the only entities are the five XML predefines.

#include <pugixml.hpp>

#include <cstddef>
#include <string>

namespace Xml {

struct CReferenceFault {
    std::wstring reason;
    // Byte offset in the parsed buffer of the node that holds the fault (-1
    // when unknown), and the faulty text, by which it is found exactly.
    std::ptrdiff_t nodeOffset = -1;
    std::string faultyText;
};

// Replaces the references in every text and attribute value by the
// characters they stand for. False at the first undefined entity, malformed
// reference, reference to a character XML does not allow, or entity
// declaration.
bool ResolveReferences(pugi::xml_document& document, CReferenceFault& fault);

}
