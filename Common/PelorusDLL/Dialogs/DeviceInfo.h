#pragma once
// What the network scan learnt about one address. The dialog makes it, one
// worker fills it, and it is handed back with WM_DEVICE_IDENTIFIED.

#include <string>

class CScanContext;

class CDeviceInfo {
public:
    CDeviceInfo() = default;
    CDeviceInfo(const CDeviceInfo&) = default;
    CDeviceInfo& operator=(const CDeviceInfo&) = default;
    virtual ~CDeviceInfo() = default;

    bool m_identified = false;
    // Set together by the MAC prefix or a successful identification; the
    // second also when ping is off, and it is the one the gates read.
    bool m_zellDevice = false;
    bool m_zellDevice2 = false;
    bool m_usable = false;
    bool m_resolveHostName = false;
    // Something answered the echo (whatever it turned out to be).
    bool m_answered = false;
    std::wstring m_ipAddress;
    std::wstring m_hostName;
    std::wstring m_serialNumber;
    std::wstring m_macAddress;
    std::wstring m_articleNumber;
    std::wstring m_description;
    std::wstring m_softwareVersion;
    std::wstring m_stateText;
    unsigned m_waitSeconds = 10;
    // The scan the record belongs to (identity only): a result of an earlier
    // scan that arrives late is not taken by the next one.
    const CScanContext* m_scan = nullptr;
};
