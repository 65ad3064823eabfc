#include "Platform/Shell/CommonDialogError.h"

namespace {
thread_local DWORD g_lastCommonDialogError = 0;
}

DWORD CommDlgExtendedError() { return g_lastCommonDialogError; }

namespace ZELL::Shell {
void SetCommonDialogError(DWORD code) { g_lastCommonDialogError = code; }
}
