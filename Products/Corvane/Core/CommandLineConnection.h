#pragma once
// A connection named on the command line lasts for one run: it is put into
// the registry where the main dialog's connection loads its settings from,
// and at exit the connection settings that were stored before, of the last
// connection type and of the command line's type, are written back, with
// the last connection type.

#include "Common/Communication/ConnectionBase.h"
#include "Platform/Base/CString.h"

#include <memory>

namespace Corvane {

class CCommandLineConnection {
public:
    static constexpr wchar_t kXmlDeclaration[] = L"<?xml version='1.0'?>";
    static constexpr wchar_t kInvalidParametersText[] = L"Invalid parameters for communication settings!";

    // The profile lives under "Software\<company>\<application>".
    CCommandLineConnection(const CString& company, const CString& application);
    virtual ~CCommandLineConnection();
    CCommandLineConnection(const CCommandLineConnection&) = delete;
    CCommandLineConnection& operator=(const CCommandLineConnection&) = delete;

    // "HKEY_CURRENT_USER\Software\<company>\<application>\Communication".
    CString RegistryPath() const;

    // Keeps the stored settings, then stores `settings` (a settings XML
    // document, or one device name or address) as the connection of
    // `type` (a word of ZELL::CConnectionTypes) and makes it the last connection. False,
    // with a message and the registry untouched, for settings that name no
    // connection.
    bool Create(const CString& type, const CString& settings);
    // Writes back what Create kept; nothing without a Create.
    void Restore();

    // The settings document of `settings` for `type`; empty when they are
    // neither a document nor exactly one value.
    static CString MakeSettingsXml(const CString& type, const CString& settings);

protected:
    virtual void OnInvalidSettings(const CString& message) {}

private:
    static std::unique_ptr<ZELL::CConnectionBase> NewConnection(const CString& type);
    std::unique_ptr<ZELL::CConnectionBase> LoadStored(const CString& type) const;
    CString LastConnectionType() const;
    bool WriteLastConnectionType(const CString& type);

    CString m_strCompany;
    CString m_strApplication;
    // The last connection before the command line, and the stored settings
    // of the command line's type when that is another type.
    std::unique_ptr<ZELL::CConnectionBase> m_pPreviousConnection;
    std::unique_ptr<ZELL::CConnectionBase> m_pReplacedConnection;
};

}  // namespace Corvane
