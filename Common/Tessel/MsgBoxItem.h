#pragma once
// One control of the message box's template: laid out in pixels, written
// into the template in dialog units.
#include "Platform/Base/CString.h"
#include "Platform/Ui/WinUser.h"

#include <vector>

namespace Tessel {

class CMsgBoxItem {
public:
    enum class Kind { PushButton, DefaultPushButton, Static, CheckBox };

    CMsgBoxItem(Kind kind, int id, const RECT& pixels, const CString& text)
        : m_kind(kind), m_id(id), m_rect(pixels), m_text(text)
    {
    }

    Kind GetKind() const { return m_kind; }
    int GetId() const { return m_id; }
    const RECT& GetRect() const { return m_rect; }
    const CString& GetText() const { return m_text; }
    DWORD Style() const;
    WORD ClassAtom() const;

    // Appends the item at the next DWORD boundary; `baseX` and `baseY` are
    // the dialog base units of the conversion.
    void AppendTo(std::vector<BYTE>& image, int baseX, int baseY) const;

private:
    Kind m_kind = Kind::Static;
    int m_id = 0;
    RECT m_rect{};
    CString m_text;
};

// Helpers of the template image, shared with the template's header.
void AppendBytes(std::vector<BYTE>& image, const void* bytes, std::size_t count);
void AppendWord(std::vector<BYTE>& image, WORD value);
void AppendText(std::vector<BYTE>& image, const CString& text);

}
