#include "EditTestSupport.h"

#include "Platform/Controls/EditText.h"

using namespace EditTest;
using ControlTest::Scene;

namespace {

constexpr DWORD kSingle = ES_AUTOHSCROLL;
constexpr DWORD kMulti = ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN | WS_VSCROLL;

std::vector<WORD> EditCodes(const Scene& s, int id = kEditId)
{
    std::vector<WORD> codes;
    for (const ControlTest::Note& n : s.Notes(WM_COMMAND))
        if (n.id == id)
            codes.push_back(n.code);
    return codes;
}

}

TEST(EditNotifications, UserChangesAndSetTextGiveUpdateThenChange)
{
    Scene s;
    HWND edit = AddEdit(s, kSingle, L"start");
    EXPECT_EQ(TextOf(edit), L"start");
    EXPECT_TRUE(EditCodes(s).empty()) << "creation tells nothing";

    s.Click(edit, POINT{2, 8});
    EXPECT_EQ(GetFocus(), edit);
    s.Key(VK_END);
    Type(L"!");
    EXPECT_EQ(TextOf(edit), L"start!");
    EXPECT_EQ(EditCodes(s), (std::vector<WORD>{EN_SETFOCUS, EN_UPDATE, EN_CHANGE}));
    EXPECT_TRUE(Send(edit, EM_GETMODIFY));

    s.Clear();
    SetWindowTextW(edit, L"other");
    EXPECT_EQ(EditCodes(s), (std::vector<WORD>{EN_UPDATE, EN_CHANGE}));
    EXPECT_FALSE(Send(edit, EM_GETMODIFY));
    EXPECT_FALSE(Send(edit, EM_CANUNDO)) << "a new text has nothing to undo";
    EXPECT_EQ(Send(edit, WM_GETTEXTLENGTH), 5);

    // Moving the caret changes nothing; losing the focus says so.
    s.Clear();
    s.Key(VK_HOME);
    SetFocus(s.Top());
    UiTest::Drain();
    EXPECT_EQ(EditCodes(s), std::vector<WORD>{EN_KILLFOCUS});
}

TEST(EditKeyboard, CaretAndSelectionAtTheEdgesAndWordJumps)
{
    Scene s;
    HWND edit = AddEdit(s, kSingle, L"one, two three");
    s.Click(edit, POINT{2, 8});
    s.Key(VK_HOME);
    s.Key(VK_LEFT);  // already at the start
    EXPECT_EQ(Selection(edit), std::make_pair(0, 0));
    s.Key(VK_BACK);
    EXPECT_EQ(TextOf(edit), L"one, two three") << "Backspace at the start deletes nothing";

    // Words, punctuation and spaces are separate runs.
    std::vector<int> stops;
    for (int i = 0; i < 5; ++i) {
        Ctrl(s, VK_RIGHT);
        stops.push_back(Selection(edit).second);
    }
    EXPECT_EQ(stops, (std::vector<int>{3, 5, 9, 14, 14}));
    stops.clear();
    for (int i = 0; i < 5; ++i) {
        Ctrl(s, VK_LEFT);
        stops.push_back(Selection(edit).first);
    }
    EXPECT_EQ(stops, (std::vector<int>{9, 5, 3, 0, 0}));

    Shift(s, VK_END);
    EXPECT_EQ(Selection(edit), std::make_pair(0, 14));
    Chord(s, VK_LEFT, true, true);
    EXPECT_EQ(Selection(edit), std::make_pair(0, 9));
    s.Key(VK_RIGHT);  // collapses to the end of the selection
    EXPECT_EQ(Selection(edit), std::make_pair(9, 9));
    Shift(s, VK_HOME);
    s.Key(VK_LEFT);  // ... and to its start
    EXPECT_EQ(Selection(edit), std::make_pair(0, 0));

    s.Key(VK_END);
    s.Key(VK_DELETE);  // at the end: nothing after
    EXPECT_EQ(TextOf(edit), L"one, two three");
    s.Key(VK_BACK);
    Ctrl(s, VK_HOME);
    s.Key(VK_DELETE);
    EXPECT_EQ(TextOf(edit), L"ne, two thre");
    Shift(s, VK_RIGHT);
    Shift(s, VK_RIGHT);
    Type(L"X");  // typing replaces the selection
    EXPECT_EQ(TextOf(edit), L"X, two thre");
}

TEST(EditKeyboard, NonLatinAndCharactersBeyondTheBasicPlane)
{
    Scene s;
    HWND edit = AddEdit(s, kSingle);
    s.Click(edit, POINT{2, 8});
    Type(L"Жук \U0001D11E日本");
    EXPECT_EQ(TextOf(edit), L"Жук \U0001D11E日本");
    EXPECT_EQ(Send(edit, WM_GETTEXTLENGTH), 7) << "indexes count wchar_t";
    s.Key(VK_LEFT);
    s.Key(VK_LEFT);
    s.Key(VK_BACK);
    EXPECT_EQ(TextOf(edit), L"Жук 日本");
    Ctrl(s, VK_HOME);
    Chord(s, VK_RIGHT, true, true);
    EXPECT_EQ(Selection(edit), std::make_pair(0, 4)) << "Cyrillic letters make a word";
}

TEST(EditMouse, ClickDragShiftClickAndDoubleClick)
{
    Scene s;
    HWND edit = AddEdit(s, kSingle, L"alpha beta gamma");
    s.Click(edit, CharPoint(edit, 6));
    EXPECT_EQ(Selection(edit), std::make_pair(6, 6));

    s.Press(edit, CharPoint(edit, 2));
    s.Move(edit, CharPoint(edit, 8));
    EXPECT_EQ(GetCapture(), edit);
    s.Release(edit, CharPoint(edit, 8));
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(Selection(edit), std::make_pair(2, 8));

    Scene::Display().InjectKeyDown(VK_SHIFT);
    s.Click(edit, CharPoint(edit, 13));
    Scene::Display().InjectKeyUp(VK_SHIFT);
    UiTest::Drain();
    EXPECT_EQ(Selection(edit), std::make_pair(2, 13)) << "Shift+click keeps the anchor";

    s.DoubleClick(edit, CharPoint(edit, 12));
    EXPECT_EQ(Selection(edit), std::make_pair(11, 16));
}

// As X11 programs do: what the user selects becomes the pointer's selection
// (PRIMARY), and the middle button pastes it where it points. The clipboard
// stays as it was; a password is never offered.
TEST(EditMouse, TheSelectionIsOfferedAndTheMiddleButtonPastesIt)
{
    Scene s;
    HWND edit = AddEdit(s, kSingle, L"alpha beta gamma");
    HWND target = AddEdit(s, kSingle, L"xy", 160, 24, kEditId + 1, 40);
    HWND fixed = AddEdit(s, kSingle | ES_READONLY, L"fixed", 160, 24, kEditId + 2, 70);
    HWND secret = AddEdit(s, kSingle | ES_PASSWORD, L"secret", 160, 24, kEditId + 3, 100);
    PutOnClipboard(L"clipboard");
    auto offered = [] { return Scene::Display().GetSelectionText().value_or(L"<none>"); };
    auto middleClick = [&](HWND control, POINT at) {
        ClientToScreen(control, &at);
        Scene::Display().InjectMouseDown(Display::MouseButton::Middle, at);
        Scene::Display().InjectMouseUp(Display::MouseButton::Middle, at);
        UiTest::Drain();
    };

    s.Press(edit, CharPoint(edit, 2));
    s.Move(edit, CharPoint(edit, 8));
    s.Release(edit, CharPoint(edit, 8));
    EXPECT_EQ(offered(), L"pha be");
    Shift(s, VK_END);
    EXPECT_EQ(offered(), L"pha beta gamma");
    s.DoubleClick(edit, CharPoint(edit, 12));
    EXPECT_EQ(offered(), L"gamma");
    s.Click(edit, CharPoint(edit, 3));
    EXPECT_EQ(offered(), L"gamma") << "a click that selects nothing keeps what was offered";

    middleClick(target, CharPoint(target, 1));
    EXPECT_EQ(TextOf(target), L"xgammay");
    EXPECT_EQ(GetFocus(), target);
    middleClick(fixed, CharPoint(fixed, 1));
    EXPECT_EQ(TextOf(fixed), L"fixed");

    s.Click(secret, CharPoint(secret, 0));
    Shift(s, VK_END);
    EXPECT_EQ(offered(), L"gamma");
    EXPECT_EQ(ClipboardNow(), L"clipboard");
}

TEST(EditMouse, DraggingPastTheEdgeScrollsOnTheTimer)
{
    Scene s;
    HWND edit = AddEdit(s, kMulti, L"", 160, 60);
    std::wstring text;
    for (int i = 0; i < 20; ++i)
        text += L"line " + std::to_wstring(i) + L"\r\n";
    SetWindowTextW(edit, text.c_str());
    s.Press(edit, CharPoint(edit, 0));
    s.Move(edit, POINT{20, 200});
    const LRESULT firstAfterMove = Send(edit, EM_GETFIRSTVISIBLELINE);
    s.Wait(500);
    EXPECT_GT(Send(edit, EM_GETFIRSTVISIBLELINE), firstAfterMove) << "the timer keeps scrolling";
    s.Release(edit, POINT{20, 200});
    const LRESULT released = Send(edit, EM_GETFIRSTVISIBLELINE);
    s.Wait(300);
    EXPECT_EQ(Send(edit, EM_GETFIRSTVISIBLELINE), released) << "and stops with the button";
    EXPECT_EQ(Selection(edit).first, 0);
    EXPECT_GT(Selection(edit).second, 20);
}

TEST(EditClipboard, RoundTripsThroughTheClipboardApi)
{
    Scene s;
    HWND edit = AddEdit(s, kSingle, L"copy this text");
    s.Click(edit, POINT{2, 8});
    Send(edit, EM_SETSEL, 5, 9);
    Ctrl(s, 'C');
    EXPECT_EQ(ClipboardNow(), L"this");
    s.Key(VK_END);
    Ctrl(s, 'V');
    EXPECT_EQ(TextOf(edit), L"copy this textthis");

    Send(edit, EM_SETSEL, 0, 5);
    Shift(s, VK_DELETE);
    EXPECT_EQ(ClipboardNow(), L"copy ");
    EXPECT_EQ(TextOf(edit), L"this textthis");
    Shift(s, VK_INSERT);
    EXPECT_EQ(TextOf(edit), L"copy this textthis");
    Send(edit, EM_SETSEL, 0, 4);
    Ctrl(s, VK_INSERT);
    EXPECT_EQ(ClipboardNow(), L"copy");
    Ctrl(s, 'X');
    EXPECT_EQ(TextOf(edit), L" this textthis");

    // A single line takes a pasted text up to its first line break.
    PutOnClipboard(L"first\r\nsecond");
    Send(edit, EM_SETSEL, 0, -1);
    Send(edit, WM_PASTE);
    EXPECT_EQ(TextOf(edit), L"first");
    Send(edit, EM_SETSEL, 0, 2);
    Send(edit, WM_CLEAR);
    EXPECT_EQ(TextOf(edit), L"rst");
    EXPECT_EQ(ClipboardNow(), L"first\r\nsecond") << "clearing leaves the clipboard alone";

    // A line break set from outside stays in the one line.
    SetWindowTextW(edit, L"a\r\nb");
    EXPECT_EQ(Send(edit, EM_GETLINECOUNT), 1);
    Send(edit, EM_SETSEL, 0, 0);
    s.Key(VK_END);
    EXPECT_EQ(Selection(edit), std::make_pair(4, 4));
}

TEST(EditLimits, LimitCutsTypingAndPastingAndNumbersRefuseLetters)
{
    Scene s;
    HWND edit = AddEdit(s, kSingle);
    EXPECT_EQ(Send(edit, EM_GETLIMITTEXT), 30000);
    Send(edit, EM_LIMITTEXT, 5);
    s.Click(edit, POINT{2, 8});
    s.Clear();
    Type(L"abcdefg");
    EXPECT_EQ(TextOf(edit), L"abcde");
    const std::vector<WORD> codes = EditCodes(s);
    ASSERT_FALSE(codes.empty());
    EXPECT_EQ(codes.back(), EN_MAXTEXT);
    EXPECT_EQ(std::count(codes.begin(), codes.end(), EN_CHANGE), 5);

    PutOnClipboard(L"12345");
    Send(edit, EM_SETSEL, 1, 3);
    s.Clear();
    Ctrl(s, 'V');
    EXPECT_EQ(TextOf(edit), L"a12de") << "the paste is cut to what fits";
    EXPECT_EQ(EditCodes(s), (std::vector<WORD>{EN_MAXTEXT, EN_UPDATE, EN_CHANGE}));
    Send(edit, EM_LIMITTEXT, 0);
    EXPECT_EQ(Send(edit, EM_GETLIMITTEXT), 0x7FFFFFFE);

    HWND number = AddEdit(s, kSingle | ES_NUMBER, L"", 160, 24, kEditId + 1, 40);
    s.Click(number, POINT{2, 8});
    Type(L"4a2-");
    EXPECT_EQ(TextOf(number), L"42");
    PutOnClipboard(L"x9");
    Ctrl(s, 'V');
    EXPECT_EQ(TextOf(number), L"42x9") << "a paste is not filtered";

    HWND upper = AddEdit(s, kSingle | ES_UPPERCASE, L"", 160, 24, kEditId + 2, 70);
    s.Click(upper, POINT{2, 8});
    Type(L"abcä");
    EXPECT_EQ(TextOf(upper), L"ABCÄ");
}

TEST(EditUndo, UndoesATypedRunAndAPasteAndRedoesOnTheSecondUndo)
{
    Scene s;
    HWND edit = AddEdit(s, kSingle, L"base ");
    s.Click(edit, POINT{2, 8});
    s.Key(VK_END);
    EXPECT_FALSE(Send(edit, EM_CANUNDO));
    Type(L"word");
    EXPECT_TRUE(Send(edit, EM_CANUNDO));
    Ctrl(s, 'Z');
    EXPECT_EQ(TextOf(edit), L"base ") << "the whole typed run goes at once";
    Ctrl(s, 'Z');
    EXPECT_EQ(TextOf(edit), L"base word");

    PutOnClipboard(L"PASTED");
    Send(edit, EM_SETSEL, 0, 4);
    Ctrl(s, 'V');
    EXPECT_EQ(TextOf(edit), L"PASTED word");
    s.Clear();
    Send(edit, WM_UNDO);
    EXPECT_EQ(TextOf(edit), L"base word");
    EXPECT_EQ(Selection(edit), std::make_pair(0, 4)) << "what came back is selected";
    EXPECT_EQ(EditCodes(s), (std::vector<WORD>{EN_UPDATE, EN_CHANGE}));

    s.Key(VK_END);
    s.Key(VK_BACK);
    s.Key(VK_BACK);
    Send(edit, EM_UNDO);
    EXPECT_EQ(TextOf(edit), L"base word") << "a run of Backspaces is one change";
    Send(edit, EM_EMPTYUNDOBUFFER);
    EXPECT_FALSE(Send(edit, EM_CANUNDO));
}

TEST(EditMultiline, LinesWrapAndAnswerTheLineMessages)
{
    Scene s;
    HWND edit = AddEdit(s, ES_MULTILINE | ES_WANTRETURN, L"", 120, 80);
    SetWindowTextW(edit, L"first\r\n\r\nthird line");
    EXPECT_EQ(Send(edit, EM_GETLINECOUNT), 3);
    EXPECT_EQ(Send(edit, EM_LINEINDEX, 1), 7);
    EXPECT_EQ(Send(edit, EM_LINEINDEX, 2), 9);
    EXPECT_EQ(Send(edit, EM_LINEINDEX, 3), -1);
    EXPECT_EQ(Send(edit, EM_LINELENGTH, 7), 0);
    EXPECT_EQ(Send(edit, EM_LINELENGTH, 12), 10);
    EXPECT_EQ(Send(edit, EM_LINEFROMCHAR, 5), 0);
    EXPECT_EQ(Send(edit, EM_LINEFROMCHAR, 9), 2);
    wchar_t buffer[16]{};
    buffer[0] = 16;
    EXPECT_EQ(Send(edit, EM_GETLINE, 2, reinterpret_cast<LPARAM>(buffer)), 10);
    EXPECT_EQ(std::wstring(buffer), L"third line");

    // Words that do not fit go to the next line, whole.
    SetWindowTextW(edit, L"some words that wrap across several lines here");
    const LRESULT lines = Send(edit, EM_GETLINECOUNT);
    EXPECT_GT(lines, 2);
    for (LRESULT line = 1; line < lines; ++line) {
        const LRESULT start = Send(edit, EM_LINEINDEX, static_cast<WPARAM>(line));
        EXPECT_EQ(TextOf(edit)[static_cast<std::size_t>(start) - 1], L' ') << "line " << line << " starts a word";
    }

    // Enter breaks the line where the caret is; Up and Down keep the column.
    SetWindowTextW(edit, L"abc");
    s.Click(edit, POINT{2, 5});
    s.Key(VK_END);
    s.Key(VK_RETURN);
    Type(L"xyz");
    EXPECT_EQ(TextOf(edit), L"abc\r\nxyz");
    s.Key(VK_UP);
    EXPECT_EQ(Selection(edit).first, 3);
    s.Key(VK_LEFT);
    s.Key(VK_DOWN);
    EXPECT_EQ(Selection(edit).first, 7);
    s.Key(VK_HOME);
    s.Key(VK_BACK);
    EXPECT_EQ(TextOf(edit), L"abcxyz") << "Backspace takes the whole line break";
}

TEST(EditMultiline, ScrollingKeepsTheCaretVisibleAndDrivesTheBar)
{
    Scene s;
    HWND edit = AddEdit(s, kMulti, L"", 140, 70);
    s.Click(edit, POINT{2, 5});
    for (int i = 0; i < 12; ++i) {
        Type(L"row " + std::to_wstring(i));
        s.Key(VK_RETURN);
    }
    const LRESULT first = Send(edit, EM_GETFIRSTVISIBLELINE);
    EXPECT_GT(first, 6) << "typing on scrolled the view";
    SCROLLINFO info;
    info.fMask = SIF_ALL;
    ASSERT_TRUE(GetScrollInfo(edit, SB_VERT, &info));
    EXPECT_EQ(info.nPos, first);
    EXPECT_EQ(info.nMax, 12);

    Ctrl(s, VK_HOME);
    EXPECT_EQ(Send(edit, EM_GETFIRSTVISIBLELINE), 0);
    s.Key(VK_NEXT);
    EXPECT_GT(Send(edit, EM_GETFIRSTVISIBLELINE), 0);
    const int caretLine = static_cast<int>(Send(edit, EM_LINEFROMCHAR, static_cast<WPARAM>(-1)));
    EXPECT_GE(caretLine, Send(edit, EM_GETFIRSTVISIBLELINE));

    s.Clear();
    Send(edit, WM_VSCROLL, SB_TOP);
    EXPECT_EQ(Send(edit, EM_GETFIRSTVISIBLELINE), 0);
    Send(edit, WM_VSCROLL, SB_LINEDOWN);
    EXPECT_EQ(Send(edit, EM_GETFIRSTVISIBLELINE), 1);
    EXPECT_EQ(EditCodes(s), (std::vector<WORD>{EN_VSCROLL, EN_VSCROLL}));
    EXPECT_TRUE(Send(edit, EM_LINESCROLL, 0, 2));
    EXPECT_EQ(Send(edit, EM_GETFIRSTVISIBLELINE), 3);
    Send(edit, EM_SCROLLCARET);
    EXPECT_LE(Send(edit, EM_GETFIRSTVISIBLELINE), caretLine);
}

TEST(EditPassword, ShowsTheCharacterAndNeverCopies)
{
    Scene s;
    HWND edit = AddEdit(s, kSingle | ES_PASSWORD, L"secret");
    EXPECT_EQ(Send(edit, EM_GETPASSWORDCHAR), L'*');
    EXPECT_EQ(TextOf(edit), L"secret");
    PutOnClipboard(L"before");
    s.Click(edit, POINT{2, 8});
    Send(edit, EM_SETSEL, 0, -1);
    Ctrl(s, 'C');
    Ctrl(s, 'X');
    Send(edit, WM_COPY);
    EXPECT_EQ(ClipboardNow(), L"before");
    EXPECT_EQ(TextOf(edit), L"secret");
    Send(edit, EM_SETPASSWORDCHAR, L'#');
    EXPECT_EQ(Send(edit, EM_GETPASSWORDCHAR), L'#');
}

TEST(EditReadOnly, RefusesChangesButCopiesAndAsksForTheStaticColour)
{
    Scene s;
    HWND edit = AddEdit(s, kSingle | ES_READONLY, L"fixed");
    s.Click(edit, POINT{2, 8});
    s.Clear();
    Type(L"x");
    s.Key(VK_BACK);
    PutOnClipboard(L"pasted");
    Ctrl(s, 'V');
    Send(edit, EM_SETSEL, 0, 3);
    Ctrl(s, 'X');
    EXPECT_EQ(TextOf(edit), L"fixed");
    EXPECT_TRUE(EditCodes(s).empty());
    Ctrl(s, 'C');
    EXPECT_EQ(ClipboardNow(), L"fix");

    s.Clear();
    InvalidateRect(edit, nullptr, TRUE);
    UpdateWindow(edit);
    EXPECT_FALSE(s.Notes(WM_CTLCOLORSTATIC).empty());
    Send(edit, EM_SETREADONLY, FALSE);
    Type(L"!");
    EXPECT_EQ(TextOf(edit), L"!ed") << "typing replaces the selection again";
}

TEST(EditMessages, SelectionPositionsMarginsAndRect)
{
    Scene s;
    HWND edit = AddEdit(s, kSingle, L"hello");
    Send(edit, EM_SETSEL, 1, 3);
    EXPECT_EQ(Send(edit, EM_GETSEL), MAKELRESULT(1, 3));
    Send(edit, EM_SETSEL, 4, 2);  // the caret at the second index
    EXPECT_EQ(Selection(edit), std::make_pair(2, 4));
    Send(edit, EM_SETSEL, 0, -1);
    EXPECT_EQ(Selection(edit), std::make_pair(0, 5));
    Send(edit, EM_SETSEL, static_cast<WPARAM>(-1), 0);
    EXPECT_EQ(Selection(edit).first, Selection(edit).second);
    Send(edit, EM_SETSEL, 2, 2);
    Send(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(L"XX"));
    EXPECT_EQ(TextOf(edit), L"heXXllo");
    EXPECT_EQ(Selection(edit), std::make_pair(4, 4));

    const POINT a = CharPoint(edit, 0);
    const POINT b = CharPoint(edit, 3);
    EXPECT_LT(a.x, b.x);
    const LRESULT hit = Send(edit, EM_CHARFROMPOS, 0, MAKELPARAM(b.x + 1, b.y));
    EXPECT_EQ(LOWORD(static_cast<DWORD>(hit)), 3);
    EXPECT_EQ(Send(edit, EM_POSFROMCHAR, 99), -1);

    Send(edit, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(6, 4));
    EXPECT_EQ(Send(edit, EM_GETMARGINS), MAKELRESULT(6, 4));
    EXPECT_EQ(CharPoint(edit, 0).x, 6);
    RECT r{};
    Send(edit, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&r));
    RECT client{};
    GetClientRect(edit, &client);
    EXPECT_EQ(r.left, 6);
    EXPECT_EQ(r.right, client.right - 4);

    const RECT custom{20, 2, 120, 18};
    Send(edit, EM_SETRECTNP, 0, reinterpret_cast<LPARAM>(&custom));
    Send(edit, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&r));
    EXPECT_EQ(r.left, 20);
    EXPECT_EQ(r.bottom, 18);
    EXPECT_EQ(CharPoint(edit, 0).x, 20);
    EXPECT_EQ(CharPoint(edit, 0).y, 2 + 3);
    Send(edit, EM_SETRECT, 0, 0);  // back to the margins
    EXPECT_EQ(CharPoint(edit, 0).x, 6);
}

TEST(EditLook, StatesLookLikeTheirGoldenPicture)
{
    Scene s(340, 200);
    AddEdit(s, kSingle, L"Plain text", 150, 22, 31);
    HWND selected = AddEdit(s, kSingle | ES_NOHIDESEL, L"Selected words", 150, 22, 32);
    SetWindowPos(selected, nullptr, 10, 40, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    Send(selected, EM_SETSEL, 0, 8);
    HWND password = AddEdit(s, kSingle | ES_PASSWORD, L"hidden", 150, 22, 33);
    SetWindowPos(password, nullptr, 10, 70, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    HWND readOnly = AddEdit(s, kSingle | ES_READONLY, L"Read only", 150, 22, 34);
    SetWindowPos(readOnly, nullptr, 10, 100, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    HWND disabled = AddEdit(s, kSingle | WS_DISABLED, L"Disabled", 150, 22, 35);
    SetWindowPos(disabled, nullptr, 10, 130, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    HWND multi = AddEdit(s, kMulti, L"", 150, 70, 36);
    SetWindowPos(multi, nullptr, 175, 10, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    SetWindowTextW(multi, L"A multi-line edit whose text wraps\r\nand needs\r\nthe scroll bar\r\nto show\r\nall of it");
    UiTest::Drain();
    ControlTest::ExpectGolden(s, "EditStates");
}

TEST(EditView, AlignmentFixedWidthAndTheCaretFollowTheText)
{
    Scene s;
    HWND left = AddEdit(s, kSingle, L"abc", 160, 24, 41, 10);
    HWND centre = AddEdit(s, kSingle | ES_CENTER, L"abc", 160, 24, 42, 40);
    HWND right = AddEdit(s, kSingle | ES_RIGHT, L"abc", 160, 24, 43, 70);
    const int l = CharPoint(left, 0).x;
    const int c = CharPoint(centre, 0).x;
    const int r = CharPoint(right, 0).x;
    EXPECT_LT(l, c);
    EXPECT_LT(c, r);
    RECT client{};
    GetClientRect(right, &client);
    EXPECT_NEAR(CharPoint(right, 3).x, client.right - 2, 1) << "right-aligned text ends at the right margin";

    // The caret is made on focus where the text says, and goes on kill focus.
    s.Click(left, CharPoint(left, 2));
    POINT caret{};
    ASSERT_TRUE(GetCaretPos(&caret));
    EXPECT_EQ(caret.x, CharPoint(left, 2).x);
    s.Key(VK_END);
    GetCaretPos(&caret);
    EXPECT_EQ(caret.x, CharPoint(left, 3).x);

    // Without ES_AUTOHSCROLL a single line takes no more than it can show.
    HWND fixed = AddEdit(s, 0, L"", 40, 24, 44, 100);
    s.Click(fixed, POINT{2, 8});
    s.Clear();
    Type(L"wwwwwwwwwwwwwwww");
    EXPECT_LT(TextOf(fixed).size(), 16u);
    EXPECT_GT(TextOf(fixed).size(), 0u);
    const std::vector<WORD> codes = EditCodes(s, 44);
    ASSERT_FALSE(codes.empty());
    EXPECT_EQ(codes.back(), EN_MAXTEXT);

    // With it the view scrolls to keep the caret in sight.
    SetWindowTextW(left, L"a text far longer than the edit is wide, to make it scroll");
    s.Click(left, POINT{2, 8});
    s.Key(VK_END);
    GetCaretPos(&caret);
    GetClientRect(left, &client);
    EXPECT_LE(caret.x, client.right);
    EXPECT_GT(Send(left, EM_GETFIRSTVISIBLELINE), 0) << "the first visible character moved on";
}

TEST(EditView, ANewFontMeasuresTheLinesAnew)
{
    Scene s;
    HWND edit = AddEdit(s, kMulti, L"one\r\ntwo", 160, 90);
    const int before = CharPoint(edit, 5).y - CharPoint(edit, 0).y;
    HFONT big = CreateFontW(-28, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0, 0, 0, 0, L"DejaVu Sans");
    Send(edit, WM_SETFONT, reinterpret_cast<WPARAM>(big), TRUE);
    EXPECT_EQ(Send(edit, WM_GETFONT), reinterpret_cast<LRESULT>(big));
    const int after = CharPoint(edit, 5).y - CharPoint(edit, 0).y;
    EXPECT_GT(after, before + 8);
    Send(edit, WM_SETFONT, 0, FALSE);
    DeleteObject(big);
}

TEST(EditMultiline, WithoutAutoVScrollTextStopsAtTheLastVisibleLine)
{
    Scene s;
    // Room for three lines of the default font and a bit.
    HWND fixed = AddEdit(s, ES_MULTILINE | ES_WANTRETURN, L"", 120, 50);
    const LRESULT shown = Send(fixed, EM_GETLINECOUNT);
    EXPECT_EQ(shown, 1);
    s.Click(fixed, POINT{2, 8});
    s.Clear();
    Type(L"one\rtwo\rthree\rfour\rfive\r");
    const std::wstring kept = TextOf(fixed);
    const LRESULT lines = Send(fixed, EM_GETLINECOUNT);
    EXPECT_GE(lines, 2);
    EXPECT_LT(lines, 5) << "the lines below the last visible one were refused";
    EXPECT_EQ(Send(fixed, EM_GETFIRSTVISIBLELINE), 0) << "never scrolled";
    const std::vector<WORD> codes = EditCodes(s);
    ASSERT_FALSE(codes.empty());
    EXPECT_EQ(codes.back(), EN_MAXTEXT) << "the last line break was refused";
    // Typing on the last line still goes in while the line has room.
    s.Clear();
    Type(L"x");
    EXPECT_EQ(TextOf(fixed), kept + L"x");
    // A long word wraps onto a line that is not there: refused as well.
    Type(std::wstring(60, L'w'));
    EXPECT_EQ(Send(fixed, EM_GETLINECOUNT), lines);
    // Set by the program, the text is taken whole.
    SetWindowTextW(fixed, L"1\r\n2\r\n3\r\n4\r\n5\r\n6");
    EXPECT_EQ(Send(fixed, EM_GETLINECOUNT), 6);

    // With ES_AUTOVSCROLL the edit scrolls instead.
    HWND scrolling = AddEdit(s, ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL, L"", 120, 50, 45, 100);
    s.Click(scrolling, POINT{2, 8});
    Type(L"one\rtwo\rthree\rfour\rfive");
    EXPECT_EQ(Send(scrolling, EM_GETLINECOUNT), 5);
    EXPECT_GT(Send(scrolling, EM_GETFIRSTVISIBLELINE), 0);
}

TEST(EditMultiline, TabsReachTheStopsSetInDialogUnits)
{
    Scene s;
    HWND edit = AddEdit(s, ES_MULTILINE | ES_AUTOVSCROLL, L"", 300, 60);
    HDC dc = GetDC(edit);
    const HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(Send(edit, WM_GETFONT)));
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    SelectObject(dc, old);
    ReleaseDC(edit, dc);
    const int average = metrics.tmAveCharWidth;
    ASSERT_GT(average, 0);

    SetWindowTextW(edit, L"a\tb\r\n\tc");
    const int left = CharPoint(edit, 0).x;
    EXPECT_EQ(CharPoint(edit, 2).x - left, 8 * average) << "a stop every 32 dialog units without any set";
    EXPECT_EQ(CharPoint(edit, 6).x - left, 8 * average) << "measured from each line's start";

    const int every = 40;
    EXPECT_TRUE(Send(edit, EM_SETTABSTOPS, 1, reinterpret_cast<LPARAM>(&every)));
    EXPECT_EQ(CharPoint(edit, 2).x - left, 10 * average);
    const int stops[] = {20, 60};
    EXPECT_TRUE(Send(edit, EM_SETTABSTOPS, 2, reinterpret_cast<LPARAM>(stops)));
    SetWindowTextW(edit, L"\tx\ty");
    EXPECT_EQ(CharPoint(edit, 1).x - left, 5 * average);
    EXPECT_EQ(CharPoint(edit, 3).x - left, 15 * average);
    // A click in the room of the second tab lands before or after it, never inside a run.
    const POINT y = CharPoint(edit, 3);
    EXPECT_EQ(Send(edit, EM_CHARFROMPOS, 0, MAKELPARAM(y.x + 1, y.y + 2)) & 0xFFFF, 3);

    HWND single = AddEdit(s, ES_AUTOHSCROLL, L"", 100, 24, 46, 100);
    EXPECT_FALSE(Send(single, EM_SETTABSTOPS, 1, reinterpret_cast<LPARAM>(&every))) << "only a multi-line edit has stops";
}

TEST(EditLimits, TextThatCannotBeHeldIsRefusedWithErrSpaceAndLosesNothing)
{
    struct Ceiling {
        Ceiling() { ZELL::Controls::CEditText::SetAllocationCeilingForTests(10); }
        ~Ceiling() { ZELL::Controls::CEditText::SetAllocationCeilingForTests(0); }
    } ceiling;
    Scene s;
    HWND edit = AddEdit(s, kSingle);
    s.Click(edit, POINT{2, 8});
    s.Clear();
    Type(L"abcdefghijkl");
    EXPECT_EQ(TextOf(edit), L"abcdefghij");
    const std::vector<WORD> codes = EditCodes(s);
    ASSERT_FALSE(codes.empty());
    EXPECT_EQ(codes.back(), EN_ERRSPACE);
    EXPECT_EQ(std::count(codes.begin(), codes.end(), EN_CHANGE), 10);

    s.Clear();
    EXPECT_FALSE(SetWindowTextW(edit, L"far more than ten characters"));
    EXPECT_EQ(TextOf(edit), L"abcdefghij") << "the old text stays";
    EXPECT_EQ(EditCodes(s), std::vector<WORD>{EN_ERRSPACE});
    Send(edit, EM_SETSEL, 0, 3);
    Type(L"X");
    EXPECT_EQ(TextOf(edit), L"Xdefghij") << "a change that shrinks the text goes in";
}

TEST(EditMultiline, AHorizontalBarScrollsLongLinesInsteadOfWrapping)
{
    Scene s;
    HWND edit = AddEdit(s, ES_MULTILINE | WS_HSCROLL, L"", 120, 60);
    SetWindowTextW(edit, L"a line that is a good deal wider than the edit\r\nshort");
    EXPECT_EQ(Send(edit, EM_GETLINECOUNT), 2) << "no wrapping with a horizontal bar";
    SCROLLINFO info;
    info.fMask = SIF_ALL;
    ASSERT_TRUE(GetScrollInfo(edit, SB_HORZ, &info));
    EXPECT_GT(info.nMax, static_cast<int>(info.nPage));
    const int x = CharPoint(edit, 0).x;
    s.Clear();
    Send(edit, WM_HSCROLL, SB_LINERIGHT);
    EXPECT_LT(CharPoint(edit, 0).x, x);
    EXPECT_EQ(EditCodes(s), std::vector<WORD>{EN_HSCROLL});
    Send(edit, WM_HSCROLL, SB_LEFT);
    EXPECT_EQ(CharPoint(edit, 0).x, x);
}
