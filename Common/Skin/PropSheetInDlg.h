#pragma once
// A property sheet that lives as a child window inside a dialog, laid over a
// placeholder control there. It takes the program's dialog font, keeps its
// tabs on one row unless stacked tabs were asked for, and paints its pages
// white while a visual style is active.
#include "Platform/Base/CString.h"
#include "Platform/Framework/Drawing/Brush.h"
#include "Platform/Framework/Drawing/Font.h"
#include "Platform/Framework/Windows/PropertySheet.h"
#include "Platform/Framework/Geometry/Rect.h"

#include <list>
#include <string>

namespace ZELL::Skin {

class CPropSheetInDlg : public CPropertySheet {
public:
    CPropSheetInDlg() = default;
    CPropSheetInDlg(CWnd* parentDialog, UINT placeholderId);
    ~CPropSheetInDlg() override;

    // A non-empty title becomes the page's tab caption; the sheet keeps its
    // own copy, so the caller's text may go at once.
    void AddPage(CPropertyPage* page, LPCWSTR title);
    void AddPage(CPropertyPage* page, const CString& title) { AddPage(page, static_cast<LPCWSTR>(title)); }
    // Lays the sheet over the placeholder; a null parent or a 0 id keeps the
    // stored one. `tabStyle` is added to the tab control's style.
    BOOL FitToPlaceholder(CWnd* parentDialog = nullptr, UINT placeholderId = 0, DWORD tabStyle = 0);
    // False while the sheet has no window or no tab control.
    bool SetTabText(int tab, LPCWSTR text);
    // The tabs' side padding, narrowed from the usual one as far as it takes
    // to keep every tab on the row (a row that scrolls hides tabs); the
    // padding chosen.
    int FitTabsToRow();

    static constexpr int kTabPadding = 6;
    static constexpr int kNarrowestTabPadding = 2;
    static constexpr int kTabPaddingHeight = 3;
    static void SetGlobalFont(const LOGFONTW& font);

    BOOL OnInitDialog() override;

protected:
    int OnCreate(CREATESTRUCTW* create);
    HBRUSH OnCtlColor(CDC* dc, CWnd* wnd, UINT ctlColor);
    DECLARE_MESSAGE_MAP()

private:
    void ApplyFont();
    void PlaceOver(const CRect& area);
    bool TabsOverflow(CWnd& tab) const;

    CWnd* m_parentDialog = nullptr;
    UINT m_placeholderId = 0;
    LOGFONTW m_logFont{};
    CFont m_font;
    CBrush m_whiteBrush;
    // The page titles: pages point into these until they are created, and
    // a list never moves its elements.
    std::list<std::wstring> m_titles;

    static LOGFONTW s_globalFont;
    static BOOL s_globalFontGiven;
};

}  // namespace ZELL::Skin
