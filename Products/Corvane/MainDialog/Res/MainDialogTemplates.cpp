// The templates of the main dialog, in dialog units. The three templates
// carry the same controls; the ones for larger screens and for languages
// with longer texts are only larger. Texts come from the GUI XML file. The
// sheet's placeholder leaves each page, below the tabs, at least the size of
// the pages' templates.
#include "Products/Corvane/MainDialog/MainDialogIds.h"

#include "Platform/Controls/CommCtrl.h"
#include "Platform/Controls/ControlStyles.h"
#include "Platform/Ui/DialogTemplate.h"
#include "Platform/Ui/ResourceTable.h"

namespace Corvane {

namespace {

using namespace CorvaneIds;
using Ui::NameOrOrdinal;

// Lays the controls out on a grid that grows with the template.
class CLayout {
public:
    explicit CLayout(int percent) : m_nPercent(percent) {}
    short operator()(int units) const { return static_cast<short>(units * m_nPercent / 100); }

private:
    int m_nPercent;
};

Ui::DialogItemTemplate Control(WORD atom, int id, DWORD style, const CLayout& s, int x, int y, int cx, int cy)
{
    return Ui::VisibleControl(NameOrOrdinal::Ordinal(atom), L"", id, style, s(x), s(y), s(cx), s(cy));
}

Ui::DialogItemTemplate Hidden(Ui::DialogItemTemplate item)
{
    item.style &= ~static_cast<DWORD>(WS_VISIBLE);
    return item;
}

constexpr DWORD kPush = BS_PUSHBUTTON | WS_TABSTOP;
// The toolbar: icons above their texts.
constexpr int kToolbarIds[] = {kReadButton, kOpenButton, kSaveButton, kWriteButton, kSettingsButton};
// The device's own commands, small icons left of their texts, in a column
// in the header; the dialog widens them to their texts.
constexpr int kDeviceCommandIds[] = {kRestartButton, kFactoryDefaultsButton, kResetFileSystemButton};

std::vector<BYTE> MainDialogTemplate(int percent)
{
    const CLayout s(percent);
    Ui::CDialogTemplate dialog;
    dialog.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_VISIBLE | DS_SETFONT | DS_CENTER;
    dialog.cx = s(440);
    dialog.cy = s(354);
    dialog.pointSize = 8;
    dialog.faceName = L"DejaVu Sans";
    auto& items = dialog.items;
    items.push_back(Control(Ui::kClassStatic, kHeaderIcon, SS_ICON | SS_NOTIFY, s, 6, 6, 24, 24));
    items.push_back(Control(Ui::kClassStatic, kTitleLine1, 0, s, 36, 6, 190, 12));
    items.push_back(Control(Ui::kClassStatic, kTitleLine2, 0, s, 36, 20, 190, 10));
    for (int i = 0; i < 3; ++i)
        items.push_back(Control(Ui::kClassButton, kDeviceCommandIds[i], kPush, s, 236, 3 + 11 * i, 100, 11));
    items.push_back(Hidden(Control(Ui::kClassStatic, kOemLogo, SS_BITMAP, s, 384, 6, 50, 24)));
    items.push_back(Control(Ui::kClassStatic, kHeaderBand, 0, s, 0, 0, 440, 36));
    for (int i = 0; i < 5; ++i)
        items.push_back(Control(Ui::kClassButton, kToolbarIds[i], kPush, s, 6 + 60 * i, 38, 56, 32));
    items.push_back(Hidden(Control(Ui::kClassStatic, kSheetPlaceholder, 0, s, 6, 74, 428, 256)));
    items.push_back(Control(Ui::kClassStatic, kConnectionIcon, SS_ICON, s, 6, 336, 12, 12));
    items.push_back(Control(Ui::kClassStatic, kConnectionText, SS_NOTIFY, s, 22, 338, 80, 10));
    items.push_back(Control(Ui::kClassStatic, kStatusLine, SS_NOTIFY | SS_ENDELLIPSIS | WS_TABSTOP, s, 106, 338, 328, 10));
    items.push_back(Hidden(Control(Ui::kClassStatic, kBusyIndicator, 0, s, 374, 337, 60, 10)));
    items.push_back(Hidden(Ui::VisibleControl(NameOrOrdinal::Name(PROGRESS_CLASSW), L"", kProgressBar, 0, s(374),
                                              s(337), s(60), s(10))));
    return dialog.ToImage();
}

std::vector<BYTE> StandardTemplate() { return MainDialogTemplate(100); }
std::vector<BYTE> LargeScreenTemplate() { return MainDialogTemplate(120); }
// Languages other than the three the standard template was laid out for
// get more room for their texts.
std::vector<BYTE> OtherLanguageTemplate() { return MainDialogTemplate(110); }

using namespace Ui::Res;

const Data kStandard{RT_DIALOG, kMainDialog, LANG_NEUTRAL, {}, &StandardTemplate};
const Data kLargeScreen{RT_DIALOG, kMainDialog120, LANG_NEUTRAL, {}, &LargeScreenTemplate};
const Data kOtherLanguage{RT_DIALOG, kMainDialogOtherLanguage, LANG_NEUTRAL, {}, &OtherLanguageTemplate};
const ResourceTable kTable{.data = {&kStandard, &kLargeScreen, &kOtherLanguage}};
const Registration kRegistration{kTable};

}

}  // namespace Corvane
