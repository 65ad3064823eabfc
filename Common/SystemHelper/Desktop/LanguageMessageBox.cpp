// The window layer's part of showing failures: the application's message box
// becomes the default handler of MessageBoxHandler.h as the deliverable
// starts. Nothing calls into this file, so the library's users are linked
// with its anchor symbol undefined (see CMakeLists.txt), which keeps it in.
#include "Common/SystemHelper/Errors/MessageBoxHandler.h"

#include "Platform/Framework/App/WinApp.h"

namespace {

void ApplicationMessageBox(const wchar_t* text, UINT type)
{
    AfxMessageBox(text, type);
}

}

extern "C" const bool zell_application_message_box_installed
    = (SetDefaultMessageBoxHandler(&ApplicationMessageBox), true);
