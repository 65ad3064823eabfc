#include "Products/Corvane/Pages/Views/PageNumberField.h"

#include "Common/SystemHelper/Conversions.h"
#include "Platform/Base/Format.h"

bool CPageNumberField::Read(const CWnd& page, int id, bool hex, int& value)
{
    CString text;
    page.GetDlgItemText(id, text);
    try {
        value = GenStrToNumber<int>(text.str(), hex ? std::hex : std::dec);
    } catch (const std::string&) {
        return false;
    }
    return true;
}

void CPageNumberField::Show(CWnd& page, int id, const wchar_t* format, int value)
{
    page.SetDlgItemText(id, FormatW(format, value).c_str());
}
