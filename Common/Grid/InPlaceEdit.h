#pragma once
// The edit window a text cell lays over itself while its text is edited.
// It reports the end of editing to the grid (WM_NOTIFY, GRIDN_ENDLABELEDIT,
// with the key that ended it) and deletes itself once its window is gone.
#include "Common/Grid/GridNotify.h"
#include "Platform/Framework/Controls/Edit.h"

namespace ZELL::Grid {

class CInPlaceEdit : public CEdit {
public:
    // Creates the editor over the cell; null when the window cannot be made.
    static CInPlaceEdit* Start(CWnd* grid, const CRect& rect, DWORD style, UINT id, int row, int col,
                               LPCWSTR text, UINT firstChar);

    void EndEdit();
    BOOL PreTranslateMessage(MSG* msg) override;
    UINT GetEndKey() const { return m_endKey; }

protected:
    CInPlaceEdit(int row, int col, LPCWSTR text);
    DECLARE_MESSAGE_MAP()
    void PostNcDestroy() override;
    void OnChar(UINT ch, UINT repeat, UINT flags);
    void OnKeyDown(UINT key, UINT repeat, UINT flags);
    void OnKillFocus(CWnd* newWindow);
    UINT OnGetDlgCode();

private:
    void PlaceCaret(UINT firstChar);
    void GrowToText();
    // Remembers the key and gives the focus back to the grid, which ends
    // editing; the object may be gone afterwards.
    void FinishWith(UINT key);

    int m_row = -1;
    int m_col = -1;
    CString m_initialText;
    UINT m_endKey = 0;
    BOOL m_arrowsEndEditing = FALSE;
};

}  // namespace ZELL::Grid
