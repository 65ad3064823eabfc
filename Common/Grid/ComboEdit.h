#pragma once
// The edit field of an in-place combo box: its keys go to the box before
// the dialog manager sees them, and losing the focus ends the edit.
#include "Platform/Framework/Controls/Edit.h"

namespace ZELL::Grid {

class CComboEdit : public CEdit {
public:
    static constexpr int kEditFieldId = 1001;

    BOOL PreTranslateMessage(MSG* msg) override;

protected:
    DECLARE_MESSAGE_MAP()
    void OnKillFocus(CWnd* newWindow);
    void OnKeyDown(UINT key, UINT repeat, UINT flags);
    void OnKeyUp(UINT key, UINT repeat, UINT flags);
};

}  // namespace ZELL::Grid
