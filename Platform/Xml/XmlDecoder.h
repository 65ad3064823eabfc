#pragma once
// Turns the bytes of an XML file into wide text: by the byte-order mark, by
// the first characters of a UTF-16 text without one, else by the encoding the
// XML declaration names (UTF-8 when it names none).

#include "Platform/Xml/XmlTypes.h"

#include <string>
#include <string_view>

namespace Xml {

// False with the reason and position in `error` for bytes that do not match
// their encoding, an encoding that is not supported, or a character that XML
// does not allow.
bool DecodeXmlBytes(std::string_view bytes, std::wstring& text, CParseError& error);

// Line and column (from 1) of a character offset.
void LocateOffset(std::wstring_view text, CParseError& error);

bool IsXmlChar(char32_t c);

// False with the reason and offset in `error` at the first character that XML
// does not allow.
bool CheckXmlChars(std::wstring_view text, CParseError& error);

}
