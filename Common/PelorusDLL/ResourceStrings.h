#pragma once
// The library's compiled-in string table, in German and English; French
// carries the English texts. A text that exists in one language only is
// shown in that language rather than not at all.

#include "Common/Communication/PelorusApi.h"
#include "Platform/Base/CString.h"
#include "Platform/Base/Types.h"

namespace Pelorus {

// The user's message language until a caller chooses one.
PELORUS_API void SetResourceLanguage(LANGID language);
PELORUS_API LANGID GetResourceLanguage();

// Empty when the id is unknown.
PELORUS_API CString LoadResourceString(UINT id);

struct ResourceString {
    UINT id;
    const wchar_t* english; // null: German only
    const wchar_t* german;  // null: same as English
};

// The table, sorted by id.
const ResourceString* ResourceStringTable(std::size_t& count);

}
