#include "Common/Communication/DeviceAPIBase.h"

#include "Common/SystemHelper/Values/StringUtils.h"

namespace ZELL {

namespace {

constexpr const wchar_t* kNotYet = L"Not yet implemented!";

}

CDeviceAPIBase::CDeviceAPIBase(IProtocol* protocol_) : m_protocol(protocol_) {}

void CDeviceAPIBase::SetProtocol(IProtocol* protocol_)
{
    m_protocol = protocol_;
}

IProtocol* CDeviceAPIBase::GetProtocol() const
{
    return m_protocol;
}

std::wstring CDeviceAPIBase::GetDriverInfo() const
{
    return L"1.0";
}

std::wstring CDeviceAPIBase::NotImplemented(const std::wstring& function, const wchar_t* message)
{
    const std::wstring block = std::wstring(L"\n*************************** INFO ****************************\n")
        + L"  Class:\t\tCDeviceAPIBase\n" + L"  Function:\t" + function + L"\n" + L"  Message:\t" + message + L"\n"
        + L"*************************************************************\n\n";
    DebugTrace(L"%s", block.c_str());
    return block;
}

std::wstring CDeviceAPIBase::GetSettingsString() const
{
    return NotImplemented(L"GetSettingsString( )", kNotYet);
}

std::wstring CDeviceAPIBase::GetSettingsValue(const wchar_t*)
{
    return NotImplemented(L"GetSettingsValue( )", kNotYet);
}

std::wstring CDeviceAPIBase::GetSettingsXML() const
{
    return NotImplemented(L"GetSettingsXML( )", kNotYet);
}

bool CDeviceAPIBase::SetSettingsXML(std::wstring)
{
    NotImplemented(L"SetSettingsXML( )", kNotYet);
    return false;
}

bool CDeviceAPIBase::LoadSettingsRegistry(std::wstring)
{
    NotImplemented(L"LoadSettingsRegistry( )", kNotYet);
    return false;
}

bool CDeviceAPIBase::SaveSettingsRegistry(std::wstring)
{
    NotImplemented(L"SaveSettingsRegistry( )", kNotYet);
    return false;
}

bool CDeviceAPIBase::LoadSettingsXML(std::wstring name)
{
    NotImplemented(L"LoadSettingsXML(" + name + L" )", L"Loading settings from XML-File not yet implemented!");
    return false;
}

bool CDeviceAPIBase::SaveSettingsXML(std::wstring name)
{
    NotImplemented(L"SaveSettingsXML(" + name + L" )", L"Saving settings to XML-File not yet implemented!");
    return false;
}

}
