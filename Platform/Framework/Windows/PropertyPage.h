#pragma once
// One page of a CPropertySheet: a dialog made from its template when the
// sheet first shows it, which the sheet tells when it is entered, left,
// applied and reset. Entering writes the members into the controls (the
// first time OnInitDialog does), leaving reads them back and keeps the page
// when a value does not validate. The page's record (m_psp) is what the
// sheet makes the page from; the page's object travels in its lParam.
#include "Platform/Controls/CommCtrl.h"
#include "Platform/Framework/Windows/Dialog.h"

class CPropertySheet;

class CPropertyPage : public CDialog {
    DECLARE_DYNAMIC(CPropertyPage)
public:
    // The constructors note the deliverable whose resources hold the template.
    __attribute__((visibility("hidden"))) CPropertyPage() { Init(Ui::GetResourceModule(), nullptr, 0, sizeof(PROPSHEETPAGEW)); }
    __attribute__((visibility("hidden"))) explicit CPropertyPage(UINT templateId, UINT captionId = 0,
                                                                DWORD size = sizeof(PROPSHEETPAGEW))
        : CDialog(templateId)
    {
        Init(Ui::GetResourceModule(), MAKEINTRESOURCEW(templateId), captionId, size);
    }
    __attribute__((visibility("hidden"))) explicit CPropertyPage(LPCWSTR templateName, UINT captionId = 0,
                                                                DWORD size = sizeof(PROPSHEETPAGEW))
        : CDialog(templateName)
    {
        Init(Ui::GetResourceModule(), templateName, captionId, size);
    }
    // A template in memory instead of the resource.
    void ConstructIndirect(LPCDLGTEMPLATEW dialogTemplate, UINT captionId = 0);

    PROPSHEETPAGEW m_psp;

    // The sheet's notifications. OnSetActive and OnQueryCancel answer
    // whether the page agrees; OnKillActive and OnApply whether its values
    // hold; OnApply calls OnOK and OnReset calls OnCancel.
    virtual BOOL OnSetActive();
    virtual BOOL OnKillActive();
    virtual BOOL OnApply();
    virtual void OnReset();
    virtual BOOL OnQueryCancel();
    // Pressing the sheet's OK or Cancel: nothing to end, the sheet closes.
    void OnOK() override;
    void OnCancel() override;

    // Enables the sheet's Apply button (or, with FALSE, disables it when no
    // other page is changed either).
    void SetModified(BOOL changed = TRUE);
    BOOL IsModified() const { return m_bChanged; }
    // PSM_QUERYSIBLINGS through the sheet: the first page's non-zero answer.
    LRESULT QuerySiblings(WPARAM wParam, LPARAM lParam);
    CPropertySheet* GetParentSheet() const;

    // The page leaves its keys to the sheet and the dialog around it.
    BOOL PreTranslateMessage(MSG* msg) override;

protected:
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) override;
    void OnSheetCommand(UINT id);
    DECLARE_MESSAGE_MAP()

private:
    void Init(HINSTANCE module, LPCWSTR templateName, UINT captionId, DWORD size);
    // The page's dialog procedure: it attaches the page to its window at
    // WM_INITDIALOG, when the record copy brings the object.
    static INT_PTR PageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnSheetNotify(UINT code);

    CString m_strCaption;
    BOOL m_bFirstSetActive = TRUE;
    BOOL m_bChanged = FALSE;
};
