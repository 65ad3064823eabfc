#include "Products/Corvane/Pages/Views/PageNumberField.h"

#include "Platform/Base/Format.h"

#include <sstream>

namespace Corvane {

bool CPageNumberField::Read(const CWnd& page, int id, bool hex, int& value)
{
    CString text;
    page.GetDlgItemText(id, text);
    return Parse(text, hex, value);
}

bool CPageNumberField::Parse(const CString& text, bool hex, int& value)
{
    std::wistringstream stream(text.str());
    int number = 0;
    stream >> (hex ? std::hex : std::dec) >> number;
    if (stream.fail())
        return false;
    stream >> std::ws;
    if (!stream.eof())
        return false;
    value = number;
    return true;
}

void CPageNumberField::Show(CWnd& page, int id, const wchar_t* format, int value)
{
    page.SetDlgItemText(id, FormatW(format, value).c_str());
}

}  // namespace Corvane
