#pragma once
// A property sheet as an object: the pages it shows (CPropertyPage objects
// the caller owns), modal through DoModal or modeless through Create, the
// latter also as a child window inside a dialog. The sheet is attached to
// its window before WM_CREATE, so a derived class sees its creation and
// WM_INITDIALOG. Before the window exists the calls keep what they are
// told in m_psh and the page list; afterwards they go to the window.
#include "Platform/Controls/CommCtrl.h"
#include "Platform/Framework/Windows/PropertyPage.h"
#include "Platform/Framework/Windows/Wnd.h"

#include <vector>

class CPropertySheet : public CWnd {
    DECLARE_DYNAMIC(CPropertySheet)
public:
    CPropertySheet() { Construct(nullptr, nullptr, 0); }
    explicit CPropertySheet(UINT captionId, CWnd* parent = nullptr, UINT selectPage = 0);
    explicit CPropertySheet(LPCWSTR caption, CWnd* parent = nullptr, UINT selectPage = 0)
    {
        Construct(caption, parent, selectPage);
    }

    PROPSHEETHEADERW m_psh;

    // --- pages -------------------------------------------------------------------
    void AddPage(CPropertyPage* page);
    void RemovePage(CPropertyPage* page);
    void RemovePage(int index);
    int GetPageCount() const { return static_cast<int>(m_arrPages.size()); }
    CPropertyPage* GetPage(int index) const;
    int GetPageIndex(CPropertyPage* page) const;
    CPropertyPage* GetActivePage() const { return GetPage(GetActiveIndex()); }
    int GetActiveIndex() const;
    // FALSE when the current page refuses to be left or the index is no page.
    BOOL SetActivePage(int index);
    BOOL SetActivePage(CPropertyPage* page) { return SetActivePage(GetPageIndex(page)); }
    // The sheet's tab control (a temporary object while the sheet exists).
    CWnd* GetTabControl() const;
    void SetTitle(LPCWSTR text, UINT style = 0);
    // Stacked rows of tabs (the default) or one row.
    void EnableStackedTabs(BOOL stacked) { m_bStacked = stacked; }
    BOOL IsStackedTabs() const { return m_bStacked; }
    // One of PSBTN_OK, PSBTN_CANCEL, PSBTN_APPLYNOW, PSBTN_HELP.
    BOOL PressButton(int button);

    // --- showing -----------------------------------------------------------------
    // IDOK when the user closed the sheet with OK (or cancelled after an
    // Apply), IDCANCEL when cancelled, -1 when the sheet could not be made.
    virtual INT_PTR DoModal();
    // Modeless, as a pop-up or (with WS_CHILD in `style`) a child of
    // `parent`; a modeless sheet shows no OK, Cancel or Apply buttons.
    using CWnd::Create;
    virtual BOOL Create(CWnd* parent = nullptr, DWORD style = static_cast<DWORD>(-1), DWORD exStyle = 0);
    virtual BOOL OnInitDialog();
    BOOL PreTranslateMessage(MSG* msg) override;

protected:
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    LRESULT HandleInitDialog(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

    BOOL m_bStacked = TRUE;
    BOOL m_bModeless = FALSE;
    CWnd* m_pParentWnd = nullptr;

private:
    void Construct(LPCWSTR caption, CWnd* parent, UINT selectPage);
    // Runs PropertySheetW on the pages' records, attaching this object to the window.
    INT_PTR Show(DWORD flags);
    static int SheetCallback(HWND sheet, UINT message, LPARAM lParam);
    void AdjustTemplate(BYTE* image) const;
    void HideButtons();

    std::vector<CPropertyPage*> m_arrPages;
    std::vector<PROPSHEETPAGEW> m_arrRecords;
    CString m_strCaption;
    DWORD m_dwCreateStyle = 0;
    DWORD m_dwCreateExStyle = 0;
};
