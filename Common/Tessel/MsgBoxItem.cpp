#include "Common/Tessel/MsgBoxItem.h"

#include "Platform/Base/TextConversion.h"
#include "Platform/Controls/ControlStyles.h"
#include "Platform/Ui/DialogTemplate.h"

#include <cstring>

namespace Tessel {

namespace {

constexpr DWORD kPushButtonStyle = WS_CHILD | WS_VISIBLE | WS_TABSTOP;
constexpr DWORD kStaticStyle = WS_CHILD | WS_VISIBLE;

short ToUnits(LONG pixels, int base, int unitsPerBase)
{
    return static_cast<short>(pixels * unitsPerBase / base);
}

}

void AppendBytes(std::vector<BYTE>& image, const void* bytes, std::size_t count)
{
    if (count == 0)
        return;
    const std::size_t at = image.size();
    image.resize(at + count);
    std::memcpy(image.data() + at, bytes, count);
}

void AppendWord(std::vector<BYTE>& image, WORD value)
{
    AppendBytes(image, &value, sizeof value);
}

void AppendText(std::vector<BYTE>& image, const CString& text)
{
    const std::vector<BYTE> utf16 = Text::WideToUtf16Le(text.str());
    AppendBytes(image, utf16.data(), utf16.size());
    AppendWord(image, 0);
}

DWORD CMsgBoxItem::Style() const
{
    switch (m_kind) {
    case Kind::PushButton: return kPushButtonStyle | BS_PUSHBUTTON;
    case Kind::DefaultPushButton: return kPushButtonStyle | BS_DEFPUSHBUTTON;
    case Kind::CheckBox: return kPushButtonStyle | BS_AUTOCHECKBOX;
    case Kind::Static: break;
    }
    return kStaticStyle;
}

WORD CMsgBoxItem::ClassAtom() const
{
    return m_kind == Kind::Static ? Ui::kClassStatic : Ui::kClassButton;
}

void CMsgBoxItem::AppendTo(std::vector<BYTE>& image, int baseX, int baseY) const
{
    image.resize((image.size() + 3) & ~std::size_t{3}, 0);
    DLGITEMTEMPLATE item;
    item.style = Style();
    item.x = ToUnits(m_rect.left, baseX, 4);
    item.y = ToUnits(m_rect.top, baseY, 8);
    item.cx = ToUnits(m_rect.right - m_rect.left, baseX, 4);
    item.cy = ToUnits(m_rect.bottom - m_rect.top, baseY, 8);
    item.id = static_cast<WORD>(m_id);
    AppendBytes(image, &item, sizeof item);
    AppendWord(image, 0xFFFF);
    AppendWord(image, ClassAtom());
    AppendText(image, m_text);
    AppendWord(image, 0);  // no creation data
}

}
