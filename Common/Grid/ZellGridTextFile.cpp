// Reading a grid from and writing it to a delimited text file: one line per
// row, the cells joined by the separator, the first line the column headings.
// A file is read whole before the grid is touched, so an unusable file leaves
// the grid as it was.
#include "Common/Grid/GridTextTable.h"
#include "Common/Grid/ZellGrid.h"
#include "Platform/Framework/Exceptions/FileException.h"
#include "Platform/Framework/Files/StdioFile.h"
#include "Platform/Framework/App/WinApp.h"

namespace ZELL::Grid {

namespace {

constexpr LPCWSTR kLoadFailed = L"Unable to load grid data";
constexpr LPCWSTR kSaveFailed = L"Unable to save grid list";
// Centred both ways on one line.
constexpr DWORD kHeadingFormat = DT_CENTER | DT_VCENTER | DT_SINGLELINE;

// Lines end in carriage return and line feed, as text files are exchanged
// with other tools; lines ending in a line feed alone read as well.
constexpr LPCWSTR kLineEnd = L"\r\n";

// False when a line does not fit the table; file errors are raised.
bool ReadTable(CStdioFile& file, CGridTextTable& table)
{
    CString line;
    while (file.ReadString(line))
        if (!table.AddLine(line))
            return false;
    return true;
}

}

void CZellGrid::OnTextFileError(LPCWSTR message)
{
    AfxMessageBox(message, MB_OK | MB_ICONEXCLAMATION);
}

BOOL CZellGrid::LoadFromFile(LPCWSTR path, WCHAR separator)
{
    if (m_virtualMode)
        return FALSE;
    CStdioFile file;
    CFileException error;
    if (!file.Open(path, CFile::modeRead | CFile::typeText, &error)) {
        OnTextFileError(error.GetErrorText().GetString());
        return FALSE;
    }
    CGridTextTable table(separator);
    bool usable = false;
    try {
        usable = ReadTable(file, table);
        file.Close();
    } catch (CFileException* e) {
        e->Delete();
        file.Abort();
        usable = false;
    }
    if (!usable || !FillFromTable(table)) {
        OnTextFileError(kLoadFailed);
        return FALSE;
    }
    return TRUE;
}

bool CZellGrid::FillFromTable(const CGridTextTable& table)
{
    RemoveAllCells();
    const auto& rows = table.Rows();
    if (rows.empty())
        return true;
    for (const CString& heading : rows.front())
        if (InsertColumn(heading.GetString(), kHeadingFormat) < 0)
            return false;
    for (std::size_t i = 1; i < rows.size(); ++i) {
        const CGridTextTable::Fields& fields = rows[i];
        const int row = InsertRow(fields.front().GetString());
        if (row < 0)
            return false;
        for (std::size_t col = 1; col < fields.size(); ++col)
            SetCellText(row, static_cast<int>(col), fields[col].GetString());
    }
    FitAllColumnWidths(m_autoSizeScope);
    return true;
}

BOOL CZellGrid::SaveToFile(LPCWSTR path, WCHAR separator)
{
    CStdioFile file;
    CFileException error;
    if (!file.Open(path, CFile::modeCreate | CFile::modeWrite | CFile::typeText, &error)) {
        OnTextFileError(error.GetErrorText().GetString());
        return FALSE;
    }
    try {
        CGridTextTable::Fields fields;
        for (int row = 0; row < m_rowCount; ++row) {
            fields.clear();
            for (int col = 0; col < m_colCount; ++col)
                fields.push_back(GetCellText(row, col));
            file.WriteString((CGridTextTable::JoinFields(fields, separator) + kLineEnd).GetString());
        }
        file.Close();
    } catch (CFileException* e) {
        e->Delete();
        file.Abort();
        OnTextFileError(kSaveFailed);
        return FALSE;
    }
    return TRUE;
}

}  // namespace ZELL::Grid
