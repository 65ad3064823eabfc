#pragma once
// One settings page's dialog template, built item by item in dialog units.
// Every page has the size the main dialog's sheet has room for and the
// dialog font; the items start visible, and Hidden() or Disabled() change
// the last one added.
#include "Platform/Controls/ComboStyles.h"
#include "Platform/Controls/ControlStyles.h"
#include "Platform/Controls/EditStyles.h"
#include "Platform/Ui/DialogTemplate.h"

#include <vector>

namespace Corvane {

class CPageTemplate {
public:
    static constexpr short kWidth = 276;
    // The network page's grid shows all its rows (the DIP switch's too)
    // above the ports' group.
    static constexpr short kHeight = 236;
    static constexpr DWORD kCheckBox = BS_AUTOCHECKBOX | WS_TABSTOP;
    static constexpr DWORD kDropList = CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP;
    static constexpr DWORD kTextEdit = WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL;

    explicit CPageTemplate(const wchar_t* caption)
    {
        m_Dialog.style = WS_CHILD | DS_CONTROL | DS_SETFONT | WS_CAPTION;
        m_Dialog.cx = kWidth;
        m_Dialog.cy = kHeight;
        m_Dialog.caption = caption;
        m_Dialog.pointSize = 8;
        m_Dialog.faceName = L"DejaVu Sans";
    }

    CPageTemplate& Item(WORD atom, int id, DWORD style, short x, short y, short cx, short cy, const wchar_t* text = L"")
    {
        return Add(Ui::NameOrOrdinal::Ordinal(atom), id, style, x, y, cx, cy, text);
    }
    CPageTemplate& Item(const wchar_t* className, int id, DWORD style, short x, short y, short cx, short cy)
    {
        return Add(Ui::NameOrOrdinal::Name(className), id, style, x, y, cx, cy, L"");
    }
    CPageTemplate& Text(int id, short x, short y, short cx, DWORD style = 0)
    {
        return Item(Ui::kClassStatic, id, style, x, y, cx, 10);
    }
    CPageTemplate& Edit(int id, short x, short y, short cx, DWORD style = 0)
    {
        return Item(Ui::kClassEdit, id, kTextEdit | style, x, y, cx, 12);
    }
    CPageTemplate& Check(int id, short x, short y, short cx, const wchar_t* text = L"")
    {
        return Item(Ui::kClassButton, id, kCheckBox, x, y, cx, 10, text);
    }
    CPageTemplate& Combo(int id, short x, short y, short cx, short height = 100)
    {
        return Item(Ui::kClassComboBox, id, kDropList, x, y, cx, height);
    }
    CPageTemplate& Group(int id, short x, short y, short cx, short cy)
    {
        return Item(Ui::kClassButton, id, BS_GROUPBOX, x, y, cx, cy);
    }
    // A label and its edit on one row.
    CPageTemplate& Row(int label, int edit, short y, DWORD editStyle = 0)
    {
        Text(label, 7, static_cast<short>(y + 2), 150);
        return Edit(edit, 160, y, 70, editStyle);
    }
    // A label and its drop-down list on one row.
    CPageTemplate& ListRow(int label, int list, short y)
    {
        Text(label, 7, static_cast<short>(y + 2), 150);
        return Combo(list, 160, y, 100);
    }
    // The last item starts hidden; the page shows it where the device has it.
    CPageTemplate& Hidden()
    {
        m_Dialog.items.back().style &= ~static_cast<DWORD>(WS_VISIBLE);
        return *this;
    }
    CPageTemplate& Disabled()
    {
        m_Dialog.items.back().style |= WS_DISABLED;
        return *this;
    }

    std::vector<BYTE> Image() const { return m_Dialog.ToImage(); }

private:
    CPageTemplate& Add(Ui::NameOrOrdinal windowClass, int id, DWORD style, short x, short y, short cx, short cy,
                       const wchar_t* text)
    {
        m_Dialog.items.push_back(Ui::VisibleControl(windowClass, text, id, style, x, y, cx, cy));
        return *this;
    }

    Ui::CDialogTemplate m_Dialog;
};

}  // namespace Corvane
