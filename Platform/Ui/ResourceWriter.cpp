#include "Platform/Ui/ResourceWriter.h"

#include "Platform/Base/TextConversion.h"

namespace Ui {

void CResourceWriter::Text(std::wstring_view text)
{
    for (char16_t unit : ::Text::WideToUtf16(text))
        Word(unit);
    Word(0);
}

}
