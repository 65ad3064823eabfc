#pragma once
// Registers the IP-address, date-time picker and month-calendar classes.
namespace ZELL::Controls {

bool RegisterDateAndAddressControls();

}
