#pragma once
// The message box being assembled: its texts, icon, font and colours, the
// layout of its controls in pixels, and the in-memory dialog template made
// from them. Owns the icon, the font and the white brush until the box ends.
#include "Common/Tessel/MsgBoxButtons.h"
#include "Common/Tessel/MsgBoxItem.h"

#include <vector>

namespace Tessel {

struct MsgBoxRequest {
    CString text;
    UINT type = 0;
    CString caption;
    UINT iconResId = 0;  // an icon of the program; 0: the icon of the kind
};

class CMsgBoxTemplate {
public:
    explicit CMsgBoxTemplate(const MsgBoxRequest& request);
    ~CMsgBoxTemplate();
    CMsgBoxTemplate(const CMsgBoxTemplate&) = delete;
    CMsgBoxTemplate& operator=(const CMsgBoxTemplate&) = delete;

    // The type with the icon kind that the button set implies when none is given.
    static UINT WithDefaultIcon(UINT type);

    // The template image (DLGTEMPLATE layout, no font).
    std::vector<BYTE> Image() const;

    UINT Type() const { return m_type; }
    const CString& Text() const { return m_text; }
    const CString& Caption() const { return m_caption; }
    HFONT Font() const { return m_font; }
    HICON Icon() const { return m_icon; }
    HBRUSH WhiteBrush() const { return m_whiteBrush; }
    const RECT& TextRect() const { return m_textRect; }
    SIZE DialogSize() const { return m_dialogSize; }
    int DefaultButtonId() const { return m_defaultId; }
    UINT CheckBoxFlagOfType() const { return m_checkBoxFlag; }
    const std::vector<CMsgBoxItem>& Items() const { return m_items; }

private:
    struct Metrics {
        int baseX = 0;
        int baseY = 0;
        int buttonWidth = 0;
        int buttonHeight = 0;
        int checkBoxHeight = 0;
    };

    void CreateMessageFont();
    void LoadBoxIcon(UINT iconResId);
    void Layout();
    void MeasureSlots(HDC dc);
    SIZE MeasureText(HDC dc) const;
    void PlaceTextAndIcon(HDC dc);
    void PlaceButtons();
    void PlaceCheckBox(int top);

    UINT m_type = 0;
    CString m_text;
    CString m_caption;
    CMsgBoxCaptions m_captions;
    HFONT m_font = nullptr;
    HICON m_icon = nullptr;
    SIZE m_iconSize{};
    HBRUSH m_whiteBrush = nullptr;
    Metrics m_metrics;
    std::vector<int> m_slotWidths;
    RECT m_textRect{};
    SIZE m_dialogSize{};
    int m_rowTop = 0;
    int m_defaultId = IDOK;
    UINT m_checkBoxFlag = 0;
    std::vector<CMsgBoxItem> m_items;
};

}
