#include "Products/Corvane/Workers/WorkerBusyFlag.h"

namespace Corvane {

CWorkerBusyFlag& GetWorkerBusyFlag()
{
    static CWorkerBusyFlag flag;
    return flag;
}

}  // namespace Corvane
