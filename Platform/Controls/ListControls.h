#pragma once
// Registration of the list box, the combo box's drop-down list and the
// scroll-bar control under the platform's class names.
namespace ZELL::Controls {

// Registers "ListBox", "ComboLBox" and "ScrollBar" as global classes; true
// when all three are there afterwards with these procedures.
bool RegisterListControls();

}
