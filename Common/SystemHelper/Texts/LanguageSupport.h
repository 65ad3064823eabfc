#pragma once
// The module's store of language texts, looked up by key.

#include "Platform/Base/BStr.h"
#include "Platform/Base/Types.h"

class CLanguageSupport {
public:
    virtual ~CLanguageSupport() = default;
    virtual bool HasText(const _bstr_t& key) = 0;
    // The texts of one language (an LCID text such as "1031") of a GUI XML
    // file; with keep set they are added to what the store holds.
    virtual void LoadXml(const _bstr_t& file, const _bstr_t& lcid, bool keep) = 0;
    // A binary text file of length-prefixed UTF-16 records.
    virtual void SetLanguage(const _bstr_t& file, bool keep) = 0;
    virtual void LoadXmlText(const _bstr_t& xml, const _bstr_t& lcid, bool keep) = 0;
    // A missing key gives the missing-key prefix followed by the key.
    virtual _bstr_t GetText(const _bstr_t& key) = 0;
    virtual _bstr_t GetErrorTextKey(WORD code) = 0;
    virtual _bstr_t GetLanguage() = 0;
    virtual void Clear() = 0;
    virtual void SetMissingPrefix(const _bstr_t& prefix) = 0;
    virtual void SetText(const _bstr_t& key, const _bstr_t& text) = 0;
};
