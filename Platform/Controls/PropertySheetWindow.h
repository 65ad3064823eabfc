#pragma once
// One property sheet while its window lives: a dialog with a tab control
// over the pages and OK, Cancel, Apply (and Help) below, made modal,
// modeless or as a child of another dialog. Pages are made when first
// shown, as child dialogs sized to the sheet's page area, which fits the
// largest page. Leaving a page asks it (PSN_KILLACTIVE), entering it tells
// it (PSN_SETACTIVE); OK and Apply hand PSN_APPLY to every made page,
// Cancel asks the current one (PSN_QUERYCANCEL) and resets them all.
#include "Platform/Controls/PropertySheetPage.h"
#include "Platform/Ui/DialogTemplate.h"

#include <string>
#include <vector>

namespace ZELL::Controls {

class CPropertySheetWindow {
public:
    // PropertySheetW: the modal answer, the modeless window, or -1.
    static INT_PTR Run(LPCPROPSHEETHEADERW header);

    ~CPropertySheetWindow();
    CPropertySheetWindow(const CPropertySheetWindow&) = delete;
    CPropertySheetWindow& operator=(const CPropertySheetWindow&) = delete;

private:
    struct Entry {
        HPROPSHEETPAGE page = nullptr;
        bool changed = false;
    };

    CPropertySheetWindow() = default;
    bool TakeHeader(const PROPSHEETHEADERW& header);
    bool TakePages(const PROPSHEETHEADERW& header);
    Ui::CDialogTemplate Template() const;
    std::wstring CaptionOf(LPCWSTR text, DWORD flags) const;
    int StartIndex(const PROPSHEETHEADERW& header) const;

    static INT_PTR Proc(HWND sheet, UINT message, WPARAM wParam, LPARAM lParam);
    // The answer of a message the sheet handles; false leaves it to the defaults.
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    bool OnPageMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    bool OnQueryMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    LRESULT OnInit();
    LRESULT OnCommand(int id);
    LRESULT OnTabNotify(const NMHDR& header);
    bool IsPageKey(const MSG* msg) const;
    LRESULT IsSheetMessage(MSG* msg);

    // --- pages ------------------------------------------------------------
    CPropertySheetPage* PageAt(int index) const;
    HWND WindowAt(int index) const;
    int Count() const { return static_cast<int>(m_entries.size()); }
    int IndexOf(HPROPSHEETPAGE page) const;
    int IndexOfWindow(HWND window) const;
    int IndexOfId(int id) const;
    bool InsertPage(int index, HPROPSHEETPAGE page);
    bool RemovePage(int index);
    void InsertTab(int index);
    // The current page agrees to be left (PSN_KILLACTIVE).
    bool LeaveCurrent();
    // Shows the page at `index`, made if need be, once it accepts PSN_SETACTIVE.
    bool Enter(int index);
    void StayOnCurrent();
    bool SelectPage(int index);
    void ShowPage(int index);
    void PlacePage(HWND page) const;
    LRESULT Notify(HWND page, UINT code, LPARAM lParam = 0) const;
    void SetChanged(HWND page, bool changed);

    // --- buttons ----------------------------------------------------------
    bool Apply(bool closing);
    void PressOk();
    void PressCancel(bool closeBox);
    void Close(INT_PTR result);
    void UpdateApplyButton() const;
    void UpdateHelpButton() const;

    // --- layout -----------------------------------------------------------
    void Layout();
    SIZE LargestPage() const;
    RECT PageArea() const;
    int DialogUnitsX(int units) const;
    int DialogUnitsY(int units) const;

    HWND m_sheet = nullptr;
    HWND m_tab = nullptr;
    DWORD m_flags = 0;
    HINSTANCE m_instance = nullptr;
    HICON m_icon = nullptr;
    std::wstring m_caption;
    PFNPROPSHEETCALLBACK m_callback = nullptr;
    std::vector<Entry> m_entries;
    int m_current = -1;
    int m_start = 0;
    bool m_modal = false;
    bool m_closed = false;
    bool m_applied = false;
    INT_PTR m_restart = 0;
    INT_PTR m_result = 0;
    bool* m_adopted = nullptr;  // told when the window takes the sheet over
};

}
