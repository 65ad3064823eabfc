#pragma once
// Message maps: each class keeps one static table of the messages it
// handles, chained to its base's, written with the macros below. An entry
// holds a small function made for exactly the handler it names, so the
// handler is called through a pointer of its own type; the dispatcher only
// unpacks the message for it.

#include "Platform/Framework/Geometry/Point.h"
#include "Platform/Controls/CommCtrl.h"
#include "Platform/Controls/ListControlStyles.h"
#include "Platform/Controls/ComboStyles.h"
#include "Platform/Controls/EditStyles.h"
#include "Platform/Ui/WinUser.h"

// The entry of every WM_CTLCOLOR* message, with the kind as argument.
constexpr UINT WM_CTLCOLOR = 0x0019;

class CCmdTarget;
class CWnd;
class CDC;
class CMenu;
class CScrollBar;
class CCmdUI;

// What a handler's function is given and what it answers.
struct ZellMsgCall {
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    UINT id = 0;             // commands and notifications: the control's id
    void* extra = nullptr;   // command UI: the CCmdUI; notifications: the NMHDR
    LRESULT result = 0;
};

// False when the handler declined (the _EX forms), so routing goes on.
using ZellMsgFunction = bool (*)(CCmdTarget* target, ZellMsgCall& call);

struct AFX_MSGMAP_ENTRY {
    UINT nMessage = 0;
    UINT nCode = 0;    // notification code; for registered messages 0
    UINT nID = 0;
    UINT nLastID = 0;
    ZellMsgFunction pfn = nullptr;
    const UINT* pRegistered = nullptr;  // ON_REGISTERED_MESSAGE: the variable holding the number
};

struct AFX_MSGMAP {
    const AFX_MSGMAP* (*pfnGetBaseMap)() = nullptr;
    const AFX_MSGMAP_ENTRY* lpEntries = nullptr;
};

// Reflected messages come back to the control as WM_REFLECT_BASE + message.
constexpr UINT WM_REFLECT_BASE = 0xBC00;
// The code of command UI updates in a command entry.
constexpr UINT CN_UPDATE_COMMAND_UI = static_cast<UINT>(-1);
constexpr UINT CN_COMMAND = 0;

namespace ZELL::Framework::MsgMap {

// The message number that marks a registered message's entry.
constexpr UINT kRegisteredEntry = 0xC000;

template<typename T> struct MemberOf;
template<typename C, typename R, typename... A> struct MemberOf<R (C::*)(A...)> { using Class = C; };

template<auto F> auto* Self(CCmdTarget* target)
{
    return static_cast<typename MemberOf<decltype(F)>::Class*>(target);
}

// One function per handler shape; `Run` builds the call and the answer.
#define ZELL_MSG_SHAPE(name, ...)                                  \
    template<auto F> bool name(CCmdTarget* target, ZellMsgCall& c) \
    {                                                              \
        auto* self = Self<F>(target);                              \
        __VA_ARGS__;                                               \
        return true;                                               \
    }

inline CPoint PointOf(LPARAM l) { return CPoint(GET_X_LPARAM(l), GET_Y_LPARAM(l)); }
inline UINT Low(WPARAM w) { return LOWORD(w); }
inline UINT High(WPARAM w) { return HIWORD(w); }
template<typename T> T* As(LPARAM l) { return reinterpret_cast<T*>(l); }
CWnd* WndOf(WPARAM handle);
CWnd* WndOf(LPARAM handle);
CDC* DcOf(WPARAM handle);
CScrollBar* ScrollBarOf(LPARAM handle);
CMenu* MenuOf(WPARAM handle);

ZELL_MSG_SHAPE(Void, (self->*F)())
ZELL_MSG_SHAPE(Bool, c.result = (self->*F)())
ZELL_MSG_SHAPE(BoolDc, c.result = (self->*F)(DcOf(c.wParam)))
ZELL_MSG_SHAPE(Mouse, (self->*F)(static_cast<UINT>(c.wParam), PointOf(c.lParam)))
ZELL_MSG_SHAPE(Wheel, c.result = (self->*F)(Low(c.wParam), static_cast<short>(High(c.wParam)), PointOf(c.lParam)))
ZELL_MSG_SHAPE(Timer, (self->*F)(static_cast<UINT_PTR>(c.wParam)))
ZELL_MSG_SHAPE(CtlColor, c.result = reinterpret_cast<LRESULT>((self->*F)(DcOf(c.wParam), WndOf(c.lParam), c.id)))
ZELL_MSG_SHAPE(CtlColorReflect, c.result = reinterpret_cast<LRESULT>((self->*F)(DcOf(c.wParam), c.id)))
ZELL_MSG_SHAPE(SetCursor, c.result = (self->*F)(WndOf(c.wParam), Low(static_cast<WPARAM>(c.lParam)),
                                                 High(static_cast<WPARAM>(c.lParam))))
ZELL_MSG_SHAPE(Focus, (self->*F)(WndOf(c.wParam)))
ZELL_MSG_SHAPE(SysCommand, (self->*F)(static_cast<UINT>(c.wParam), c.lParam))
ZELL_MSG_SHAPE(DrawItem, (self->*F)(static_cast<int>(c.wParam), As<DRAWITEMSTRUCT>(c.lParam)))
ZELL_MSG_SHAPE(MeasureItem, (self->*F)(static_cast<int>(c.wParam), As<MEASUREITEMSTRUCT>(c.lParam)))
ZELL_MSG_SHAPE(DrawItemReflect, (self->*F)(As<DRAWITEMSTRUCT>(c.lParam)))
ZELL_MSG_SHAPE(MeasureItemReflect, (self->*F)(As<MEASUREITEMSTRUCT>(c.lParam)))
ZELL_MSG_SHAPE(MenuChar, c.result = (self->*F)(Low(c.wParam), High(c.wParam), MenuOf(static_cast<WPARAM>(c.lParam))))
ZELL_MSG_SHAPE(Create, c.result = (self->*F)(As<CREATESTRUCTW>(c.lParam)))
ZELL_MSG_SHAPE(Size, (self->*F)(static_cast<UINT>(c.wParam), GET_X_LPARAM(c.lParam), GET_Y_LPARAM(c.lParam)))
ZELL_MSG_SHAPE(Move, (self->*F)(GET_X_LPARAM(c.lParam), GET_Y_LPARAM(c.lParam)))
ZELL_MSG_SHAPE(Scroll, (self->*F)(Low(c.wParam), static_cast<UINT>(static_cast<short>(High(c.wParam))),
                                  ScrollBarOf(c.lParam)))
ZELL_MSG_SHAPE(Key, (self->*F)(static_cast<UINT>(c.wParam), static_cast<UINT>(LOWORD(c.lParam)),
                               static_cast<UINT>(HIWORD(c.lParam))))
ZELL_MSG_SHAPE(Uint, c.result = static_cast<LRESULT>((self->*F)()))
ZELL_MSG_SHAPE(Handle, c.result = reinterpret_cast<LRESULT>((self->*F)()))
ZELL_MSG_SHAPE(MouseActivate, c.result = (self->*F)(WndOf(c.wParam), Low(static_cast<WPARAM>(c.lParam)),
                                                     High(static_cast<WPARAM>(c.lParam))))
ZELL_MSG_SHAPE(Bool1, (self->*F)(static_cast<BOOL>(c.wParam)))
ZELL_MSG_SHAPE(FocusFromLParam, (self->*F)(WndOf(c.lParam)))
ZELL_MSG_SHAPE(MinMax, (self->*F)(As<MINMAXINFO>(c.lParam)))
ZELL_MSG_SHAPE(ShowWindow, (self->*F)(static_cast<BOOL>(c.wParam), static_cast<UINT>(c.lParam)))
ZELL_MSG_SHAPE(Enable, (self->*F)(static_cast<BOOL>(c.wParam)))
ZELL_MSG_SHAPE(HitTest, c.result = static_cast<LRESULT>((self->*F)(PointOf(c.lParam))))
ZELL_MSG_SHAPE(ContextMenu, (self->*F)(WndOf(c.wParam), PointOf(c.lParam)))
ZELL_MSG_SHAPE(InitMenuPopup, (self->*F)(MenuOf(c.wParam), Low(static_cast<WPARAM>(c.lParam)),
                                         static_cast<BOOL>(High(static_cast<WPARAM>(c.lParam)))))
ZELL_MSG_SHAPE(SettingChange, (self->*F)(static_cast<UINT>(c.wParam), reinterpret_cast<LPCWSTR>(c.lParam)))
ZELL_MSG_SHAPE(Activate, (self->*F)(Low(c.wParam), WndOf(c.lParam), static_cast<BOOL>(High(c.wParam))))
ZELL_MSG_SHAPE(ActivateApp, (self->*F)(static_cast<BOOL>(c.wParam), static_cast<DWORD>(c.lParam)))
ZELL_MSG_SHAPE(WindowPos, (self->*F)(As<WINDOWPOS>(c.lParam)))
ZELL_MSG_SHAPE(Message, c.result = (self->*F)(c.wParam, c.lParam))
ZELL_MSG_SHAPE(Command, (self->*F)())
ZELL_MSG_SHAPE(CommandRange, (self->*F)(c.id))
template<auto F> bool CommandEx(CCmdTarget* target, ZellMsgCall& c) { return (Self<F>(target)->*F)(c.id) != FALSE; }
template<auto F> bool ReflectEx(CCmdTarget* target, ZellMsgCall& c) { return (Self<F>(target)->*F)() != FALSE; }
ZELL_MSG_SHAPE(UpdateUi, (self->*F)(static_cast<CCmdUI*>(c.extra)))
ZELL_MSG_SHAPE(Notify, (self->*F)(static_cast<NMHDR*>(c.extra), &c.result))
ZELL_MSG_SHAPE(NotifyRange, (self->*F)(c.id, static_cast<NMHDR*>(c.extra), &c.result))
template<auto F> bool NotifyEx(CCmdTarget* target, ZellMsgCall& c)
{
    return (Self<F>(target)->*F)(c.id, static_cast<NMHDR*>(c.extra), &c.result) != FALSE;
}
template<auto F> bool NotifyReflectEx(CCmdTarget* target, ZellMsgCall& c)
{
    return (Self<F>(target)->*F)(static_cast<NMHDR*>(c.extra), &c.result) != FALSE;
}

#undef ZELL_MSG_SHAPE

}  // namespace ZELL::Framework::MsgMap

#define DECLARE_MESSAGE_MAP()                          \
protected:                                             \
    static const AFX_MSGMAP* GetThisMessageMap();      \
    const AFX_MSGMAP* GetMessageMap() const override;  \
                                                       \
private:

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                            \
    const AFX_MSGMAP* theClass::GetMessageMap() const { return GetThisMessageMap(); }      \
    const AFX_MSGMAP* theClass::GetThisMessageMap()                                        \
    {                                                                                      \
        using ThisClass = theClass;                                                        \
        using TheBaseClass = baseClass;                                                    \
        static const AFX_MSGMAP_ENTRY entries[] = {

#define END_MESSAGE_MAP()                                                              \
    {0, 0, 0, 0, nullptr, nullptr}};                                                   \
        static const AFX_MSGMAP map{&TheBaseClass::GetThisMessageMap, &entries[0]};    \
        return &map;                                                                   \
    }

#define ZELL_ON(message, shape, member) {message, 0, 0, 0, &::ZELL::Framework::MsgMap::shape<&ThisClass::member>, nullptr},

// --- window messages, each with its handler's usual name and arguments ---
#define ON_WM_PAINT() ZELL_ON(WM_PAINT, Void, OnPaint)
#define ON_WM_ERASEBKGND() ZELL_ON(WM_ERASEBKGND, BoolDc, OnEraseBkgnd)
#define ON_WM_MOUSEMOVE() ZELL_ON(WM_MOUSEMOVE, Mouse, OnMouseMove)
#define ON_WM_LBUTTONDOWN() ZELL_ON(WM_LBUTTONDOWN, Mouse, OnLButtonDown)
#define ON_WM_LBUTTONUP() ZELL_ON(WM_LBUTTONUP, Mouse, OnLButtonUp)
#define ON_WM_LBUTTONDBLCLK() ZELL_ON(WM_LBUTTONDBLCLK, Mouse, OnLButtonDblClk)
#define ON_WM_RBUTTONDOWN() ZELL_ON(WM_RBUTTONDOWN, Mouse, OnRButtonDown)
#define ON_WM_RBUTTONUP() ZELL_ON(WM_RBUTTONUP, Mouse, OnRButtonUp)
#define ON_WM_RBUTTONDBLCLK() ZELL_ON(WM_RBUTTONDBLCLK, Mouse, OnRButtonDblClk)
#define ON_WM_NCLBUTTONDOWN() ZELL_ON(WM_NCLBUTTONDOWN, Mouse, OnNcLButtonDown)
#define ON_WM_NCLBUTTONDBLCLK() ZELL_ON(WM_NCLBUTTONDBLCLK, Mouse, OnNcLButtonDblClk)
#define ON_WM_NCRBUTTONDOWN() ZELL_ON(WM_NCRBUTTONDOWN, Mouse, OnNcRButtonDown)
#define ON_WM_NCMOUSEMOVE() ZELL_ON(WM_NCMOUSEMOVE, Mouse, OnNcMouseMove)
#define ON_WM_MOUSEWHEEL() ZELL_ON(WM_MOUSEWHEEL, Wheel, OnMouseWheel)
#define ON_WM_MOUSELEAVE() ZELL_ON(WM_MOUSELEAVE, Void, OnMouseLeave)
#define ON_WM_TIMER() ZELL_ON(WM_TIMER, Timer, OnTimer)
#define ON_WM_CTLCOLOR() ZELL_ON(WM_CTLCOLOR, CtlColor, OnCtlColor)
#define ON_WM_SETCURSOR() ZELL_ON(WM_SETCURSOR, SetCursor, OnSetCursor)
#define ON_WM_SETFOCUS() ZELL_ON(WM_SETFOCUS, Focus, OnSetFocus)
#define ON_WM_KILLFOCUS() ZELL_ON(WM_KILLFOCUS, Focus, OnKillFocus)
#define ON_WM_SYSCOMMAND() ZELL_ON(WM_SYSCOMMAND, SysCommand, OnSysCommand)
#define ON_WM_DRAWITEM() ZELL_ON(WM_DRAWITEM, DrawItem, OnDrawItem)
#define ON_WM_MEASUREITEM() ZELL_ON(WM_MEASUREITEM, MeasureItem, OnMeasureItem)
#define ON_WM_MENUCHAR() ZELL_ON(WM_MENUCHAR, MenuChar, OnMenuChar)
#define ON_WM_CREATE() ZELL_ON(WM_CREATE, Create, OnCreate)
#define ON_WM_DESTROY() ZELL_ON(WM_DESTROY, Void, OnDestroy)
#define ON_WM_NCDESTROY() ZELL_ON(WM_NCDESTROY, Void, OnNcDestroy)
#define ON_WM_SIZE() ZELL_ON(WM_SIZE, Size, OnSize)
#define ON_WM_MOVE() ZELL_ON(WM_MOVE, Move, OnMove)
#define ON_WM_CLOSE() ZELL_ON(WM_CLOSE, Void, OnClose)
#define ON_WM_HSCROLL() ZELL_ON(WM_HSCROLL, Scroll, OnHScroll)
#define ON_WM_VSCROLL() ZELL_ON(WM_VSCROLL, Scroll, OnVScroll)
#define ON_WM_KEYDOWN() ZELL_ON(WM_KEYDOWN, Key, OnKeyDown)
#define ON_WM_KEYUP() ZELL_ON(WM_KEYUP, Key, OnKeyUp)
#define ON_WM_SYSKEYDOWN() ZELL_ON(WM_SYSKEYDOWN, Key, OnSysKeyDown)
#define ON_WM_CHAR() ZELL_ON(WM_CHAR, Key, OnChar)
#define ON_WM_SYSCHAR() ZELL_ON(WM_SYSCHAR, Key, OnSysChar)
#define ON_WM_GETDLGCODE() ZELL_ON(WM_GETDLGCODE, Uint, OnGetDlgCode)
#define ON_WM_SHOWWINDOW() ZELL_ON(WM_SHOWWINDOW, ShowWindow, OnShowWindow)
#define ON_WM_ENABLE() ZELL_ON(WM_ENABLE, Enable, OnEnable)
#define ON_WM_NCHITTEST() ZELL_ON(WM_NCHITTEST, HitTest, OnNcHitTest)
#define ON_WM_CONTEXTMENU() ZELL_ON(WM_CONTEXTMENU, ContextMenu, OnContextMenu)
#define ON_WM_INITMENUPOPUP() ZELL_ON(WM_INITMENUPOPUP, InitMenuPopup, OnInitMenuPopup)
#define ON_WM_SETTINGCHANGE() ZELL_ON(WM_SETTINGCHANGE, SettingChange, OnSettingChange)
#define ON_WM_ACTIVATE() ZELL_ON(WM_ACTIVATE, Activate, OnActivate)
#define ON_WM_ACTIVATEAPP() ZELL_ON(WM_ACTIVATEAPP, ActivateApp, OnActivateApp)
#define ON_WM_WINDOWPOSCHANGED() ZELL_ON(WM_WINDOWPOSCHANGED, WindowPos, OnWindowPosChanged)
#define ON_WM_SYSCOLORCHANGE() ZELL_ON(WM_SYSCOLORCHANGE, Void, OnSysColorChange)
#define ON_WM_TIMECHANGE() ZELL_ON(WM_TIMECHANGE, Void, OnTimeChange)
#define ON_WM_QUERYDRAGICON() ZELL_ON(WM_QUERYDRAGICON, Handle, OnQueryDragIcon)
#define ON_WM_MBUTTONDOWN() ZELL_ON(WM_MBUTTONDOWN, Mouse, OnMButtonDown)
#define ON_WM_MBUTTONUP() ZELL_ON(WM_MBUTTONUP, Mouse, OnMButtonUp)
#define ON_WM_MOUSEACTIVATE() ZELL_ON(WM_MOUSEACTIVATE, MouseActivate, OnMouseActivate)
#define ON_WM_CAPTURECHANGED() ZELL_ON(WM_CAPTURECHANGED, FocusFromLParam, OnCaptureChanged)
#define ON_WM_CANCELMODE() ZELL_ON(WM_CANCELMODE, Void, OnCancelMode)
#define ON_WM_ENTERMENULOOP() ZELL_ON(WM_ENTERMENULOOP, Bool1, OnEnterMenuLoop)
#define ON_WM_NCPAINT() ZELL_ON(WM_NCPAINT, Void, OnNcPaint)
#define ON_WM_WINDOWPOSCHANGING() ZELL_ON(WM_WINDOWPOSCHANGING, WindowPos, OnWindowPosChanging)
#define ON_WM_GETMINMAXINFO() ZELL_ON(WM_GETMINMAXINFO, MinMax, OnGetMinMaxInfo)

// --- any message, registered messages -------------------------------------
#define ON_MESSAGE(message, member) ZELL_ON(message, Message, member)
#define ON_REGISTERED_MESSAGE(variable, member) \
    {::ZELL::Framework::MsgMap::kRegisteredEntry, 0, 0, 0, &::ZELL::Framework::MsgMap::Message<&ThisClass::member>, &(variable)},

// --- commands and control notifications -----------------------------------
#define ON_COMMAND(id, member) {WM_COMMAND, CN_COMMAND, id, id, &::ZELL::Framework::MsgMap::Command<&ThisClass::member>, nullptr},
#define ON_COMMAND_EX(id, member) {WM_COMMAND, CN_COMMAND, id, id, &::ZELL::Framework::MsgMap::CommandEx<&ThisClass::member>, nullptr},
#define ON_COMMAND_RANGE(first, last, member) \
    {WM_COMMAND, CN_COMMAND, first, last, &::ZELL::Framework::MsgMap::CommandRange<&ThisClass::member>, nullptr},
#define ON_CONTROL(code, id, member) {WM_COMMAND, code, id, id, &::ZELL::Framework::MsgMap::Command<&ThisClass::member>, nullptr},
#define ON_CONTROL_RANGE(code, first, last, member) \
    {WM_COMMAND, code, first, last, &::ZELL::Framework::MsgMap::CommandRange<&ThisClass::member>, nullptr},
#define ON_UPDATE_COMMAND_UI(id, member) \
    {WM_COMMAND, CN_UPDATE_COMMAND_UI, id, id, &::ZELL::Framework::MsgMap::UpdateUi<&ThisClass::member>, nullptr},
#define ON_BN_CLICKED(id, member) ON_CONTROL(BN_CLICKED, id, member)
#define ON_BN_DOUBLECLICKED(id, member) ON_CONTROL(BN_DOUBLECLICKED, id, member)
#define ON_EN_CHANGE(id, member) ON_CONTROL(EN_CHANGE, id, member)
#define ON_EN_KILLFOCUS(id, member) ON_CONTROL(EN_KILLFOCUS, id, member)
#define ON_EN_SETFOCUS(id, member) ON_CONTROL(EN_SETFOCUS, id, member)
#define ON_CBN_SELCHANGE(id, member) ON_CONTROL(CBN_SELCHANGE, id, member)
#define ON_CBN_SELENDOK(id, member) ON_CONTROL(CBN_SELENDOK, id, member)
#define ON_CBN_DROPDOWN(id, member) ON_CONTROL(CBN_DROPDOWN, id, member)
#define ON_CBN_CLOSEUP(id, member) ON_CONTROL(CBN_CLOSEUP, id, member)
#define ON_LBN_SELCHANGE(id, member) ON_CONTROL(LBN_SELCHANGE, id, member)
#define ON_LBN_DBLCLK(id, member) ON_CONTROL(LBN_DBLCLK, id, member)
#define ON_NOTIFY(code, id, member) \
    {WM_NOTIFY, static_cast<UINT>(code), id, id, &::ZELL::Framework::MsgMap::Notify<&ThisClass::member>, nullptr},
#define ON_NOTIFY_RANGE(code, first, last, member) \
    {WM_NOTIFY, static_cast<UINT>(code), first, last, &::ZELL::Framework::MsgMap::NotifyRange<&ThisClass::member>, nullptr},
#define ON_NOTIFY_EX(code, id, member) \
    {WM_NOTIFY, static_cast<UINT>(code), id, id, &::ZELL::Framework::MsgMap::NotifyEx<&ThisClass::member>, nullptr},

// --- what a parent reflects back to its control ----------------------------
#define ON_CONTROL_REFLECT(code, member) \
    {WM_REFLECT_BASE + WM_COMMAND, code, 0, 0, &::ZELL::Framework::MsgMap::Command<&ThisClass::member>, nullptr},
#define ON_CONTROL_REFLECT_EX(code, member) \
    {WM_REFLECT_BASE + WM_COMMAND, code, 0, 0, &::ZELL::Framework::MsgMap::ReflectEx<&ThisClass::member>, nullptr},
#define ON_NOTIFY_REFLECT(code, member) \
    {WM_REFLECT_BASE + WM_NOTIFY, static_cast<UINT>(code), 0, 0, &::ZELL::Framework::MsgMap::Notify<&ThisClass::member>, nullptr},
#define ON_NOTIFY_REFLECT_EX(code, member) \
    {WM_REFLECT_BASE + WM_NOTIFY, static_cast<UINT>(code), 0, 0, &::ZELL::Framework::MsgMap::NotifyReflectEx<&ThisClass::member>, nullptr},
#define ON_WM_CTLCOLOR_REFLECT() ZELL_ON(WM_REFLECT_BASE + WM_CTLCOLOR, CtlColorReflect, CtlColor)
#define ON_WM_DRAWITEM_REFLECT() ZELL_ON(WM_REFLECT_BASE + WM_DRAWITEM, DrawItemReflect, DrawItem)
#define ON_WM_MEASUREITEM_REFLECT() ZELL_ON(WM_REFLECT_BASE + WM_MEASUREITEM, MeasureItemReflect, MeasureItem)
