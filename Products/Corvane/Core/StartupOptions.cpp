#include "Products/Corvane/Core/StartupOptions.h"

namespace Corvane {

tStartupOptions g_startupOptions;

}  // namespace Corvane
