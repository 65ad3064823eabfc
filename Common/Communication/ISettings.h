#pragma once
// A settings object: one XML element whose attributes are its settings,
// storable in the registry or in an XML file.

#include "Common/Communication/PelorusApi.h"

#include <string>

namespace ZELL {

class PELORUS_API ISettings {
public:
    enum ENStorageType { Registry = 1, XMLFile = 2 };

    virtual ~ISettings() = default;
    virtual bool LoadSettings(std::wstring name, ENStorageType type) = 0;
    virtual bool LoadSettings() = 0;
    virtual bool SaveSettings(std::wstring name, ENStorageType type) = 0;
    virtual bool SaveSettings() = 0;
    virtual void SetStorageProperties(std::wstring name, ENStorageType type) = 0;
    virtual void GetStorageProperties(std::wstring& name, ENStorageType& type) = 0;
    virtual std::wstring GetSettingsXML() const = 0;
    virtual bool SetSettingsXML(std::wstring xml) = 0;
    virtual bool SetSettingsToDefault() = 0;
    virtual bool SetDefaultSettings(std::wstring xml) = 0;
    virtual std::wstring GetDefaultSettings() const = 0;
    virtual std::wstring GetSettingsString() const = 0;
    virtual std::wstring GetSettingsValue(const wchar_t* name) = 0;
    virtual std::wstring GetDriverInfo() const = 0;
    virtual bool LoadSettingsRegistry(std::wstring name) = 0;
    virtual bool SaveSettingsRegistry(std::wstring name) = 0;
    virtual bool LoadSettingsXML(std::wstring name) = 0;
    virtual bool SaveSettingsXML(std::wstring name) = 0;
};

}
