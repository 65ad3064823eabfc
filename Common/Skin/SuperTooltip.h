#pragma once
// Tips with a bold header, a body of one or more lines, an optional footer,
// separator rules and images, in one fixed look: the header/body/footer
// description is turned into mark-up and registered as a tool.
#include "Common/Skin/RichToolTip.h"

#include <string>

namespace ZELL::Skin {

class CSuperTooltip : public CRichToolTip {
public:
    static constexpr int kDefaultWidth = 212;
    static constexpr UINT kDefaultFlags = FORGET_ON_HIDE | MOVE_RESTARTS | ENTERABLE;

    struct SuperToolInfo {
        int kind = 1;
        bool addRectLeft = false;
        CWnd* control = nullptr;
        int id = 0;
        UINT flags = kDefaultFlags;  // the tool's behaviour
        int width = 0;               // 0: kDefaultWidth
        std::wstring header;
        std::wstring body = L"must not be empty";
        std::wstring footer;
        bool headerSeparator = false;
        bool footerSeparator = false;
        UINT bodyBitmap = 0;       // bitmap resource beside the body
        UINT footerImageList = 0;  // bitmap resource of a 16x16 strip beside the footer
        UINT key = 0;
        UINT keyValue = 0;
        COLORREF colorBegin = RGB(0xFF, 0xFF, 0xFF);
        COLORREF colorMiddle = 0xF6F2F2;
        COLORREF colorEnd = 0xE0D4D4;
        COLORREF textColor = 0;
    };

    BOOL Create(CWnd* parent, BOOL balloon = FALSE);
    // The look every super tip starts from: small margins and corners, a
    // grey border and a soft shadow, parent notification, a long auto-hide.
    void SetStyleDefaults();
    // The mark-up of the record; the tool gets it with the record's look.
    // The tooltip's defaults (what help tips use) stay as they are.
    std::wstring BuildMarkup(SuperToolInfo& record, ToolInfo& tool);
    void AddSuperTool(SuperToolInfo& record);
    // The bar's buttons get tips in the record's look, their texts from the
    // string resources of their commands ("prompt\nheader\nbody\nfooter").
    void AddToolBar(HWND bar, const SuperToolInfo& record);
    using CRichToolTip::AddToolBar;

    // A string resource "prompt\nheader\nbody\nfooter" into the record's
    // texts; an empty body takes the prompt.
    // "#rrggbb", as colours are written into mark-up.
    static std::wstring ColorText(COLORREF color);
    static void SplitResourceText(const std::wstring& text, SuperToolInfo& record);
    bool ParseResourceText(SuperToolInfo& record) const;

protected:
    bool HitTestToolBar(POINT screen, HWND& window, ToolInfo& tool) override;
    // Whether the desktop fades its tooltips out.
    virtual bool SystemFadesTips() const;

private:
    static std::wstring FontTag(COLORREF color);
    static std::wstring RuleTag(COLORREF color);
    static std::wstring BodyLines(const SuperToolInfo& record);

    SuperToolInfo m_barRecord;
};

}  // namespace ZELL::Skin
