#include "Products/Corvane/Core/CommandLineConnection.h"

#include "Common/PelorusDLL/ConnectionTypes.h"
#include "Common/SystemHelper/Values/StringUtils.h"
#include "Common/SystemHelper/Xml/XmlAccess.h"
#include "Platform/Registry/ProfileStore.h"

#include <string>
#include <vector>

namespace Corvane {

namespace {

constexpr wchar_t kCommunicationSection[] = L"Communication";
constexpr wchar_t kLastConnectionKey[] = L"LastConnection";

std::wstring TypeName(const ZELL::CConnectionBase& connection) { return connection.GetType(); }

}

CCommandLineConnection::CCommandLineConnection(const CString& company, const CString& application)
    : m_strCompany(company), m_strApplication(application)
{
}

CCommandLineConnection::~CCommandLineConnection() = default;

CString CCommandLineConnection::RegistryPath() const
{
    return L"HKEY_CURRENT_USER\\Software\\" + m_strCompany + L"\\" + m_strApplication + L"\\" + kCommunicationSection;
}

CString CCommandLineConnection::LastConnectionType() const
{
    const Registry::CProfileStore profile(m_strCompany.str(), m_strApplication.str());
    return profile.GetString(kCommunicationSection, kLastConnectionKey, L"").c_str();
}

bool CCommandLineConnection::WriteLastConnectionType(const CString& type)
{
    Registry::CProfileStore profile(m_strCompany.str(), m_strApplication.str());
    return profile.WriteString(kCommunicationSection, kLastConnectionKey, type.GetString());
}

std::unique_ptr<ZELL::CConnectionBase> CCommandLineConnection::NewConnection(const CString& type)
{
    return ZELL::CConnectionTypes::MakeConnection(type.str());
}

std::unique_ptr<ZELL::CConnectionBase> CCommandLineConnection::LoadStored(const CString& type) const
{
    std::unique_ptr<ZELL::CConnectionBase> connection = NewConnection(type);
    connection->LoadSettings(RegistryPath().str(), ZELL::ISettings::Registry);
    return connection;
}

CString CCommandLineConnection::MakeSettingsXml(const CString& type, const CString& settings)
{
    if (settings.Find(kXmlDeclaration) >= 0)
        return settings;
    std::vector<std::wstring> pieces;
    SplitString(settings.str(), L":,", pieces, true, false);
    if (pieces.size() != 1 || pieces[0].empty())
        return {};
    const std::wstring value = XmlEscape(pieces[0]);
    const std::unique_ptr<ZELL::CConnectionBase> connection = NewConnection(type);
    return CString(kXmlDeclaration) +
           (L"<" + connection->GetType() + L" " + connection->AddressSettingName() + L"='" + value + L"' />").c_str();
}

bool CCommandLineConnection::Create(const CString& type, const CString& settings)
{
    const CString xml = MakeSettingsXml(type, settings);
    std::unique_ptr<ZELL::CConnectionBase> connection = NewConnection(type);
    if (xml.IsEmpty() || !connection->SetSettingsXML(xml.str())) {
        OnInvalidSettings(kInvalidParametersText);
        return false;
    }
    // A second Create of one run keeps what the first one kept.
    if (!m_pPreviousConnection) {
        const CString previousType = LastConnectionType();
        m_pPreviousConnection = LoadStored(previousType);
        if (m_pPreviousConnection->GetType() != connection->GetType())
            m_pReplacedConnection = LoadStored(type);
    }
    WriteLastConnectionType(type);
    return connection->SaveSettings(RegistryPath().str(), ZELL::ISettings::Registry);
}

void CCommandLineConnection::Restore()
{
    const std::wstring path = RegistryPath().str();
    if (m_pReplacedConnection)
        m_pReplacedConnection->SaveSettingsRegistry(path);
    if (m_pPreviousConnection) {
        WriteLastConnectionType(TypeName(*m_pPreviousConnection).c_str());
        m_pPreviousConnection->SaveSettingsRegistry(path);
    }
    m_pReplacedConnection.reset();
    m_pPreviousConnection.reset();
}

}  // namespace Corvane
