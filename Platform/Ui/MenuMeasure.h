#pragma once
// Which menu an owner is asked about when it measures an owner-drawn menu
// item: WM_MEASUREITEM itself does not name it, unlike WM_DRAWITEM, so the
// framework asks the layer to hand the item to the menu's object.
#include "Platform/Base/Types.h"

namespace Ui {

// The menu whose owner-drawn items the owner is being asked to measure on
// this thread; null outside such a question.
HMENU MenuBeingMeasured();

}
