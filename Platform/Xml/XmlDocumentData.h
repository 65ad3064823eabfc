#pragma once
// What a document and all nodes taken from it share. Nodes keep the data
// alive, and an operation that frees nodes bumps the epoch so that a node
// taken before it is treated as null instead of pointing into freed memory.

#include <pugixml.hpp>

#include <cstdint>

namespace Xml {

struct CDocumentData {
    pugi::xml_document document;
    bool preserveWhiteSpace = false;
    std::uint64_t epoch = 0;
};

}
