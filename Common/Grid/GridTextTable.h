#pragma once
// The rows of a delimited text file, gathered in memory before they reach a
// grid, so that a file that turns out to be unusable halfway through leaves
// the grid as it was. The first line holds the column headings; every field
// between two separators counts, empty or not, so a saved grid reads back
// with the same shape.
#include "Platform/Base/CString.h"

#include <vector>

class CGridTextTable {
public:
    using Fields = std::vector<CString>;

    // The grid keys a cell by 16-bit row and column numbers.
    static constexpr int kMaxRows = 0xFFFF;
    static constexpr int kMaxColumns = 0xFFFF;

    explicit CGridTextTable(WCHAR separator) : m_separator(separator) {}

    // Adds one line (without its line end; carriage returns at its end are
    // dropped). Empty lines are skipped. False
    // when the line cannot belong to the table: more fields than headings,
    // too many rows or columns, or a NUL character (not a text file).
    bool AddLine(const CString& line);
    // Splits a whole text at "\n" and adds the lines.
    bool AddText(const CString& text);

    bool IsEmpty() const { return m_rows.empty(); }
    const std::vector<Fields>& Rows() const { return m_rows; }

    // A line of the fields joined by the separator, without a line end.
    static CString JoinFields(const Fields& fields, WCHAR separator);

private:
    Fields Split(const CString& line) const;

    WCHAR m_separator = L',';
    std::vector<Fields> m_rows;
};
