#pragma once
// The tooltip's and the tab control's numbers, which CommCtrl.h takes in at its end.
#include "Platform/Controls/TabStyles.h"
#include "Platform/Controls/ToolTipStyles.h"
