#pragma once
// Base of the test connections: a medium with settings that accept
// everything and hold nothing, so a test fake writes only its transfer.

#include "Common/Communication/ConnectionBase.h"

#include <string>

namespace ZELL::Testing {

class CInertSettingsConnection : public CConnectionBase {
public:
    using CConnectionBase::CConnectionBase;

    std::wstring GetSettingsXML() const override { return {}; }
    bool SetSettingsXML(std::wstring) override { return true; }
    std::wstring GetSettingsString() const override { return {}; }
    std::wstring GetSettingsValue(const wchar_t*) override { return {}; }
    std::wstring GetDriverInfo() const override { return L"1.0"; }
    bool LoadSettingsRegistry(std::wstring) override { return true; }
    bool SaveSettingsRegistry(std::wstring) override { return true; }
    bool LoadSettingsXML(std::wstring) override { return true; }
    bool SaveSettingsXML(std::wstring) override { return true; }
};

}
