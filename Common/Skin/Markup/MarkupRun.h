#pragma once
// One piece of a parsed mark-up text, in text order: a text run, an object
// tag (break, tab, rule, image, string resource) or a table boundary, each
// with the style in force where it stands. Layout and drawing read only these.

#include "Common/Skin/Markup/MarkupStyle.h"
#include "Common/Skin/Markup/MarkupTag.h"

#include <string>
#include <vector>

namespace ZELL::Skin {

enum class MarkupRunKind {
    Text,
    LineBreak,
    Tab,
    Rule,
    Bitmap,
    Icon,
    ImageList,
    String,
    TableStart,
    TableEnd,
    RowStart,
    RowEnd,
    CellStart,
    CellEnd,
};

struct CMarkupRun {
    MarkupRunKind kind = MarkupRunKind::Text;
    // The text of a text run, already transformed (upper case and the like).
    std::wstring text;
    // Line breaks and tab steps of "br=n" and "t=n"; bounded, never negative.
    int count = 1;
    CMarkupStyle style;
    // The attributes of object tags and table tags as written.
    std::vector<CMarkupTag::Attribute> attributes;
};

}  // namespace ZELL::Skin
