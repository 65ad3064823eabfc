#pragma once
// The tooltip a dialog holds: it owns one super tooltip window, creates it in
// the program's look, adds the dialog's controls with their texts, forwards
// the dialog's messages and hides the tip. Every operation does nothing
// before Create.
#include "Common/Skin/SuperTooltip.h"

#include <memory>
#include <string>

namespace ZELL::Skin {

class CZellTooltip {
public:
    // Leaves a colour of SetGlobalColors as it is.
    static constexpr COLORREF kKeepColor = 0xFF000000;

    CZellTooltip();
    virtual ~CZellTooltip();
    CZellTooltip(const CZellTooltip&) = delete;
    CZellTooltip& operator=(const CZellTooltip&) = delete;

    BOOL Create(CWnd* dialog, BOOL balloon = FALSE);
    void AddTool(CWnd* dialog, int controlId, const std::wstring& body, const std::wstring& header = {},
                 const std::wstring& footer = {});
    void AddToolIds(CWnd* dialog, int controlId, UINT bodyId, UINT headerId = 0, UINT footerId = 0);
    // The bar's buttons, with the texts of their commands' string resources.
    void AddToolBar(HWND bar);
    BOOL RelayEvent(MSG* msg);
    void Hide();
    // The tip window goes (with its dialog, whose tools it shows); a later
    // Create makes a new one.
    void Destroy();
    void SetMaxWidth(int width);
    void ShowHelpTip(POINT screen, const std::wstring& text, HICON icon = nullptr);
    BOOL IsCreated() const { return m_tooltip != nullptr; }
    CSuperTooltip* Tooltip() { return m_tooltip.get(); }

    // The colours wrappers made afterwards start with.
    static void SetGlobalColors(COLORREF begin, COLORREF middle, COLORREF end, COLORREF text);
    static COLORREF GlobalColor(int index);

private:
    CSuperTooltip::SuperToolInfo Record() const;

    std::unique_ptr<CSuperTooltip> m_tooltip;
    COLORREF m_begin = 0;
    COLORREF m_middle = 0;
    COLORREF m_end = 0;
    COLORREF m_text = 0;
};

}  // namespace ZELL::Skin
