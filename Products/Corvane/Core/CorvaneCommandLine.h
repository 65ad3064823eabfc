#pragma once
// The program's command line: each argument after the program name is held
// against every switch in a fixed order (one argument may match several),
// and the start-up options, the language and a connection to use for this
// run come out. A value that cannot be used is refused with a message and
// leaves what it would have set as it was.
//
// The application parses, resolves the connection, hands a complete one to
// CCommandLineConnection and, when that stored it, notes the settings in
// the start-up options; it stores the language in the profile at start and
// restores the one from before the switch at exit.

#include "Platform/Base/CString.h"
#include "Platform/Registry/ProfileStore.h"
#include "Products/Corvane/Core/StartupOptions.h"

#include <vector>

namespace Corvane {

class CCorvaneCommandLine {
public:
    static constexpr wchar_t kInvalidSettingsText[] = L"Invalid communication settings!";
    static constexpr wchar_t kFallbackToRS232Text[] = L"--> Set connection to RS232.";

    // `language` is the profile language in force before the command line.
    explicit CCorvaneCommandLine(const CString& language) : m_strLanguage(language) {}
    virtual ~CCorvaneCommandLine() = default;

    // `arguments` without the program name.
    void Parse(const std::vector<CString>& arguments);
    // The connection pair after the sockets check: a TCP/IP pair whose
    // sockets cannot start becomes "RS232"/"COM1". False when the command
    // line named no complete connection.
    bool ResolveConnection();

    // Profile "Common"/"Language": this run's language at start, the one
    // from before a "/LANG" switch at exit (nothing without a switch), so
    // that a language of the command line lasts for one run.
    bool StoreLanguage(Registry::CProfileStore& profile) const;
    bool RestoreLanguage(Registry::CProfileStore& profile) const;

    const tStartupOptions& Options() const { return m_Options; }
    tStartupOptions& Options() { return m_Options; }
    const CString& Language() const { return m_strLanguage; }
    // The language of the profile before the first "/LANG" switch; empty
    // without one.
    const CString& LanguageBeforeSwitch() const { return m_strLanguageBeforeSwitch; }
    const CString& ConnectionType() const { return m_strConnectionType; }
    const CString& ConnectionSettings() const { return m_strConnectionSettings; }

protected:
    // A refused value or a fall-back the user should know of.
    virtual void OnInvalidArgument(const CString& message) {}
    // Starts the sockets for a TCP/IP connection; false when they cannot.
    virtual bool StartSockets();

private:
    void ParseArgument(const CString& argument);
    void ParseEngineeringSwitch(const CString& argument);
    void ParseValueSwitches(const CString& argument);
    void ParseWindowRectangle(const CString& argument);
    void ParseLanguage(const CString& argument);
    void ParseConnection(const CString& value);
    void ParseConnectionType(const CString& value);
    void FallBackToRS232(const CString& reason);

    tStartupOptions m_Options;
    CString m_strLanguage;
    CString m_strLanguageBeforeSwitch;
    CString m_strConnectionType;
    CString m_strConnectionSettings;
};

}  // namespace Corvane
