#pragma once
// The rows of a delimited text file, gathered in memory before they reach a
// grid, so that a file that turns out to be unusable halfway through leaves
// the grid as it was. The first line holds the column headings; every field
// between two separators counts, empty or not, so a saved grid reads back
// with the same shape.
#include "Platform/Base/CString.h"

#include <vector>

namespace ZELL::Grid {

class CGridTextTable {
public:
    using Fields = std::vector<CString>;

    // The grid keys a cell by 16-bit row and column numbers.
    static constexpr int kMaxRows = 0xFFFF;
    static constexpr int kMaxColumns = 0xFFFF;

    explicit CGridTextTable(WCHAR separator) : m_separator(separator) {}

    // Adds one line (without its line end; carriage returns at its end are
    // dropped). Empty lines before the headings are skipped, and so are empty
    // lines of a table of several columns; in a table of one column an empty
    // line is a row with an empty cell. Fields past the headings are dropped:
    // a row has no cell for them. False when the line cannot belong to the
    // table: too many rows or columns, or a NUL character (not a text file).
    bool AddLine(const CString& line);
    // Splits a whole text at "\n" and adds the lines; a line end at the very
    // end of the text starts no further line.
    bool AddText(const CString& text);

    bool IsEmpty() const { return m_rows.empty(); }
    const std::vector<Fields>& Rows() const { return m_rows; }

    // A line of the fields joined by the separator, without a line end.
    static CString JoinFields(const Fields& fields, WCHAR separator);

private:
    Fields Split(const CString& line) const;
    bool IsGap(const CString& line) const;

    WCHAR m_separator = L',';
    std::vector<Fields> m_rows;
};

}  // namespace ZELL::Grid
