#pragma once
// The shell services in one include.

#include "Platform/Shell/ComInit.h"
#include "Platform/Shell/DragDrop.h"
#include "Platform/Shell/PrintDlg.h"
#include "Platform/Shell/PrinterQueue.h"
#include "Platform/Shell/ShellExecute.h"
#include "Platform/Shell/ShellLink.h"
#include "Platform/Shell/ShellFolders.h"
#include "Platform/Shell/CommDlg.h"
#include "Platform/Shell/FolderBrowser.h"
