#pragma once
// The inside of the dialog manager, shared by its sources. The resource
// loader builds CreateDialogParamW and DialogBoxParamW on the two image
// functions: a resource knows its size, so its image is checked against it.
#include "Platform/Ui/DialogTemplate.h"
#include "Platform/Ui/WinUser.h"

#include <atomic>
#include <cstddef>
#include <memory>
#include <vector>

namespace Ui {

struct DialogState {
    HFONT font = nullptr;
    bool ownsFont = false;
    SIZE baseUnits{};
    WORD defaultId = 0;
    bool hasDefaultId = false;
    HWND savedFocus = nullptr;
    HWND disabledOwner = nullptr;  // by the modal loop, enabled again by EndDialog
    // EndDialog may come from another thread than the modal loop's.
    std::atomic<bool> ended = false;
    std::atomic<INT_PTR> result = 0;
};

// Null for a window the dialog manager did not create (nor one of its class).
std::shared_ptr<DialogState> DialogStateOf(HWND dialog);
std::shared_ptr<DialogState> AttachDialogState(HWND dialog);
void DetachDialogState(HWND dialog);
void RegisterDialogClass();
// Tells the display that a dialog's top-level is (or no longer is) modal, for
// modal loops run outside DialogBox, such as the framework's.
void MarkModal(HWND dialog, bool modal);

HWND CreateDialogFromImage(HINSTANCE instance, const void* image, std::size_t size, HWND owner, DLGPROC proc,
                           LPARAM initParam);
INT_PTR DialogBoxFromImage(HINSTANCE instance, const void* image, std::size_t size, HWND owner, DLGPROC proc,
                           LPARAM initParam);

// Dialog units: the base units of a font (average width of the Latin letters
// and the text height), and a rectangle in dialog units converted with them.
SIZE MeasureBaseUnits(HFONT font);
RECT DialogUnitsToPixels(const RECT& units, SIZE baseUnits);

// Navigation.
LRESULT DialogCodeOf(HWND control, const MSG* msg = nullptr);
// The dialog whose controls Tab walks: a DS_CONTROL child dialog navigates
// with the dialog it sits in.
HWND NavigationRoot(HWND dialog);
// Every control of the dialog in tab order, control-parent children entered.
std::vector<HWND> DialogControls(HWND dialog);
// Focus moved by the dialog manager: an edit-like control gets its text
// selected and the default push button follows the focus.
void SetDialogFocus(HWND dialog, HWND control);
void UpdateDefaultButton(HWND dialog, HWND focus);

// Button messages the dialog manager sends (the buttons answer them).
constexpr UINT kBmGetCheck = 0x00F0;
constexpr UINT kBmSetCheck = 0x00F1;
constexpr UINT kBmSetStyle = 0x00F4;
constexpr UINT kBmClick = 0x00F5;
constexpr UINT kEmSetSel = 0x00B1;
constexpr UINT kBstChecked = 1;
constexpr DWORD kBsPushButton = 0x0000;
constexpr DWORD kBsDefPushButton = 0x0001;
constexpr WORD kBnClicked = 0;

}
