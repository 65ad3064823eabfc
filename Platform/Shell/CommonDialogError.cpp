#include "Platform/Shell/CommonDialogError.h"

namespace {
thread_local DWORD t_lastCommonDialogError = 0;
}

DWORD CommDlgExtendedError() { return t_lastCommonDialogError; }

namespace ZELL::Shell {
void SetCommonDialogError(DWORD code) { t_lastCommonDialogError = code; }
}
