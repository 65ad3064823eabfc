#pragma once
// The input of a modal drag, one step at a time: the mouse and keys that
// matter to it are taken from the queue (they reach no window while the
// drag runs); everything else, painting and timers among it, is dispatched
// as usual.

#include "Platform/Ui/WinUser.h"

struct DragStep {
    enum class Kind {
        Moved,        // the pointer moved to `screen`
        KeysChanged,  // a button or modifier went down or up
        Escape,       // Esc was pressed
        Lost,         // the capture went elsewhere or the program is quitting
    };
    Kind kind = Kind::Lost;
    POINT screen{};
    DWORD keyState = 0;  // MK_ bits as they were at that step
};

// Where the message being handled happened: where a drag starts. The pointer
// may be elsewhere by now, with input still queued.
POINT MessagePoint();

class CDragInput {
public:
    explicit CDragInput(HWND capture);

    // Waits for the next step; the drag ends with the step the source makes
    // of it, so there is no time limit of its own.
    DragStep Next();
    // Posts the last mouse message taken back to its window, for a drag
    // that never started: the window sees the button go up after all.
    void GiveBackLastMouseMessage() const;

    POINT Point() const { return m_point; }
    DWORD KeyState() const { return m_keyState; }

private:
    bool FromMouse(const MSG& msg, DragStep& step);
    bool FromKey(const MSG& msg, DragStep& step);
    bool WhileIdle(DragStep& step);
    bool KeysChangedTo(DWORD keys, DragStep& step);
    DragStep Step(DragStep::Kind kind, DWORD keyState);

    HWND m_capture = nullptr;
    POINT m_point{};
    DWORD m_keyState = 0;
    MSG m_lastMouse{};
};
