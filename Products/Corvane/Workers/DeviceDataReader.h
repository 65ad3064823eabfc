#pragma once
// Reads everything the program shows of a device into the data set, step by
// step; the first failing step leaves its text in the description and ends
// the read. Shared by every worker that reads the device again after
// changing it.

#include "Platform/Base/CString.h"
#include "Platform/Base/Types.h"

#include <functional>
#include <string>

class CServiceBase;

namespace Corvane {

class CFBCData;
class CWorkerContext;

class CDeviceDataReader {
public:
    explicit CDeviceDataReader(CWorkerContext& context) : m_Context(context) {}

    bool ReadAllDeviceData();

    // The word count of a register table by the device's table list; 0 when
    // the table is not listed or the list cannot be read.
    static WORD GetTableLength(CServiceBase& service, WORD table);

    // The address-switch value into the data set; a device without the
    // service counts as one without readable switches.
    bool ReadAddressSwitch();

private:
    bool ReadIdentification();
    bool Identify();
    // A text that a device may not offer: "not supported" is noted in it.
    bool ReadOptionalText(const std::function<bool(std::wstring&)>& read, CString& target, const wchar_t* key);
    bool ReadImei();
    bool ReadNetworkIdentification();
    bool CheckDeviceSupported();
    bool ReadClock();
    bool ReadStateWords();
    bool ReadMemoryCard();
    bool ReadAddresses();
    bool ReadNetworkParametersPerPort();
    bool ReadIPAddressesFromRegisters();
    CString ReadCurrentIPAddress();
    CString ReadInternalAddress();
    CString ReadRegisterAddress(unsigned int position);
    CString ReadInternalVariable(unsigned short index);
    bool ReadInterfaceMode();
    bool ReadRuntimeSystems();
    bool ReadTable(WORD table, bool common);
    void ForgetAddresses();
    // Service-not-supported counts as success for tolerant steps.
    bool NotSupported();

    CWorkerContext& m_Context;
};

}  // namespace Corvane
