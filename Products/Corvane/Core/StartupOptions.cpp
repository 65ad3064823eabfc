#include "Products/Corvane/Core/StartupOptions.h"

namespace Corvane {

tStartupOptions g_StartupOptions;

}  // namespace Corvane
