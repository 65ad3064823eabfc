#pragma once
// Storage dispatch and default settings shared by every settings class.

#include "Common/Communication/ISettings.h"

namespace ZELL {

class PELORUS_API CSettingsBase : public ISettings {
public:
    CSettingsBase() = default;
    CSettingsBase(const CSettingsBase&) = default;
    CSettingsBase& operator=(const CSettingsBase&) = default;

    bool LoadSettings(std::wstring name, ENStorageType type) override;
    bool LoadSettings() override;
    bool SaveSettings(std::wstring name, ENStorageType type) override;
    bool SaveSettings() override;
    void SetStorageProperties(std::wstring name, ENStorageType type) override;
    void GetStorageProperties(std::wstring& name, ENStorageType& type) override;
    bool SetSettingsToDefault() override;
    bool SetDefaultSettings(std::wstring xml) override;
    std::wstring GetDefaultSettings() const override;

private:
    static void TraceInvalidType(const wchar_t* function, int type);

    std::wstring defaultSettings;
    std::wstring storageName;
    ENStorageType storageType = Registry;
};

}
