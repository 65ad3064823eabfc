#pragma once
// The connection steps every device worker shares: the reachability check,
// opening and closing (closing only what the worker opened), and the check
// that a data set belongs to the connected device before it is written.

#include "Platform/Base/CString.h"

namespace Corvane {

class CWorkerContext;

class CWorkerConnection {
public:
    explicit CWorkerConnection(CWorkerContext& context) : m_Context(context) {}
    // Closes the connection if this object opened it.
    ~CWorkerConnection();
    CWorkerConnection(const CWorkerConnection&) = delete;
    CWorkerConnection& operator=(const CWorkerConnection&) = delete;

    // Reports the connect action as working, then its result; the result
    // message carries the step bit when `subStep` is set.
    bool CheckConnection(unsigned short tries, bool subStep);
    // The check with the step bit on its result, then the opening; a failure
    // of either leaves "STATE_CHECK_CONNECTION_FAILED" as the failure text.
    bool CheckAndOpen(unsigned short tries);
    // Opens a closed connection and remembers that it did.
    bool OpenIfClosed();
    // Closes the connection when this object opened it.
    bool CloseIfOpenedHere();
    // Closes an open connection, whoever opened it (before a restart).
    bool Close();
    bool OpenedHere() const { return m_bOpenedHere; }

    // Identifies the connected device and holds the data set against it:
    // the same article and firmware, or the user's Yes to a firmware
    // mismatch. Leaves the connection as it found it.
    bool ConnectAndCheckDataset();

private:
    bool IdentifyConnectedDevice(CString& article, CString& firmware);
    bool ConfirmFirmware(const CString& deviceArticle, const CString& deviceFirmware);
    CString Details(const CString& deviceArticle, const CString& deviceFirmware) const;
    void ShowError(const wchar_t* messageKey);

    CWorkerContext& m_Context;
    bool m_bOpenedHere = false;
};

}  // namespace Corvane
