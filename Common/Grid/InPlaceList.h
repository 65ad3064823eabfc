#pragma once
// The combo box a combo cell lays over itself while it is edited; its edit
// field is subclassed by a CComboEdit. It reports the end of editing to the
// grid once per session and deletes itself once its window is gone.
#include "Common/Grid/ComboEdit.h"
#include "Common/Grid/GridNotify.h"
#include "Platform/Framework/Controls/ComboBox.h"

#include <vector>

namespace ZELL::Grid {

class CInPlaceList : public CComboBox {
public:
    static constexpr int kListLines = 4;
    static constexpr int kMaxDropWidth = 200;

    static CInPlaceList* Start(CWnd* grid, const CRect& rect, DWORD style, UINT id, int row, int col,
                               const std::vector<CString>& options, LPCWSTR text, UINT firstChar);

    void EndEdit();
    // Remembers the key that ends editing and hands the focus to the grid.
    void FinishWith(UINT key, bool restoreText);
    // Escape is on its way: the box gets its first text back before closing
    // its list can end the edit.
    void PrepareEscape();
    BOOL IsArrowsEndEditing() const { return m_arrowsEndEditing; }

protected:
    CInPlaceList(int row, int col, LPCWSTR text);
    DECLARE_MESSAGE_MAP()
    void PostNcDestroy() override;
    void OnKillFocus(CWnd* newWindow);
    void OnKeyDown(UINT key, UINT repeat, UINT flags);
    void OnKeyUp(UINT key, UINT repeat, UINT flags);
    UINT OnGetDlgCode();
    void OnDropDown();
    void OnSelChange();
    void OnSelEndOk();
    void OnSelEndCancel();
    void OnEditChange();

private:
    void TakeChosenText();
    void SetDroppedWidth();
    void PlaceCaret(UINT firstChar);

    int m_row = -1;
    int m_col = -1;
    CString m_initialText;
    // What the user typed last, the initial text until then.
    CString m_typedText;
    UINT m_endKey = 0;
    BOOL m_arrowsEndEditing = FALSE;
    BOOL m_ended = FALSE;
    CComboEdit m_edit;
};

}  // namespace ZELL::Grid
