#include "Common/Grid/GridTextTable.h"

namespace ZELL::Grid {

CGridTextTable::Fields CGridTextTable::Split(const CString& line) const
{
    Fields fields;
    int start = 0;
    for (int end = line.Find(m_separator); end >= 0; end = line.Find(m_separator, start)) {
        fields.push_back(line.Mid(start, end - start));
        start = end + 1;
    }
    fields.push_back(line.Mid(start));
    return fields;
}

bool CGridTextTable::IsGap(const CString& line) const
{
    // Every row of a table of several columns is saved with its separators,
    // so an empty line there is a gap. In a table of one column it is the
    // row of an empty cell, and skipping it would lose that row.
    return line.IsEmpty() && (m_rows.empty() || m_rows.front().size() > 1);
}

bool CGridTextTable::AddLine(const CString& text)
{
    // Carriage returns before the line end are left-overs of other systems'
    // line ends, never part of the last field.
    CString line(text);
    line.TrimRight(L'\r');
    if (IsGap(line))
        return true;
    if (line.Find(L'\0') >= 0 || static_cast<int>(m_rows.size()) >= kMaxRows)
        return false;
    Fields fields = Split(line);
    if (m_rows.empty() && fields.size() > static_cast<std::size_t>(kMaxColumns))
        return false;
    if (!m_rows.empty() && fields.size() > m_rows.front().size()) {
        fields.resize(m_rows.front().size());
        // The last field kept now ends the row, and carriage returns there
        // would read back as part of the line end.
        fields.back().TrimRight(L'\r');
    }
    m_rows.push_back(std::move(fields));
    return true;
}

bool CGridTextTable::AddText(const CString& text)
{
    int start = 0;
    while (start < text.GetLength()) {
        int end = text.Find(L'\n', start);
        if (end < 0)
            end = text.GetLength();
        if (!AddLine(text.Mid(start, end - start)))
            return false;
        start = end + 1;
    }
    return true;
}

CString CGridTextTable::JoinFields(const Fields& fields, WCHAR separator)
{
    CString line;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i > 0)
            line += separator;
        line += fields[i];
    }
    return line;
}

}  // namespace ZELL::Grid
