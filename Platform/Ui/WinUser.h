#pragma once
// The window layer: window classes and windows, message queues, input,
// timers, hooks, painting and system information, with the platform's
// numbers and semantics. The one header that code above the layer includes;
// its parts are in the headers it gathers here.
#include "Platform/Base/KernelObject.h"
#include "Platform/Base/Types.h"
#include "Platform/Base/WinError.h"
#include "Platform/Ui/UiErrors.h"
#include "Platform/Ui/ScrollBars.h"
#include "Platform/Ui/NonClientMessages.h"
#include "Platform/Display/VirtualKeys.h"
#include "Platform/Gdi/GdiTypes.h"
#include "Platform/Gdi/SysColors.h"
#include "Platform/Ui/Resource.h"
#include "Platform/Ui/MenuApi.h"
#include "Platform/Ui/OwnerDraw.h"
#include "Platform/Ui/PopupMenu.h"
#include "Platform/Ui/Accelerator.h"
#include "Platform/Ui/ResourceImage.h"

#include "Platform/Ui/WindowTypes.h"
#include "Platform/Ui/WindowStyles.h"
#include "Platform/Ui/WindowMessages.h"
#include "Platform/Ui/SystemMetrics.h"
#include "Platform/Ui/WindowFunctions.h"

#include "Platform/Ui/Dialogs.h"
#include "Platform/Ui/Keyboard.h"
#include "Platform/Ui/Caret.h"
#include "Platform/Ui/Clipboard.h"
#include "Platform/Ui/CbtHooks.h"
#include "Platform/Ui/MouseTracking.h"
#include "Platform/Ui/SystemMenu.h"
