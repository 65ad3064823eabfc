#pragma once
// Tables of texts that readers take from a file (the language list of a
// text file, the texts of one language), kept once per process: every
// deliverable carries the layers above its own copy, but the platform layer
// is one per process, so what one deliverable parsed the others find here
// instead of parsing the file again. A table holds for one state of its file
// (its stamp); a changed file makes its tables go.

#include "Platform/Base/FileStamp.h"

#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace Platform {

// Pairs in the order their reader chose (file order, or sorted by the first).
using CTextTable = std::vector<std::pair<std::wstring, std::wstring>>;

class CSharedFileTables {
public:
    // Table `name` of the file in state `stamp`; null when none is kept.
    static std::shared_ptr<const CTextTable> Find(const std::string& path, const std::wstring& name,
                                                  const CFileStamp& stamp);
    // Keeps `table` for that state, dropping the tables of the file's other
    // states; gives the table kept, the one kept first when readers race.
    static std::shared_ptr<const CTextTable> Keep(const std::string& path, const std::wstring& name,
                                                  const CFileStamp& stamp, CTextTable table);
    // Forgets every table (tests).
    static void Clear();
};

}
