// A write that the pages stop never ends in silence: the page holding the
// value that cannot be written is shown, its field pointed at with its
// balloon, and the status line names the field and the page.
#include "Products/Corvane/MainDialog/CorvaneDlg.h"

namespace Corvane {

void CCorvaneDlg::ReportRefusedWrite(bool checkAgain)
{
    CSettingsPage* page = ActivePage();
    if (page == nullptr)
        return;
    // A page checked before it was shown was checked quietly: shown now,
    // its check points at the field.
    if (checkAgain)
        page->StoreIfDataPresent();
    const CString field = page->RefusedFieldName();
    // The page is named as its tab shows it, in the language in force.
    CString pageTitle;
    for (const tPageEntry& entry : m_arrPageEntries) {
        if (entry.page == page)
            pageTitle = entry.title.c_str();
    }
    CString text;
    if (field.IsEmpty())
        text.Format(Translate(L"STATE_WRITE_REFUSED_PAGE").GetString(), pageTitle.GetString());
    else
        text.Format(Translate(L"STATE_WRITE_REFUSED_FIELD").GetString(), field.GetString(), pageTitle.GetString());
    ShowStatus(text);
}

}  // namespace Corvane
