#pragma once
// The module's file logger. A short XML text switches it on once:
//   <Configuration outFile="path" truncate="1" logLevel="LOG_LEVEL_INFO"/>
// Without outFile the lines go to the debug trace.

#include "Common/SystemHelper/Logging/Logger.h"
#include "Platform/Base/CriticalSection.h"

#include <atomic>
#include <fstream>

class CXMLDOMHelper;

enum : int {
    LOG_LEVEL_ERROR = 1,
    LOG_LEVEL_WARNING = 2,
    LOG_LEVEL_INFO = 3,
    LOG_LEVEL_TRACE = 4,
    LOG_LEVEL_LIBRARY_TRACE = 5,
};

class CDefaultLogger : public CLogger {
public:
    CDefaultLogger();
    CDefaultLogger(const CDefaultLogger&) = delete;
    CDefaultLogger& operator=(const CDefaultLogger&) = delete;
    ~CDefaultLogger() override;

    bool Write(const _bstr_t& text) override;
    bool Log(int level, const _bstr_t& category, const _bstr_t& first, const _bstr_t& second,
             const _bstr_t& third) override;
    // Once configured, later calls change nothing and return true.
    bool Configure(const _bstr_t& configuration) override;

    int GetLevel() const { return m_level.load(); }
    bool IsConfigured() const { return m_configured.load() != 0; }

private:
    void OpenOutput(CXMLDOMHelper& document);
    void ReadLevel(CXMLDOMHelper& document);
    void Emit(const std::wstring& text);

    std::ofstream m_file;
    std::atomic<unsigned char> m_configured{0};
    CRITICAL_SECTION m_section;
    std::atomic<int> m_level{LOG_LEVEL_WARNING};
};
