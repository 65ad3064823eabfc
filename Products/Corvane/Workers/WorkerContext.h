#pragma once
// Everything one run of a device worker uses: its parameter block, the
// reports to the window, the stop-aware waits, and the first failure text.
// The step classes of the workers share one context per run.

#include "Platform/Base/CString.h"
#include "Products/Corvane/Workers/WorkerParams.h"
#include "Products/Corvane/Workers/WorkerPrompt.h"
#include "Products/Corvane/Workers/WorkerReporter.h"
#include "Products/Corvane/Workers/WorkerWait.h"

#include <functional>

namespace Corvane {

class CDeviceCapabilityFile;

class CWorkerContext {
public:
    CWorkerContext(const tWorkerParams& params, CWorkerWait& wait);

    CServiceBase& Service() const { return *m_Params.service; }
    ZELL::CConnectionBase& Connection() const { return *m_Params.connection; }
    CFBCData& Data() const { return *m_Params.data; }
    const CDeviceCapabilityFile& Capabilities() const { return *m_Params.capabilities; }
    CWorkerPrompt& Prompt() { return m_Params.prompt != nullptr ? *m_Params.prompt : m_DefaultPrompt; }
    const CWorkerReporter& Reporter() const { return m_Reporter; }
    const CWorkerWait& Wait() const { return m_Wait; }
    bool IsTcpIp() const;
    bool IsComplete() const;

    // Stores the language text of `key` as the data set's description when
    // `ok` is false; returns `ok`. An answer that came malformed or too long
    // is named as such instead.
    bool Check(bool ok, const wchar_t* key) const;
    // As Check, with the text that names where the device did not answer
    // and what to look at.
    bool CheckReachable(bool ok) const;
    // A failure's text, made by `render` in the language shown now and
    // again after the user switches the language.
    using TextMaker = std::function<CString()>;
    void Fail(TextMaker render) const;
    // The service's last error, read once and kept for the failure text.
    DWORD TakeServiceError() const;

private:
    tWorkerParams m_Params;
    CWorkerPrompt m_DefaultPrompt;
    CWorkerReporter m_Reporter;
    const CWorkerWait& m_Wait;
    mutable DWORD m_dwServiceError = 0;

    // The text for an answer that came but could not be taken; empty for
    // any other error.
    TextMaker AnswerFault() const;
    // Where the device did not answer, and what to look at.
    TextMaker Unreachable() const;
    // The address and port, or the serial port, the device is reached at.
    TextMaker Location() const;
};

}  // namespace Corvane
