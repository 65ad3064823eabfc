#pragma once
// The character entities of the tooltip mark-up. They are replaced in the
// text before any tag is read, one entity after the other in the order of
// their names, so "&amp;lt;" ends as a literal "<". Entities that are not in
// the table stay as they are written.

#include <map>
#include <string>

namespace ZELL::Skin {

class CMarkupEntities {
public:
    CMarkupEntities();

    std::wstring Replace(std::wstring text) const;

private:
    std::map<std::wstring, std::wstring> m_entities;
};

}  // namespace ZELL::Skin
