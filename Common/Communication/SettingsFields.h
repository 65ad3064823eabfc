#pragma once
// The attributes of a settings element, each named once in one table that
// the XML text and the registry both read and write, so that the two stores
// cannot drift apart. A row's member type decides how it is stored: text as
// a string value; numbers and truth values as DWORDs, in the XML text as
// decimal numbers and "true"/"false".

#include "Common/Communication/SettingsElement.h"
#include "Common/Communication/SettingsRegistryKey.h"
#include "Platform/Xml/XmlNode.h"

#include <cstdint>
#include <span>
#include <string>
#include <type_traits>
#include <variant>

namespace ZELL {

enum ENSettingsField : unsigned {
    kStoredEverywhere = 0,
    // Read from both stores but never written to the registry (the fragment
    // layout, which the protocol fixes).
    kNotSavedToRegistry = 1,
    // The settings class reads it from the XML text itself (a value with a
    // fallback to another attribute); the table reads the registry.
    kXmlReadApart = 2,
};

template <typename Settings>
struct tSettingsField {
    using Member = std::variant<std::wstring Settings::*, std::uint32_t Settings::*, std::uint16_t Settings::*,
                                std::int16_t Settings::*, bool Settings::*>;

    const wchar_t* name;
    Member member;
    unsigned flags = kStoredEverywhere;
    // A check of a small number: a value it refuses makes an XML read throw
    // (nothing is committed) and leaves the registry read's target as it was.
    bool (*accepts)(std::uint32_t value) = nullptr;
};

namespace SettingsFieldStore {

// One value each way; a refused or unreadable XML value throws.
void ReadXml(const Xml::CXmlNode& element, const wchar_t* name, std::wstring& value);
void ReadXml(const Xml::CXmlNode& element, const wchar_t* name, std::uint32_t& value);
void ReadXml(const Xml::CXmlNode& element, const wchar_t* name, std::uint16_t& value);
void ReadXml(const Xml::CXmlNode& element, const wchar_t* name, std::int16_t& value);
void ReadXml(const Xml::CXmlNode& element, const wchar_t* name, bool& value);
void CheckXml(const wchar_t* name, std::uint32_t value, bool (*accepts)(std::uint32_t));

void Write(CSettingsElementWriter& writer, const wchar_t* name, const std::wstring& value);
void Write(CSettingsElementWriter& writer, const wchar_t* name, std::uint32_t value);
void Write(CSettingsElementWriter& writer, const wchar_t* name, std::uint16_t value);
void Write(CSettingsElementWriter& writer, const wchar_t* name, std::int16_t value);
void Write(CSettingsElementWriter& writer, const wchar_t* name, bool value);

void Read(const CSettingsRegistryKey& registry, const wchar_t* name, std::wstring& value,
          bool (*accepts)(std::uint32_t));
void Read(const CSettingsRegistryKey& registry, const wchar_t* name, std::uint32_t& value,
          bool (*accepts)(std::uint32_t));
void Read(const CSettingsRegistryKey& registry, const wchar_t* name, std::uint16_t& value,
          bool (*accepts)(std::uint32_t));
void Read(const CSettingsRegistryKey& registry, const wchar_t* name, std::int16_t& value,
          bool (*accepts)(std::uint32_t));
void Read(const CSettingsRegistryKey& registry, const wchar_t* name, bool& value, bool (*accepts)(std::uint32_t));

bool Save(const CSettingsRegistryKey& registry, const wchar_t* name, const std::wstring& value);
bool Save(const CSettingsRegistryKey& registry, const wchar_t* name, std::uint32_t value);
bool Save(const CSettingsRegistryKey& registry, const wchar_t* name, std::uint16_t value);
bool Save(const CSettingsRegistryKey& registry, const wchar_t* name, std::int16_t value);
bool Save(const CSettingsRegistryKey& registry, const wchar_t* name, bool value);

}

template <typename Settings>
using SettingsFieldTable = std::span<const tSettingsField<Settings>>;

// The attributes the element carries, over the settings as they are; throws
// for a value that does not read, so the caller commits nothing.
template <typename Settings>
void ReadSettingsFields(SettingsFieldTable<Settings> fields, const Xml::CXmlNode& element, Settings& settings)
{
    for (const auto& field : fields) {
        if ((field.flags & kXmlReadApart) != 0)
            continue;
        std::visit(
            [&](auto member) {
                auto& value = settings.*member;
                SettingsFieldStore::ReadXml(element, field.name, value);
                if constexpr (!std::is_same_v<std::remove_reference_t<decltype(value)>, std::wstring>)
                    SettingsFieldStore::CheckXml(field.name, static_cast<std::uint32_t>(value), field.accepts);
            },
            field.member);
    }
}

// Every attribute in table order.
template <typename Settings>
void WriteSettingsFields(SettingsFieldTable<Settings> fields, const Settings& settings, CSettingsElementWriter& writer)
{
    for (const auto& field : fields)
        std::visit([&](auto member) { SettingsFieldStore::Write(writer, field.name, settings.*member); }, field.member);
}

// A value missing from the registry (or of another type) keeps its target.
template <typename Settings>
void LoadSettingsFields(SettingsFieldTable<Settings> fields, const CSettingsRegistryKey& registry, Settings& settings)
{
    for (const auto& field : fields)
        std::visit([&](auto member) { SettingsFieldStore::Read(registry, field.name, settings.*member, field.accepts); },
                   field.member);
}

// Every value is tried; false when one of them (or the key) failed.
template <typename Settings>
bool SaveSettingsFields(SettingsFieldTable<Settings> fields, const CSettingsRegistryKey& registry,
                        const Settings& settings)
{
    bool ok = registry.IsValid();
    for (const auto& field : fields) {
        if ((field.flags & kNotSavedToRegistry) != 0)
            continue;
        std::visit([&](auto member) { ok = SettingsFieldStore::Save(registry, field.name, settings.*member) && ok; },
                   field.member);
    }
    return ok;
}

}
