#include "Products/Corvane/Workers/WorkerBusyFlag.h"

CWorkerBusyFlag& GetWorkerBusyFlag()
{
    static CWorkerBusyFlag flag;
    return flag;
}
