#pragma once
// The numbers of the IP-address, date-time picker and month-calendar
// controls, for everyone who includes the common controls' header.
#include "Platform/Controls/IPAddressStyles.h"
#include "Platform/Controls/DateTimeStyles.h"
