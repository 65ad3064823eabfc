#pragma once
// The pointer's selection of X11 desktops (PRIMARY): what the user selected
// last, in this program or another, which a middle click pastes. It lives
// beside the clipboard, not in it; a display without one keeps nothing.
#include <optional>
#include <string>

namespace Ui {

// Offers the text as the pointer's selection; false when the display has none.
bool OfferPointerSelection(const std::wstring& text);
// The text of the pointer's selection, whoever holds it; none when nobody does
// or the holder does not answer in time.
std::optional<std::wstring> PointerSelectionText();

}
