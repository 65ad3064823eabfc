#pragma once
// The base of the pages that show their content as a read-only grid of
// rows: the grid's look, its rows with a state image, a name and a value,
// and the worker's progress or failure shown in the grid itself.
#include "Common/Grid/ZellGrid.h"
#include "Platform/Framework/Drawing/ImageList.h"
#include "Products/Corvane/Pages/Views/CouplerSettingsPageBase.h"

namespace Corvane {

class CGridPageBase : public CCouplerSettingsPageBase {
public:
    // Row states: an error row in red, a busy row, a marked row, a plain one.
    static constexpr int kRowNormal = 0;
    static constexpr int kRowError = 1;
    static constexpr int kRowReading = 2;
    static constexpr int kRowIdentifying = 3;
    static constexpr int kRowMarked = 4;
    // The state images of the rows' first column.
    static constexpr int kImageNormal = 0;
    static constexpr int kImageMarked = 2;
    static constexpr int kImageError = 4;
    static constexpr int kImageBusy = 9;
    static constexpr COLORREF kErrorTextColour = 0x0000FF;
    static constexpr COLORREF kSelectedBack = 0x6EDCA0;
    static constexpr COLORREF kSelectedText = 0xFFFFFF;
    static constexpr DWORD kValueFormat = DT_END_ELLIPSIS | DT_NOPREFIX | DT_WORDBREAK | DT_VCENTER;

    CGridPageBase();
    CGridPageBase(UINT templateId, UINT captionId);
    CGridPageBase(LPCWSTR templateName, UINT captionId);

    // --- the grid operations, in this order ----------------------------------
    virtual void SetUpGrid(int rows, int columns, int fixedRows, int fixedColumns);
    virtual void RedrawGrid(bool stretch);
    // A whole grid of one row: the text, or for an empty text the worker's
    // state (1 the last communication error, 2 reading, 3 identifying).
    virtual void ShowGridState(int state, LPCWSTR text);
    virtual void ShowGridStateById(int state, UINT stringId);
    virtual void InitGridRow(int row, bool readOnlyValue);
    virtual void ResetRowImage(int row);
    virtual void SetRowImage(int row, int image);
    virtual void FillGrid(int row, LPCWSTR name, LPCWSTR value, int state);

    ZELL::Grid::CZellGrid& Grid() { return m_Grid; }
    bool IsGridSetUp() const { return m_bGridSetUp; }

protected:
    // The text of the failure the calling thread saw last.
    virtual CString LastCommunicationErrorText() const;
    // The grid takes the page's width, its left margin kept on the right,
    // and the page's height too where no control lies below it: the sheet
    // gives a page more room than its template.
    void OnSize(UINT type, int cx, int cy);
    void FitGridToPage();
    DECLARE_MESSAGE_MAP()

protected:
    ZELL::Grid::CZellGrid m_Grid;
    bool m_bGridSetUp = false;

private:
    static int ImageOfState(int state);
};

}  // namespace Corvane
