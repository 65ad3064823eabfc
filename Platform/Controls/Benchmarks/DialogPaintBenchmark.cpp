// What a dialog costs from its template to its first complete picture: forty
// standard controls created with CreateDialogIndirectParamW, shown, painted
// once with UpdateWindow and destroyed, beside the same rectangles, 3-D
// frames, check and radio glyphs and texts drawn directly into a memory DC of
// the dialog's size. Both sides run in every iteration, in alternating order;
// `ratio_median` is the median of the per-iteration ratios, `ratio_spread_pct`
// the width of their middle half, `dialog_ms` the dialog's absolute time.
// Edit and combo box controls are not part of the template: this branch has
// neither yet.
#include "Platform/Controls/CommCtrl.h"
#include "Platform/Controls/ControlStyles.h"
#include "Platform/Controls/ListControlStyles.h"
#include "Platform/Controls/StandardControls.h"
#include "Platform/Controls/Tests/TemplateItems.h"
#include "Platform/Gdi/Gdi.h"
#include "Platform/Ui/DialogTemplate.h"
#include "Platform/Ui/Tests/WindowText.h"
#include "Platform/Ui/Dialogs.h"
#include "Platform/Ui/WinUser.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cwctype>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
using namespace ControlTest;

double Seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

constexpr int kFirstList = 300;
constexpr int kLists = 2;
constexpr int kFirstProgress = 310;
constexpr int kProgresses = 3;
constexpr int kFirstSpin = 320;
constexpr int kSpins = 2;
constexpr int kCheckOn = 330;
constexpr int kRadioOn = 341;
constexpr std::array<const wchar_t*, 5> kListItems = {L"Eingangsfilter", L"délai 10 ms", L"Kanal 4", L"Überwachung",
                                                      L"timeout"};

// Forty controls, laid out as a settings page would be.
Ui::CDialogTemplate FortyControls()
{
    Ui::CDialogTemplate dt;
    dt.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_SETFONT | DS_MODALFRAME | DS_ABSALIGN;
    dt.x = 20;
    dt.y = 20;
    dt.cx = 300;
    dt.cy = 220;
    dt.caption = L"Channel settings";
    dt.pointSize = 8;
    dt.faceName = L"MS Shell Dlg";
    dt.items = {
        Static(L"&Name of the channel:", SS_LEFT, 7, 7, 80, 8),
        Static(L"Input 4, analogue", SS_LEFT | SS_SUNKEN, 90, 6, 100, 10),
        Static(L"Centred note", SS_CENTER, 193, 7, 100, 8),
        Static(L"Right aligned", SS_RIGHT, 7, 20, 80, 8),
        Static(L"A longer explanation that wraps onto a second line of the label", SS_LEFT, 90, 19, 203, 18),
        Static(L"", SS_ETCHEDHORZ, 7, 40, 286, 1),
        Button(L"&Filter", -1, BS_GROUPBOX, 7, 45, 140, 70),
        Button(L"&Enabled", kCheckOn, BS_AUTOCHECKBOX | WS_TABSTOP | WS_GROUP, 14, 57, 120, 10),
        Button(L"&Averaged", kCheckOn + 1, BS_AUTOCHECKBOX | WS_TABSTOP, 14, 70, 120, 10),
        Button(L"&Inverted", kCheckOn + 2, BS_AUTO3STATE | WS_TABSTOP, 14, 83, 120, 10),
        Button(L"&Latched", kCheckOn + 3, BS_AUTOCHECKBOX | WS_TABSTOP, 14, 96, 120, 10),
        Button(L"&Range", -1, BS_GROUPBOX, 153, 45, 140, 70),
        Button(L"0 to &10 V", kRadioOn - 1, BS_AUTORADIOBUTTON | WS_TABSTOP | WS_GROUP, 160, 57, 120, 10),
        Button(L"&-10 to 10 V", kRadioOn, BS_AUTORADIOBUTTON, 160, 70, 120, 10),
        Button(L"&4 to 20 mA", kRadioOn + 1, BS_AUTORADIOBUTTON, 160, 83, 120, 10),
        Button(L"&0 to 20 mA", kRadioOn + 2, BS_AUTORADIOBUTTON, 160, 96, 120, 10),
        Static(L"&Sources:", SS_LEFT, 7, 120, 60, 8),
        Predefined(Ui::kClassListBox, kFirstList, LBS_NOTIFY | WS_BORDER | WS_TABSTOP, 7, 130, 90, 40),
        Static(L"&Targets:", SS_LEFT, 103, 120, 60, 8),
        Predefined(Ui::kClassListBox, kFirstList + 1, LBS_NOTIFY | WS_BORDER | WS_TABSTOP, 103, 130, 90, 40),
        Static(L"Load:", SS_LEFT, 199, 120, 30, 8),
        Common(L"msctls_progress32", kFirstProgress, WS_BORDER, 232, 119, 61, 10),
        Static(L"Buffer:", SS_LEFT, 199, 133, 30, 8),
        Common(L"msctls_progress32", kFirstProgress + 1, WS_BORDER | PBS_SMOOTH, 232, 132, 61, 10),
        Static(L"Errors:", SS_LEFT, 199, 146, 30, 8),
        Common(L"msctls_progress32", kFirstProgress + 2, WS_BORDER, 232, 145, 61, 10),
        Static(L"Cycle:", SS_LEFT, 199, 160, 30, 8),
        Static(L"0", SS_RIGHT | SS_SUNKEN, 232, 158, 40, 12),
        Common(L"msctls_updown32", kFirstSpin, UDS_SETBUDDYINT | UDS_ALIGNRIGHT | UDS_AUTOBUDDY | UDS_ARROWKEYS, 0, 0,
               11, 12),
        Static(L"Retries:", SS_LEFT, 199, 174, 30, 8),
        Static(L"0", SS_RIGHT | SS_SUNKEN, 232, 172, 40, 12),
        Common(L"msctls_updown32", kFirstSpin + 1, UDS_SETBUDDYINT | UDS_ALIGNRIGHT | UDS_AUTOBUDDY | UDS_ARROWKEYS, 0,
               0, 11, 12),
        Predefined(Ui::kClassScrollBar, -1, SBS_HORZ, 7, 174, 186, 10),
        Predefined(Ui::kClassScrollBar, -1, SBS_VERT, 283, 119, 10, 50),
        Static(L"", SS_ETCHEDHORZ, 7, 190, 286, 1),
        Static(L"Changes are sent on OK.", SS_LEFT, 7, 202, 80, 8),
        Button(L"&Defaults", 400, BS_PUSHBUTTON | WS_TABSTOP | WS_GROUP, 90, 199, 50, 14),
        Button(L"&Apply", 401, BS_PUSHBUTTON | WS_TABSTOP | WS_DISABLED, 143, 199, 47, 14),
        Button(L"OK", IDOK, BS_DEFPUSHBUTTON | WS_TABSTOP, 193, 199, 47, 14),
        Button(L"Cancel", IDCANCEL, BS_PUSHBUTTON | WS_TABSTOP, 243, 199, 50, 14),
    };
    return dt;
}

const std::vector<BYTE>& TemplateImage()
{
    static const std::vector<BYTE> image = FortyControls().ToImage();
    return image;
}

INT_PTR FortyProc(HWND dialog, UINT message, WPARAM, LPARAM)
{
    if (message != WM_INITDIALOG)
        return FALSE;
    CheckDlgButton(dialog, kCheckOn, BST_CHECKED);
    CheckDlgButton(dialog, kCheckOn + 2, BST_INDETERMINATE);
    CheckRadioButton(dialog, kRadioOn - 1, kRadioOn + 2, kRadioOn);
    for (int list = 0; list < kLists; ++list) {
        for (const wchar_t* text : kListItems)
            SendDlgItemMessageW(dialog, kFirstList + list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
        SendDlgItemMessageW(dialog, kFirstList + list, LB_SETCURSEL, static_cast<WPARAM>(list + 1), 0);
    }
    for (int bar = 0; bar < kProgresses; ++bar)
        SendDlgItemMessageW(dialog, kFirstProgress + bar, PBM_SETPOS, static_cast<WPARAM>(30 + 25 * bar), 0);
    for (int spin = 0; spin < kSpins; ++spin) {
        SendDlgItemMessageW(dialog, kFirstSpin + spin, UDM_SETRANGE32, 0, 100);
        SendDlgItemMessageW(dialog, kFirstSpin + spin, UDM_SETPOS32, 0, 20 + spin);
    }
    return TRUE;
}

void DrainQueue()
{
    MSG msg;
    for (int n = 0; n < 1000 && PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE); ++n)
        DispatchMessageW(&msg);
}

// Where the dialog's time goes, summed over the iterations.
struct DialogPhases {
    Clock::duration create{};
    Clock::duration show{};
    Clock::duration paint{};
    Clock::duration destroy{};
};

// The whole path a program takes to its first painted dialog, and back.
bool ShowDialogOnce(DialogPhases& phases)
{
    const auto t0 = Clock::now();
    HWND dialog = CreateDialogIndirectParamW(nullptr, reinterpret_cast<LPCDLGTEMPLATEW>(TemplateImage().data()),
                                             nullptr, &FortyProc, 0);
    if (dialog == nullptr)
        return false;
    const auto t1 = Clock::now();
    ShowWindow(dialog, SW_SHOW);
    const auto t2 = Clock::now();
    UpdateWindow(dialog);
    const auto t3 = Clock::now();
    DestroyWindow(dialog);
    DrainQueue();
    const auto t4 = Clock::now();
    phases.create += t1 - t0;
    phases.show += t2 - t1;
    phases.paint += t3 - t2;
    phases.destroy += t4 - t3;
    return true;
}

// ---------------------------------------------------------------------------
// The same picture drawn directly
// ---------------------------------------------------------------------------

enum class Kind { Label, SunkenLabel, Etched, GroupBox, Push, DefaultPush, Check, Radio, List, Progress, Spin, HScroll, VScroll };

struct Control {
    Kind kind = Kind::Label;
    RECT box{};  // in window coordinates
    std::wstring text;
    UINT textFormat = DT_LEFT;
    bool disabled = false;
    UINT glyphState = 0;
    std::vector<std::wstring> items;
    int selected = -1;
    int percent = 0;
};

using UiTest::TextOf;

std::wstring ClassOf(HWND hwnd)
{
    wchar_t buffer[64] = {};
    GetClassNameW(hwnd, buffer, 64);
    std::wstring name = buffer;
    std::transform(name.begin(), name.end(), name.begin(), [](wchar_t c) { return static_cast<wchar_t>(std::towlower(c)); });
    return name;
}

Kind ButtonKind(DWORD style)
{
    switch (style & BS_TYPEMASK) {
    case BS_GROUPBOX:
        return Kind::GroupBox;
    case BS_DEFPUSHBUTTON:
        return Kind::DefaultPush;
    case BS_CHECKBOX:
    case BS_AUTOCHECKBOX:
    case BS_3STATE:
    case BS_AUTO3STATE:
        return Kind::Check;
    case BS_RADIOBUTTON:
    case BS_AUTORADIOBUTTON:
        return Kind::Radio;
    default:
        return Kind::Push;
    }
}

Kind StaticKind(DWORD style)
{
    if ((style & SS_TYPEMASK) == SS_ETCHEDHORZ)
        return Kind::Etched;
    return (style & SS_SUNKEN) != 0 ? Kind::SunkenLabel : Kind::Label;
}

UINT StaticFormat(DWORD style)
{
    switch (style & SS_TYPEMASK) {
    case SS_CENTER:
        return DT_CENTER | DT_WORDBREAK;
    case SS_RIGHT:
        return DT_RIGHT | DT_WORDBREAK;
    default:
        return DT_LEFT | DT_WORDBREAK;
    }
}

void DescribeButton(HWND child, DWORD style, Control& c)
{
    c.kind = ButtonKind(style);
    c.textFormat = c.kind == Kind::Push || c.kind == Kind::DefaultPush
                       ? DT_CENTER | DT_VCENTER | DT_SINGLELINE
                       : DT_LEFT | DT_VCENTER | DT_SINGLELINE;
    const auto check = SendMessageW(child, BM_GETCHECK, 0, 0);
    if (c.kind == Kind::Check)
        c.glyphState = DFCS_BUTTONCHECK | (check == BST_CHECKED ? DFCS_CHECKED : 0) |
                       (check == BST_INDETERMINATE ? DFCS_BUTTON3STATE | DFCS_CHECKED : 0);
    if (c.kind == Kind::Radio)
        c.glyphState = DFCS_BUTTONRADIO | (check == BST_CHECKED ? DFCS_CHECKED : 0);
}

void DescribeList(HWND child, Control& c)
{
    c.kind = Kind::List;
    const auto count = SendMessageW(child, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        wchar_t buffer[128] = {};
        if (SendMessageW(child, LB_GETTEXTLEN, static_cast<WPARAM>(i), 0) < 128)
            SendMessageW(child, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(buffer));
        c.items.emplace_back(buffer);
    }
    c.selected = static_cast<int>(SendMessageW(child, LB_GETCURSEL, 0, 0));
}

Control Describe(HWND child, POINT clientOrigin)
{
    Control c;
    const DWORD style = static_cast<DWORD>(GetWindowLongW(child, GWL_STYLE));
    RECT box{};
    GetWindowRect(child, &box);
    MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&box), 2);
    OffsetRect(&box, clientOrigin.x, clientOrigin.y);
    c.box = box;
    c.text = TextOf(child);
    c.disabled = (style & WS_DISABLED) != 0;
    const std::wstring cls = ClassOf(child);
    if (cls == L"button") {
        DescribeButton(child, style, c);
    } else if (cls == L"listbox") {
        DescribeList(child, c);
    } else if (cls == L"msctls_progress32") {
        c.kind = Kind::Progress;
        c.percent = static_cast<int>(SendMessageW(child, PBM_GETPOS, 0, 0));
    } else if (cls == L"msctls_updown32") {
        c.kind = Kind::Spin;
    } else if (cls == L"scrollbar") {
        c.kind = (style & SBS_VERT) != 0 ? Kind::VScroll : Kind::HScroll;
    } else {
        c.kind = StaticKind(style);
        c.textFormat = StaticFormat(style);
    }
    return c;
}

// The dialog once, taken apart into what the direct side draws.
struct Scene {
    SIZE window{};
    RECT caption{};
    std::wstring title;
    LOGFONTW font{};
    std::vector<Control> controls;
};

Scene Capture()
{
    Scene scene;
    HWND dialog = CreateDialogIndirectParamW(nullptr, reinterpret_cast<LPCDLGTEMPLATEW>(TemplateImage().data()),
                                             nullptr, &FortyProc, 0);
    if (dialog == nullptr)
        return scene;
    RECT frame{};
    GetWindowRect(dialog, &frame);
    POINT origin{0, 0};
    ClientToScreen(dialog, &origin);
    origin.x -= frame.left;
    origin.y -= frame.top;
    scene.window = {frame.right - frame.left, frame.bottom - frame.top};
    scene.caption = {3, 3, scene.window.cx - 3, origin.y - 1};
    scene.title = TextOf(dialog);
    auto font = reinterpret_cast<HFONT>(SendMessageW(dialog, WM_GETFONT, 0, 0));
    GetObjectW(font, sizeof scene.font, &scene.font);
    for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT))
        scene.controls.push_back(Describe(child, origin));
    DestroyWindow(dialog);
    DrainQueue();
    return scene;
}

class DirectPainter {
public:
    explicit DirectPainter(const Scene& scene_) : scene(scene_)
    {
        screen = GetDC(nullptr);
        memory = CreateCompatibleDC(screen);
        bitmap = CreateCompatibleBitmap(screen, scene.window.cx, scene.window.cy);
        oldBitmap = SelectObject(memory, bitmap);
    }
    ~DirectPainter()
    {
        SelectObject(memory, oldBitmap);
        DeleteObject(bitmap);
        DeleteDC(memory);
        ReleaseDC(nullptr, screen);
    }
    DirectPainter(const DirectPainter&) = delete;
    DirectPainter& operator=(const DirectPainter&) = delete;

    bool Ready() const { return memory != nullptr && bitmap != nullptr; }

    // The font is made and dropped each time, as the dialog makes its own.
    void Paint()
    {
        HFONT font = CreateFontIndirectW(&scene.font);
        HGDIOBJ oldFont = SelectObject(memory, font);
        SetBkMode(memory, TRANSPARENT);
        PaintFrame();
        for (const Control& c : scene.controls)
            PaintControl(c);
        SelectObject(memory, oldFont);
        DeleteObject(font);
    }

private:
    void Text(const std::wstring& text, RECT box, UINT format, bool disabled)
    {
        SetTextColor(memory, GetSysColor(disabled ? COLOR_GRAYTEXT : COLOR_BTNTEXT));
        DrawTextW(memory, text.c_str(), static_cast<int>(text.size()), &box, format);
    }

    void PaintFrame()
    {
        RECT all{0, 0, scene.window.cx, scene.window.cy};
        FillRect(memory, &all, GetSysColorBrush(COLOR_BTNFACE));
        DrawEdge(memory, &all, EDGE_RAISED, BF_RECT);
        FillRect(memory, &scene.caption, GetSysColorBrush(COLOR_ACTIVECAPTION));
        RECT title = scene.caption;
        title.left += 4;
        SetTextColor(memory, GetSysColor(COLOR_CAPTIONTEXT));
        DrawTextW(memory, scene.title.c_str(), static_cast<int>(scene.title.size()), &title,
                  DT_LEFT | DT_VCENTER | DT_SINGLELINE);
        const int button = scene.caption.bottom - scene.caption.top - 4;
        RECT close{scene.caption.right - button - 2, scene.caption.top + 2, scene.caption.right - 2,
                   scene.caption.bottom - 2};
        DrawFrameControl(memory, &close, DFC_CAPTION, DFCS_CAPTIONCLOSE);
    }

    void PaintControl(const Control& c)
    {
        RECT box = c.box;
        switch (c.kind) {
        case Kind::Label:
            Text(c.text, box, c.textFormat, c.disabled);
            break;
        case Kind::SunkenLabel:
            DrawEdge(memory, &box, BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
            Text(c.text, box, c.textFormat, c.disabled);
            break;
        case Kind::Etched:
            DrawEdge(memory, &box, EDGE_ETCHED, BF_TOP);
            break;
        case Kind::GroupBox:
            PaintGroupBox(c);
            break;
        case Kind::Push:
        case Kind::DefaultPush:
            PaintPush(c);
            break;
        case Kind::Check:
        case Kind::Radio:
            PaintGlyphButton(c);
            break;
        case Kind::List:
            PaintList(c);
            break;
        case Kind::Progress:
            PaintProgress(c);
            break;
        case Kind::Spin:
            PaintSpin(c);
            break;
        case Kind::HScroll:
        case Kind::VScroll:
            PaintScrollBar(c);
            break;
        }
    }

    void PaintGroupBox(const Control& c)
    {
        RECT frame = c.box;
        frame.top += 6;
        DrawEdge(memory, &frame, EDGE_ETCHED, BF_RECT);
        RECT label{c.box.left + 8, c.box.top, c.box.right - 8, c.box.top + 13};
        DrawTextW(memory, c.text.c_str(), static_cast<int>(c.text.size()), &label, DT_CALCRECT | DT_SINGLELINE);
        FillRect(memory, &label, GetSysColorBrush(COLOR_BTNFACE));
        Text(c.text, label, DT_LEFT | DT_SINGLELINE, c.disabled);
    }

    void PaintPush(const Control& c)
    {
        RECT box = c.box;
        if (c.kind == Kind::DefaultPush) {
            FrameRect(memory, &box, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
            InflateRect(&box, -1, -1);
        }
        DrawFrameControl(memory, &box, DFC_BUTTON, DFCS_BUTTONPUSH | (c.disabled ? DFCS_INACTIVE : 0));
        Text(c.text, box, c.textFormat, c.disabled);
    }

    void PaintGlyphButton(const Control& c)
    {
        const int middle = (c.box.top + c.box.bottom) / 2;
        RECT glyph{c.box.left, middle - 6, c.box.left + 13, middle + 7};
        DrawFrameControl(memory, &glyph, DFC_BUTTON, c.glyphState | (c.disabled ? DFCS_INACTIVE : 0));
        RECT label = c.box;
        label.left += 17;
        Text(c.text, label, c.textFormat, c.disabled);
    }

    void PaintList(const Control& c)
    {
        RECT box = c.box;
        DrawEdge(memory, &box, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
        FillRect(memory, &box, GetSysColorBrush(COLOR_WINDOW));
        constexpr int kItemHeight = 13;
        for (std::size_t i = 0; i < c.items.size(); ++i) {
            RECT row{box.left, box.top + static_cast<int>(i) * kItemHeight, box.right,
                     box.top + static_cast<int>(i + 1) * kItemHeight};
            if (row.top >= box.bottom)
                break;
            const bool selected = static_cast<int>(i) == c.selected;
            if (selected)
                FillRect(memory, &row, GetSysColorBrush(COLOR_HIGHLIGHT));
            SetTextColor(memory, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
            row.left += 2;
            DrawTextW(memory, c.items[i].c_str(), static_cast<int>(c.items[i].size()), &row,
                      DT_LEFT | DT_SINGLELINE | DT_NOPREFIX);
        }
    }

    void PaintProgress(const Control& c)
    {
        RECT box = c.box;
        DrawEdge(memory, &box, BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
        FillRect(memory, &box, GetSysColorBrush(COLOR_BTNFACE));
        const int filled = box.left + (box.right - box.left) * c.percent / 100;
        const int block = std::max(2, (box.bottom - box.top) * 2 / 3);
        for (int x = box.left + 1; x < filled; x += block + 2) {
            RECT piece{x, box.top + 1, std::min(x + block, filled), box.bottom - 1};
            FillRect(memory, &piece, GetSysColorBrush(COLOR_HIGHLIGHT));
        }
    }

    void PaintSpin(const Control& c)
    {
        const int middle = (c.box.top + c.box.bottom) / 2;
        RECT up{c.box.left, c.box.top, c.box.right, middle};
        RECT down{c.box.left, middle, c.box.right, c.box.bottom};
        DrawFrameControl(memory, &up, DFC_SCROLL, DFCS_SCROLLUP);
        DrawFrameControl(memory, &down, DFC_SCROLL, DFCS_SCROLLDOWN);
    }

    void PaintScrollBar(const Control& c)
    {
        const bool vertical = c.kind == Kind::VScroll;
        const int arrow = vertical ? c.box.right - c.box.left : c.box.bottom - c.box.top;
        RECT first = c.box;
        RECT last = c.box;
        RECT track = c.box;
        if (vertical) {
            first.bottom = first.top + arrow;
            last.top = last.bottom - arrow;
            track = {c.box.left, first.bottom, c.box.right, last.top};
        } else {
            first.right = first.left + arrow;
            last.left = last.right - arrow;
            track = {first.right, c.box.top, last.left, c.box.bottom};
        }
        DrawFrameControl(memory, &first, DFC_SCROLL, vertical ? DFCS_SCROLLUP : DFCS_SCROLLLEFT);
        DrawFrameControl(memory, &last, DFC_SCROLL, vertical ? DFCS_SCROLLDOWN : DFCS_SCROLLRIGHT);
        FillRect(memory, &track, GetSysColorBrush(COLOR_SCROLLBAR));
        RECT thumb = track;
        if (vertical)
            thumb.bottom = thumb.top + arrow;
        else
            thumb.right = thumb.left + arrow;
        DrawEdge(memory, &thumb, EDGE_RAISED, BF_RECT | BF_MIDDLE);
    }

    const Scene& scene;
    HDC screen = nullptr;
    HDC memory = nullptr;
    HBITMAP bitmap = nullptr;
    HGDIOBJ oldBitmap = nullptr;
};

// The value below which `share` of the sorted values lie.
double Quantile(const std::vector<double>& sorted, double share)
{
    const double at = share * static_cast<double>(sorted.size() - 1);
    const auto below = static_cast<std::size_t>(at);
    const std::size_t above = std::min(below + 1, sorted.size() - 1);
    return sorted[below] + (sorted[above] - sorted[below]) * (at - static_cast<double>(below));
}

void ReportFigures(benchmark::State& state, std::vector<double> ratios, std::vector<double> dialogTimes,
                   double directSeconds)
{
    if (ratios.empty() || dialogTimes.empty())
        return;
    std::sort(ratios.begin(), ratios.end());
    std::sort(dialogTimes.begin(), dialogTimes.end());
    const double median = Quantile(ratios, 0.5);
    state.counters["ratio_median"] = median;
    state.counters["ratio_spread_pct"] = (Quantile(ratios, 0.75) - Quantile(ratios, 0.25)) / median * 100.0;
    state.counters["dialog_ms"] = Quantile(dialogTimes, 0.5) * 1e3;
    state.counters["dialog_max_ms"] = dialogTimes.back() * 1e3;
    state.counters["direct_ms"] = directSeconds / static_cast<double>(state.iterations()) * 1e3;
}

void BM_FortyControlDialog(benchmark::State& state)
{
    if (!ZELL::Controls::RegisterStandardControls()) {
        state.SkipWithError("the standard controls are not registered");
        return;
    }
    const Scene scene = Capture();
    if (scene.controls.size() != 40) {
        state.SkipWithError("the dialog does not have its forty controls");
        return;
    }
    DirectPainter direct(scene);
    if (!direct.Ready()) {
        state.SkipWithError("no memory DC");
        return;
    }
    std::vector<double> ratios;
    std::vector<double> dialogTimes;
    DialogPhases phases;
    double directSeconds = 0;
    bool dialogFirst = true;
    for (auto _ : state) {
        const auto t0 = Clock::now();
        const bool shown = dialogFirst ? ShowDialogOnce(phases) : (direct.Paint(), true);
        const auto t1 = Clock::now();
        const bool shownToo = dialogFirst ? (direct.Paint(), true) : ShowDialogOnce(phases);
        const auto t2 = Clock::now();
        benchmark::ClobberMemory();
        if (!shown || !shownToo) {
            state.SkipWithError("the dialog could not be created");
            return;
        }
        const double dialog = Seconds(dialogFirst ? t1 - t0 : t2 - t1);
        const double drawn = Seconds(dialogFirst ? t2 - t1 : t1 - t0);
        dialogTimes.push_back(dialog);
        directSeconds += drawn;
        if (drawn > 0)
            ratios.push_back(dialog / drawn);
        state.SetIterationTime(dialog);
        dialogFirst = !dialogFirst;
    }
    ReportFigures(state, std::move(ratios), std::move(dialogTimes), directSeconds);
    state.counters["controls"] = static_cast<double>(scene.controls.size());
    const double n = static_cast<double>(state.iterations());
    state.counters["create_ms"] = Seconds(phases.create) / n * 1e3;
    state.counters["show_ms"] = Seconds(phases.show) / n * 1e3;
    state.counters["paint_ms"] = Seconds(phases.paint) / n * 1e3;
    state.counters["destroy_ms"] = Seconds(phases.destroy) / n * 1e3;
}

}  // namespace

BENCHMARK(BM_FortyControlDialog)->Unit(benchmark::kMillisecond)->UseManualTime()->MinTime(2.0);
