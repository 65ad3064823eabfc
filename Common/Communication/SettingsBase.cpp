#include "Common/Communication/SettingsBase.h"

#include "Common/SystemHelper/Values/StringUtils.h"

namespace ZELL {

void CSettingsBase::TraceInvalidType(const wchar_t* function, int type)
{
    DebugTrace(L"\n*********************** ERROR ***********************\n");
    DebugTrace(L"  Class:\t\tISettings\n");
    DebugTrace(L"  Function:\t%s\n", function);
    DebugTrace(L"  Error:\t\tInvalid storage type '%d'\n", type);
    DebugTrace(L"*****************************************************\n");
}

bool CSettingsBase::LoadSettings(std::wstring name, ENStorageType type)
{
    switch (type) {
    case Registry:
        return LoadSettingsRegistry(name);
    case XMLFile:
        return LoadSettingsXML(name);
    }
    TraceInvalidType(L"LoadSettings()", static_cast<int>(type));
    return false;
}

bool CSettingsBase::LoadSettings()
{
    return LoadSettings(storageName, storageType);
}

bool CSettingsBase::SaveSettings(std::wstring name, ENStorageType type)
{
    switch (type) {
    case Registry:
        return SaveSettingsRegistry(name);
    case XMLFile:
        return SaveSettingsXML(name);
    }
    TraceInvalidType(L"SaveSettings()", static_cast<int>(type));
    return false;
}

bool CSettingsBase::SaveSettings()
{
    return SaveSettings(storageName, storageType);
}

void CSettingsBase::SetStorageProperties(std::wstring name, ENStorageType type)
{
    storageName = std::move(name);
    storageType = type;
}

void CSettingsBase::GetStorageProperties(std::wstring& name, ENStorageType& type)
{
    name = storageName;
    type = storageType;
}

bool CSettingsBase::SetSettingsToDefault()
{
    return SetSettingsXML(defaultSettings);
}

bool CSettingsBase::SetDefaultSettings(std::wstring xml)
{
    defaultSettings = std::move(xml);
    return SetSettingsToDefault();
}

std::wstring CSettingsBase::GetDefaultSettings() const
{
    return defaultSettings;
}

}
