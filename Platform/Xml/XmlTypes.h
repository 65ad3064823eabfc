#pragma once
// Node kinds, errors and save options of the XML document facade.

#include <cstddef>
#include <stdexcept>
#include <string>

namespace Xml {

// The DOM's node type numbers.
enum class NodeType {
    Null = 0,
    Element = 1,
    Attribute = 2,
    Text = 3,
    CData = 4,
    ProcessingInstruction = 7,
    Comment = 8,
    Document = 9,
    DocumentType = 10,
};

// Why a load failed: the reason, and where (offset in characters from the
// start of the decoded text, line and column from 1). Empty reason: no error.
struct CParseError {
    std::wstring reason;
    std::size_t offset = 0;
    std::size_t line = 0;
    std::size_t column = 0;

    bool Failed() const { return !reason.empty(); }
};

// An XPath expression that does not compile or does not select nodes.
class CXPathError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

enum class Encoding { Utf8, Utf16, Latin1 };

// What happens to a character the chosen encoding cannot hold.
enum class Unrepresentable {
    Replace,           // written as '?'; the save reports how many
    CharacterReference // in text and attribute values written as &#N; (elsewhere as '?')
};
// A name (of an element, attribute or instruction) or an instruction the encoding cannot hold
// makes the save fail: no replacement would give a well-formed file.

struct CSaveOptions {
    Encoding encoding = Encoding::Utf8;
    // A byte-order mark for UTF-8 (UTF-16 always gets one).
    bool byteOrderMark = false;
    std::wstring lineEnd = L"\n";
    // Indentation per level; empty writes the elements without line breaks.
    std::wstring indent = L"  ";
    Unrepresentable unrepresentable = Unrepresentable::Replace;
    bool declaration = true;
};

struct CSaveResult {
    bool ok = false;
    // Characters that could not be written as they are and became '?'.
    std::size_t replaced = 0;
    std::wstring error;
};

}
