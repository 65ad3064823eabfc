#pragma once
// The logger interface and the logger in force. Until a logger is set the
// module's default logger is used, which stays silent until configured.

#include "Platform/Base/BStr.h"

class CLogger {
public:
    virtual bool Write(const _bstr_t& text) = 0;
    virtual bool Log(int level, const _bstr_t& category, const _bstr_t& first, const _bstr_t& second,
                     const _bstr_t& third) = 0;
    virtual bool Configure(const _bstr_t& configuration) = 0;
    virtual ~CLogger() = default;
};

class CDefaultLogger;

CDefaultLogger& GetDefaultLogger();
CLogger& GetLogger();
// The caller keeps ownership; null restores the default logger.
void SetLogger(CLogger* logger);
