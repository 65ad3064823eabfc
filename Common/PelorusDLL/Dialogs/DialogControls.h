#pragma once
// The control classes our dialog templates name, registered before a
// dialog of ours is made (the host program may not have registered them).

class CDialogControls {
public:
    static bool Register();
};
