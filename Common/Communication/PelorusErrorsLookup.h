#pragma once
// Short and long descriptions of the library's error codes, from the error
// language files that lie beside the library.

#include "Common/Communication/PelorusApi.h"
#include "Platform/Base/Types.h"

#include <string>

namespace ZELL {

class PELORUS_API CPelorusErrorsLookup {
public:
    CPelorusErrorsLookup();
    CPelorusErrorsLookup(unsigned int lcid, const std::wstring& path);
    CPelorusErrorsLookup(const std::wstring& language, const std::wstring& path);
    CPelorusErrorsLookup(const CPelorusErrorsLookup& other);
    CPelorusErrorsLookup& operator=(const CPelorusErrorsLookup& other);
    virtual ~CPelorusErrorsLookup() = default;

    // An empty path stands for the directory of the library itself.
    void SetPath(const std::wstring& path);
    void SetLanguage(const std::wstring& language);
    void SetLanguage(unsigned int lcid);
    unsigned int GetLCID() const;

    std::wstring GetShortDescription(ULONG code, bool expand);
    std::wstring GetLongDescription(ULONG code, bool expand);
    void GetDescriptions(ULONG code, std::wstring& shortText, std::wstring& longText, bool expand);

    const std::wstring& GetLanguage() const { return m_language; }
    const std::wstring& GetPath() const { return m_path; }

protected:
    std::wstring GetDescription(ULONG code, const std::wstring& kind, bool expand);
    std::wstring LocaleString(const std::wstring& key, bool expand);
    static unsigned int GetLCIDFromLangID(const std::wstring& code);
    static std::wstring GetLangIDFromLCID(unsigned int lcid);

private:
    static std::wstring LibraryDirectory();

    std::wstring m_language = L"en";
    std::wstring m_path;
};

}
