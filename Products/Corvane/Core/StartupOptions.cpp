#include "Products/Corvane/Core/StartupOptions.h"

tStartupOptions g_startupOptions;
