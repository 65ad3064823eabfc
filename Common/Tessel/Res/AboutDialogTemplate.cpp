// The about dialog's template, in dialog units. The texts here are the
// defaults that a GUI XML file replaces; the lists are filled when it opens.
#include "Common/Tessel/AboutDlg.h"
#include "Common/Tessel/TesselResourceIds.h"

#include "Platform/Controls/ControlStyles.h"
#include "Platform/Ui/DialogTemplate.h"
#include "Platform/Ui/ResourceTable.h"

using namespace ZELL::Grid;

namespace Tessel {

namespace {

using Ui::NameOrOrdinal;

struct Item {
    WORD atom;
    LPCWSTR text;
    int id;
    DWORD style;
    short x, y, cx, cy;
};

constexpr DWORD kLabel = SS_CENTERIMAGE;

// Top of the Z-order first: the white bands and the frames come last, so
// that they lie under what they frame, and the version line, which moves up
// into the title's box, comes before the title.
const Item kItems[] = {
    {Ui::kClassStatic, L"", 1067, SS_ICON, 12, 6, 20, 20},
    {Ui::kClassStatic, L"", 1059, SS_NOPREFIX, 46, 24, 226, 12},
    {Ui::kClassStatic, L"", 1173, SS_NOPREFIX | SS_CENTERIMAGE, 46, 3, 226, 20},
    {Ui::kClassStatic, L"", 2000, SS_BITMAP | SS_RIGHTJUST | SS_REALSIZEIMAGE, 319, 1, 13, 12},
    {Ui::kClassStatic, L"", 1057, SS_CENTERIMAGE, 7, 202, 338, 14},
    {Ui::kClassButton, L"&Close", IDOK, BS_DEFPUSHBUTTON | WS_TABSTOP, 347, 202, 50, 14},
    {Ui::kClassButton, L"", 1066, BS_GROUPBOX, 4, 39, 130, 159},
    {Ui::kClassStatic, L"Zell Software", 1064, 0, 13, 47, 116, 17},
    {Ui::kClassStatic, L"P.O. Box 1000", 1065, 0, 13, 66, 116, 17},
    {Ui::kClassStatic, L"1 Example Street, Example Town", 1070, 0, 13, 84, 116, 17},
    {Ui::kClassStatic, L"Phone:", 1071, kLabel, 13, 103, 28, 10},
    {Ui::kClassStatic, L"Fax:", 1072, kLabel, 13, 114, 28, 10},
    {Ui::kClassStatic, L"Email:", 1073, kLabel, 13, 125, 28, 10},
    {Ui::kClassStatic, L"Internet:", 1074, kLabel, 13, 136, 28, 10},
    {Ui::kClassStatic, L"+00 000 000000-0", 1075, kLabel, 44, 103, 85, 10},
    {Ui::kClassStatic, L"+00 000 000000-1", 1076, kLabel, 44, 114, 85, 10},
    {Ui::kClassStatic, L"info@zell-software.example", 1068, kLabel, 44, 125, 85, 10},
    {Ui::kClassStatic, L"www.zell-software.example", 1069, kLabel, 44, 136, 85, 10},
    {Ui::kClassStatic, L"Support", 1083, 0, 13, 150, 116, 8},
    {Ui::kClassStatic, L"Phone:", 1078, kLabel, 13, 161, 28, 10},
    {Ui::kClassStatic, L"Fax:", 1079, kLabel, 13, 172, 28, 10},
    {Ui::kClassStatic, L"Email:", 1080, kLabel, 13, 183, 28, 10},
    {Ui::kClassStatic, L"+00 000 000000-2", 1081, kLabel, 44, 161, 85, 10},
    {Ui::kClassStatic, L"+00 000 000000-3", 1082, kLabel, 44, 172, 85, 10},
    {Ui::kClassStatic, L"support@zell-software.example", 1077, kLabel, 44, 183, 85, 10},
    {Ui::kClassStatic, L"", 1061, SS_CENTERIMAGE, 138, 41, 259, 12},
    {0, L"", 1060, WS_TABSTOP, 140, 55, 256, 68},
    {Ui::kClassStatic, L"", 1063, SS_CENTERIMAGE, 138, 127, 259, 12},
    {0, L"", 1062, WS_TABSTOP, 139, 145, 256, 49},
    {Ui::kClassStatic, L"", 1244, SS_WHITERECT, 0, 0, 399, 36},
    {Ui::kClassStatic, L"", -1, SS_WHITERECT, 0, 38, 399, 161},
    {Ui::kClassStatic, L"", -1, SS_GRAYFRAME, 138, 54, 259, 70},
    {Ui::kClassStatic, L"", -1, SS_GRAYFRAME, 138, 140, 259, 56},
    {Ui::kClassStatic, L"", -1, SS_GRAYFRAME, 0, 37, 399, 163},
};

std::vector<BYTE> AboutDialogTemplate()
{
    Ui::CDialogTemplate dialog;
    dialog.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT;
    dialog.cx = 400;
    dialog.cy = 219;
    dialog.pointSize = 8;
    dialog.faceName = L"DejaVu Sans";
    for (const Item& item : kItems) {
        // The grids are no predefined class; they go by their class name.
        const NameOrOrdinal windowClass =
            item.atom != 0 ? NameOrOrdinal::Ordinal(item.atom) : NameOrOrdinal::Name(CZellGrid::kClassName);
        dialog.items.push_back(Ui::VisibleControl(windowClass, item.text, item.id, item.style, item.x, item.y,
                                                  item.cx, item.cy));
    }
    dialog.items[0].text = NameOrOrdinal::Ordinal(IDI_ZELL_INFORMATION);
    return dialog.ToImage();
}

using namespace Ui::Res;

const Data kAboutDialog{RT_DIALOG, CAboutDlg::kTemplateId, LANG_NEUTRAL, {}, &AboutDialogTemplate};
const ResourceTable kTable{.data = {&kAboutDialog}};
const Registration kRegistration{kTable};

}

}
