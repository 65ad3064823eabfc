#pragma once
// One page made by CreatePropertySheetPage: a copy of the caller's record
// (with whatever the caller appended), its template read from the module or
// from memory, and the page's dialog once a sheet has shown it. The handle
// the caller gets is checked against the live pages before every use.
#include "Platform/Controls/PropSheetStyles.h"
#include "Platform/Ui/DialogTemplate.h"

#include <string>
#include <vector>

namespace ZELL::Controls {

class CPropertySheetPage {
public:
    // Null, with ERROR_INVALID_PARAMETER, for a record that is missing or
    // shorter than the first version.
    static HPROPSHEETPAGE Create(LPCPROPSHEETPAGEW record);
    // Null for a handle that is no live page.
    static CPropertySheetPage* FromHandle(HPROPSHEETPAGE page);
    static bool Destroy(HPROPSHEETPAGE page);

    ~CPropertySheetPage();
    CPropertySheetPage(const CPropertySheetPage&) = delete;
    CPropertySheetPage& operator=(const CPropertySheetPage&) = delete;

    HPROPSHEETPAGE Handle();
    DWORD Flags() const { return Record().dwFlags; }
    // Reads the template once; false when the module has none of that name
    // or the image is not a whole template.
    bool LoadTemplate();
    // The size the template asks for, in dialog units.
    SIZE TemplateSize() const { return SIZE{m_template.cx, m_template.cy}; }
    // The PSP_USETITLE text (a string or a string id), else the template's caption.
    std::wstring Title() const;
    // The template's resource id, 0 for a named or in-memory template.
    int TemplateId() const;

    HWND Window() const { return m_window; }
    // Makes the page's dialog, hidden, as a control-parent child of the
    // sheet. Null when the page's callback refused or the dialog failed.
    HWND CreateWindowIn(HWND sheet);
    void DestroyWindow();

private:
    CPropertySheetPage() = default;
    const PROPSHEETPAGEW& Record() const { return m_storage.front(); }
    PROPSHEETPAGEW& Record() { return m_storage.front(); }
    UINT Notify(UINT message);

    // The caller's dwSize bytes, in whole records so that the copy is
    // aligned and at least one record long.
    std::vector<PROPSHEETPAGEW> m_storage;
    std::wstring m_templateName;
    std::wstring m_titleText;
    Ui::CDialogTemplate m_template;
    bool m_loaded = false;
    HWND m_window = nullptr;
};

}
