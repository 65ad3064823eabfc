#pragma once
// Objects that receive commands: they find handlers in their message maps.
// A command goes to the first entry of the most derived class that names
// its code and id; the command UI of an id asks the same entries.

#include "Platform/Framework/Core/MessageMap.h"
#include "Platform/Framework/Core/Object.h"

class CCmdTarget : public CObject {
    DECLARE_DYNAMIC(CCmdTarget)
public:
    // `code` is the notification (CN_COMMAND for a plain command,
    // CN_UPDATE_COMMAND_UI with the CCmdUI as `extra`, or WM_NOTIFY's code
    // with `message` WM_NOTIFY and the NMHDR as `extra`). TRUE when handled.
    virtual BOOL OnCmdMsg(UINT id, int code, void* extra, void* handlerInfo);
    // Routes a notification with its message (WM_COMMAND, WM_NOTIFY or a
    // reflected one); `result` receives the handler's answer.
    BOOL DispatchCommand(UINT message, UINT id, UINT code, void* extra, LRESULT* result);

    // Whether a command entry (ON_COMMAND ...) handles the id, without running it.
    BOOL HasCommandHandler(UINT id) const;

    // The entry for a window message in this object's maps, or null; the
    // answer is kept per map and message.
    const AFX_MSGMAP_ENTRY* FindMessageEntry(UINT message) const;

protected:
    static const AFX_MSGMAP* GetThisMessageMap();
    virtual const AFX_MSGMAP* GetMessageMap() const;
};
