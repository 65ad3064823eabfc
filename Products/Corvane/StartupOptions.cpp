#include "Products/Corvane/StartupOptions.h"

tStartupOptions g_startupOptions;
