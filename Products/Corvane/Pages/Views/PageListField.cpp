#include "Products/Corvane/Pages/Views/PageListField.h"

#include "Platform/Controls/ComboStyles.h"

namespace Corvane {

void CPageListField::Fill(CWnd& page, int id, const std::vector<CString>& texts)
{
    page.SendDlgItemMessage(id, CB_RESETCONTENT);
    for (const CString& text : texts)
        page.SendDlgItemMessage(id, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.GetString()));
}

void CPageListField::Select(CWnd& page, int id, int index)
{
    page.SendDlgItemMessage(id, CB_SETCURSEL, static_cast<WPARAM>(index));
}

int CPageListField::Selection(const CWnd& page, int id)
{
    const LRESULT index = page.SendDlgItemMessage(id, CB_GETCURSEL);
    return index < 0 ? -1 : static_cast<int>(index);
}

}  // namespace Corvane
