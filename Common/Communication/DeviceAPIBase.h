#pragma once
// A device API turns operations into requests on one protocol. It carries no
// settings of its own; the settings operations only report that.

#include "Common/Communication/IProtocol.h"
#include "Common/Communication/SettingsBase.h"

#include <string>

namespace ZELL {

// Destroyed through the settings base, whose destructor is virtual.
class PELORUS_API IDeviceAPI {
public:
    virtual void SetProtocol(IProtocol* protocol) = 0;
    virtual IProtocol* GetProtocol() const = 0;

protected:
    ~IDeviceAPI() = default;
};

class PELORUS_API CDeviceAPIBase : public IDeviceAPI, public CSettingsBase {
public:
    explicit CDeviceAPIBase(IProtocol* protocol);
    CDeviceAPIBase(const CDeviceAPIBase&) = default;
    CDeviceAPIBase& operator=(const CDeviceAPIBase&) = default;

    void SetProtocol(IProtocol* protocol) override;
    IProtocol* GetProtocol() const override;

    std::wstring GetDriverInfo() const override;
    std::wstring GetSettingsString() const override;
    std::wstring GetSettingsValue(const wchar_t* name) override;
    std::wstring GetSettingsXML() const override;
    bool SetSettingsXML(std::wstring xml) override;
    bool LoadSettingsRegistry(std::wstring name) override;
    bool SaveSettingsRegistry(std::wstring name) override;
    bool LoadSettingsXML(std::wstring name) override;
    bool SaveSettingsXML(std::wstring name) override;

protected:
    IProtocol* m_protocol = nullptr;

private:
    static std::wstring NotImplemented(const std::wstring& function, const wchar_t* message);
};

}
