#pragma once
// The window classes of the list view and its header.
namespace ZELL::Controls {

bool RegisterListViewControls();

}
