#pragma once
// The text store of one module. Every operation that reads or loads texts
// holds the store's critical section for its whole work; Clear, SetText,
// SetMissingPrefix, GetLanguage and GetErrorTextKey are meant for start-up
// and for the loaders, which already hold it.

#include "Common/SystemHelper/Texts/GuiXmlTables.h"
#include "Common/SystemHelper/Texts/LanguageSupport.h"
#include "Platform/Base/CriticalSection.h"

#include <map>

class CLanguageSupportImpl : public CLanguageSupport {
public:
    // Codes of the failures that LoadXml and LoadXmlText throw as CZellException.
    static constexpr LONG kMissingFile = 9191;
    static constexpr LONG kLanguageNotSupported = 8181;
    static constexpr LONG kFileTooLarge = 515;

    CLanguageSupportImpl();
    CLanguageSupportImpl(const CLanguageSupportImpl&) = delete;
    CLanguageSupportImpl& operator=(const CLanguageSupportImpl&) = delete;
    ~CLanguageSupportImpl() override;

    bool HasText(const _bstr_t& key) override;
    // Throws CZellException for a file that does not load (9191) or does not
    // list the language (8181). The same file and LCID again load nothing.
    void LoadXml(const _bstr_t& file, const _bstr_t& lcid, bool keep) override;
    // Failures are traced and swallowed; the store keeps what it had or
    // what was read before the failure.
    void SetLanguage(const _bstr_t& file, bool keep) override;
    // A text that is not XML raises _com_error (E_POINTER).
    void LoadXmlText(const _bstr_t& xml, const _bstr_t& lcid, bool keep) override;
    _bstr_t GetText(const _bstr_t& key) override;
    _bstr_t GetErrorTextKey(WORD code) override;
    _bstr_t GetLanguage() override;
    void Clear() override;
    void SetMissingPrefix(const _bstr_t& prefix) override;
    void SetText(const _bstr_t& key, const _bstr_t& text) override;

    _bstr_t GetCurrentFile();

private:
    // The code the file's language list gives the LCID; throws 8181 when it lists none.
    static std::wstring CodeOf(const CGuiXmlTables::Table& languages, const _bstr_t& lcid);
    // The texts of a load: shared when they replace the store's, else added key by key.
    void Take(CGuiXmlTables::Table texts, bool keep);
    const std::wstring* Lookup(const _bstr_t& key) const;
    void ReadBinaryFile(const _bstr_t& file, bool keep);

    _bstr_t m_currentFile;
    _bstr_t m_currentLanguage;
    // The texts of the last load, shared with the other deliverables, and
    // those set or added over them since.
    CGuiXmlTables::Table m_loaded;
    std::map<_bstr_t, _bstr_t> m_texts;
    CRITICAL_SECTION m_section;
    _bstr_t m_missingPrefix = L"##";
};
