#pragma once
// The colour names of the tooltip mark-up: the named colours of style sheets
// on the web and the system colours by their style-sheet names.

#include "Platform/Base/Types.h"

#include <functional>
#include <map>
#include <optional>
#include <string>

namespace ZELL::Skin {

class CMarkupColorTable {
public:
    // Reads a system colour by its index (COLOR_WINDOW and the like). The
    // values are taken once, when the table is built, as a drawer does.
    using SystemColorSource = std::function<COLORREF(int index)>;

    // Without a source the system-colour names are not known, and texts that
    // use them keep their current colour.
    explicit CMarkupColorTable(const SystemColorSource& systemColor = {});

    std::optional<COLORREF> Find(const std::wstring& name) const;
    std::size_t Count() const { return m_colors.size(); }

private:
    void AddNamedColors();
    void AddSystemColors(const SystemColorSource& systemColor);

    std::map<std::wstring, COLORREF> m_colors;
};

}  // namespace ZELL::Skin
