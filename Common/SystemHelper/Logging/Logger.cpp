#include "Common/SystemHelper/Logging/Logger.h"

#include "Common/SystemHelper/Logging/DefaultLogger.h"

#include <atomic>

namespace {

std::atomic<CLogger*> g_logger{nullptr};

}

CDefaultLogger& GetDefaultLogger()
{
    static CDefaultLogger logger;
    return logger;
}

CLogger& GetLogger()
{
    CLogger* logger = g_logger.load();
    return logger ? *logger : GetDefaultLogger();
}

void SetLogger(CLogger* logger)
{
    g_logger.store(logger);
}
