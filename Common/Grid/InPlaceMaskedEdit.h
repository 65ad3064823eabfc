#pragma once
// The masked edit an address cell lays over itself while it is edited. Like
// the plain in-place edit it reports the end of editing to the grid with
// the key that ended it, and deletes itself once its window is gone.
#include "Common/Grid/GridNotify.h"
#include "Common/Grid/MaskedEdit.h"

namespace ZELL::Grid {

class CInPlaceMaskedEdit : public CMaskedEdit {
public:
    // Creates the editor over the cell; null when the window cannot be made.
    static CInPlaceMaskedEdit* Start(CWnd* grid, const CRect& rect, UINT id, int row, int col, LPCWSTR text,
                                     UINT firstChar, const MaskFormat& format);

    void EndEdit();
    UINT GetEndKey() const { return m_endKey; }

protected:
    CInPlaceMaskedEdit(int row, int col, LPCWSTR text, const MaskFormat& format);
    DECLARE_MESSAGE_MAP()
protected:
    void PostNcDestroy() override;
    void OnChar(UINT ch, UINT repeat, UINT flags) override;
    void OnKeyDown(UINT key, UINT repeat, UINT flags) override;
    void OnKillFocus(CWnd* newWindow);
    UINT OnGetDlgCode();

private:
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
