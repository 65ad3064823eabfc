#pragma once
// One worker of the network scan: finds out whether something answers at
// its address, whether it is one of our devices, identifies it over the
// service protocol, and hands the record to the dialog. A record the dialog
// took is the dialog's; any other (dialog gone, scan over) the worker frees.

#include "Common/PelorusDLL/Dialogs/ScanThreadParam.h"

#include <memory>

class CTCPIPService;
namespace ZELL {
class CTCPIPConnection;
}

class CScanWorker {
public:
    // The first three bytes of our devices' hardware addresses.
    static constexpr const wchar_t* kZellMacPrefix = L"02:5A:E1";

    // Starts a thread for the parameter block (which it then owns); false,
    // with the block and its record freed, when no thread could be made.
    static bool Start(tScanThreadParam* param);
    // The thread's entry.
    static UINT ThreadProc(LPVOID param);

    explicit CScanWorker(const tScanThreadParam& param);
    // The whole job: probe, identify, hand over. The record is gone from the
    // worker's hands when it returns.
    void Run();

private:
    bool Probe();
    bool IdentifyOverTcp();
    void IdentifyWithoutMac();
    std::unique_ptr<ZELL::CTCPIPConnection> MakeConnection() const;
    bool OpenWithRetry(ZELL::CTCPIPConnection& connection);
    bool Identify(ZELL::CTCPIPConnection& connection);
    bool ReadIdentification(CTCPIPService& service);
    void AskArticleNumberOnly(ZELL::CTCPIPConnection& connection);
    void HandOver(bool found);

    HWND m_dialog = nullptr;
    std::unique_ptr<CDeviceInfo> m_record;
    std::shared_ptr<CScanContext> m_scan;
};
